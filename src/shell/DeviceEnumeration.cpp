#include "shell/DeviceEnumeration.h"

#include <algorithm>
#include <tuple>

#include "platform/gfx/Direct3D.h"
#include "shell/DeviceSettings.h"

using namespace gfx;

namespace {

constexpr D3DFORMAT kDisplayFormats[] = {D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_R5G6B5, D3DFMT_A2R10G10B10};
constexpr D3DFORMAT kBackBufferFormats[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A2R10G10B10,
                                            D3DFMT_R5G6B5,   D3DFMT_A1R5G5B5, D3DFMT_X1R5G5B5};
constexpr D3DFORMAT kDepthFormats[] = {D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32};
constexpr D3DDEVTYPE kDeviceTypes[] = {D3DDEVTYPE_HAL, D3DDEVTYPE_SW, D3DDEVTYPE_REF};
constexpr uint32_t kPresentIntervals[] = {D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT,
                                          D3DPRESENT_INTERVAL_ONE,       D3DPRESENT_INTERVAL_TWO,
                                          D3DPRESENT_INTERVAL_THREE,     D3DPRESENT_INTERVAL_FOUR};

bool ModeBefore(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
    return std::tie(a.Width, a.Height, a.Format, a.RefreshRate) < std::tie(b.Width, b.Height, b.Format, b.RefreshRate);
}

}  // namespace

bool DeviceEnumeration::Enumerate(Direct3D* d3d) {
    adapters_.clear();
    if (d3d == nullptr) return false;
    const uint32_t count = d3d->GetAdapterCount();
    for (uint32_t ordinal = 0; ordinal < count; ++ordinal) {
        AdapterInfo adapter;
        adapter.ordinal = ordinal;
        d3d->GetAdapterIdentifier(ordinal, 0, adapter.identifier);
        for (D3DFORMAT format : kDisplayFormats) {
            const uint32_t modes = d3d->GetAdapterModeCount(ordinal, format);
            for (uint32_t i = 0; i < modes; ++i) {
                D3DDISPLAYMODE mode;
                if (SUCCEEDED(d3d->EnumAdapterModes(ordinal, format, i, mode))) adapter.displayModes.push_back(mode);
            }
            if (modes > 0) adapter.displayFormats.push_back(format);
        }
        std::sort(adapter.displayModes.begin(), adapter.displayModes.end(), ModeBefore);
        EnumerateDevices(*d3d, adapter);
        if (!adapter.devices.empty()) adapters_.push_back(std::move(adapter));
    }
    return true;
}

void DeviceEnumeration::EnumerateDevices(Direct3D& d3d, AdapterInfo& adapter) {
    for (D3DDEVTYPE type : kDeviceTypes) {
        DeviceInfo device;
        device.adapterOrdinal = adapter.ordinal;
        device.deviceType = type;
        if (FAILED(d3d.GetDeviceCaps(adapter.ordinal, type, device.caps))) continue;
        EnumerateCombos(d3d, adapter, device);
        if (!device.combos.empty()) adapter.devices.push_back(std::move(device));
    }
}

void DeviceEnumeration::EnumerateCombos(Direct3D& d3d, const AdapterInfo& adapter, DeviceInfo& device) {
    for (D3DFORMAT adapterFormat : adapter.displayFormats) {
        for (D3DFORMAT backBufferFormat : kBackBufferFormats) {
            for (bool windowed : {false, true}) {
                if (FAILED(d3d.CheckDeviceType(adapter.ordinal, device.deviceType, adapterFormat, backBufferFormat,
                                               windowed))) {
                    continue;
                }
                DeviceCombo combo;
                combo.adapterOrdinal = adapter.ordinal;
                combo.deviceType = device.deviceType;
                combo.adapterFormat = adapterFormat;
                combo.backBufferFormat = backBufferFormat;
                combo.windowed = windowed;
                if (CompleteCombo(d3d, device, combo)) device.combos.push_back(std::move(combo));
            }
        }
    }
}

bool DeviceEnumeration::CompleteCombo(Direct3D& d3d, const DeviceInfo& device, DeviceCombo& combo) {
    const uint32_t adapter = combo.adapterOrdinal;
    for (D3DFORMAT depth : kDepthFormats) {
        if (SUCCEEDED(d3d.CheckDeviceFormat(adapter, combo.deviceType, combo.adapterFormat, D3DUSAGE_DEPTHSTENCIL,
                                            D3DRTYPE_SURFACE, depth)) &&
            SUCCEEDED(d3d.CheckDepthStencilMatch(adapter, combo.deviceType, combo.adapterFormat,
                                                 combo.backBufferFormat, depth))) {
            combo.depthStencilFormats.push_back(depth);
        }
    }
    if (combo.depthStencilFormats.empty()) return false;

    for (uint32_t type = 0; type <= 16; ++type) {
        const auto multiSample = static_cast<D3DMULTISAMPLE_TYPE>(type);
        uint32_t levels = 0;
        if (SUCCEEDED(d3d.CheckDeviceMultiSampleType(adapter, combo.deviceType, combo.backBufferFormat, combo.windowed,
                                                     multiSample, &levels))) {
            combo.multiSampleTypes.emplace_back(multiSample, levels);
        }
    }
    if (combo.multiSampleTypes.empty()) return false;

    for (D3DFORMAT depth : combo.depthStencilFormats) {
        for (const auto& [multiSample, levels] : combo.multiSampleTypes) {
            if (FAILED(d3d.CheckDeviceMultiSampleType(adapter, combo.deviceType, depth, combo.windowed, multiSample,
                                                      nullptr))) {
                combo.conflicts.emplace_back(depth, multiSample);
            }
        }
    }

    const uint32_t devCaps = device.caps.DevCaps;
    if (devCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) {
        if (devCaps & D3DDEVCAPS_PUREDEVICE) combo.vertexProcessingTypes.push_back(kPureHardwareVertexProcessing);
        combo.vertexProcessingTypes.push_back(kHardwareVertexProcessing);
        combo.vertexProcessingTypes.push_back(kMixedVertexProcessing);
    }
    combo.vertexProcessingTypes.push_back(kSoftwareVertexProcessing);

    for (uint32_t interval : kPresentIntervals) {
        const bool multiFrame = interval == D3DPRESENT_INTERVAL_TWO || interval == D3DPRESENT_INTERVAL_THREE ||
                                interval == D3DPRESENT_INTERVAL_FOUR;
        if (combo.windowed && multiFrame) continue;
        if (interval == D3DPRESENT_INTERVAL_DEFAULT || (device.caps.PresentationIntervals & interval) != 0) {
            combo.presentIntervals.push_back(interval);
        }
    }
    return !combo.presentIntervals.empty();
}
