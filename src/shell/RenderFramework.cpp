#include "shell/RenderFramework.h"

#include "scene/DeviceStateCache.h"
#include "scene/RenderDevice.h"
#include "shell/ModeDescription.h"

using namespace gfx;

namespace {

RenderFramework* g_framework = nullptr;

constexpr const char* kOwnClassName = "Tessel Class";
constexpr int kOwnClientWidth = 640;
constexpr int kOwnClientHeight = 480;

sys::LResult FrameworkWindowProc(sys::WindowHandle window, uint32_t message, sys::WParam wParam, sys::LParam lParam) {
    if (!g_framework) return 1;
    return g_framework->MsgProc(window, message, wParam, lParam);
}

}  // namespace

RenderFramework* GetFramework() { return g_framework; }

RenderFramework::RenderFramework() { g_framework = this; }

RenderFramework::~RenderFramework() {
    ReleaseDevice();
    ReleaseDirect3D();
    if (ownWindow_) sys::GetWindowSystem().DestroyWindow(ownWindow_.get());
    if (g_framework == this) g_framework = nullptr;
}

bool RenderFramework::OnDeviceReset() {
    bool ok = true;
    for (DeviceListener* listener : deviceListeners_) ok = listener->OnDeviceReset() && ok;
    return ok;
}

bool RenderFramework::OnDeviceLost() {
    bool ok = true;
    for (DeviceListener* listener : deviceListeners_) ok = listener->OnDeviceLost() && ok;
    return ok;
}

bool RenderFramework::AddDeviceListener(DeviceListener* listener) {
    if (!HasDevice()) return false;
    deviceListeners_.insert(listener);
    return true;
}

void RenderFramework::ReleaseDirect3D() { d3d_.Reset(); }

bool RenderFramework::Create(void* instance, sys::Window* window) {
    instance_ = instance;
    renderWindow_ = window;
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d_) return false;
    d3d_->GetAdapterDisplayMode(0, desktopMode_);
    if (!enumeration_.Enumerate(d3d_.get())) {
        ReleaseDirect3D();
        return false;
    }
    if (renderWindow_ == nullptr && !CreateOwnWindow()) {
        ReleaseDirect3D();
        return false;
    }
    windowStyle_ = renderWindow_->GetStyle();
    ReadWindowRects();

    DeviceSettings request;
    request.windowed = false;
    if (FindBestSettings(*d3d_, enumeration_, request)) {
        fullScreenSettings_ = request;
        request = {};
        request.windowed = true;
        if (FindBestSettings(*d3d_, enumeration_, request)) {
            windowedSettings_ = request;
            return true;
        }
    }
    ReleaseDirect3D();
    return false;
}

bool RenderFramework::CreateOwnWindow() {
    sys::WindowSystem& windows = sys::GetWindowSystem();
    windows.RegisterClass({kOwnClassName, 0, &FrameworkWindowProc});
    sys::WindowParams params;
    params.className = kOwnClassName;
    params.title = windowTitle_.c_str();
    params.style = sys::WS_OVERLAPPEDWINDOW | sys::WS_VISIBLE;
    // The platform's windows have no frame of their own: the outer size is the client size.
    params.box = {0, 0, kOwnClientWidth, kOwnClientHeight};
    ownWindow_ = windows.CreateWindow(params);
    renderWindow_ = ownWindow_.get();
    return renderWindow_ != nullptr;
}

void RenderFramework::ReadWindowRects() {
    windowRect_ = renderWindow_->GetWindowRect();
    clientRect_ = renderWindow_->GetClientRect();
}

void RenderFramework::BuildPresentParameters() {
    D3DPRESENT_PARAMETERS& pp = presentParameters_;
    pp = {};
    pp.BackBufferCount = 1;
    pp.MultiSampleType = settings_.multiSampleType;
    pp.MultiSampleQuality = settings_.multiSampleQuality;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = renderWindow_->NativeHandle();
    pp.Windowed = settings_.windowed;
    pp.EnableAutoDepthStencil = true;
    pp.AutoDepthStencilFormat = settings_.depthStencilFormat;
    pp.Flags = D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
    pp.PresentationInterval = settings_.presentInterval;
    if (settings_.windowed) {
        pp.BackBufferWidth = static_cast<uint32_t>(clientRect_.Width());
        pp.BackBufferHeight = static_cast<uint32_t>(clientRect_.Height());
        pp.BackBufferFormat = settings_.backBufferFormat;
        pp.FullScreen_RefreshRateInHz = 0;
    } else {
        pp.BackBufferWidth = settings_.width;
        pp.BackBufferHeight = settings_.height;
        pp.BackBufferFormat = settings_.backBufferFormat;
        pp.FullScreen_RefreshRateInHz = settings_.refreshRate;
    }
}

bool RenderFramework::SetMode(bool fullScreen) {
    ReleaseDevice();
    settings_ = fullScreen ? fullScreenSettings_ : windowedSettings_;
    active_ = true;

    WriteModeDescription(settings_);
    windowed_ = settings_.windowed;
    renderWindow_->SetStyle(windowStyle_);
    BuildPresentParameters();
    behaviorFlags_ = BehaviorFlagsOf(settings_.vertexProcessing);
    if (FAILED(d3d_->CreateDevice(settings_.adapterOrdinal, settings_.deviceType, renderWindow_->NativeHandle(),
                                  behaviorFlags_, presentParameters_, device_))) {
        return false;
    }
    if (windowed_) renderWindow_->SetPlacement(windowRect_);

    hasDevice_ = true;
    PublishDevice(device_.get());
    D3DCAPS9 caps;
    device_->GetDeviceCaps(caps);
    PublishDeviceCaps(caps);
    device_->GetBackBufferDesc(backBufferDesc_);

    if (OnDeviceReset()) {
        deviceObjectsRestored_ = true;
    } else {
        OnDeviceLost();
    }
    return true;
}

bool RenderFramework::CheckDevice() {
    if (!device_) return false;
    const HRESULT hr = device_->TestCooperativeLevel();
    if (hr != D3DERR_DEVICENOTRESET) return true;  // lost frames are drawn and fail harmlessly
    if (windowed_) {
        D3DDISPLAYMODE mode;
        d3d_->GetAdapterDisplayMode(settings_.adapterOrdinal, mode);
        settings_.width = mode.Width;
        settings_.height = mode.Height;
        settings_.refreshRate = mode.RefreshRate;
        settings_.adapterFormat = mode.Format;
        presentParameters_.BackBufferFormat = mode.Format;
    }
    return ResetDevice();
}

bool RenderFramework::ResetDevice() {
    if (deviceObjectsRestored_) {
        deviceObjectsRestored_ = false;
        OnDeviceLost();
    }
    if (FAILED(device_->Reset(presentParameters_))) return false;
    DeviceStateCache::Get().invalidate();
    device_->GetBackBufferDesc(backBufferDesc_);
    if (OnDeviceReset()) {
        deviceObjectsRestored_ = true;
        return true;
    }
    OnDeviceLost();
    return false;
}

void RenderFramework::ReleaseDevice() {
    if (!device_) return;
    if (deviceObjectsRestored_) {
        deviceObjectsRestored_ = false;
        OnDeviceLost();
    }
    device_.Reset();
    hasDevice_ = false;
    PublishDevice(nullptr);
}

void RenderFramework::HandleSizeChange() {
    const sys::Rect oldClient = clientRect_;
    ReadWindowRects();
    if (clientRect_.Width() == oldClient.Width() && clientRect_.Height() == oldClient.Height()) return;
    BuildPresentParameters();
    if (device_) ResetDevice();
}

void RenderFramework::GetClientArea(int& x, int& y, int& width, int& height) const {
    if (windowed_) {
        x = clientRect_.left;
        y = clientRect_.top;
        width = clientRect_.Width();
        height = clientRect_.Height();
    } else {
        x = y = 0;
        width = static_cast<int>(fullScreenSettings_.width);
        height = static_cast<int>(fullScreenSettings_.height);
    }
}

void RenderFramework::GetDesktopMode(uint32_t& width, uint32_t& height, uint32_t& refreshRate,
                                     D3DFORMAT& format) const {
    width = desktopMode_.Width;
    height = desktopMode_.Height;
    refreshRate = desktopMode_.RefreshRate;
    format = desktopMode_.Format;
}

sys::LResult RenderFramework::MsgProc(sys::WindowHandle window, uint32_t message, sys::WParam wParam,
                                      sys::LParam lParam) {
    for (MessageListener* listener : messageListeners_) listener->OnMessage(window, message, wParam, lParam);
    switch (message) {
        case sys::WM_SIZE:
            if (windowed_ && renderWindow_) windowStyle_ = renderWindow_->GetStyle();
            if (wParam == sys::SIZE_MINIMIZED) {
                minimized_ = true;
                maximized_ = false;
            } else if (wParam == sys::SIZE_MAXIMIZED) {
                minimized_ = false;
                maximized_ = true;
                HandleSizeChange();
            } else if (wParam == sys::SIZE_RESTORED) {
                if (maximized_) {
                    maximized_ = false;
                    HandleSizeChange();
                } else if (minimized_) {
                    minimized_ = false;
                    HandleSizeChange();
                }
            }
            return 0;
        case sys::WM_ACTIVATE:
            active_ = (wParam & 0xFFFF) != 0;
            return 0;
        case sys::WM_CLOSE:
            ReleaseDevice();
            sys::GetWindowSystem().PostQuitMessage(0);
            return 0;
        case sys::WM_QUIT:
            ReleaseDevice();
            return 0;
        case sys::WM_SYSCOMMAND:
            switch (wParam) {
                case sys::SC_SIZE:
                case sys::SC_MOVE:
                case sys::SC_MAXIMIZE:
                case sys::SC_KEYMENU:
                case sys::SC_MONITORPOWER:
                    return windowed_ ? 0 : 1;
                default:
                    return 0;
            }
        case sys::WM_NCHITTEST:
            return windowed_ ? 0 : sys::HTCLIENT;
        case sys::WM_POWERBROADCAST:
            return wParam == sys::PBT_APMQUERYSUSPEND || wParam == sys::PBT_APMRESUMESUSPEND ? 1 : 0;
        case sys::WM_EXITSIZEMOVE:
            HandleSizeChange();
            return 0;
        default:
            return 0;  // default processing
    }
}
