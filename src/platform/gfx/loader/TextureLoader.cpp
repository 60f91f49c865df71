#include "platform/gfx/loader/TextureLoader.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

#include "platform/gfx/loader/Dxt.h"
#include "platform/gfx/loader/Image.h"
#include "platform/gfx/loader/PixelFormats.h"
#include "platform/gfx/loader/Resample.h"

namespace gfx {

namespace {

bool TakesFileValue(uint32_t value) { return value == 0 || value >= D3DX_FROM_FILE; }

// A filter argument: D3DX_DEFAULT gives `fallback`; anything that is not a filter gives 0.
uint32_t ChooseFilter(uint32_t filter, uint32_t fallback) {
    return filter == D3DX_DEFAULT ? fallback : FilterKind(filter);
}

bool ReadFile(const char* fileName, std::vector<uint8_t>& bytes) {
    if (!fileName) return false;
    std::ifstream in(fileName, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size <= 0 || size > INT32_MAX) return false;
    bytes.resize(static_cast<size_t>(size));
    in.seekg(0);
    return static_cast<bool>(in.read(reinterpret_cast<char*>(bytes.data()), size));
}

// Writes pixels into a locked area of a level in the texture's format.
void WritePixels(D3DFORMAT format, const ArgbImage& image, const D3DLOCKED_RECT& locked) {
    auto* dest = static_cast<uint8_t*>(locked.pBits);
    if (IsDxt(format)) {
        EncodeDxt(format, image, dest, locked.Pitch);
        return;
    }
    for (uint32_t y = 0; y < image.height; ++y)
        PackRow(format, image.Row(y), image.width, dest + static_cast<ptrdiff_t>(y) * locked.Pitch);
}

HRESULT FillRect(Texture& texture, uint32_t level, const RECT* rect, const ArgbImage& image) {
    D3DLOCKED_RECT locked;
    const HRESULT hr = texture.LockRect(level, locked, rect, 0);
    if (FAILED(hr)) return hr;
    WritePixels(texture.Format(), image, locked);
    return texture.UnlockRect(level);
}

// Copies stored blocks unchanged into a level of the same format.
HRESULT CopyBlocks(Texture& texture, uint32_t level, const std::vector<uint8_t>& blocks) {
    D3DLOCKED_RECT locked;
    const HRESULT hr = texture.LockRect(level, locked, nullptr, 0);
    if (FAILED(hr)) return hr;
    const uint32_t rowBytes = texture.Pitch(level);
    auto* dest = static_cast<uint8_t*>(locked.pBits);
    for (size_t offset = 0; offset < blocks.size(); offset += rowBytes, dest += locked.Pitch)
        std::memcpy(dest, blocks.data() + offset, std::min<size_t>(rowBytes, blocks.size() - offset));
    return texture.UnlockRect(level);
}

D3DFORMAT FallbackFormat(D3DFORMAT format) { return FormatHasAlpha(format) ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8; }

}  // namespace

HRESULT TextureLoader::CreateWithFallback(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                          D3DFORMAT format, D3DPOOL pool, Ref<Texture>& out) const {
    // Like the extension library, settle for the nearest format the device has.
    for (const D3DFORMAT candidate : {format, FallbackFormat(format), D3DFMT_A8R8G8B8}) {
        const HRESULT hr = device_.CreateTexture(width, height, levels, usage, candidate, pool, out);
        if (SUCCEEDED(hr) || candidate == D3DFMT_A8R8G8B8) return hr;
    }
    return D3DERR_NOTAVAILABLE;
}

HRESULT TextureLoader::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                     D3DFORMAT format, D3DPOOL pool, Ref<Texture>& out) const {
    out.Reset();
    width = TakesFileValue(width) ? 256 : width;
    height = TakesFileValue(height) ? 256 : height;
    if (width > limits_.maxSide || height > limits_.maxSide) return D3DERR_INVALIDCALL;
    levels = TakesFileValue(levels) ? 0 : levels;
    if (format == D3DFMT_UNKNOWN || format == D3DFMT_FROM_FILE) format = D3DFMT_A8R8G8B8;
    return CreateWithFallback(width, height, levels, usage, format, pool, out);
}

HRESULT TextureLoader::CreateTextureFromFileInMemoryEx(const void* data, uint32_t size, uint32_t width,
                                                       uint32_t height, uint32_t levels, uint32_t usage,
                                                       D3DFORMAT format, D3DPOOL pool, uint32_t filter,
                                                       uint32_t mipFilter, D3DCOLOR colorKey,
                                                       D3DXIMAGE_INFO* info, Ref<Texture>& out) const {
    out.Reset();
    filter = ChooseFilter(filter, D3DX_FILTER_TRIANGLE);
    mipFilter = ChooseFilter(mipFilter, D3DX_FILTER_BOX);
    if (!data || size == 0 || filter == 0 || mipFilter == 0) return D3DERR_INVALIDCALL;
    DecodedImage image;
    HRESULT hr = DecodeImage({static_cast<const uint8_t*>(data), size}, limits_, image);
    if (FAILED(hr)) return hr;
    if (info) *info = image.info;

    const uint32_t fileWidth = image.info.Width, fileHeight = image.info.Height;
    width = TakesFileValue(width) ? fileWidth : width;
    height = TakesFileValue(height) ? fileHeight : height;
    if (width > limits_.maxSide || height > limits_.maxSide) return D3DERR_INVALIDCALL;
    if (levels == D3DX_FROM_FILE) {
        levels = image.info.MipLevels;
    } else if (TakesFileValue(levels)) {
        levels = 0;
    }
    if (format == D3DFMT_UNKNOWN || format == D3DFMT_FROM_FILE) {
        format = TextureFormatFor(image.info.Format);
        // A colour key needs somewhere to put its transparency.
        if (colorKey != 0 && !FormatHasAlpha(format)) format = D3DFMT_A8R8G8B8;
    }
    Ref<Texture> texture;
    hr = CreateWithFallback(width, height, levels, usage, format, pool, texture);
    if (FAILED(hr)) return hr;

    const bool sameSize = width == fileWidth && height == fileHeight;
    const bool keepBlocks = image.blockFormat == texture->Format() && colorKey == 0 && sameSize;
    ArgbImage current;
    for (uint32_t level = 0; level < texture->GetLevelCount(); ++level) {
        D3DSURFACE_DESC desc;
        texture->GetLevelDesc(level, desc);
        const bool fromFile = level < image.LevelCount() && (level == 0 || sameSize);
        if (fromFile && keepBlocks) {
            hr = CopyBlocks(*texture, level, image.blocks[level]);
            if (FAILED(hr)) return hr;
            continue;
        }
        if (fromFile) {
            ArgbImage stored = image.Argb(level);
            ApplyColorKey(stored, colorKey);
            current = Resize(stored, desc.Width, desc.Height, filter);
        } else {
            if (current.pixels.empty()) current = image.Argb(level - 1);
            current = Resize(current, desc.Width, desc.Height, mipFilter);
        }
        hr = FillRect(*texture, level, nullptr, current);
        if (FAILED(hr)) return hr;
    }
    out = std::move(texture);
    return D3D_OK;
}

HRESULT TextureLoader::CreateTextureFromFileEx(const char* fileName, uint32_t width, uint32_t height,
                                               uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                                               uint32_t filter, uint32_t mipFilter, D3DCOLOR colorKey,
                                               D3DXIMAGE_INFO* info, Ref<Texture>& out) const {
    out.Reset();
    std::vector<uint8_t> bytes;
    if (!ReadFile(fileName, bytes)) return D3DERR_NOTFOUND;
    return CreateTextureFromFileInMemoryEx(bytes.data(), static_cast<uint32_t>(bytes.size()), width, height, levels,
                                           usage, format, pool, filter, mipFilter, colorKey, info, out);
}

HRESULT TextureLoader::LoadSurfaceFromFileInMemory(Texture& texture, uint32_t level, const RECT* destRect,
                                                   const void* data, uint32_t size, uint32_t filter,
                                                   D3DCOLOR colorKey, D3DXIMAGE_INFO* info) const {
    filter = ChooseFilter(filter, D3DX_FILTER_TRIANGLE);
    D3DSURFACE_DESC desc;
    if (!data || size == 0 || filter == 0 || FAILED(texture.GetLevelDesc(level, desc))) return D3DERR_INVALIDCALL;
    const RECT whole{0, 0, static_cast<int32_t>(desc.Width), static_cast<int32_t>(desc.Height)};
    const RECT& rect = destRect ? *destRect : whole;
    if (rect.left < 0 || rect.top < 0 || rect.right <= rect.left || rect.bottom <= rect.top ||
        rect.right > whole.right || rect.bottom > whole.bottom)
        return D3DERR_INVALIDCALL;
    DecodedImage image;
    const HRESULT hr = DecodeImage({static_cast<const uint8_t*>(data), size}, limits_, image);
    if (FAILED(hr)) return hr;
    if (info) *info = image.info;
    ArgbImage pixels = image.Argb(0);
    ApplyColorKey(pixels, colorKey);
    const ArgbImage scaled = Resize(pixels, static_cast<uint32_t>(rect.right - rect.left),
                                    static_cast<uint32_t>(rect.bottom - rect.top), filter);
    return FillRect(texture, level, &rect, scaled);
}

HRESULT TextureLoader::LoadSurfaceFromFile(Texture& texture, uint32_t level, const RECT* destRect,
                                           const char* fileName, uint32_t filter, D3DCOLOR colorKey,
                                           D3DXIMAGE_INFO* info) const {
    std::vector<uint8_t> bytes;
    if (!ReadFile(fileName, bytes)) return D3DERR_NOTFOUND;
    return LoadSurfaceFromFileInMemory(texture, level, destRect, bytes.data(), static_cast<uint32_t>(bytes.size()),
                                       filter, colorKey, info);
}

}  // namespace gfx
