#pragma once

#include "practice/Generators.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>
#include <functional>

// The journal of every judged answer, denik.csv beside zirmon.ini: a table
// for a spreadsheet on a Czech system. UTF-8 with a byte-order mark, ";"
// between fields, CR LF after every line, a header line, then one line per
// answer. Lines are only ever appended.

struct TJournalEntry {
    QDate Date; // local date and time of the Enter
    QTime Time;
    TOperation Op = TOperation::Addition;
    int A = 0; // the operands as shown
    int B = 0;
    QString Answer; // as typed
    bool Correct = false;
    qint64 Ms = 0; // from the problem's showing to the Enter
};

// The operation as the journal names it: "sčítání", "odčítání", "násobení",
// "dělení".
QString OperationWord(TOperation op);

// The byte-order mark and the header line, CR LF included: what a new
// journal starts with.
QByteArray JournalHead();

// One line of the journal, CR LF included. An answer a spreadsheet would
// take for a formula (starting with "=", "+", "@", or "-" not followed by a
// digit) gets a leading apostrophe; one holding ";" or a quote is quoted.
// Line breaks in the answer become spaces, so a line is always one line.
QByteArray JournalLine(const TJournalEntry& entry);

// Appends the line to the journal at path, writing the head first when the
// file is new or empty. Raises "Cannot write file "<path>". <reason>".
void AppendJournal(const QString& path, const TJournalEntry& entry);

// Reads the entries of a journal, leniently: with or without the mark, with
// ";", "," or a tab between fields (found from the first line), quoted
// fields, CR LF, LF or CR line ends; a line that does not read with the
// separator found is tried with ";", the one this program appends with. A
// line that cannot be read (the header among them) is skipped, and so is a
// last line without a line end, which a write cut short leaves behind.
QList<TJournalEntry> ParseJournal(QByteArrayView bytes);

// The same entries handed to take one by one, in journal order, without
// keeping them: for a reader that only sums them up.
void ForEachJournalEntry(QByteArrayView bytes,
                         const std::function<void(const TJournalEntry&)>& take);

// The entries of the journal at path; none when the file is missing.
// Raises "Cannot open file "<path>". <reason>" when it cannot be read.
QList<TJournalEntry> ReadJournal(const QString& path);
void ReadJournalEach(const QString& path, const std::function<void(const TJournalEntry&)>& take);
