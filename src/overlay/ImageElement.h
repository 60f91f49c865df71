#pragma once
// A picture drawn in its window: the texture named by "Src", "Width" x "Height" pixels (the
// picture's own size when not given).

#include <array>

#include "common/EngineString.h"
#include "overlay/MediaText.h"
#include "overlay/QuadBatch.h"

class Texture;
class TextureManager;
class UdfTextNode;

class ImageElement {
public:
    ImageElement() = default;
    ~ImageElement();
    ImageElement(const ImageElement&) = delete;
    ImageElement& operator=(const ImageElement&) = delete;

    // Reads "Src", "Width" and "Height" and loads the picture; false when it does not load.
    bool Load(const UdfTextNode& node, const MediaFiles& media, TextureManager& textures);
    bool Load(const EngineString& source, int width, int height, const MediaFiles& media, TextureManager& textures);

    int Width() const { return width_; }
    int Height() const { return height_; }
    void Draw(QuadBatch& batch, float x, float y) const;

private:
    Texture* texture_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::array<OverlayVertex, 6> quad_{};
};
