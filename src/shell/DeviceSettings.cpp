#include "shell/DeviceSettings.h"

#include <algorithm>

#include "platform/gfx/Direct3D.h"
#include "shell/DeviceEnumeration.h"
#include "shell/DeviceNames.h"

using namespace gfx;

namespace {

template <typename T>
bool Listed(const std::vector<T>& list, const T& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

struct Best {
    const AdapterInfo* adapter = nullptr;
    const DeviceInfo* device = nullptr;
    const DeviceCombo* combo = nullptr;
};

Best FindBestCombo(const DeviceEnumeration& enumeration, const DeviceSettings& request, const D3DDISPLAYMODE& desktop) {
    Best best;
    const uint32_t flags = request.matchFlags;
    for (const AdapterInfo& adapter : enumeration.Adapters()) {
        if ((flags & kMatchAdapter) && adapter.ordinal != request.adapterOrdinal) continue;
        for (const DeviceInfo& device : adapter.devices) {
            if (device.deviceType != D3DDEVTYPE_HAL) continue;
            for (const DeviceCombo& combo : device.combos) {
                if (combo.windowed != request.windowed) continue;
                bool exact = false;
                if (flags & kMatchBackBufferBits) {
                    if (FormatBits(combo.backBufferFormat) != FormatBits(request.backBufferFormat)) continue;
                    exact = combo.backBufferFormat == request.backBufferFormat;
                }
                const bool sameFormat = combo.adapterFormat == combo.backBufferFormat;
                const bool matchesDesktop = combo.adapterFormat == desktop.Format;
                if (matchesDesktop && !(flags & kMatchBackBufferBits) && sameFormat) exact = true;
                if (combo.windowed && !matchesDesktop) continue;
                if (best.combo == nullptr || sameFormat || exact) best = {&adapter, &device, &combo};
                if (exact) break;
            }
        }
    }
    return best;
}

bool ChooseDisplayMode(const Best& best, const D3DDISPLAYMODE& desktop, DeviceSettings& request) {
    if (request.windowed) {
        request.width = desktop.Width;
        request.height = desktop.Height;
        request.refreshRate = desktop.RefreshRate;
        request.adapterFormat = desktop.Format;
        return true;
    }
    const uint32_t flags = request.matchFlags;
    const D3DDISPLAYMODE* chosen = nullptr;
    for (const D3DDISPLAYMODE& mode : best.adapter->displayModes) {
        if (mode.Format != best.combo->adapterFormat) continue;
        const bool size = (flags & kMatchSize)
                              ? mode.Width == request.width && mode.Height == request.height
                              : mode.Width == desktop.Width && mode.Height == desktop.Height &&
                                    mode.RefreshRate == desktop.RefreshRate;
        const bool refresh = !(flags & kMatchRefreshRate) || mode.RefreshRate == request.refreshRate;
        if (!size || !refresh) continue;
        if (chosen == nullptr || mode.RefreshRate >= chosen->RefreshRate) chosen = &mode;
    }
    if (chosen == nullptr) return false;
    request.width = chosen->Width;
    request.height = chosen->Height;
    request.refreshRate = chosen->RefreshRate;
    request.adapterFormat = chosen->Format;
    return true;
}

bool ChooseDepthFormat(const DeviceCombo& combo, DeviceSettings& request) {
    const auto& listed = combo.depthStencilFormats;
    if (request.matchFlags & kMatchDepthFormat) {
        if (Listed(listed, request.depthStencilFormat)) return true;
        if (request.matchFlags & kMatchStrict) return false;
    }
    const uint32_t bits = FormatBits(combo.backBufferFormat);
    if (bits == 16 && Listed(listed, D3DFMT_D16)) {
        request.depthStencilFormat = D3DFMT_D16;
        return true;
    }
    if (bits == 32 && Listed(listed, D3DFMT_D32)) {
        request.depthStencilFormat = D3DFMT_D32;
        return true;
    }
    for (D3DFORMAT format : listed) {
        if (FormatBits(format) == bits) {
            request.depthStencilFormat = format;
            return true;
        }
    }
    return false;
}

bool ChooseMultiSample(const DeviceCombo& combo, DeviceSettings& request) {
    if (!(request.matchFlags & kMatchMultiSample)) {
        request.multiSampleType = D3DMULTISAMPLE_NONE;
        request.multiSampleQuality = 0;
        return true;
    }
    for (const auto& [type, levels] : combo.multiSampleTypes) {
        if (type != request.multiSampleType) continue;
        if (request.matchFlags & kMatchStrict) return request.multiSampleQuality < levels;
        // A type listed with no quality levels keeps quality 0.
        request.multiSampleQuality = std::min(request.multiSampleQuality, levels > 0 ? levels - 1 : 0);
        return true;
    }
    return true;  // an unlisted type stays as requested; device creation decides
}

bool ChooseVertexProcessing(const DeviceCombo& combo, DeviceSettings& request) {
    const auto& listed = combo.vertexProcessingTypes;
    if (request.matchFlags & kMatchVertexProcessing) {
        return Listed(listed, request.vertexProcessing) || !(request.matchFlags & kMatchStrict);
    }
    if (Listed(listed, kHardwareVertexProcessing)) {
        request.vertexProcessing = kHardwareVertexProcessing;
    } else if (Listed(listed, kMixedVertexProcessing)) {
        request.vertexProcessing = kMixedVertexProcessing;
    } else {
        request.vertexProcessing = kSoftwareVertexProcessing;
    }
    return true;
}

bool ChoosePresentInterval(const DeviceCombo& combo, DeviceSettings& request) {
    if (request.matchFlags & kMatchPresentInterval) {
        if (Listed(combo.presentIntervals, request.presentInterval)) return true;
        if (request.matchFlags & kMatchStrict) return false;
    }
    request.presentInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return true;
}

}  // namespace

uint32_t BehaviorFlagsOf(uint32_t vertexProcessing) {
    switch (vertexProcessing) {
        case kMixedVertexProcessing:
            return D3DCREATE_MIXED_VERTEXPROCESSING;
        case kHardwareVertexProcessing:
            return D3DCREATE_HARDWARE_VERTEXPROCESSING;
        case kPureHardwareVertexProcessing:
            return D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
        default:
            return D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    }
}

bool FindBestSettings(Direct3D& d3d, const DeviceEnumeration& enumeration, DeviceSettings& request) {
    D3DDISPLAYMODE desktop;
    d3d.GetAdapterDisplayMode(0, desktop);
    const Best best = FindBestCombo(enumeration, request, desktop);
    if (best.combo == nullptr) return false;
    request.adapterOrdinal = best.adapter->ordinal;
    request.caps = best.device->caps;
    request.deviceType = best.device->deviceType;
    request.backBufferFormat = best.combo->backBufferFormat;
    return ChooseDisplayMode(best, desktop, request) && ChooseDepthFormat(*best.combo, request) &&
           ChooseMultiSample(*best.combo, request) && ChooseVertexProcessing(*best.combo, request) &&
           ChoosePresentInterval(*best.combo, request);
}
