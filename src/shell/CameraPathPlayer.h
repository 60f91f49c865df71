#pragma once
// Flies the camera along recorded paths: a playlist in which every path plays once per cycle in
// random order, a fixed rate of path time per millisecond, and the pose handed to the fallback
// camera when a path ends.

#include <functional>
#include <memory>
#include <vector>

#include "common/EngineString.h"
#include "common/Timing.h"
#include "scene/Animation.h"
#include "shell/CameraControl.h"

class DataStream;

// The pose a camera path gives at `time` (in the path's own units).
CameraPose PoseOnPath(Animation& path, float time);

class CameraPathPlayer {
public:
    // Opens a path file by its name in the playlist; null when it cannot be opened.
    using Opener = std::function<std::unique_ptr<DataStream>(const EngineString& name)>;

    void SetOpener(Opener opener) { opener_ = std::move(opener); }
    std::vector<EngineString>& RemainingPaths() { return remainingPaths_; }
    const std::vector<EngineString>& UsedPaths() const { return usedPaths_; }

    // Start-up: plays from time 0 a path drawn at random from the list (when there is one), or
    // the one named by StartWith when the list holds it.
    void Start();
    void StartWith(EngineString name) { firstPath_ = std::move(name); }
    // Restarts the time base, so loading time does not count as flight.
    void ResetTimer() { pathTimer_.Reset(); }
    // One frame: the pose of the playing path, advanced by the time since the last frame, or
    // `fallback` while no path plays. A path that has ended leaves its last pose in `fallback`
    // and the next path starts.
    const CameraPose& Advance(CameraPose& fallback);

    // The fade through black at both ends of a path: the black quad's opacity, 0 for none.
    float FadeOpacity() const;

    bool pathPlaying() const { return pathPlaying_; }
    float pathTime() const { return pathTime_; }
    float pathRate() const { return pathRate_; }
    const Animation& cameraPath() const { return cameraPath_; }
    const EngineString& CurrentPath() const { return currentPath_; }

private:
    void ChooseNextPath();
    // Draws a name of `remainingPaths_` and loads it; a name that does not load is passed over
    // for the others of the list, so one damaged file does not stop the flight.
    void LoadRandomPath();
    bool LoadPath(const EngineString& name);

    bool pathPlaying_ = true;
    float pathTime_ = 0;
    float pathRate_ = 0.01f;
    Stopwatch pathTimer_;
    Animation cameraPath_;
    std::vector<EngineString> remainingPaths_;
    std::vector<EngineString> usedPaths_;
    size_t currentIndex_ = 0;  // in remainingPaths_
    EngineString currentPath_;
    EngineString firstPath_;
    CameraPose pose_;
    Opener opener_;
};
