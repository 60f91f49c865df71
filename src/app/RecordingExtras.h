#pragma once
// What a recording does besides writing frames, which differs by platform: on Linux the sound
// (mixed offline in step with the frames) and the long-run checks of --soak; on Windows nothing,
// as no system sound library renders offline.

#include <cstdint>
#include <memory>

#include "app/Options.h"

class Application;

class RecordingExtras {
public:
    virtual ~RecordingExtras() = default;
    // False for runs that keep no pictures (--soak).
    virtual bool WritesFrames() const = 0;
    // After frame `written` (counted from 1); false ends the recording on an error.
    virtual bool AfterFrame(int64_t written) = 0;
    // The last frame was written.
    virtual void Finish() = 0;
};

// Before the application starts; the result lives until the recording ends.
std::unique_ptr<RecordingExtras> StartRecordingExtras(const RecordOptions& options, Application& app);
