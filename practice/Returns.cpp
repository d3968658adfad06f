#include "practice/Returns.h"

#include "practice/Evaluation.h"
#include "practice/PracticeState.h"
#include "store/Errors.h"

#include <algorithm>
#include <tuple>

namespace {

TReturnState& State() {
    return PracticeState.Returns;
}

void Draw(TOperation op, int& first, int& second) {
    switch (op) {
    case TOperation::Addition:
        MakeAddition(first, second);
        break;
    case TOperation::Subtraction:
        MakeSubtraction(first, second);
        break;
    case TOperation::Multiplication:
        MakeMultiplication(first, second);
        break;
    case TOperation::Division:
        MakeDivision(first, second);
        break;
    }
}

// The facts of earlier days are read from the journal at the first problem
// of a run, not at start-up. A journal that cannot be read brings nothing
// back from earlier days; the practice goes on.
void ReadEarlierOnce() {
    TReturnState& s = State();
    if (s.EarlierRead)
        return;
    s.EarlierRead = true;
    try {
        s.Due = DueFacts(ReadFacts(), Clock->LocalNow().date());
    } catch (const EZirmonError&) {
        s.Due.clear();
    }
}

bool MayComeBack(const TFactKey& fact) {
    return SettingsAllow(fact.Op, fact.A, fact.B) && !(State().Last && *State().Last == fact);
}

// The fact that comes back as problem number `next`, of one of the
// operations accepted: first a fact missed in this run whose time has come
// (the longest waiting first), then a due fact of an earlier day.
std::optional<TFactKey> ReturnFor(int next, const bool (&accepted)[4]) {
    const TReturnState& s = State();
    if (!PracticeState.ReturnMissed || next - s.LastReturn < ReturnSpacing)
        return std::nullopt;
    for (const TMissed& missed : s.Missed)
        if (next - missed.Problem >= ReturnFirst && accepted[int(missed.Fact.Op)] &&
            MayComeBack(missed.Fact))
            return missed.Fact;
    for (const TFactKey& fact : s.Due)
        if (accepted[int(fact.Op)] && MayComeBack(fact))
            return fact;
    return std::nullopt;
}

void Forget(const TFactKey& fact) {
    TReturnState& s = State();
    s.Missed.removeIf([&fact](const TMissed& m) { return m.Fact == fact; });
    s.Due.removeAll(fact);
}

} // namespace

void NextProblem(TOperation op, int& first, int& second) {
    if (PracticeState.ReturnMissed)
        ReadEarlierOnce();
    TReturnState& s = State();
    const int next = s.Shown + 1;
    bool accepted[4] = {};
    accepted[int(op)] = true;
    if (const std::optional<TFactKey> back = ReturnFor(next, accepted)) {
        first = back->A;
        second = back->B;
        s.LastReturn = next;
    } else {
        // A repeat is drawn again; a hundred repeats in a row mean the
        // settings allow this problem alone.
        for (int tries = 0; tries < 100; ++tries) {
            Draw(op, first, second);
            if (!(s.Last && *s.Last == TFactKey{op, first, second}))
                break;
        }
    }
    s.Shown = next;
    s.Last = TFactKey{op, first, second};
}

std::optional<TOperation> ReturnOperation(const TRandomMix& mix) {
    if (!PracticeState.ReturnMissed)
        return std::nullopt;
    ReadEarlierOnce();
    const bool accepted[4] = {mix.Add, mix.Sub, mix.Mul, mix.Div};
    if (const std::optional<TFactKey> back = ReturnFor(State().Shown + 1, accepted))
        return back->Op;
    return std::nullopt;
}

void NoteJudged(TOperation op, int first, int second, bool correct) {
    const TFactKey fact{op, first, second};
    Forget(fact);
    if (!correct)
        State().Missed.append(TMissed{fact, State().Shown});
}

void ForgetReturns() {
    State() = TReturnState{};
}

QList<TFactKey> DueFacts(const QHash<TFactKey, TFactInfo>& facts, const QDate& today) {
    QList<std::pair<QDate, TFactKey>> due;
    for (auto it = facts.cbegin(); it != facts.cend(); ++it) {
        const TFactInfo& info = it.value();
        const qint64 days = info.LastAsked.daysTo(today);
        if ((info.State == TFactState::Learning && days >= LearningDueDays) ||
            (info.State == TFactState::Almost && days >= AlmostDueDays))
            due.append({info.LastAsked, it.key()});
    }
    std::sort(due.begin(), due.end(), [](const auto& x, const auto& y) {
        return std::tie(x.first, x.second.Op, x.second.A, x.second.B) <
               std::tie(y.first, y.second.Op, y.second.A, y.second.B);
    });
    QList<TFactKey> keys;
    for (const auto& d : due)
        keys.append(d.second);
    return keys;
}
