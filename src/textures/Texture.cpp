#include "textures/Texture.h"

#include <algorithm>
#include <cstring>

#include "common/Timing.h"
#include "resources/FileSource.h"
#include "textures/TextureManager.h"

using gfx::D3DCOLOR;
using gfx::D3DERR_INVALIDCALL;
using gfx::D3DFORMAT;
using gfx::D3DPOOL;
using gfx::Device;
using gfx::FAILED;
using gfx::HRESULT;
using gfx::RECT;
using gfx::Ref;
using gfx::SUCCEEDED;

Texture::Texture(std::shared_ptr<TextureDevice> device) : device_(std::move(device)), timeMark_(NowMs()) {}

Texture::~Texture() {
    for (const auto& sub : subs_) sub->parent_ = nullptr;
    subs_.clear();
    if (manager_) manager_->Forget(this);
}

uint32_t Texture::AddRef() {
    if (IsSub()) parent_->AddRef();
    return ++refs_;
}

uint32_t Texture::Release() {
    const uint32_t left = --refs_;
    if (IsSub()) {
        // The parent owns its subs: its last release takes this one with it.
        parent_->Release();
    } else if (left == 0) {
        delete this;
    }
    return left;
}

void Texture::ReleaseContents() {
    data_.Reset();
    d3dTexture_.Reset();
    if (IsSub()) {
        // From here its own references keep it alive.
        parent_->DetachSub(this).release();
    } else if (clearSubs_) {
        while (!subs_.empty()) {
            std::unique_ptr<Texture> sub = DetachSub(subs_.back().get());
            // A sub someone still holds lives on as a texture of its own.
            if (sub->refs_ > 0) sub.release();
        }
    }
}

void Texture::StoreRequest(uint32_t initFlags, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                           D3DFORMAT format, D3DPOOL pool, uint32_t filter, uint32_t mipFilter, D3DCOLOR colorKey) {
    initFlags_ = initFlags;
    levelDesc_ = {};
    levelDesc_.Format = format;
    levelDesc_.Usage = usage;
    levelDesc_.Pool = pool;
    levelDesc_.Width = width;
    levelDesc_.Height = height;
    levels_ = levels;
    filter_ = filter;
    mipFilter_ = mipFilter;
    colorKey_ = colorKey;
}

bool Texture::Created(HRESULT result, Ref<gfx::Texture>& texture) {
    if (FAILED(result) || !texture) return false;
    d3dTexture_ = std::move(texture);
    d3dTexture_->GetLevelDesc(0, levelDesc_);
    levels_ = d3dTexture_->GetLevelCount();
    if (!IsSub())
        rect_ = {0, 0, static_cast<int32_t>(levelDesc_.Width), static_cast<int32_t>(levelDesc_.Height)};
    ShareWithSubs();
    return true;
}

HRESULT Texture::BuildFromData(Ref<gfx::Texture>& out) {
    return Loader().CreateTextureFromFileInMemoryEx(data_.data, data_.size, levelDesc_.Width, levelDesc_.Height,
                                                    levels_, levelDesc_.Usage, levelDesc_.Format, levelDesc_.Pool,
                                                    filter_, mipFilter_, colorKey_, &imageInfo_, out);
}

bool Texture::ReadDiskFile() {
    FileSource file(fileName_);
    bool reference = false;
    return file.ReadAll(data_, reference);
}

bool Texture::CreateFromFile(const EngineString& name, uint32_t initFlags, uint32_t width, uint32_t height,
                             uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool, uint32_t filter,
                             uint32_t mipFilter, D3DCOLOR colorKey) {
    ReleaseContents();
    StoreRequest(initFlags, width, height, levels, usage, format, pool, filter, mipFilter, colorKey);
    fileName_ = name;
    if (initFlags & kDeferred) return true;
    if (!HasDevice()) return false;
    Ref<gfx::Texture> texture;
    if (initFlags & kKeepData) {
        if (!ReadDiskFile()) return false;
        const HRESULT hr = BuildFromData(texture);
        return Created(hr, texture);
    }
    if (initFlags & kReferData) return false;  // nobody gave us bytes to refer to
    const HRESULT hr = Loader().CreateTextureFromFileEx(fileName_.c_str(), width, height, levels, usage, format, pool,
                                                        filter, mipFilter, colorKey, &imageInfo_, texture);
    return Created(hr, texture);
}

bool Texture::CreateFromMemory(const uint8_t* data, uint32_t size, uint32_t initFlags, uint32_t width,
                               uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                               uint32_t filter, uint32_t mipFilter, D3DCOLOR colorKey) {
    // The new bytes are taken before the old ones go, in case they are the same.
    ByteBlock bytes;
    if (initFlags & kReferData) {
        bytes.Refer(data, size);
    } else if (initFlags & kKeepData) {
        std::unique_ptr<uint8_t[]> copy(new uint8_t[size]);
        if (size) std::memcpy(copy.get(), data, size);
        bytes.Own(std::move(copy), size);
    }
    return CreateFromBytes(std::move(bytes), initFlags, width, height, levels, usage, format, pool, filter, mipFilter,
                           colorKey);
}

bool Texture::CreateFromBytes(ByteBlock bytes, uint32_t initFlags, uint32_t width, uint32_t height, uint32_t levels,
                              uint32_t usage, D3DFORMAT format, D3DPOOL pool, uint32_t filter, uint32_t mipFilter,
                              D3DCOLOR colorKey) {
    ReleaseContents();
    StoreRequest(initFlags, width, height, levels, usage, format, pool, filter, mipFilter, colorKey);
    if (!(initFlags & (kReferData | kKeepData))) return false;
    data_ = std::move(bytes);
    if (initFlags & kDeferred) return true;
    if (!HasDevice()) return false;
    Ref<gfx::Texture> texture;
    const HRESULT hr = BuildFromData(texture);
    return Created(hr, texture);
}

bool Texture::CreateEmpty(uint32_t initFlags, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                          D3DFORMAT format, D3DPOOL pool) {
    ReleaseContents();
    StoreRequest(initFlags | kEmpty, width, height, levels, usage, format, pool, filter_, mipFilter_, colorKey_);
    if (initFlags & kDeferred) return true;
    if (!HasDevice()) return false;
    Ref<gfx::Texture> texture;
    const HRESULT hr = Loader().CreateTexture(width, height, levels, usage, format, pool, texture);
    return Created(hr, texture);
}

bool Texture::Restore() {
    if ((initFlags_ & kDeferred) || animationSource_) return true;
    if (!HasDevice()) return false;
    if (IsSub()) {
        // A sub's image lives in its area of the parent's top level.
        gfx::Texture* surface = parent_->d3dTexture_.get();
        if (initFlags_ & kKeepName) {
            return surface && SUCCEEDED(Loader().LoadSurfaceFromFile(*surface, 0, &rect_, fileName_.c_str(), filter_,
                                                                     colorKey_, &imageInfo_));
        }
        if (initFlags_ & (kKeepData | kReferData)) {
            return surface && data_.data &&
                   SUCCEEDED(Loader().LoadSurfaceFromFileInMemory(*surface, 0, &rect_, data_.data, data_.size, filter_,
                                                                  colorKey_, &imageInfo_));
        }
        return true;
    }
    Ref<gfx::Texture> texture;
    HRESULT hr = D3DERR_INVALIDCALL;
    if (initFlags_ & kEmpty) {
        hr = Loader().CreateTexture(levelDesc_.Width, levelDesc_.Height, levels_, levelDesc_.Usage, levelDesc_.Format,
                                    levelDesc_.Pool, texture);
    } else if (initFlags_ & kKeepName) {
        hr = Loader().CreateTextureFromFileEx(fileName_.c_str(), levelDesc_.Width, levelDesc_.Height, levels_,
                                              levelDesc_.Usage, levelDesc_.Format, levelDesc_.Pool, filter_,
                                              mipFilter_, colorKey_, &imageInfo_, texture);
    } else if (initFlags_ & (kKeepData | kReferData)) {
        if (!data_.data && !((initFlags_ & kKeepData) && ReadDiskFile())) return false;
        hr = BuildFromData(texture);
    }
    if (!Created(hr, texture)) return false;
    bool restored = true;
    for (const auto& sub : subs_) restored = sub->Restore() && restored;
    return restored;
}

bool Texture::Invalidate() {
    if (IsSub() || animationSource_) return true;
    d3dTexture_.Reset();
    for (const auto& sub : subs_) sub->d3dTexture_.Reset();
    return true;
}

Texture* Texture::AttachSub(std::unique_ptr<Texture> sub) {
    sub->parent_ = this;
    sub->d3dTexture_ = d3dTexture_;
    sub->levelDesc_ = levelDesc_;
    refs_ += sub->refs_;
    subs_.push_back(std::move(sub));
    return subs_.back().get();
}

std::unique_ptr<Texture> Texture::DetachSub(Texture* sub) {
    const auto at = std::find_if(subs_.begin(), subs_.end(), [&](const auto& owned) { return owned.get() == sub; });
    if (at == subs_.end()) return nullptr;
    std::unique_ptr<Texture> detached = std::move(*at);
    subs_.erase(at);
    refs_ -= detached->refs_;
    detached->parent_ = nullptr;
    detached->d3dTexture_.Reset();
    return detached;
}

void Texture::ShareWithSubs() {
    for (const auto& sub : subs_) {
        sub->d3dTexture_ = d3dTexture_;
        sub->levelDesc_ = levelDesc_;
    }
}

gfx::Texture* Texture::D3DTexture() const {
    return animationSource_ ? animationSource_->D3DTexture() : d3dTexture_.get();
}

Texture* Texture::FindSub(const EngineString& name) const {
    for (const auto& sub : subs_)
        if (sub->name_ == name) return sub.get();
    return nullptr;
}

Texture* Texture::FindSubByRect(const RECT& rect) const {
    for (const auto& sub : subs_) {
        const RECT& r = sub->rect_;
        if (r.left == rect.left && r.top == rect.top && r.right == rect.right && r.bottom == rect.bottom) return sub.get();
    }
    return nullptr;
}

TextureSize Texture::Size() const {
    if (IsSub())
        return {static_cast<uint32_t>(rect_.right - rect_.left), static_cast<uint32_t>(rect_.bottom - rect_.top)};
    return {levelDesc_.Width, levelDesc_.Height};
}

TextureRect Texture::NormalizedRect() const { return NormalizedRectInset(0, 0, 0, 0); }

TextureRect Texture::NormalizedRectInset(float left, float top, float right, float bottom) const {
    if (!IsSub() || parent_->levelDesc_.Width == 0 || parent_->levelDesc_.Height == 0) return {};
    const auto w = static_cast<float>(parent_->levelDesc_.Width);
    const auto h = static_cast<float>(parent_->levelDesc_.Height);
    return {(static_cast<float>(rect_.left) + left) / w, (static_cast<float>(rect_.top) + top) / h,
            (static_cast<float>(rect_.right) - right) / w, (static_cast<float>(rect_.bottom) - bottom) / h};
}

const std::vector<EngineString>* Texture::Frames() const {
    if (!animationSource_) return nullptr;
    const auto found = animationSource_->animations_.find(animationName_);
    return found == animationSource_->animations_.end() ? nullptr : &found->second;
}

bool Texture::PlayFrame(const EngineString& frameName) {
    const std::vector<EngineString>* frames = Frames();
    if (!frames) return false;
    if (frameName.empty()) {
        currentFrame_ = 0;
    } else {
        const auto found = std::find(frames->begin(), frames->end(), frameName);
        if (found == frames->end()) return false;
        currentFrame_ = static_cast<size_t>(found - frames->begin());
    }
    timeMark_ = NowMs();
    return true;
}

TextureMatrix Texture::TexCoordMatrix() {
    const std::vector<EngineString>* frames = Frames();
    if (!frames || currentFrame_ >= frames->size()) return {};
    // A frame without delay still takes a millisecond, or the stepping would never end.
    const auto delayOf = [](const Texture* sub) { return std::max<int64_t>(sub->delay_, 1); };
    int64_t round = 0;
    for (const EngineString& frame : *frames) {
        const Texture* sub = animationSource_->FindSub(frame);
        if (!sub) return {};
        round += delayOf(sub);
    }
    const int64_t now = NowMs();
    // Whole rounds of the animation change nothing: skip them, so a long pause costs no time.
    if (now - timeMark_ > round) timeMark_ += (now - timeMark_ - 1) / round * round;
    size_t cursor = currentFrame_;
    while (now - timeMark_ > 0) {
        timeMark_ += delayOf(animationSource_->FindSub((*frames)[cursor]));
        cursor = (cursor + 1) % frames->size();
    }
    currentFrame_ = cursor;
    const TextureRect r = animationSource_->FindSub((*frames)[cursor])->NormalizedRect();
    TextureMatrix matrix;
    matrix.m(0, 0) = r.right - r.left;
    matrix.m(1, 1) = r.bottom - r.top;
    matrix.m(2, 0) = r.left;
    matrix.m(2, 1) = r.top;
    matrix.kind = 0;
    return matrix;
}
