// Recordings on Windows keep frames and the trace: no system sound library renders offline, so
// the saver's sound runs on a library that plays nothing, and the long-run checks of --soak are
// Linux's.

#include "app/RecordingExtras.h"
#include "app/win32/InaudibleSoundLibrary.h"
#include "platform/sys/win32/HiddenWindows.h"

namespace {

class FramesOnly final : public RecordingExtras {
public:
    FramesOnly() {
        sys::KeepWindowsHidden(true);
        audio::SetSoundLibrary(&sound_);
    }
    ~FramesOnly() override {
        audio::SetSoundLibrary(nullptr);
        sys::KeepWindowsHidden(false);
    }
    bool WritesFrames() const override { return true; }
    bool AfterFrame(int64_t) override { return true; }
    void Finish() override {}

private:
    InaudibleSoundLibrary sound_;
};

}  // namespace

std::unique_ptr<RecordingExtras> StartRecordingExtras(const RecordOptions&, Application&) {
    return std::make_unique<FramesOnly>();
}
