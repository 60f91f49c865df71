#pragma once
// Textures made from image files, as the Direct3D extension library makes them: JPEG, PNG, TGA,
// BMP, GIF and DDS decoded in memory, scaled to the requested size with the requested filter,
// colour-keyed, converted to the texture's format, with a mip chain built level by level.

#include <cstdint>

#include "platform/gfx/Device.h"
#include "platform/gfx/Object.h"
#include "platform/gfx/Resources.h"
#include "platform/gfx/Types.h"

namespace gfx {

inline constexpr HRESULT D3DXERR_INVALIDDATA = MakeError(0x88760B59);

// Size, level and format arguments that mean "as the file has it" or "the library's choice".
inline constexpr uint32_t D3DX_DEFAULT = 0xFFFFFFFF;
inline constexpr uint32_t D3DX_DEFAULT_NONPOW2 = 0xFFFFFFFE;
inline constexpr uint32_t D3DX_FROM_FILE = 0xFFFFFFFD;
inline constexpr D3DFORMAT D3DFMT_FROM_FILE = static_cast<D3DFORMAT>(0xFFFFFFFD);

// Filters: one of these in the low byte, optionally with flags above it (ignored here).
inline constexpr uint32_t D3DX_FILTER_NONE = 1;
inline constexpr uint32_t D3DX_FILTER_POINT = 2;
inline constexpr uint32_t D3DX_FILTER_LINEAR = 3;
inline constexpr uint32_t D3DX_FILTER_TRIANGLE = 4;
inline constexpr uint32_t D3DX_FILTER_BOX = 5;
inline constexpr uint32_t D3DX_FILTER_DITHER = 0x80000;

enum D3DXIMAGE_FILEFORMAT : uint32_t {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_GIF = 0x100,  // beyond the extension library's own list
};

struct D3DXIMAGE_INFO {
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint32_t Depth = 0;
    uint32_t MipLevels = 0;
    D3DFORMAT Format = D3DFMT_UNKNOWN;  // the file's own pixel format
    D3DRESOURCETYPE ResourceType = D3DRTYPE_TEXTURE;
    D3DXIMAGE_FILEFORMAT ImageFileFormat = D3DXIFF_BMP;
};

// What the loader accepts. Images wider or taller than `maxSide` are refused before they are
// decoded.
struct ImageLimits {
    uint32_t maxSide = 16384;
};

class TextureLoader {
public:
    explicit TextureLoader(Device& device, ImageLimits limits = {}) : device_(device), limits_(limits) {}

    // Width and height 0 (or D3DX_DEFAULT...) take the file's size; levels 0 or D3DX_DEFAULT make
    // the full chain; format D3DFMT_UNKNOWN takes the file's. Pixels equal to a non-zero
    // `colorKey` (as A8R8G8B8) become transparent black. `info` may be null.
    HRESULT CreateTextureFromFileInMemoryEx(const void* data, uint32_t size, uint32_t width, uint32_t height,
                                            uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                                            uint32_t filter, uint32_t mipFilter, D3DCOLOR colorKey,
                                            D3DXIMAGE_INFO* info, Ref<Texture>& out) const;
    HRESULT CreateTextureFromFileEx(const char* fileName, uint32_t width, uint32_t height, uint32_t levels,
                                    uint32_t usage, D3DFORMAT format, D3DPOOL pool, uint32_t filter,
                                    uint32_t mipFilter, D3DCOLOR colorKey, D3DXIMAGE_INFO* info,
                                    Ref<Texture>& out) const;
    // An empty texture: sizes 0 give 256, format D3DFMT_UNKNOWN gives A8R8G8B8.
    HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                          D3DPOOL pool, Ref<Texture>& out) const;

    // Loads a whole image into `destRect` of one level (null: the whole level), scaled with
    // `filter`.
    HRESULT LoadSurfaceFromFileInMemory(Texture& texture, uint32_t level, const RECT* destRect, const void* data,
                                        uint32_t size, uint32_t filter, D3DCOLOR colorKey,
                                        D3DXIMAGE_INFO* info) const;
    HRESULT LoadSurfaceFromFile(Texture& texture, uint32_t level, const RECT* destRect, const char* fileName,
                                uint32_t filter, D3DCOLOR colorKey, D3DXIMAGE_INFO* info) const;

private:
    HRESULT CreateWithFallback(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                               D3DPOOL pool, Ref<Texture>& out) const;

    Device& device_;
    ImageLimits limits_;
};

}  // namespace gfx
