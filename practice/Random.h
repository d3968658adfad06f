#pragma once

#include <cstdint>

// The one random generator of the program: a 32-bit multiply-add sequence.
extern std::uint32_t RandSeed;

// A number from 0 to n - 1 (n >= 1): the seed steps on, and the result is
// the upper half of the 64-bit product of the new seed and n.
int RandomBelow(int n);

// Sets the seed from the low 32 bits of a fast monotonic clock, unless
// ReseedFromClock is false (a test that fixes the sequence).
void ReseedRandom();
extern bool ReseedFromClock;
