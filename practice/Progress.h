#pragma once

#include "practice/Facts.h"
#include "store/Journal.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

// What the progress window shows: the days of practice and the facts the
// settings allow, worked out once from the journal's entries.

// The days the window lists: the most recent days with answers.
constexpr int ShownDays = 30;
// An answer counts towards the time practised with at most this long, so a
// child who walked away from a problem does not add the time away.
constexpr qint64 AnswerCapMs = 60000;
// The pause after every judged answer, in which the verdict is shown.
constexpr qint64 VerdictPauseMs = 2000;

struct TDayTally {
    int Answers = 0;
    int Right = 0;
    int Wrong = 0;
    // The time practised: each answer's time up to AnswerCapMs, plus the
    // pause of VerdictPauseMs that follows every answer.
    qint64 PractisedMs = 0;
    qint64 MedianMs = 0; // of all the answers' times; 0 without answers
};

struct TDayProgress {
    QDate Date;
    TDayTally Total;
    TDayTally Ops[4]; // by TOperation
};

// The last ShownDays days with entries, the most recent first.
QList<TDayProgress> SummarizeDays(const QList<TJournalEntry>& entries);

// The same summed up entry by entry: Add each, then take the Result (once).
class TDaySummarizer {
public:
    TDaySummarizer();
    ~TDaySummarizer();
    TDaySummarizer(const TDaySummarizer&) = delete;
    TDaySummarizer& operator=(const TDaySummarizer&) = delete;
    void Add(const TJournalEntry& entry);
    QList<TDayProgress> Result();

private:
    struct TTimes;
    QHash<QDate, qsizetype> Index; // of each day in Days and Times
    QList<TDayProgress> Days;
    QList<TTimes>* Times;
};

// The whole minutes and tenths of a duration ("12,5"), and the seconds with
// one decimal ("3,2"), written with a Czech decimal comma.
QString MinutesText(qint64 ms);
QString SecondsText(qint64 ms);

// The facts of one operation the settings allow, as the rows and columns of
// its grid: multiplication the tables in use (rows) by 0 to 10; division the
// divisors in use by the quotients 0 to 10; addition and subtraction the
// first operand (rows) by the second, within 10 when that is the only
// range chosen, else within 20 (a cell outside the range holds no fact).
struct TFactGrid {
    TOperation Op = TOperation::Addition;
    QList<int> Rows;
    QList<int> Cols;
    // The fact in a cell; false when the cell holds none.
    bool FactAt(int row, int col, TFactKey& key) const;
};
TFactGrid AllowedFacts(TOperation op);

// The fact as the practice shows it: "7 x 8", "56 : 8", "3 + 4", "9 - 5".
QString FactText(const TFactKey& key);

// The state as the window names it: FactStateWord, or "umí rychle".
QString FactInfoWord(const TFactInfo& info);

// What a fact's cell says: the fact, its state, its last answers, the times
// of its last right answers and the day it was last asked ("7 x 8, umí
// rychle; poslední odpovědi: 56, 56, 56; doby správných: 2,1 s, 1,8 s, 2,4 s;
// naposledy 9. 12. 2026").
QString FactDescription(const TFactKey& key, const TFactInfo& info);
