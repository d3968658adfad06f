#pragma once

#include "practice/Returns.h"

#include <QList>
#include <QString>
#include <QStringList>

// One named child: the name as shown, and the folder of its files: 0 for
// the data folder itself, n for its folder "deti/n" below it.
struct TChild {
    QString Name;
    int Folder = 0;
};

// The one program-wide record of the practice. Every unit reads and writes
// its fields directly; everything happens on the user-interface thread.
struct TPracticeState {
    // Settings mirror, filled by LoadSettings. The ranges keep what the file
    // says; with more than one on, the generators use the last of "bez
    // přechodu" (NoCarry), 10, 20, 100.
    bool AddTo10 = false;
    bool AddTo20 = false;
    bool AddTo100 = false;
    bool AddTo20NoCarry = false; // up to 20 without crossing ten
    bool SubTo10 = false;
    bool SubTo20 = false;
    bool SubTo100 = false;
    bool SubTo20NoCarry = false; // up to 20 without crossing ten
    bool MulTable[11] = {};      // index 1 to 10; index 0 unused
    bool DivBy[11] = {};         // index 1 to 10; index 0 unused
    bool PickAdd = false;
    bool PickSub = false;
    bool PickMul = false;
    bool PickDiv = false;
    bool ProtectReset = false;
    QString StoredPassword;
    bool ReturnMissed = true; // missed facts come back ("vracet")

    // The problem on screen.
    int Operand1 = 0;
    int Operand2 = 0;
    bool OpAdd = false;
    bool OpSub = false;
    bool OpMul = false;
    bool OpDiv = false;
    bool RandomMode = false;
    QString AnswerText;
    long long ShownAt = 0; // Clock->ElapsedMs() when the problem was shown

    // Whether this run has shown that the journal cannot be written.
    bool JournalFailureShown = false;

    // The problems shown in this run, for the facts that come back.
    TReturnState Returns;

    // Counters of correct and wrong answers, mirrored by the count cells.
    int OkAdd = 0;
    int BadAdd = 0;
    int OkSub = 0;
    int BadSub = 0;
    int OkMul = 0;
    int BadMul = 0;
    int OkDiv = 0;
    int BadDiv = 0;
    int OkTotal = 0;
    int BadTotal = 0;

    // Passwords and the main window's start-up position.
    QString MasterPassword;
    QString EnteredPassword;
    int HomeLeft = 0;
    int HomeTop = 0;

    // The family: no names for a single child, else two to nine children;
    // Child is the index of the one practising. Folders are never reused:
    // NextFolder is the number the next new or removed folder takes.
    QList<TChild> Children;
    int Child = 0;
    int NextFolder = 2;
    QStringList FamilyIgnored; // what the family file held and was not used
};

extern TPracticeState PracticeState;

// The fixed password accepted besides the stored one.
inline const char* const MasterPasswordText = "741mv58";
