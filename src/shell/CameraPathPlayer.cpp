#include "shell/CameraPathPlayer.h"

#include <algorithm>

#include "common/Random.h"
#include "resources/DataStream.h"
#include "shell/CameraPathFile.h"

namespace {

constexpr float kFadeLength = 10.0f;  // path time units at each end

CameraPose PoseOf(const Matrix& m) {
    // The path's rotation turns the camera's own axes: +z is where it looks, +y is up.
    CameraPose pose;
    pose.position = m.TranslationRow();
    pose.forward = {m.m(2, 0), m.m(2, 1), m.m(2, 2)};
    pose.up = {m.m(1, 0), m.m(1, 1), m.m(1, 2)};
    return pose;
}

}  // namespace

void CameraPathPlayer::Start() {
    pathPlaying_ = true;
    pathTime_ = 0;
    if (remainingPaths_.empty()) return;
    const auto first = std::find(remainingPaths_.begin(), remainingPaths_.end(), firstPath_);
    if (first != remainingPaths_.end() && LoadPath(*first)) {
        currentIndex_ = static_cast<size_t>(first - remainingPaths_.begin());
        return;
    }
    LoadRandomPath();
}

const CameraPose& CameraPathPlayer::Advance(CameraPose& fallback) {
    TimeRange range;
    if (!pathPlaying_ || !cameraPath_.getRange(range)) return fallback;
    Matrix matrix;
    cameraPath_.evaluate(pathTime_, matrix);
    pose_ = PoseOf(matrix);
    const int64_t elapsed = pathTimer_.Elapsed();
    if (elapsed != 0) {
        pathTime_ += static_cast<float>(elapsed) * pathRate_;
        pathTimer_.Reset();
    }
    if (pathTime_ > range.end) {
        ChooseNextPath();
        TimeRange next;
        pathTime_ = cameraPath_.getRange(next) ? next.start : 0.0f;
        fallback = pose_;
        pathPlaying_ = true;
    }
    return pose_;
}

float CameraPathPlayer::FadeOpacity() const {
    TimeRange range;
    if (!pathPlaying_ || !cameraPath_.getRange(range)) return 0.0f;
    float opacity = 0.0f;
    if (pathTime_ < kFadeLength) opacity = 1.0f - pathTime_ / kFadeLength;
    else if (pathTime_ > range.end - kFadeLength) opacity = 1.0f - (range.end - pathTime_) / kFadeLength;
    return std::clamp(opacity, 0.0f, 1.0f);
}

void CameraPathPlayer::ChooseNextPath() {
    // Without a list the path that ended simply plays again.
    if (remainingPaths_.empty()) return;
    if (currentIndex_ < remainingPaths_.size()) {
        usedPaths_.push_back(std::move(remainingPaths_[currentIndex_]));
        remainingPaths_.erase(remainingPaths_.begin() + static_cast<std::ptrdiff_t>(currentIndex_));
    }
    if (remainingPaths_.empty()) {
        for (EngineString& name : usedPaths_) remainingPaths_.push_back(std::move(name));
        usedPaths_.clear();
    }
    LoadRandomPath();
}

void CameraPathPlayer::LoadRandomPath() {
    const size_t count = remainingPaths_.size();
    const size_t drawn = static_cast<size_t>(Random()) % count;
    for (size_t attempt = 0; attempt < count; ++attempt) {
        currentIndex_ = (drawn + attempt) % count;
        if (LoadPath(remainingPaths_[currentIndex_])) return;
    }
    currentIndex_ = drawn;
}

bool CameraPathPlayer::LoadPath(const EngineString& name) {
    currentPath_ = name;
    cameraPath_.clear();
    std::unique_ptr<DataStream> stream = opener_ ? opener_(name) : nullptr;
    TimeRange range;
    return stream && LoadCameraPath(*stream, cameraPath_) && cameraPath_.getRange(range);
}
