#pragma once

#include "practice/Generators.h"
#include "store/Journal.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

// What the child knows, fact by fact, as the journal shows it. A fact is an
// operation with its two operands as shown (3 + 4 and 4 + 3 are two facts).

// A fact is known once answered right on this many different days since its
// last mistake.
constexpr int KnownAfterDays = 3;
// A known fact is also fast when the median time of its last this many right
// answers is under FastMedianMs.
constexpr int FastSampleCount = 3;
constexpr qint64 FastMedianMs = 3000;

enum class TFactState {
    New,      // never asked
    Learning, // answered wrong, not yet right since
    Almost,   // right since its last mistake, not yet on KnownAfterDays days
    Known,    // right on KnownAfterDays different days since its last mistake
};

struct TFactKey {
    TOperation Op = TOperation::Addition;
    int A = 0;
    int B = 0;
    friend bool operator==(const TFactKey& x, const TFactKey& y) {
        return x.Op == y.Op && x.A == y.A && x.B == y.B;
    }
};
size_t qHash(const TFactKey& key, size_t seed = 0);

struct TFactInfo {
    TFactState State = TFactState::New;
    bool Fast = false;          // known and quick (only ever with Known)
    int Asked = 0;              // judged answers of the fact
    QList<QString> LastAnswers; // the last few answers as typed, oldest first
    QList<qint64> LastRightMs;  // times of the last FastSampleCount right answers
    QDate LastAsked;
    qsizetype LastMistake = -1; // index of its last wrong answer in the entries
    QList<QDate> RightDays;     // the different days right since the last mistake
};

// How many answers TFactInfo::LastAnswers keeps.
constexpr int KeptAnswers = 3;

// The state of every fact asked in the entries (in journal order); a fact
// that is missing is New.
QHash<TFactKey, TFactInfo> DeriveFacts(const QList<TJournalEntry>& entries);

// The same worked out entry by entry, for a reader that does not keep the
// entries: Add each in journal order, then take the Result (once).
class TFactDeriver {
public:
    void Add(const TJournalEntry& entry);
    QHash<TFactKey, TFactInfo> Result();

private:
    QHash<TFactKey, TFactInfo> Facts;
    qsizetype Index = 0; // of the next entry
};

// The facts of the child's journal (GetJournalPath), read now: for the
// windows that show or use them, never at start-up. Raises as ReadJournal.
QHash<TFactKey, TFactInfo> ReadFacts();

// The words the program shows for a state: "nové", "učí se", "skoro",
// "umí"; and "rychle" for a fast known fact.
QString FactStateWord(TFactState state);
QString FastWord();
