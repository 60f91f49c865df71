#pragma once
// The device framework under the application: the render window, the graphics device's life and
// the framework's window procedure, with the listeners that follow window messages and device
// resets.

#include <cstdint>
#include <set>

#include <memory>

#include "common/EngineString.h"
#include "platform/gfx/Direct3D.h"
#include "platform/sys/Window.h"
#include "shell/DeviceEnumeration.h"
#include "shell/DeviceSettings.h"

class MessageListener {
public:
    virtual ~MessageListener() = default;
    virtual void OnMessage(sys::WindowHandle window, uint32_t message, sys::WParam wParam, sys::LParam lParam) = 0;
};

class DeviceListener {
public:
    virtual ~DeviceListener() = default;
    virtual bool OnDeviceReset() = 0;
    virtual bool OnDeviceLost() = 0;
};

class RenderFramework {
public:
    RenderFramework();
    // Virtual slots 0 to 3.
    virtual sys::LResult MsgProc(sys::WindowHandle window, uint32_t message, sys::WParam wParam, sys::LParam lParam);
    virtual ~RenderFramework();
    virtual bool OnDeviceReset();
    virtual bool OnDeviceLost();

    RenderFramework(const RenderFramework&) = delete;
    RenderFramework& operator=(const RenderFramework&) = delete;

    // Graphics object, enumeration, a window of its own when none is given, default settings.
    bool Create(void* instance, sys::Window* window);
    void SetFullScreenSlot(const DeviceSettings& settings) { fullScreenSettings_ = settings; }
    // Releases the device and makes a new one from the full-screen or the windowed slot.
    bool SetMode(bool fullScreen);
    // Whether the device can draw this frame (resetting it when it asks for that).
    bool CheckDevice();
    bool ResetDevice();
    void ReleaseDevice();
    void GetClientArea(int& x, int& y, int& width, int& height) const;
    void GetDesktopMode(uint32_t& width, uint32_t& height, uint32_t& refreshRate, gfx::D3DFORMAT& format) const;

    void AddMessageListener(MessageListener* listener) { messageListeners_.insert(listener); }
    void RemoveMessageListener(MessageListener* listener) { messageListeners_.erase(listener); }
    // Fails while there is no device.
    bool AddDeviceListener(DeviceListener* listener);
    void RemoveDeviceListener(DeviceListener* listener) { deviceListeners_.erase(listener); }

    bool HasDevice() const { return hasDevice_; }
    sys::Window* RenderWindow() const { return renderWindow_; }
    bool IsActive() const { return active_; }
    bool IsWindowed() const { return windowed_; }
    bool ExitRequested() const { return exitRequested_; }
    void RequestExit() { exitRequested_ = true; }
    gfx::Device* Device() const { return device_.get(); }
    gfx::Direct3D* Direct3D() const { return d3d_.get(); }
    const DeviceEnumeration& Enumeration() const { return enumeration_; }
    const DeviceSettings& CurrentSettings() const { return settings_; }

protected:
    // Re-reads the window's rectangles; a new client size resets the device.
    void HandleSizeChange();

    void* instance_ = nullptr;
    sys::Window* renderWindow_ = nullptr;
    EngineString windowTitle_;
    bool windowed_ = true;
    bool active_ = false;
    bool exitRequested_ = false;
    bool minimized_ = false;
    bool maximized_ = false;
    bool deviceObjectsRestored_ = false;
    uint32_t windowStyle_ = 0;
    sys::Rect windowRect_;
    bool hasDevice_ = false;  // from device creation to its release
    sys::Rect clientRect_;

private:
    bool CreateOwnWindow();
    void ReadWindowRects();
    void BuildPresentParameters();
    void ReleaseDirect3D();

    gfx::Ref<gfx::Direct3D> d3d_;
    gfx::Ref<gfx::Device> device_;
    std::unique_ptr<sys::Window> ownWindow_;
    gfx::D3DDISPLAYMODE desktopMode_;
    DeviceEnumeration enumeration_;
    DeviceSettings settings_;
    DeviceSettings fullScreenSettings_;
    DeviceSettings windowedSettings_;
    gfx::D3DPRESENT_PARAMETERS presentParameters_;
    gfx::D3DSURFACE_DESC backBufferDesc_;
    uint32_t behaviorFlags_ = 0;
    std::set<MessageListener*> messageListeners_;
    std::set<DeviceListener*> deviceListeners_;
};

// The framework object the window procedures reach (null while there is none).
RenderFramework* GetFramework();
