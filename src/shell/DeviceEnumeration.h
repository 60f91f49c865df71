#pragma once
// What the machine's adapters can do: display modes, devices and the working combinations of
// display format, back-buffer format and windowed state, with their depth formats, multisample
// types, vertex processing types and present intervals.

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/gfx/Types.h"

namespace gfx {
class Direct3D;
}

struct DeviceCombo {
    uint32_t adapterOrdinal = 0;
    gfx::D3DDEVTYPE deviceType = gfx::D3DDEVTYPE_HAL;
    gfx::D3DFORMAT adapterFormat = gfx::D3DFMT_UNKNOWN;
    gfx::D3DFORMAT backBufferFormat = gfx::D3DFMT_UNKNOWN;
    bool windowed = false;
    std::vector<gfx::D3DFORMAT> depthStencilFormats;
    // Each type with its number of quality levels.
    std::vector<std::pair<gfx::D3DMULTISAMPLE_TYPE, uint32_t>> multiSampleTypes;
    std::vector<std::pair<gfx::D3DFORMAT, gfx::D3DMULTISAMPLE_TYPE>> conflicts;
    std::vector<uint32_t> vertexProcessingTypes;
    std::vector<uint32_t> presentIntervals;
};

struct DeviceInfo {
    uint32_t adapterOrdinal = 0;
    gfx::D3DDEVTYPE deviceType = gfx::D3DDEVTYPE_HAL;
    gfx::D3DCAPS9 caps;
    std::vector<DeviceCombo> combos;
};

struct AdapterInfo {
    uint32_t ordinal = 0;
    gfx::D3DADAPTER_IDENTIFIER9 identifier;
    std::vector<gfx::D3DDISPLAYMODE> displayModes;  // by width, height, format, refresh rate
    std::vector<gfx::D3DFORMAT> displayFormats;     // formats that have modes
    std::vector<DeviceInfo> devices;
};

class DeviceEnumeration {
public:
    // Builds the lists; false only without a Direct3D object.
    bool Enumerate(gfx::Direct3D* d3d);
    const std::vector<AdapterInfo>& Adapters() const { return adapters_; }

private:
    void EnumerateDevices(gfx::Direct3D& d3d, AdapterInfo& adapter);
    void EnumerateCombos(gfx::Direct3D& d3d, const AdapterInfo& adapter, DeviceInfo& device);
    bool CompleteCombo(gfx::Direct3D& d3d, const DeviceInfo& device, DeviceCombo& combo);

    std::vector<AdapterInfo> adapters_;
};
