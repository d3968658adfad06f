#pragma once

#include "practice/Facts.h"

#include <QList>
#include <optional>

// Missed facts come back. A fact missed in this run comes back as the
// ReturnFirst-th to ReturnLast-th problem after the one it was missed in;
// a fact of an earlier day comes back once it is due: LearningDueDays
// after it was last asked while the child is still learning it,
// AlmostDueDays after while it is almost known. At most every
// ReturnSpacing-th problem is such a return, and only facts the settings
// allow come back. A fact that has come back looks and counts like any
// other problem.
constexpr int ReturnFirst = 3;
constexpr int ReturnLast = 5;
constexpr int ReturnSpacing = 3;
constexpr int LearningDueDays = 1;
constexpr int AlmostDueDays = 3;

struct TMissed {
    TFactKey Fact;
    int Problem = 0; // the number of the problem it was missed in
};

// What one run of the program knows of the problems it has shown.
struct TReturnState {
    bool EarlierRead = false;        // the journal's due facts have been read
    QList<TFactKey> Due;             // facts of earlier days due today, oldest first
    QList<TMissed> Missed;           // facts missed in this run, in order
    int Shown = 0;                   // problems shown in this run
    int LastReturn = -ReturnSpacing; // the number of the last return
    std::optional<TFactKey> Last;    // the problem shown last
};

// The next problem of the operation into first and second: a fact that
// comes back when one is due and returns are on ("vracet"), else a fresh
// draw of the generator that is not the problem shown last (unless the
// settings allow nothing else).
void NextProblem(TOperation op, int& first, int& second);

// The operation of the fact that would come back as the next problem of
// the random mix, if one would.
std::optional<TOperation> ReturnOperation(const TRandomMix& mix);

// Takes note of a judged answer to the problem on screen.
void NoteJudged(TOperation op, int first, int second, bool correct);

// Forgets the run's problems: another child practises now.
void ForgetReturns();

// The facts of earlier days due on the given day, oldest first (by the
// day last asked, then operation and operands).
QList<TFactKey> DueFacts(const QHash<TFactKey, TFactInfo>& facts, const QDate& today);
