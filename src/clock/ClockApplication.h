#pragma once
// The clock screensaver built on the engine's application.

#include "common/EngineString.h"
#include "shell/Application.h"

class ClockApplication : public Application {
public:
    ClockApplication() = default;
    ~ClockApplication() override = default;

    bool LoadSettings() override;
    void WriteMoreSettings(sys::SettingsKey& key) override;

    const EngineString& PhotoPath() const { return photoPath_; }
    void SetPhotoPath(const EngineString& path) { photoPath_ = path; }

private:
    EngineString photoPath_;
};
