// Any bytes as an image file: decoded, then built into textures of the file's size and format,
// of another size and of a block-compressed format, and loaded into an area of a texture.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/RecordingDevice.h"
#include "platform/gfx/loader/TextureLoader.h"

using namespace gfx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) return 0;
    RecordingDevice device;
    // A smaller limit than the program's keeps every input within the fuzzer's memory limit, and
    // its time with it: larger pictures only go through the same code at more cost per input.
    const TextureLoader loader(device, ImageLimits{256});
    const auto length = static_cast<uint32_t>(size);
    D3DXIMAGE_INFO info;
    Ref<Texture> texture;
    if (FAILED(loader.CreateTextureFromFileInMemoryEx(data, length, 0, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                                      D3DX_DEFAULT, D3DX_DEFAULT, 0xFFFF00FF, &info, texture)))
        return 0;
    Ref<Texture> other;
    loader.CreateTextureFromFileInMemoryEx(data, length, 13, 7, 0, 0, D3DFMT_DXT5, D3DPOOL_MANAGED, D3DX_FILTER_BOX,
                                           D3DX_FILTER_POINT, 0, nullptr, other);
    Ref<Texture> target;
    if (SUCCEEDED(loader.CreateTexture(64, 64, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, target))) {
        const RECT rect{8, 4, 40, 60};
        loader.LoadSurfaceFromFileInMemory(*target, 0, &rect, data, length, D3DX_FILTER_LINEAR, 0, nullptr);
    }
    return info.Width > 256 ? 1 : 0;
}
