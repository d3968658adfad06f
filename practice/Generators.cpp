#include "practice/Generators.h"

#include "practice/PracticeState.h"
#include "practice/Random.h"

#include <utility>

namespace {

// Draws two operands up to limit until their sum is within it.
void DrawSum(int& first, int& second, int limit) {
    do {
        first = RandomBelow(limit + 1);
        second = RandomBelow(limit + 1);
    } while (first + second > limit);
}

// One pair up to limit, the larger first.
void DrawDifference(int& first, int& second, int limit) {
    first = RandomBelow(limit + 1);
    second = RandomBelow(limit + 1);
    if (first < second)
        std::swap(first, second);
}

// A table or divisor from 1 to 10 among those in use; a draw of 0 counts
// as 1. With none in use, 1 stands in, so the loop always ends.
int DrawFactor(const bool (&inUse)[11]) {
    bool any = false;
    for (int k = 1; k <= 10; ++k)
        any = any || inUse[k];
    if (!any)
        return 1;
    int t;
    bool found = false;
    do {
        t = RandomBelow(11);
        if (t == 0)
            t = 1;
        found = inUse[t];
    } while (!found);
    return t;
}

// Up to 20 without crossing ten, for a sum: a + b is at most 20 and the
// units of the two, a % 10 + b % 10, make at most 10. Reaching ten is no
// crossing: 14 + 3 (4 + 3), 10 + 7 and 3 + 10 (0 + 7), 16 + 4 (6 + 4 = 10)
// and 10 + 10 (0 + 0) fit; 8 + 5 (8 + 5 = 13) does not.
bool SumWithoutCrossing(int a, int b) {
    return a >= 0 && b >= 0 && a + b <= 20 && a % 10 + b % 10 <= 10;
}

// Up to 20 without crossing ten, for a difference: 0 <= b <= a <= 20, and
// the units of a are at least those of b, or a is 10. So 17 - 4, 15 - 5,
// 20 - 10, 20 - 0 and 10 - 3 fit; 13 - 5 (3 < 5) and 20 - 4 (0 < 4) do not.
bool DifferenceWithoutCrossing(int a, int b) {
    return b >= 0 && b <= a && a <= 20 && (a % 10 >= b % 10 || a == 10);
}

// One pair drawn evenly among the pairs up to 20 that fit: a single draw
// picks its place among them, so the draw always ends.
void DrawWithoutCrossing(int& first, int& second, bool (*fits)(int, int)) {
    int count = 0;
    for (int a = 0; a <= 20; ++a)
        for (int b = 0; b <= 20; ++b)
            count += fits(a, b) ? 1 : 0;
    int place = RandomBelow(count);
    for (int a = 0; a <= 20; ++a)
        for (int b = 0; b <= 20; ++b)
            if (fits(a, b) && place-- == 0) {
                first = a;
                second = b;
                return;
            }
}

// The ranges of a page are read in the order "bez přechodu", do 10, do 20,
// do 100, a later one overriding an earlier, as in the draws below. So
// "bez přechodu" holds only with the other three off, and a version that
// does not know its key still decides by storing one of the three.

// The highest sum or first operand of the range chosen; -1 with none of
// the three chosen.
int RangeLimit(bool to10, bool to20, bool to100) {
    return to100 ? 100 : to20 ? 20 : to10 ? 10 : -1;
}

// Whether "bez přechodu" is the range in force.
bool WithoutCrossing(bool noCarry, bool to10, bool to20, bool to100) {
    return noCarry && RangeLimit(to10, to20, to100) < 0;
}

// A table or divisor the draws can give: one in use, or 1 with none.
bool FactorInUse(const bool (&inUse)[11], int k) {
    if (k < 1 || k > 10)
        return false;
    bool any = false;
    for (int t = 1; t <= 10; ++t)
        any = any || inUse[t];
    return any ? inUse[k] : k == 1;
}

} // namespace

bool SettingsAllow(TOperation op, int first, int second) {
    const TPracticeState& s = PracticeState;
    switch (op) {
    case TOperation::Addition:
        if (WithoutCrossing(s.AddTo20NoCarry, s.AddTo10, s.AddTo20, s.AddTo100))
            return SumWithoutCrossing(first, second);
        return first >= 0 && second >= 0 &&
               first + second <= RangeLimit(s.AddTo10, s.AddTo20, s.AddTo100);
    case TOperation::Subtraction:
        if (WithoutCrossing(s.SubTo20NoCarry, s.SubTo10, s.SubTo20, s.SubTo100))
            return DifferenceWithoutCrossing(first, second);
        return second >= 0 && first >= second &&
               first <= RangeLimit(s.SubTo10, s.SubTo20, s.SubTo100);
    case TOperation::Multiplication:
        return first >= 0 && first <= 10 && FactorInUse(s.MulTable, second);
    case TOperation::Division:
        return FactorInUse(s.DivBy, second) && first >= 0 && first % second == 0 &&
               first / second <= 10;
    }
    return false;
}

bool GeneratorCanDraw(TOperation op, int first, int second) {
    switch (op) {
    case TOperation::Addition:
        return first >= 0 && second >= 0 && first <= 100 && second <= 100 - first;
    case TOperation::Subtraction:
        return second >= 0 && first >= second && first <= 100;
    case TOperation::Multiplication:
        return first >= 0 && first <= 10 && second >= 1 && second <= 10;
    case TOperation::Division:
        return second >= 1 && second <= 10 && first >= 0 && first % second == 0 &&
               first / second <= 10;
    }
    return false;
}

void MakeAddition(int& first, int& second) {
    ReseedRandom();
    if (PracticeState.AddTo20NoCarry)
        DrawWithoutCrossing(first, second, SumWithoutCrossing);
    if (PracticeState.AddTo10)
        DrawSum(first, second, 10);
    if (PracticeState.AddTo20)
        DrawSum(first, second, 20);
    if (PracticeState.AddTo100)
        DrawSum(first, second, 100);
}

void MakeSubtraction(int& first, int& second) {
    if (PracticeState.SubTo20NoCarry)
        DrawWithoutCrossing(first, second, DifferenceWithoutCrossing);
    if (PracticeState.SubTo10)
        DrawDifference(first, second, 10);
    if (PracticeState.SubTo20)
        DrawDifference(first, second, 20);
    if (PracticeState.SubTo100)
        DrawDifference(first, second, 100);
}

void MakeMultiplication(int& first, int& second) {
    ReseedRandom();
    first = DrawFactor(PracticeState.MulTable);
    second = RandomBelow(11);
    std::swap(first, second);
}

void MakeDivision(int& first, int& second) {
    ReseedRandom();
    second = DrawFactor(PracticeState.DivBy);
    const int k = RandomBelow(11);
    first = second * k;
}

TOperation ChooseRandomOperation(const TRandomMix& mix) {
    ReseedRandom();
    const bool ticked[4] = {mix.Add, mix.Sub, mix.Mul, mix.Div};
    const bool any = mix.Add || mix.Sub || mix.Mul || mix.Div;
    int r;
    do {
        r = RandomBelow(4);
        // With no box ticked the mix falls back to addition and subtraction.
    } while (any ? !ticked[r] : r > 1);
    return static_cast<TOperation>(r);
}

TOperation ChooseRandomOperation() {
    return ChooseRandomOperation(CurrentRandomMix());
}

const char* OperatorSign(TOperation op) {
    switch (op) {
    case TOperation::Addition:
        return "+";
    case TOperation::Subtraction:
        return "-";
    case TOperation::Multiplication:
        return "x";
    case TOperation::Division:
        break;
    }
    return ":";
}
