#pragma once
// One complete device configuration, and the request form of it: the match flags say which of
// the request's fields must be honoured when the rest is filled in.

#include <cstdint>

#include "platform/gfx/Types.h"

class DeviceEnumeration;
namespace gfx {
class Direct3D;
}

// Match flags of a request.
inline constexpr uint32_t kMatchSize = 0x1;
inline constexpr uint32_t kMatchBackBufferBits = 0x2;
inline constexpr uint32_t kMatchDepthFormat = 0x4;
inline constexpr uint32_t kMatchMultiSample = 0x8;
inline constexpr uint32_t kMatchVertexProcessing = 0x10;
inline constexpr uint32_t kMatchPresentInterval = 0x20;
inline constexpr uint32_t kMatchAdapter = 0x100;
inline constexpr uint32_t kMatchRefreshRate = 0x400;
inline constexpr uint32_t kMatchStrict = 0x800;

// Vertex processing types.
inline constexpr uint32_t kSoftwareVertexProcessing = 0;
inline constexpr uint32_t kMixedVertexProcessing = 1;
inline constexpr uint32_t kHardwareVertexProcessing = 2;
inline constexpr uint32_t kPureHardwareVertexProcessing = 3;

struct DeviceSettings {
    uint32_t matchFlags = 0;
    bool windowed = false;
    uint32_t adapterOrdinal = 0;
    gfx::D3DDEVTYPE deviceType = gfx::D3DDEVTYPE_HAL;
    gfx::D3DCAPS9 caps;
    gfx::D3DFORMAT backBufferFormat = gfx::D3DFMT_UNKNOWN;
    gfx::D3DFORMAT depthStencilFormat = gfx::D3DFMT_UNKNOWN;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t refreshRate = 0;
    gfx::D3DFORMAT adapterFormat = gfx::D3DFMT_UNKNOWN;
    gfx::D3DMULTISAMPLE_TYPE multiSampleType = gfx::D3DMULTISAMPLE_NONE;
    uint32_t multiSampleQuality = 0;
    uint32_t vertexProcessing = kSoftwareVertexProcessing;
    uint32_t presentInterval = gfx::D3DPRESENT_INTERVAL_DEFAULT;
};

// Device-creation behaviour flags of a vertex processing type.
uint32_t BehaviorFlagsOf(uint32_t vertexProcessing);

// Completes `request` in place from the enumeration; false (the request partly filled) when no
// hardware combination, display mode or depth format fits, or a strict request cannot be met.
bool FindBestSettings(gfx::Direct3D& d3d, const DeviceEnumeration& enumeration, DeviceSettings& request);
