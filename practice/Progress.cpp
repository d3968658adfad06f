#include "practice/Progress.h"

#include "practice/Generators.h"
#include "practice/PracticeState.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

qint64 MedianOf(std::vector<qint64>& values) {
    if (values.empty())
        return 0;
    const size_t n = values.size();
    auto middle = values.begin() + n / 2;
    std::nth_element(values.begin(), middle, values.end());
    const qint64 upper = *middle;
    if (n % 2)
        return upper;
    const qint64 lower = *std::max_element(values.begin(), middle);
    return (lower + upper) / 2;
}

void Count(TDayTally& tally, const TJournalEntry& entry) {
    ++tally.Answers;
    if (entry.Correct)
        ++tally.Right;
    else
        ++tally.Wrong;
    tally.PractisedMs += std::clamp<qint64>(entry.Ms, 0, AnswerCapMs) + VerdictPauseMs;
}

// A number with one decimal and a decimal comma, rounded half up.
QString OneDecimal(qint64 value, qint64 unit) {
    const qint64 tenths = (value * 10 + unit / 2) / unit;
    return QStringLiteral("%1,%2").arg(tenths / 10).arg(tenths % 10);
}

// The tables or divisors in use, 1 to 10.
QList<int> InUse(const bool (&inUse)[11]) {
    QList<int> factors;
    for (int k = 1; k <= 10; ++k)
        if (inUse[k])
            factors.append(k);
    return factors;
}

QList<int> UpTo(int last) {
    QList<int> numbers;
    for (int k = 0; k <= last; ++k)
        numbers.append(k);
    return numbers;
}

} // namespace

// A day's answer times, gathered while the entries are added.
struct TDaySummarizer::TTimes {
    std::vector<qint64> Total;
    std::vector<qint64> Ops[4];
};

TDaySummarizer::TDaySummarizer() : Times(new QList<TTimes>) {}

TDaySummarizer::~TDaySummarizer() {
    delete Times;
}

void TDaySummarizer::Add(const TJournalEntry& entry) {
    // The journal is in the order of the answers, but a clock put back or a
    // copy pasted in may mix the days: the days are sorted at the end.
    auto found = Index.constFind(entry.Date);
    qsizetype at;
    if (found == Index.constEnd()) {
        at = Days.size();
        Index.insert(entry.Date, at);
        Days.append(TDayProgress{});
        Days.last().Date = entry.Date;
        Times->emplaceBack();
    } else {
        at = *found;
    }
    TDayProgress& day = Days[at];
    const int op = int(entry.Op);
    Count(day.Total, entry);
    Count(day.Ops[op], entry);
    (*Times)[at].Total.push_back(entry.Ms);
    (*Times)[at].Ops[op].push_back(entry.Ms);
}

QList<TDayProgress> TDaySummarizer::Result() {
    for (qsizetype i = 0; i < Days.size(); ++i) {
        TTimes& times = (*Times)[i];
        Days[i].Total.MedianMs = MedianOf(times.Total);
        for (int op = 0; op < 4; ++op)
            Days[i].Ops[op].MedianMs = MedianOf(times.Ops[op]);
    }
    QList<TDayProgress> days = std::exchange(Days, {});
    Times->clear();
    Index.clear();
    std::sort(days.begin(), days.end(),
              [](const TDayProgress& x, const TDayProgress& y) { return x.Date > y.Date; });
    if (days.size() > ShownDays)
        days.resize(ShownDays);
    return days;
}

QList<TDayProgress> SummarizeDays(const QList<TJournalEntry>& entries) {
    TDaySummarizer summarizer;
    for (const TJournalEntry& entry : entries)
        summarizer.Add(entry);
    return summarizer.Result();
}

QString MinutesText(qint64 ms) {
    return OneDecimal(ms, 60000);
}

QString SecondsText(qint64 ms) {
    return OneDecimal(ms, 1000);
}

bool TFactGrid::FactAt(int row, int col, TFactKey& key) const {
    const int r = Rows.value(row, -1);
    const int c = Cols.value(col, -1);
    if (r < 0 || c < 0)
        return false;
    switch (Op) {
    case TOperation::Addition:
        key = TFactKey{Op, r, c};
        return r + c <= Cols.last();
    case TOperation::Subtraction:
        key = TFactKey{Op, r, c};
        return c <= r;
    case TOperation::Multiplication:
        key = TFactKey{Op, c, r};
        return true;
    case TOperation::Division:
        break;
    }
    key = TFactKey{Op, r * c, r};
    return true;
}

TFactGrid AllowedFacts(TOperation op) {
    TFactGrid grid;
    grid.Op = op;
    switch (op) {
    case TOperation::Addition:
    case TOperation::Subtraction: {
        const TPracticeState& s = PracticeState;
        const bool tenOnly = op == TOperation::Addition ? s.AddTo10 && !s.AddTo20 && !s.AddTo100
                                                        : s.SubTo10 && !s.SubTo20 && !s.SubTo100;
        grid.Rows = grid.Cols = UpTo(tenOnly ? 10 : 20);
        break;
    }
    case TOperation::Multiplication:
        grid.Rows = InUse(PracticeState.MulTable);
        grid.Cols = UpTo(10);
        break;
    case TOperation::Division:
        grid.Rows = InUse(PracticeState.DivBy);
        grid.Cols = UpTo(10);
        break;
    }
    return grid;
}

QString FactText(const TFactKey& key) {
    return QStringLiteral("%1 %2 %3")
        .arg(key.A)
        .arg(QLatin1String(OperatorSign(key.Op)))
        .arg(key.B);
}

QString FactInfoWord(const TFactInfo& info) {
    const QString word = FactStateWord(info.State);
    return info.Fast ? word + QLatin1Char(' ') + FastWord() : word;
}

QString FactDescription(const TFactKey& key, const TFactInfo& info) {
    QString text = FactText(key) + QStringLiteral(", ") + FactInfoWord(info);
    if (!info.LastAnswers.isEmpty())
        text +=
            QStringLiteral("; poslední odpovědi: ") + info.LastAnswers.join(QStringLiteral(", "));
    if (!info.LastRightMs.isEmpty()) {
        QStringList times;
        for (qint64 ms : info.LastRightMs)
            times.append(SecondsText(ms) + QStringLiteral(" s"));
        text += QStringLiteral("; doby správných: ") + times.join(QStringLiteral(", "));
    }
    if (info.LastAsked.isValid())
        text +=
            QStringLiteral("; naposledy ") + info.LastAsked.toString(QStringLiteral("d. M. yyyy"));
    return text;
}
