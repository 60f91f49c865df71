#include "platform/gfx/loader/Resample.h"

#include <algorithm>
#include <array>

namespace gfx {

namespace {

struct Tap {
    uint32_t index;
    float weight;
};

// For each output position along one axis, the source positions it reads and their weights.
struct AxisTaps {
    std::vector<uint32_t> first;  // per output: index of its first tap in `taps`
    std::vector<Tap> taps;
};

AxisTaps Taps(uint32_t from, uint32_t to, uint32_t filter) {
    AxisTaps axis;
    axis.first.reserve(to + 1);
    const double scale = static_cast<double>(from) / to;
    for (uint32_t i = 0; i < to; ++i) {
        axis.first.push_back(static_cast<uint32_t>(axis.taps.size()));
        if (filter == D3DX_FILTER_POINT) {
            const auto source = static_cast<uint32_t>((i + 0.5) * scale);
            axis.taps.push_back({std::min(source, from - 1), 1.0f});
        } else if (scale >= 1.0) {
            // Shrinking: the source cells under [begin, end), partly covered cells weighted by
            // their share.
            const double begin = i * scale, end = (i + 1) * scale;
            for (auto cell = static_cast<uint32_t>(begin); cell < from && cell < end; ++cell) {
                const double covered = std::min<double>(cell + 1, end) - std::max<double>(cell, begin);
                if (covered > 0) axis.taps.push_back({cell, static_cast<float>(covered / scale)});
            }
        } else {
            // Growing: between the two nearest source centres.
            const double centre = std::clamp((i + 0.5) * scale - 0.5, 0.0, static_cast<double>(from - 1));
            const auto low = static_cast<uint32_t>(centre);
            const auto t = static_cast<float>(centre - low);
            axis.taps.push_back({low, 1.0f - t});
            if (t > 0 && low + 1 < from) axis.taps.push_back({low + 1, t});
        }
    }
    axis.first.push_back(static_cast<uint32_t>(axis.taps.size()));
    return axis;
}

using Channels = std::array<float, 4>;  // a, r, g, b

void Accumulate(Channels& sum, uint32_t argb, float weight) {
    for (int c = 0; c < 4; ++c) sum[c] += static_cast<float>((argb >> (24 - 8 * c)) & 0xFF) * weight;
}

uint32_t Pack(const Channels& sum) {
    uint32_t out = 0;
    for (int c = 0; c < 4; ++c) {
        // Weights are never negative, so adding a half and truncating rounds as lround would,
        // without a library call per channel (mip chains of large pictures make millions).
        const auto value = static_cast<uint32_t>(std::clamp(sum[c] + 0.5f, 0.0f, 255.0f));
        out |= value << (24 - 8 * c);
    }
    return out;
}

ArgbImage CopyOverlap(const ArgbImage& source, uint32_t width, uint32_t height) {
    ArgbImage out(width, height);
    const uint32_t w = std::min(width, source.width);
    for (uint32_t y = 0; y < std::min(height, source.height); ++y) std::copy_n(source.Row(y), w, out.Row(y));
    return out;
}

}  // namespace

uint32_t FilterKind(uint32_t filter) {
    const uint32_t kind = filter & 0xFF;
    return (kind >= D3DX_FILTER_NONE && kind <= D3DX_FILTER_BOX) ? kind : 0;
}

ArgbImage Resize(const ArgbImage& source, uint32_t width, uint32_t height, uint32_t filter) {
    if (width == source.width && height == source.height) return source;
    if (filter == D3DX_FILTER_NONE) return CopyOverlap(source, width, height);
    const AxisTaps across = Taps(source.width, width, filter);
    const AxisTaps down = Taps(source.height, height, filter);

    // Columns first, into a float image of the new width and the old height.
    std::vector<Channels> rows(static_cast<size_t>(width) * source.height);
    for (uint32_t y = 0; y < source.height; ++y) {
        const uint32_t* in = source.Row(y);
        for (uint32_t x = 0; x < width; ++x) {
            Channels sum{};
            for (uint32_t t = across.first[x]; t < across.first[x + 1]; ++t)
                Accumulate(sum, in[across.taps[t].index], across.taps[t].weight);
            rows[static_cast<size_t>(y) * width + x] = sum;
        }
    }
    ArgbImage out(width, height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            Channels sum{};
            for (uint32_t t = down.first[y]; t < down.first[y + 1]; ++t) {
                const Channels& cell = rows[static_cast<size_t>(down.taps[t].index) * width + x];
                for (int c = 0; c < 4; ++c) sum[c] += cell[c] * down.taps[t].weight;
            }
            out.Row(y)[x] = Pack(sum);
        }
    }
    return out;
}

void ApplyColorKey(ArgbImage& image, D3DCOLOR key) {
    if (key == 0) return;
    for (uint32_t& pixel : image.pixels)
        if (pixel == key) pixel = 0;
}

}  // namespace gfx
