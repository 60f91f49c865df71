#pragma once
// Repeatable randomness and procedural patterns. Every pattern is a pure function of its
// coordinates and seed, so a painting never varies from run to run.

#include <cstdint>

namespace paint {

// A number in [0, 1) from integers.
float Hash(int x, int y, uint32_t seed);
// Value noise in [0, 1] at texture coordinates (u, v) on a lattice of `cellsU` x `cellsV` cells
// per unit, so a texture spanning [0, 1) tiles seamlessly.
float Noise(float u, float v, int cellsU, int cellsV, uint32_t seed);
// Sum of `octaves` noises, each twice as fine and half as strong; in [0, 1].
float Fbm(float u, float v, int octaves, int cellsU, int cellsV, uint32_t seed);
// Wood running along u: long streaks and fine lines; in [0, 1]. Tiles over [0, 1).
float WoodGrain(float u, float v, uint32_t seed);
float Smoothstep(float edge0, float edge1, float x);
// The distance from (px, py) to the segment from (ax, ay) to (bx, by).
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by);

// A repeatable pseudo-random sequence for scattering rain and grain.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed) {}
    float Next();  // 0 to 1

private:
    uint32_t state_;
};

}  // namespace paint
