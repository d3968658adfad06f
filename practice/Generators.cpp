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

} // namespace

void MakeAddition(int& first, int& second) {
    ReseedRandom();
    if (PracticeState.AddTo10)
        DrawSum(first, second, 10);
    if (PracticeState.AddTo20)
        DrawSum(first, second, 20);
    if (PracticeState.AddTo100)
        DrawSum(first, second, 100);
}

void MakeSubtraction(int& first, int& second) {
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
