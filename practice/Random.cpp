#include "practice/Random.h"

#include <chrono>

std::uint32_t RandSeed = 0;
bool ReseedFromClock = true;

int RandomBelow(int n) {
    RandSeed = RandSeed * 134775813u + 1u;
    return static_cast<int>((std::uint64_t(RandSeed) * std::uint32_t(n)) >> 32);
}

void ReseedRandom() {
    if (!ReseedFromClock)
        return;
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    RandSeed = static_cast<std::uint32_t>(ticks);
}
