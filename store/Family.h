#pragma once

#include "practice/PracticeState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// The family file "rodina.ini": UTF-8, CR LF, written whole.
//
//     [Rodina]
//     dalsi=4          the number the next new or removed folder takes
//     posledni=2       the folder of the child who practised last
//     dite=0 Anička    one line per child: its folder, a blank, its name
//     dite=2 Tomáš
//
// A name lives only in the file's values; folders are numbered.

inline constexpr int MaxChildren = 9;
inline constexpr int MaxNameLength = 30;

// What a family file says, and what in it was not used.
struct TFamilyRead {
    QList<TChild> Children; // none, or one in the data folder itself first among them
    int Last = 0;           // index of the child who practised last
    int NextFolder = 2;
    QStringList Ignored;
};

// Reads the bytes of a family file. Anything it cannot use (unknown lines,
// bad or duplicate names or folders, children beyond nine, invalid UTF-8)
// is left out and named in Ignored, at most a few lines of it.
TFamilyRead ParseFamily(QByteArrayView bytes);

// The bytes of the family file for these children.
QByteArray FamilyBytes(const QList<TChild>& children, int last, int nextFolder);

// Reads the family file into PracticeState (a missing one is a single
// child); folders that are gone are noted in FamilyIgnored.
void LoadFamily();

// Writes PracticeState's family to the family file, or removes the file
// when no child is named.
void SaveFamily();

// The message for a name that cannot be given to the child at index
// (-1 for a new child), or an empty text when it can.
QString NameFault(const QString& name, int index);

// Adds a child, the first name naming the child whose files exist already;
// renames one. Raise the message of NameFault.
void AddChild(const QString& name);
void RenameChild(int index, const QString& name);

// Where RemoveChild puts the child's files.
QString RemovedFolderPath();

// Removes a child: its files go to RemovedFolderPath, the first child's
// place (the data folder's own files) goes to the next child, whose files
// are brought there. One child left is today's single child again: no
// names, no family file. Child then indexes the same child as before, or
// the first one when that was the one removed.
void RemoveChild(int index);
