#include "paint/Color.h"

namespace paint {

Rgb Bytes(int r, int g, int b) {
    return {static_cast<float>(r) / 255, static_cast<float>(g) / 255, static_cast<float>(b) / 255};
}

Rgb Hex(uint32_t rgb) { return Bytes(rgb >> 16 & 255, rgb >> 8 & 255, rgb & 255); }

Rgb Mix(Rgb a, Rgb b, float t) { return a * (1 - t) + b * t; }

}  // namespace paint
