#include "paint/Patterns.h"

#include <algorithm>
#include <cmath>

namespace paint {

float Hash(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFF) / 16777216.0f;
}

float Noise(float u, float v, int cellsU, int cellsV, uint32_t seed) {
    const float x = u * static_cast<float>(cellsU), y = v * static_cast<float>(cellsV);
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = x - fx, ty = y - fy;
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const auto wrap = [](int value, int period) { return ((value % period) + period) % period; };
    const auto h = [&](int dx, int dy) { return Hash(wrap(ix + dx, cellsU), wrap(iy + dy, cellsV), seed); };
    const float a = h(0, 0) + (h(1, 0) - h(0, 0)) * sx;
    const float b = h(0, 1) + (h(1, 1) - h(0, 1)) * sx;
    return a + (b - a) * sy;
}

float Fbm(float u, float v, int octaves, int cellsU, int cellsV, uint32_t seed) {
    float sum = 0, weight = 0, amplitude = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += Noise(u, v, cellsU << o, cellsV << o, seed + static_cast<uint32_t>(o) * 101) * amplitude;
        weight += amplitude;
        amplitude *= 0.5f;
    }
    return sum / weight;
}

float WoodGrain(float u, float v, uint32_t seed) {
    // Streaks: noise stretched along u, bent by a slow warp; lines: a sine of the warped v.
    const float warp = Fbm(u, v, 3, 2, 3, seed + 7);
    const float streak = Fbm(u, v, 5, 3, 48, seed);
    const float lines = 0.5f + 0.5f * std::sin(6.2831853f * (v * 23 + warp * 2.5f + streak * 1.2f));
    return std::clamp(0.2f + 0.6f * streak + 0.2f * lines * lines * lines, 0.0f, 1.0f);
}

float Smoothstep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float l2 = dx * dx + dy * dy;
    const float t = l2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / l2, 0.0f, 1.0f) : 0.0f;
    const float ex = px - ax - t * dx, ey = py - ay - t * dy;
    return std::sqrt(ex * ex + ey * ey);
}

float Random::Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(state_ >> 8) / 16777216.0f;
}

}  // namespace paint
