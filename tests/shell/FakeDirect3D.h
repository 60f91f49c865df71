#pragma once
// A Direct3D object that describes a made-up machine: one adapter's modes, desktop, caps and
// which formats, depth formats and multisample types its hardware device takes.

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "platform/gfx/Direct3D.h"
#include "platform/gfx/RecordingDevice.h"

class FakeDirect3D final : public gfx::Direct3D {
public:
    std::vector<gfx::D3DDISPLAYMODE> modes;
    gfx::D3DDISPLAYMODE desktop{1024, 768, 60, gfx::D3DFMT_X8R8G8B8};
    gfx::D3DCAPS9 caps;
    std::set<gfx::D3DFORMAT> backBuffers{gfx::D3DFMT_X8R8G8B8, gfx::D3DFMT_A8R8G8B8, gfx::D3DFMT_R5G6B5};
    std::set<gfx::D3DFORMAT> depthFormats{gfx::D3DFMT_D16, gfx::D3DFMT_D24X8, gfx::D3DFMT_D24S8};
    std::map<uint32_t, uint32_t> multiSampleLevels{{0, 1}, {2, 3}};  // type -> quality levels
    bool createFails = false;
    int devicesCreated = 0;
    gfx::D3DPRESENT_PARAMETERS lastParameters;
    uint32_t lastBehaviorFlags = 0;
    gfx::Ref<gfx::RecordingDevice> lastDevice;

    FakeDirect3D() {
        caps.DevCaps = gfx::D3DDEVCAPS_HWTRANSFORMANDLIGHT;
        caps.PresentationIntervals = gfx::D3DPRESENT_INTERVAL_ONE | gfx::D3DPRESENT_INTERVAL_IMMEDIATE;
        for (auto [w, h] : {std::pair{640u, 480u}, {800u, 600u}, {1024u, 768u}}) {
            for (uint32_t hz : {60u, 75u}) {
                modes.push_back({w, h, hz, gfx::D3DFMT_X8R8G8B8});
                modes.push_back({w, h, hz, gfx::D3DFMT_R5G6B5});
            }
        }
    }

    uint32_t GetAdapterCount() override { return 1; }
    gfx::HRESULT GetAdapterIdentifier(uint32_t, uint32_t, gfx::D3DADAPTER_IDENTIFIER9&) override { return gfx::D3D_OK; }
    uint32_t GetAdapterModeCount(uint32_t, gfx::D3DFORMAT format) override {
        return static_cast<uint32_t>(std::count_if(modes.begin(), modes.end(), [&](auto& m) { return m.Format == format; }));
    }
    gfx::HRESULT EnumAdapterModes(uint32_t, gfx::D3DFORMAT format, uint32_t index, gfx::D3DDISPLAYMODE& out) override {
        for (const auto& mode : modes) {
            if (mode.Format == format && index-- == 0) {
                out = mode;
                return gfx::D3D_OK;
            }
        }
        return gfx::D3DERR_INVALIDCALL;
    }
    gfx::HRESULT GetAdapterDisplayMode(uint32_t, gfx::D3DDISPLAYMODE& mode) override {
        mode = desktop;
        return gfx::D3D_OK;
    }
    gfx::HRESULT GetDeviceCaps(uint32_t, gfx::D3DDEVTYPE type, gfx::D3DCAPS9& out) override {
        if (type != gfx::D3DDEVTYPE_HAL) return gfx::D3DERR_NOTAVAILABLE;
        out = caps;
        return gfx::D3D_OK;
    }
    gfx::HRESULT CheckDeviceType(uint32_t, gfx::D3DDEVTYPE, gfx::D3DFORMAT adapterFormat, gfx::D3DFORMAT backBuffer,
                                 bool windowed) override {
        if (windowed && adapterFormat != desktop.Format) return gfx::D3DERR_NOTAVAILABLE;
        return backBuffers.count(backBuffer) ? gfx::D3D_OK : gfx::D3DERR_NOTAVAILABLE;
    }
    gfx::HRESULT CheckDeviceFormat(uint32_t, gfx::D3DDEVTYPE, gfx::D3DFORMAT, uint32_t, gfx::D3DRESOURCETYPE,
                                   gfx::D3DFORMAT format) override {
        return depthFormats.count(format) ? gfx::D3D_OK : gfx::D3DERR_NOTAVAILABLE;
    }
    gfx::HRESULT CheckDepthStencilMatch(uint32_t, gfx::D3DDEVTYPE, gfx::D3DFORMAT, gfx::D3DFORMAT,
                                        gfx::D3DFORMAT) override {
        return gfx::D3D_OK;
    }
    gfx::HRESULT CheckDeviceMultiSampleType(uint32_t, gfx::D3DDEVTYPE, gfx::D3DFORMAT format, bool,
                                            gfx::D3DMULTISAMPLE_TYPE type, uint32_t* levels) override {
        // Depth surfaces of this machine cannot be multisampled.
        if (type != gfx::D3DMULTISAMPLE_NONE && depthFormats.count(format)) return gfx::D3DERR_NOTAVAILABLE;
        const auto found = multiSampleLevels.find(type);
        if (found == multiSampleLevels.end()) return gfx::D3DERR_NOTAVAILABLE;
        if (levels) *levels = found->second;
        return gfx::D3D_OK;
    }
    gfx::HRESULT CreateDevice(uint32_t, gfx::D3DDEVTYPE, void*, uint32_t behaviorFlags,
                              gfx::D3DPRESENT_PARAMETERS& parameters, gfx::Ref<gfx::Device>& out) override {
        lastParameters = parameters;
        lastBehaviorFlags = behaviorFlags;
        if (createFails || (parameters.MultiSampleType != 0 && !multiSampleLevels.count(parameters.MultiSampleType))) {
            return gfx::D3DERR_NOTAVAILABLE;
        }
        ++devicesCreated;
        lastDevice = gfx::MakeRef<gfx::RecordingDevice>(parameters, caps);
        out = gfx::Ref<gfx::Device>(lastDevice.get());
        return gfx::D3D_OK;
    }
};

// Makes a FakeDirect3D the machine's Direct3D while it lives. The framework takes references of
// its own; the object goes when the last of them and this holder's are released.
class ScopedFakeDirect3D {
public:
    ScopedFakeDirect3D() {
        current_ = machine.get();
        gfx::SetDirect3DFactory([](uint32_t) { return gfx::Ref<gfx::Direct3D>(current_); });
    }
    ~ScopedFakeDirect3D() {
        gfx::SetDirect3DFactory(nullptr);
        current_ = nullptr;
    }
    ScopedFakeDirect3D(const ScopedFakeDirect3D&) = delete;
    ScopedFakeDirect3D& operator=(const ScopedFakeDirect3D&) = delete;

    const gfx::Ref<FakeDirect3D> machine = gfx::MakeRef<FakeDirect3D>();

private:
    static inline FakeDirect3D* current_ = nullptr;
};

