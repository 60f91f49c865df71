#pragma once
// A ray-cast preview of a scene file as the room's media use it: textures, light maps (stage 1,
// twice), vertex light, the ambient-lit landscape, the additive lamp, the glass and the rain over
// it, and the display's gamma ramp. It reads the shipped files back, so it also checks that they
// say what the generator meant.

#include <memory>
#include <string>

#include "common/math/Math.h"
#include "platform/gfx/loader/Image.h"

class RoomView {
public:
    RoomView();
    ~RoomView();
    // Reads `mediaDir`/clock.UDF and its textures; false with `error` set when they do not load.
    bool Load(const std::string& mediaDir, std::string& error);
    // The hands at a time of day (hours and minutes).
    void SetTime(int hours, int minutes);
    gfx::ArgbImage Render(math::Vec3 eye, math::Vec3 at, int width, int height, int gamma) const;
    // Camera pose on a path file at `time` (key-time units): linear between keys.
    static bool PathPose(const std::string& camFile, float time, math::Vec3& eye, math::Vec3& at, float& end);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
