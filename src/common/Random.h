#pragma once
// The program's one random generator, the classic linear congruential one with values 0 to
// 32767, the same on every platform: a seed gives the same storm and the same camera paths
// everywhere, so recordings made on different systems compare frame by frame.

#include <cstdint>

constexpr int kRandomMax = 0x7FFF;

// Process-wide, like the C library's generator it stands in for; one thread draws.
void SeedRandom(uint32_t seed);
// The next value, 0 to kRandomMax.
int Random();
