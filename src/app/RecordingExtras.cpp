#include "app/RecordingExtras.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/SoakMonitor.h"
#include "app/WavWriter.h"
#include "platform/audio/OpenAlSoundLibrary.h"

namespace {

// The sound of a recording: the loopback library mixes exactly the stretch of simulated time
// that each frame covers, so the same arguments give the same bytes.
class SoundWriter {
public:
    static constexpr uint32_t kRate = audio::OpenAlSoundLibrary::kLoopbackRate;

    // An empty path mixes without keeping the sound.
    SoundWriter(audio::OpenAlSoundLibrary& library, const std::string& path, int fps)
        : library_(library), fps_(fps), keep_(!path.empty()) {
        if (keep_ && !wav_.Open(path.c_str(), kRate, 2)) std::fprintf(stderr, "quelmont: cannot write %s\n", path.c_str());
    }
    // Mixes up to the end of frame `frames` (counted from 1).
    bool RenderTo(int64_t frames) {
        const int64_t target = frames * kRate / fps_;
        const uint32_t count = static_cast<uint32_t>(target - rendered_);
        pcm_.resize(static_cast<size_t>(count) * 2);
        library_.Render(pcm_.data(), count);
        rendered_ = target;
        return !keep_ || wav_.Write(pcm_);
    }
    bool Close() { return !keep_ || wav_.Close(); }

private:
    audio::OpenAlSoundLibrary& library_;
    int fps_;
    bool keep_;
    WavWriter wav_;
    int64_t rendered_ = 0;
    std::vector<int16_t> pcm_;
};

class LinuxRecordingExtras final : public RecordingExtras {
public:
    LinuxRecordingExtras(const RecordOptions& options, Application& app)
        : options_(options),
          library_(audio::OpenAlSoundLibrary::Output::Loopback),
          sound_(library_,
                 options.soak ? std::string() : (std::filesystem::path(options.directory) / "sound.wav").string(),
                 options.fps),
          soak_(app) {
        audio::SetSoundLibrary(&library_);
    }
    ~LinuxRecordingExtras() override {
        sound_.Close();
        audio::SetSoundLibrary(nullptr);
    }

    bool WritesFrames() const override { return !options_.soak; }
    bool AfterFrame(int64_t written) override {
        if (options_.soak) soak_.AfterFrame((written - 1) * 1000 / options_.fps);
        if (sound_.RenderTo(written)) return true;
        std::fprintf(stderr, "quelmont: cannot write the sound\n");
        return false;
    }
    void Finish() override {
        if (options_.soak) soak_.Finish();
    }

private:
    const RecordOptions& options_;
    audio::OpenAlSoundLibrary library_;
    SoundWriter sound_;
    SoakMonitor soak_;
};

}  // namespace

std::unique_ptr<RecordingExtras> StartRecordingExtras(const RecordOptions& options, Application& app) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (options.soak) SoakMonitor::PrepareRenderer();
    return std::make_unique<LinuxRecordingExtras>(options, app);
}
