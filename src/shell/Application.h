#pragma once
// The engine's application: run mode, settings, start-up (Create), the main loop and the frame,
// and the window procedure of the saver window. The clock derives from it.

#include <cstdint>
#include <memory>

#include "common/Timing.h"
#include "platform/sys/Window.h"
#include "shell/CommandLine.h"
#include "shell/ConfigDialog.h"
#include "shell/DefaultSettings.h"
#include "shell/CameraControl.h"
#include "shell/FrameRate.h"
#include "resources/RarArchive.h"
#include "textures/TextureManager.h"
#include "shell/CameraPathPlayer.h"
#include "shell/InputSystem.h"
#include "shell/RenderFramework.h"
#include "shell/SceneSettings.h"
#include "shell/SettingsRecord.h"
#include "shell/StartupPicture.h"
#include "shell/UiText.h"

class Scene;
class UdfTextNode;
namespace sys {
class SettingsKey;
}
namespace ui {
class Dialog;
}

// A text on the overlay whose layout the main loop refreshes (the frame-rate and time labels).
class OverlayLabel {
public:
    virtual ~OverlayLabel() = default;
    virtual void SetText(const EngineString& text) = 0;
    virtual void RefreshLayout() = 0;
    virtual void GetSize(int& width, int& height) const = 0;
    virtual void MoveTo(int x, int y) = 0;
};

// Told about every presented frame (offscreen recording).
class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    virtual void OnFramePresented(gfx::Device& device) = 0;
};

class Application : public RenderFramework, public InputListener {

public:
    // The folder of the media, on disk and in the archive.
    static constexpr const char* kMediaFolder = "Media";

    Application();

    // Virtual slots 0 to 13.
    sys::LResult MsgProc(sys::WindowHandle window, uint32_t message, sys::WParam wParam, sys::LParam lParam) override;
    ~Application() override;
    bool OnDeviceReset() override;
    bool OnDeviceLost() override;
    virtual void Update() {}
    virtual void Render() {}
    virtual bool LoadContent() { return true; }
    virtual void ReadSceneSettings(const UdfTextNode& /*sceneProps*/) {}
    virtual intptr_t ConfigDialogProc(ui::Dialog* dialog, uint32_t message, sys::WParam wParam, sys::LParam lParam);
    virtual void Shutdown() {}
    virtual void Tick();
    virtual void OnExitFinal() {}
    virtual bool LoadSettings();
    virtual bool SaveSettings();

    bool Create(void* instance, RunMode mode, uint32_t parentWindow);
    int RunMainLoop();
    bool RenderFrame();
    bool CreateSaverWindow();
    // The exit rules for input events.
    void OnInputEvent(const InputEvent& event) override;

    void LoadDefaults() { defaults_.LoadDefaults(settings); }
    EngineString GetDefault(const char* name) const { return defaults_.GetDefault(name); }
    EngineString GetUiText(const char* key) const { return uiText_.GetUiText(key); }

    RunMode Mode() const { return mode_; }
    uint32_t ParentWindow() const { return parentWindow_; }
    sys::Window* SaverWindow() const { return saverWindow_.get(); }
    float UiScale() const { return uiScale_; }
    int64_t FrameRate() const { return frameRate_.Rate(); }
    // Running inside a desktop host's window, which owns the user's input.
    bool Hosted() const { return hosted_; }
    InputSystem& Input() { return input_; }
    CameraPose& FallbackCamera() { return fallbackCamera_; }
    // Where the camera stands this frame (a path's pose or the fallback camera's) and the aspect
    // of the render area it was projected for.
    const CameraPose& Camera() const { return camera_; }
    float Aspect() const { return aspect_; }
    CameraPathPlayer& CameraPaths() { return cameraPaths_; }

    // The media file `name` ("clock.udf", "c1.cam", ...): a loose file under the media folder on
    // disk, else the member of the embedded archive.
    FileSource MediaFile(const EngineString& name);
    RarArchive& MediaArchive() { return mediaArchive_; }
    // The room's scene graph (null until the device exists).
    Scene* GetScene() const { return sceneGraph_.get(); }
    CameraControl& FallbackCameraControl() { return cameraControl_; }

    void SetFrameObserver(FrameObserver* observer) { frameObserver_ = observer; }
    // Every texture the program draws comes from here (null until the device exists).
    TextureManager* Textures() const { return textures_.get(); }

    SettingsRecord settings;
    SceneSettings scene;

protected:
    // The engine's values into an open settings key, so that a subclass saves its own values
    // and these in one write.
    void WriteSettings(sys::SettingsKey& key) const;
    // Input with the system cursor, and the fallback camera flown from it.
    void StartInput();
    void SetLabels(OverlayLabel* frameRateLabel, OverlayLabel* clockLabel) {
        frameRateLabel_ = frameRateLabel;
        clockLabel_ = clockLabel;
    }

private:
    void RunPreviewWait();
    void PumpMessages();
    void RefreshLabels();
    bool RunFramePass(bool& firstFrameDone);
    // The full-screen settings request with its fallback, and SetMode.
    bool ChooseFullScreenMode();
    void ApplyGammaRamp();
    // The startup picture's first frame, one frame of it alone at `opacity`, and its fade-out.
    void ShowStartupPicture();
    void DrawStartupFrame(float opacity);
    void FadeStartupPicture();
    void PresentFrame(gfx::Device& device);
    void MountMediaArchive();
    // Scene.props: the frame's colours and projection, the path list, then the subclass's keys.
    void LoadSceneSettings();
    // The view from this frame's camera pose, and the fade through black at a path's ends.
    void SetCameraTransforms();
    bool DrawPathFade(gfx::Device& device);

    RunMode mode_ = RunMode::Saver;
    uint32_t parentWindow_ = 0;
    std::unique_ptr<sys::Window> saverWindow_;
    bool previewWait_ = false;
    float uiScale_ = 1.0f;
    DefaultSettings defaults_;
    UiText uiText_;
    FrameRateCounter frameRate_;
    Stopwatch labelTimer_;
    Stopwatch keepAliveTimer_;
    OverlayLabel* frameRateLabel_ = nullptr;
    OverlayLabel* clockLabel_ = nullptr;
    FrameObserver* frameObserver_ = nullptr;
    std::unique_ptr<TextureManager> textures_;
    StartupPicture startupPicture_;
    bool hosted_ = false;
    InputSystem input_{*this};
    CameraPose fallbackCamera_;
    CameraControl cameraControl_;
    ConfigDialog configDialog_{*this};
    Stopwatch startTimer_;  // the grace period for mouse moves runs from the end of Create
    RarArchive mediaArchive_;
    std::unique_ptr<Scene> sceneGraph_;
    CameraPathPlayer cameraPaths_;
    CameraPose camera_;
    float aspect_ = 1.0f;
};

// The single application object, made on the first call (the clock's application).
Application* GetApp();
// Destroys the application object (the entry point's last step).
void DestroyApp();
