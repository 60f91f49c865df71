#pragma once
// The engine's application: run mode, settings, start-up (Create), the main loop and the frame,
// and the window procedure of the saver window; the saver window, the media, the labels and the
// startup picture have owners of their own. The clock derives from it.

#include <cstdint>
#include <memory>

#include "common/Timing.h"
#include "platform/sys/Window.h"
#include "shell/CameraControl.h"
#include "shell/CameraPathPlayer.h"
#include "shell/CommandLine.h"
#include "shell/ConfigDialog.h"
#include "shell/DefaultSettings.h"
#include "shell/FrameObserver.h"
#include "shell/FrameRate.h"
#include "shell/InputSystem.h"
#include "shell/LabelOverlay.h"
#include "shell/MediaFolder.h"
#include "shell/RenderFramework.h"
#include "shell/SceneSettings.h"
#include "shell/ScreenSaverWindow.h"
#include "shell/SettingsRecord.h"
#include "shell/StartupPicture.h"
#include "shell/UiText.h"
#include "textures/TextureManager.h"

class Scene;
class UdfTextNode;
namespace sys {
class SettingsKey;
}
namespace ui {
class Dialog;
}

class Application : public RenderFramework, public InputListener {

public:
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
    EngineString GetUiText(const char* key) const { return uiText_.GetUiText(key); }

    RunMode Mode() const { return mode_; }
    sys::Window* SaverWindow() const { return saverWindow_.Get(); }
    float UiScale() const { return uiScale_; }
    // Running inside a desktop host's window, which owns the user's input.
    bool Hosted() const { return saverWindow_.Hosted(); }
    InputSystem& Input() { return input_; }
    CameraPose& FallbackCamera() { return fallbackCamera_; }
    // Where the camera stands this frame (a path's pose or the fallback camera's) and the aspect
    // of the render area it was projected for.
    const CameraPose& Camera() const { return camera_; }
    float Aspect() const { return aspect_; }
    CameraPathPlayer& CameraPaths() { return cameraPaths_; }
    MediaFolder& Media() { return media_; }
    // The room's scene graph (null until the device exists).
    Scene* GetScene() const { return sceneGraph_.get(); }
    CameraControl& FallbackCameraControl() { return cameraControl_; }

    void SetFrameObserver(FrameObserver* observer) { frameObserver_ = observer; }
    // The 2D overlay with the frame-rate and time labels.
    LabelOverlay& Labels() { return labels_; }
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

private:
    // One pass of the loop after the message pump; false when the loop must end.
    bool RunFramePass(bool& firstFrameDone);

    RunMode mode_ = RunMode::Saver;
    uint32_t parentWindow_ = 0;
    ScreenSaverWindow saverWindow_;
    float uiScale_ = 1.0f;
    DefaultSettings defaults_;
    UiText uiText_;
    FrameRateCounter frameRate_;
    Stopwatch keepAliveTimer_;
    LabelOverlay labels_;
    FrameObserver* frameObserver_ = nullptr;
    std::unique_ptr<TextureManager> textures_;
    StartupPicture startupPicture_;
    InputSystem input_{*this};
    CameraPose fallbackCamera_;
    CameraControl cameraControl_;
    ConfigDialog configDialog_{*this};
    Stopwatch startTimer_;  // the grace period for mouse moves runs from the end of Create
    MediaFolder media_;
    std::unique_ptr<Scene> sceneGraph_;
    CameraPathPlayer cameraPaths_;
    CameraPose camera_;
    float aspect_ = 1.0f;
};

// The single application object, made on the first call (the clock's application).
Application* GetApp();
// Destroys the application object (the entry point's last step).
void DestroyApp();
