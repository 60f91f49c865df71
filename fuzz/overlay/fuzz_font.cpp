// Any bytes as a font file and as the charset files it names (the text before the first NUL is
// the font file, the rest every charset; without a NUL both are the whole input), every picture
// a small valid one; then a text laid out with the result.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "overlay/Font.h"
#include "overlay/TextElement.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/gfx/loader/ImageEncoders.h"
#include "textures/TextureManager.h"

namespace {

const std::vector<uint8_t>& Picture() {
    static const std::vector<uint8_t> png = [] {
        gfx::ArgbImage image(32, 16);
        for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint32_t>(i * 0x01020304u);
        return gfx::EncodePng(image, true);
    }();
    return png;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) return 0;
    const auto* nul = static_cast<const uint8_t*>(std::memchr(data, 0, size));
    const auto fontSize = static_cast<uint32_t>(nul ? nul - data : size);
    const uint8_t* charset = nul ? nul + 1 : data;
    const auto charsetSize = static_cast<uint32_t>(nul ? size - fontSize - 1 : size);
    const MediaFiles media = [&](const EngineString& name) {
        if (EndsWith(name.view(), ".fs")) return FileSource(data, fontSize, true);
        if (EndsWith(name.view(), ".css")) return FileSource(charset, charsetSize, true);
        return FileSource(Picture().data(), static_cast<uint32_t>(Picture().size()), true);
    };
    gfx::RecordingDevice device;
    TextureManager textures(&device);
    Font font;
    if (!font.Load("/font.fs", media, textures)) return 0;
    TextElement text;
    text.SetFont(&font);
    text.SetAttributes({.size = 20, .charSpace = -1, .textFloat = TextElement::Float::kCenter});
    text.SetText(std::string_view("12:34:56 pm\n$ \xff\x01", 16));
    text.Layout(100);
    return 0;
}
