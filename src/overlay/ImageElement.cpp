#include "overlay/ImageElement.h"

#include "textures/TextureManager.h"
#include "udf/UdfTextNode.h"

ImageElement::~ImageElement() {
    if (texture_) texture_->Release();
}

bool ImageElement::Load(const UdfTextNode& node, const MediaFiles& media, TextureManager& textures) {
    const UdfTextNode* source = node.FindChild("Src");
    const UdfTextNode* width = node.FindChild("Width");
    const UdfTextNode* height = node.FindChild("Height");
    return Load(source ? source->AsString() : EngineString(), width ? width->AsInt() : 0,
                height ? height->AsInt() : 0, media, textures);
}

bool ImageElement::Load(const EngineString& source, int width, int height, const MediaFiles& media,
                        TextureManager& textures) {
    if (texture_) texture_->Release();
    texture_ = nullptr;
    if (source.empty()) return false;
    TextureDescriptor request;
    request.source = media(MediaName(source));
    texture_ = textures.GetTexture(request, nullptr);
    if (!texture_) return false;
    const TextureRect area = texture_->NormalizedRect();
    const TextureSize size = texture_->Size();
    width_ = width > 0 ? width : static_cast<int>(size.width);
    height_ = height > 0 ? height : static_cast<int>(size.height);
    WriteQuad(quad_.data(), 0, 0, static_cast<float>(width_), static_cast<float>(height_), area.left, area.top,
              area.right, area.bottom, 0xFFFFFFFF);
    return true;
}

void ImageElement::Draw(QuadBatch& batch, float x, float y) const {
    if (texture_ && texture_->D3DTexture()) batch.Add(texture_->D3DTexture(), quad_, x, y);
}
