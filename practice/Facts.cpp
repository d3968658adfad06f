#include "practice/Facts.h"

#include "store/DataDir.h"

#include <algorithm>
#include <utility>

size_t qHash(const TFactKey& key, size_t seed) {
    return qHashMulti(seed, int(key.Op), key.A, key.B);
}

namespace {

qint64 Median(QList<qint64> values) {
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

void TFactDeriver::Add(const TJournalEntry& entry) {
    TFactInfo& fact = Facts[TFactKey{entry.Op, entry.A, entry.B}];
    ++fact.Asked;
    fact.LastAsked = entry.Date;
    fact.LastAnswers.append(entry.Answer);
    if (fact.LastAnswers.size() > KeptAnswers)
        fact.LastAnswers.removeFirst();
    if (entry.Correct) {
        fact.LastRightMs.append(entry.Ms);
        if (fact.LastRightMs.size() > FastSampleCount)
            fact.LastRightMs.removeFirst();
        if (!fact.RightDays.contains(entry.Date))
            fact.RightDays.append(entry.Date);
    } else {
        fact.LastMistake = Index;
        fact.RightDays.clear();
    }
    ++Index;
}

QHash<TFactKey, TFactInfo> TFactDeriver::Result() {
    for (TFactInfo& fact : Facts) {
        if (fact.RightDays.isEmpty())
            fact.State = TFactState::Learning;
        else if (fact.RightDays.size() < KnownAfterDays)
            fact.State = TFactState::Almost;
        else
            fact.State = TFactState::Known;
        fact.Fast = fact.State == TFactState::Known && fact.LastRightMs.size() == FastSampleCount &&
                    Median(fact.LastRightMs) < FastMedianMs;
    }
    return std::exchange(Facts, {});
}

QHash<TFactKey, TFactInfo> DeriveFacts(const QList<TJournalEntry>& entries) {
    TFactDeriver deriver;
    for (const TJournalEntry& entry : entries)
        deriver.Add(entry);
    return deriver.Result();
}

QHash<TFactKey, TFactInfo> ReadFacts() {
    // A year's answers are worked into the facts as they are read, not kept.
    TFactDeriver deriver;
    ReadJournalEach(GetJournalPath(),
                    [&deriver](const TJournalEntry& entry) { deriver.Add(entry); });
    return deriver.Result();
}

QString FactStateWord(TFactState state) {
    switch (state) {
    case TFactState::New:
        return QStringLiteral("nové");
    case TFactState::Learning:
        return QStringLiteral("učí se");
    case TFactState::Almost:
        return QStringLiteral("skoro");
    case TFactState::Known:
        break;
    }
    return QStringLiteral("umí");
}

QString FastWord() {
    return QStringLiteral("rychle");
}
