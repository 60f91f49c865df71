#include "app/Recorder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/RecordingExtras.h"
#include "common/Log.h"
#include "platform/gfx/Direct3D.h"
#include "platform/gfx/loader/ImageEncoders.h"
#include "platform/sys/Clock.h"
#include "platform/sys/DirectXProbe.h"
#include "platform/sys/SettingsStore.h"
#include "platform/sys/System.h"
#include "shell/Application.h"
#include "shell/EntryPoint.h"

namespace {

// A recording must not depend on the user's saved settings: the key opens and holds only the
// values given with --set, so the built-in defaults apply to the rest, and nothing can be written.
class GivenSettingsKey final : public sys::SettingsKey {
    // The last --set of a name wins, as on a command line.
    auto Given(std::string_view name) const {
        return std::find_if(options_.settings.rbegin(), options_.settings.rend(),
                            [&](const auto& setting) { return setting.first == name; });
    }

public:
    explicit GivenSettingsKey(const RecordOptions& options) : options_(options) {}
    bool Contains(std::string_view name) const override { return Given(name) != options_.settings.rend(); }
    bool QueryDword(std::string_view name, uint32_t& value) const override {
        const auto given = Given(name);
        if (given == options_.settings.rend()) return false;
        value = static_cast<uint32_t>(given->second);
        return true;
    }
    bool QueryString(std::string_view, std::string&, size_t) const override { return false; }
    bool SetDword(std::string_view, uint32_t) override { return false; }
    bool SetString(std::string_view, std::string_view) override { return false; }
    bool Close() override { return true; }

private:
    const RecordOptions& options_;
};

class GivenSettings final : public sys::SettingsStore {
public:
    explicit GivenSettings(const RecordOptions& options) : options_(options) {}
    std::unique_ptr<sys::SettingsKey> OpenKey(std::string_view, sys::KeyAccess) override {
        return std::make_unique<GivenSettingsKey>(options_);
    }

private:
    const RecordOptions& options_;
};

// The system as a recording sees it: local time runs on the simulated clock from the chosen time
// of day (or the real time at the start), and the desktop is left alone.
class RecordingSystem final : public sys::System {
public:
    RecordingSystem(sys::System& platform, const sys::TestClock& clock, int timeOfDaySeconds)
        : platform_(platform), clock_(clock), startMs_(clock.Ms()), start_(platform.GetLocalTime()) {
        if (timeOfDaySeconds >= 0) {
            start_.hour = timeOfDaySeconds / 3600;
            start_.minute = timeOfDaySeconds / 60 % 60;
            start_.second = timeOfDaySeconds % 60;
            start_.millisecond = 0;
        }
    }
    bool SetScreenSaverRunning(bool) override { return false; }
    void SendKeepAliveKey(uint32_t) override {}
    bool SetThreadPriority(int priority) override { return platform_.SetThreadPriority(priority); }
    sys::LocalTime GetLocalTime() override {
        // The date stays; the time of day advances and wraps at midnight.
        const int64_t dayMs = 86400000;
        const int64_t startOfDay = ((start_.hour * 60 + start_.minute) * 60 + start_.second) * 1000LL + start_.millisecond;
        const int64_t now = ((startOfDay + clock_.Ms() - startMs_) % dayMs + dayMs) % dayMs;
        sys::LocalTime time = start_;
        time.hour = static_cast<int>(now / 3600000);
        time.minute = static_cast<int>(now / 60000 % 60);
        time.second = static_cast<int>(now / 1000 % 60);
        time.millisecond = static_cast<int>(now % 1000);
        return time;
    }
    int MessageBox(std::string_view text, std::string_view caption, uint32_t flags) override {
        return platform_.MessageBox(text, caption, flags);
    }
    int ShowDirectXDialog() override { return sys::IDCANCEL; }  // nobody is there to answer
    bool ShellOpen(std::string_view) override { return false; }

private:
    sys::System& platform_;
    const sys::TestClock& clock_;
    int64_t startMs_;
    sys::LocalTime start_;
};

class FrameWriter final : public FrameObserver {
public:
    FrameWriter(const RecordOptions& options, sys::TestClock& clock, Application& app, RecordingExtras& extras)
        : options_(options), clock_(clock), app_(app), extras_(extras), startMs_(clock.Ms()),
          frames_(static_cast<int64_t>(options.seconds) * options.fps) {}

    void OnFramePresented(gfx::Device& device) override {
        uint32_t width = 0, height = 0;
        if (extras_.WritesFrames() && gfx::SUCCEEDED(device.GetFrontBufferData(0, pixels_, width, height))) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%05lld.png", static_cast<long long>(written_));
            const std::string path = (std::filesystem::path(options_.directory) / name).string();
            if (!gfx::WritePngFile(path.c_str(), pixels_, width, height, false, 1)) {
                std::fprintf(stderr, "quelmont: cannot write %s\n", path.c_str());
                app_.RequestExit();
            }
        }
        ++written_;
        if (!extras_.AfterFrame(written_)) app_.RequestExit();
        // Frame k is drawn at k / fps seconds, computed from k so no rounding accumulates.
        clock_.SetMs(startMs_ + written_ * 1000 / options_.fps);
        if (written_ >= frames_) {
            extras_.Finish();
            app_.RequestExit();
        }
    }

    int64_t Written() const { return written_; }

private:
    const RecordOptions& options_;
    sys::TestClock& clock_;
    Application& app_;
    RecordingExtras& extras_;
    int64_t startMs_;
    int64_t frames_;
    int64_t written_ = 0;
    std::vector<uint32_t> pixels_;
};

}  // namespace

int RunRecording(const RecordOptions& options, const char* programName) {
    std::error_code error;
    std::filesystem::create_directories(options.directory, error);
    if (error) {
        std::fprintf(stderr, "quelmont: cannot create %s: %s\n", options.directory.c_str(), error.message().c_str());
        return 2;
    }
    const std::string tracePath = (std::filesystem::path(options.directory) / "trace.log").string();
    std::remove(tracePath.c_str());
    SetTracePath(tracePath.c_str());
    gfx::UseVirtualDisplay(static_cast<uint32_t>(options.width), static_cast<uint32_t>(options.height), 60);

    // The seed is the simulated clock's start, which is also what seeds the random generator.
    sys::TestClock clock(options.seed);
    sys::ScopedClock useClock(clock);
    GivenSettings givenSettings(options);
    sys::SetSettingsStore(&givenSettings);
    RecordingSystem system(sys::GetSystem(), clock, options.timeOfDaySeconds);
    sys::SetSystem(&system);

    Application* app = GetApp();
    std::unique_ptr<RecordingExtras> extras = StartRecordingExtras(options, *app);
    FrameWriter writer(options, clock, *app, *extras);
    app->SetFrameObserver(&writer);
    if (!options.path.empty()) app->CameraPaths().StartWith(EngineString(options.path.c_str()));
    const std::string commandLine = std::string("\"") + programName + "\" /s";
    const int result = RunEntryPoint(nullptr, commandLine.c_str(), sys::PlatformDirectXProbe());

    extras.reset();
    sys::SetSystem(nullptr);
    sys::SetSettingsStore(nullptr);
    SetTracePath(nullptr);
    std::printf("quelmont: %lld frames in %s\n", static_cast<long long>(writer.Written()), options.directory.c_str());
    return writer.Written() > 0 ? 0 : (result == 0 ? 1 : result);
}
