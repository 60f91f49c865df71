#include "shell/Application.h"

#include "common/Log.h"
#include "media/Manifest.h"
#include "platform/sys/InputDevices.h"
#include "platform/sys/Resources.h"
#include "platform/sys/System.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogResources.h"
#include "scene/Scene.h"
#include "shell/DesktopMode.h"
#include "shell/FullScreenMode.h"
#include "shell/GammaRamp.h"
#include "shell/StartupFrame.h"
#include "udf/UdfTextNode.h"

namespace {

Application* g_application = nullptr;

constexpr int kDefaultSettingsId = manifest::kDefaultSettings.id;
constexpr int kUiTextId = manifest::kDialogText.id;
constexpr uint32_t kInputCooperation = sys::DISCL_FOREGROUND | sys::DISCL_NONEXCLUSIVE;
constexpr int64_t kMouseMoveGraceMs = 1000;
constexpr const char* kNoDisplayText = "The configuration dialog needs a display: none could be opened (DISPLAY is not set "
                                       "or the X server does not answer). Nothing was changed.";

sys::LResult SaverWindowProc(sys::WindowHandle window, uint32_t message, sys::WParam wParam, sys::LParam lParam) {
    if (!g_application) return 1;
    return g_application->MsgProc(window, message, wParam, lParam);
}

}  // namespace

Application::Application() {
    g_application = this;
    cameraPaths_.SetOpener([this](const EngineString& name) { return media_.File(name).Open(DataStream::kRead); });
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
        saverWindow_.WaitForPreviewStart();
        return true;
    }
    if (mode_ != RunMode::Configure && !RenderFramework::Create(instance, saverWindow_.Get())) {
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
    if (!ChooseFullScreenMode(*this, settings)) return false;
    sys::GetWindowSystem().ShowCursor(false);
    media_.Mount();

    DesktopMode desktop;
    GetDesktopMode(desktop.width, desktop.height, desktop.refreshRate, desktop.format);
    RecordDesktopMode(desktop);
    int x = 0, y = 0, width = 0, height = 0;
    GetClientArea(x, y, width, height);
    uiScale_ = static_cast<float>(width) / 1024.0f;

    textures_ = std::make_unique<TextureManager>(Device());
    media_.AddTo(textures_->SearchList());
    SceneContext sceneContext;
    sceneContext.textures = textures_.get();
    sceneGraph_ = std::make_unique<Scene>(sceneContext);
    startupPicture_.ProbeCornerLogos();
    ShowStartupPicture(*this, startupPicture_, *textures_, frameObserver_);
    UdfTextNode sceneProps;
    if (LoadSceneProps(media_.File("Scene.props"), sceneProps, scene, cameraPaths_.RemainingPaths()))
        ReadSceneSettings(sceneProps);
    LogError("", "Application created\n");
    StartInput();
    if (!labels_.SetUp(uiScale_, settings, [this](const EngineString& name) { return media_.File(name); }, *textures_))
        return false;
    // The overlay hears input before the application does.
    input_.AddListener(&labels_.Listener());
    input_.AddListener(this);
    labels_.ResetTimer();
    cameraPaths_.Start();
    if (!LoadContent()) return false;
    cameraPaths_.ResetTimer();
    startTimer_.Reset();
    // The content is loaded: the startup picture fades out.
    FadeStartupPicture(*this, startupPicture_, frameObserver_);
    Log("Creating successfull\n");
    return true;
}

void Application::StartInput() {
    input_.Init(true, kInputCooperation, kInputCooperation);
    cameraControl_.Attach(&input_, &fallbackCamera_);
    cameraControl_.SetSpeed(scene.camSpeed);
}

void Application::Tick() { input_.Poll(0); }

void Application::OnInputEvent(const InputEvent& event) {
    // The host decides when the saver ends (XScreenSaver watches the input itself).
    if (Hosted()) return;
    if (event.type == kLeftButtonPressed || event.type == kRightButtonPressed) {
        exitRequested_ = true;
        return;
    }
    const bool moved = event.x != event.previousX || event.y != event.previousY;
    if (event.type == kMouseMoved && moved && settings.ExitOnMM && startTimer_.Elapsed() > kMouseMoveGraceMs)
        exitRequested_ = true;
}

bool Application::CreateSaverWindow() {
    if (!saverWindow_.Create(mode_, parentWindow_, settings, &SaverWindowProc)) return false;
    if (sys::Window* window = saverWindow_.Get()) {
        windowTitle_ = ScreenSaverWindow::kTitle;
        clientRect_ = window->GetClientRect();
    }
    return true;
}

sys::LResult Application::MsgProc(sys::WindowHandle window, uint32_t message, sys::WParam wParam,
                                  sys::LParam lParam) {
    switch (message) {
        case sys::WM_DESTROY:
        case sys::WM_CLOSE:
        case sys::WM_QUIT:
            exitRequested_ = true;
            return 1;
        case sys::WM_KEYDOWN:
            // F2 and F6 are left to the user's desktop; F3 is our own keep-alive key. A host
            // window's keys belong to the host.
            if (!Hosted() && wParam != sys::VK_F2 && wParam != sys::VK_F3 && wParam != sys::VK_F6) exitRequested_ = true;
            break;
        case sys::WM_SYSCOMMAND:
            if (wParam == sys::SC_NEXTWINDOW || wParam == sys::SC_PREVWINDOW || wParam == sys::SC_CLOSE) {
                exitRequested_ = true;
                return 1;
            }
            // A second screensaver must not start over this one.
            if (wParam == sys::SC_SCREENSAVE) return 0;
            break;
        default: saverWindow_.OnMessage(window, message); break;
    }
    return RenderFramework::MsgProc(window, message, wParam, lParam);
}

bool Application::OnDeviceReset() {
    SetDeviceGammaRamp(Device(), BuildGammaRamp(settings.Gamma));
    bool restored = true;
    if (textures_) {
        textures_->SetDevice(Device());
        restored = textures_->RestoreAll();
    }
    if (sceneGraph_) restored = sceneGraph_->onDeviceReset() && restored;
    return RenderFramework::OnDeviceReset() && restored;
}

bool Application::OnDeviceLost() {
    labels_.Windows().OnDeviceLost();
    if (sceneGraph_) sceneGraph_->onDeviceLost();
    if (textures_) textures_->InvalidateAll();
    return RenderFramework::OnDeviceLost();
}

intptr_t Application::ConfigDialogProc(ui::Dialog* dialog, uint32_t message, sys::WParam wParam, sys::LParam lParam) {
    return dialog ? configDialog_.HandleMessage(*dialog, message, wParam, lParam) : 0;
}
