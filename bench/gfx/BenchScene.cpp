#include "BenchScene.h"

namespace bench {

std::vector<GridVertex> GridVertices() {
    std::vector<GridVertex> grid;
    grid.reserve(kGridVertices);
    for (uint32_t r = 0; r <= kRows; ++r) {
        for (uint32_t c = 0; c <= kColumns; ++c) {
            const float x = (static_cast<float>(c) / kColumns - 0.5f) * 8.0f;
            const float y = (static_cast<float>(r) / kRows - 0.5f) * 6.0f;
            grid.push_back({x, y, 5.0f + 0.05f * x * x, -0.1f * x, 0, -1, x, y, x * 0.5f, y * 0.5f});
        }
    }
    return grid;
}

std::vector<uint32_t> GridIndices() {
    std::vector<uint32_t> index;
    index.reserve(static_cast<size_t>(kColumns) * kRows * 6);
    for (uint32_t r = 0; r < kRows; ++r) {
        for (uint32_t c = 0; c < kColumns; ++c) {
            const uint32_t a = r * (kColumns + 1) + c, b = a + 1, d = a + kColumns + 1, e = d + 1;
            index.insert(index.end(), {a, d, b, b, d, e});
        }
    }
    return index;
}

uint32_t Texel(uint32_t texture, uint32_t x, uint32_t y) { return ((x ^ y) & 8) ? 0xFFC08040 : 0xFF4080C0 + texture; }

uint32_t TextureOf(uint32_t stage, uint32_t batch) { return (stage + batch / 50) % 2; }

math::Mat4 Projection(uint32_t width, uint32_t height) {
    return math::PerspectiveFovLH(1.0471976f, static_cast<float>(width) / static_cast<float>(height), 1.0f, 100.0f);
}

math::Mat4 World(uint32_t batch) { return math::Translation(0, 0, 0.001f * static_cast<float>(batch % 2)); }

}  // namespace bench
