#include "shell/Application.h"

#include "common/Log.h"
#include "media/Manifest.h"
#include "platform/sys/HostWindow.h"
#include "platform/sys/InputDevices.h"
#include "platform/sys/Resources.h"
#include "platform/sys/System.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogResources.h"
#include "shell/DesktopMode.h"
#include "scene/Scene.h"
#include "shell/GammaRamp.h"
#include "udf/UdfTextNode.h"
#include "udf/UdfTextParser.h"

namespace {

Application* g_application = nullptr;

constexpr const char* kSaverClassName = "Quelmont Class";
constexpr const char* kDisplayName = "Quelmont";
constexpr uint32_t kPreviewTimerId = 1;
constexpr uint32_t kPreviewTimerPeriodMs = 500;
constexpr int kPreviewBitmapId = manifest::kPreviewBitmap.id;
constexpr int kDefaultSettingsId = manifest::kDefaultSettings.id;
constexpr int kUiTextId = manifest::kDialogText.id;
constexpr uint32_t kInputCooperation = sys::DISCL_FOREGROUND | sys::DISCL_NONEXCLUSIVE;
constexpr int64_t kMouseMoveGraceMs = 1000;
constexpr const char* kNoDisplayText = "The configuration dialog needs a display: none could be opened (DISPLAY is not set "
                                       "or the X server does not answer). Nothing was changed.";
constexpr int32_t kMediaArchiveId = manifest::kMediaArchive.id;

sys::LResult SaverWindowProc(sys::WindowHandle window, uint32_t message, sys::WParam wParam, sys::LParam lParam) {
    if (!g_application) return 1;
    return g_application->MsgProc(window, message, wParam, lParam);
}

}  // namespace

Application::Application() {
    g_application = this;
    cameraPaths_.SetOpener([this](const EngineString& name) { return MediaFile(name).Open(DataStream::kRead); });
    const sys::Resources& resources = sys::GetResources();
    uiText_.Load(resources.Find("CustomData", kUiTextId));
    defaults_.Parse(resources.Find("CustomData", kDefaultSettingsId));
    LoadDefaults();
}

Application::~Application() {
    sceneGraph_.reset();  // its buffers and textures before the device
    ReleaseDevice();  // before the saver window goes
    if (g_application == this) g_application = nullptr;
}

bool Application::Create(void* instance, RunMode mode, uint32_t parentWindow) {
    mode_ = mode;
    parentWindow_ = parentWindow;
    instance_ = instance;
    if (mode_ == RunMode::Configure && !ui::GetDialogSystem().Available()) {
        // Said before the settings are read, so that they stay untouched.
        sys::GetSystem().MessageBox(kNoDisplayText, "quelmont", sys::MB_OK);
        return true;
    }
    LoadSettings();
    LogError("", "Log started \n");
    Log("Create function entered\n");
    if (!CreateSaverWindow()) {
        Log("Failed creating Saver Windows\n");
        return false;
    }
    if (mode_ == RunMode::Preview) {
        RunPreviewWait();
        return true;
    }
    if (mode_ != RunMode::Configure && !RenderFramework::Create(instance, saverWindow_.get())) {
        LogError("", "Error: Application::Create(hInstance) failed\n");
        return false;
    }
    if (mode_ == RunMode::Configure) {
        Log("Config Mode: loading Dialog\n");
        ui::GetDialogSystem().RunModal(ui::kConfigDialog, parentWindow_,
                                       [this](ui::Dialog& dialog, uint32_t message, sys::WParam wParam,
                                              sys::LParam lParam) { return ConfigDialogProc(&dialog, message, wParam, lParam); });
        return true;
    }
    Log("Full Mode:\n");
    if (!ChooseFullScreenMode()) return false;
    sys::GetWindowSystem().ShowCursor(false);
    MountMediaArchive();

    DesktopMode desktop;
    GetDesktopMode(desktop.width, desktop.height, desktop.refreshRate, desktop.format);
    RecordDesktopMode(desktop);
    int x = 0, y = 0, width = 0, height = 0;
    GetClientArea(x, y, width, height);
    uiScale_ = static_cast<float>(width) / 1024.0f;

    textures_ = std::make_unique<TextureManager>(Device());
    textures_->SearchList().Add(FileSource(EngineString(kMediaFolder)));
    textures_->SearchList().Add(FileSource(&mediaArchive_, EngineString(kMediaFolder)));
    SceneContext sceneContext;
    sceneContext.textures = textures_.get();
    sceneGraph_ = std::make_unique<Scene>(sceneContext);
    startupPicture_.ProbeCornerLogos();
    ShowStartupPicture();
    LoadSceneSettings();
    LogError("", "Application created\n");
    StartInput();
    if (!SetUpOverlay([this](const EngineString& name) { return MediaFile(name); })) return false;
    cameraPaths_.Start();
    if (!LoadContent()) return false;
    cameraPaths_.ResetTimer();
    startTimer_.Reset();
    // The content is loaded: the startup picture fades out.
    FadeStartupPicture();
    Log("Creating successfull\n");
    return true;
}

void Application::StartInput() {
    input_.Init(true, kInputCooperation, kInputCooperation);
    cameraControl_.Attach(&input_, &fallbackCamera_);
    cameraControl_.SetSpeed(scene.camSpeed);
}

FileSource Application::MediaFile(const EngineString& name) {
    FileSource source(EngineString(kMediaFolder) + "/" + name);
    source.sources = FileSource::kDisk | FileSource::kArchive;
    source.archive = &mediaArchive_;
    return source;
}

void Application::MountMediaArchive() {
    // One archive for the whole run, read in place from the program's resource.
    if (!mediaArchive_.Open(FileSource(kMediaArchiveId))) Log("Media archive not found\n");
}

void Application::LoadSceneSettings() {
    std::unique_ptr<DataStream> stream = MediaFile("Scene.props").Open(DataStream::kRead);
    if (!stream) return;
    UdfTextNode root;
    ParseUdfText(*stream, root, nullptr);
    ReadSceneProps(root, scene, cameraPaths_.RemainingPaths());
    ReadSceneSettings(root);
}

void Application::Tick() { input_.Poll(0); }

void Application::OnInputEvent(const InputEvent& event) {
    // The host decides when the saver ends (XScreenSaver watches the input itself).
    if (hosted_) return;
    if (event.type == kLeftButtonPressed || event.type == kRightButtonPressed) {
        exitRequested_ = true;
        return;
    }
    const bool moved = event.x != event.previousX || event.y != event.previousY;
    if (event.type == kMouseMoved && moved && settings.ExitOnMM && startTimer_.Elapsed() > kMouseMoveGraceMs)
        exitRequested_ = true;
}

void Application::RunPreviewWait() {
    sys::WindowSystem& windows = sys::GetWindowSystem();
    sys::GetSystem().SetThreadPriority(sys::THREAD_PRIORITY_IDLE);
    previewWait_ = true;
    windows.PostMessage(saverWindow_.get(), sys::WM_USER, 0, 0);
    sys::Message message;
    while (previewWait_) {
        const int got = windows.GetMessage(message, saverWindow_.get());
        if (got == 0) {
            windows.PostQuitMessage(0);
            break;
        }
        if (got < 0) break;
        windows.DispatchMessage(message);
    }
}

bool Application::CreateSaverWindow() {
    if (mode_ == RunMode::Configure) return true;
    sys::WindowSystem& windows = sys::GetWindowSystem();
    sys::WindowClass windowClass{kSaverClassName, mode_ == RunMode::Preview ? sys::CS_HREDRAW | sys::CS_VREDRAW : 0u,
                                 &SaverWindowProc};
    const uint16_t atom = windows.RegisterClass(windowClass);
    Log("Register class return: " + EngineString(uint32_t{atom}, 10) + "\n");
    windowTitle_ = kDisplayName;

    sys::WindowParams params;
    params.className = kSaverClassName;
    params.title = kDisplayName;
    if (mode_ == RunMode::Preview) {
        params.box = {100, 100, 150, 150};
        if (parentWindow_ != 0) windows.GetForeignClientRect(parentWindow_, params.box);
        params.style = sys::WS_CHILD | sys::WS_VISIBLE;
        params.parent = parentWindow_;
    } else if ((mode_ == RunMode::Saver || mode_ == RunMode::Test) && sys::HostWindow() != 0) {
        // Inside a desktop host's window: drawn on it at its size.
        hosted_ = true;
        params.style = sys::WS_CHILD | sys::WS_VISIBLE;
        params.parent = sys::HostWindow();
        windows.GetForeignClientRect(params.parent, params.box);
    } else if (mode_ == RunMode::Saver || mode_ == RunMode::Test) {
        params.style = sys::WS_POPUP | sys::WS_VISIBLE;
        params.box = settings.UseDesktop ? sys::Rect{0, 0, 10, 10} : sys::Rect{0, 0, settings.Width, settings.Height};
    } else {
        return false;
    }
    saverWindow_ = windows.CreateWindow(params);
    if (saverWindow_) clientRect_ = saverWindow_->GetClientRect();
    return saverWindow_ != nullptr;
}

sys::LResult Application::MsgProc(sys::WindowHandle window, uint32_t message, sys::WParam wParam,
                                  sys::LParam lParam) {
    switch (message) {
        case sys::WM_DESTROY:
        case sys::WM_CLOSE:
        case sys::WM_QUIT:
            exitRequested_ = true;
            return 1;
        case sys::WM_PAINT:
            if (mode_ == RunMode::Preview && window)
                window->PaintBitmap(sys::GetResources().Find("BITMAP", kPreviewBitmapId), 0, 0);
            break;
        case sys::WM_KEYDOWN:
            // F2 and F6 are left to the user's desktop; F3 is our own keep-alive key. A host
            // window's keys belong to the host.
            if (!hosted_ && wParam != sys::VK_F2 && wParam != sys::VK_F3 && wParam != sys::VK_F6) exitRequested_ = true;
            break;
        case sys::WM_SYSCOMMAND:
            if (wParam == sys::SC_NEXTWINDOW || wParam == sys::SC_PREVWINDOW || wParam == sys::SC_CLOSE) {
                exitRequested_ = true;
                return 1;
            }
            // A second screensaver must not start over this one.
            if (wParam == sys::SC_SCREENSAVE) return 0;
            break;
        case sys::WM_TIMER:
            previewWait_ = false;
            sys::GetWindowSystem().KillTimer(window, kPreviewTimerId);
            break;
        case sys::WM_USER:
            sys::GetWindowSystem().SetTimer(window, kPreviewTimerId, kPreviewTimerPeriodMs);
            break;
        default: break;
    }
    return RenderFramework::MsgProc(window, message, wParam, lParam);
}

bool Application::OnDeviceReset() {
    ApplyGammaRamp();
    bool restored = true;
    if (textures_) {
        textures_->SetDevice(Device());
        restored = textures_->RestoreAll();
    }
    if (sceneGraph_) restored = sceneGraph_->onDeviceReset() && restored;
    return RenderFramework::OnDeviceReset() && restored;
}

bool Application::OnDeviceLost() {
    overlay_.OnDeviceLost();
    if (sceneGraph_) sceneGraph_->onDeviceLost();
    if (textures_) textures_->InvalidateAll();
    return RenderFramework::OnDeviceLost();
}

void Application::ApplyGammaRamp() {
    const GammaRamp ramp = BuildGammaRamp(settings.Gamma);
    gfx::D3DGAMMARAMP deviceRamp;
    deviceRamp.red = ramp.red;
    deviceRamp.green = ramp.green;
    deviceRamp.blue = ramp.blue;
    if (gfx::Device* device = Device()) device->SetGammaRamp(0, gfx::D3DSGR_CALIBRATE, deviceRamp);
}

intptr_t Application::ConfigDialogProc(ui::Dialog* dialog, uint32_t message, sys::WParam wParam, sys::LParam lParam) {
    return dialog ? configDialog_.HandleMessage(*dialog, message, wParam, lParam) : 0;
}
