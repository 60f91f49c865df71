// roomview MEDIA_DIR OUT.png [--eye X,Y,Z --at X,Y,Z | --path FILE.cam --at-time T] [--gamma G]
//          [--size WxH] [--time HH:MM]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "RoomView.h"
#include "platform/gfx/loader/ImageEncoders.h"

namespace {

bool ParseVec(const char* text, math::Vec3& v) { return std::sscanf(text, "%f,%f,%f", &v.x, &v.y, &v.z) == 3; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: roomview MEDIA_DIR OUT.png [--eye X,Y,Z --at X,Y,Z | --path FILE --at-time T] "
                   "[--gamma G] [--size WxH] [--time HH:MM]\n", stderr);
        return 2;
    }
    math::Vec3 eye{-200, 100, 0}, at{0, 100, 0};
    int width = 640, height = 400, gamma = 100, hours = 10, minutes = 10;
    std::string path;
    float pathTime = 0;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const char* value = argv[i + 1];
        bool ok = true;
        if (flag == "--eye") ok = ParseVec(value, eye);
        else if (flag == "--at") ok = ParseVec(value, at);
        else if (flag == "--path") path = value;
        else if (flag == "--at-time") pathTime = std::strtof(value, nullptr);
        else if (flag == "--gamma") gamma = std::atoi(value);
        else if (flag == "--size") ok = std::sscanf(value, "%dx%d", &width, &height) == 2;
        else if (flag == "--time") ok = std::sscanf(value, "%d:%d", &hours, &minutes) == 2;
        else ok = false;
        if (!ok) {
            std::fprintf(stderr, "roomview: bad option %s %s\n", flag.c_str(), value);
            return 2;
        }
    }
    RoomView view;
    std::string error;
    view.SetTime(hours, minutes);
    if (!view.Load(argv[1], error)) {
        std::fprintf(stderr, "roomview: %s\n", error.c_str());
        return 1;
    }
    float end = 0;
    if (!path.empty() && !RoomView::PathPose(std::string(argv[1]) + "/" + path, pathTime, eye, at, end)) {
        std::fprintf(stderr, "roomview: cannot read %s\n", path.c_str());
        return 1;
    }
    const std::vector<uint8_t> png = gfx::EncodePng(view.Render(eye, at, width, height, gamma), false, 1);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return out ? 0 : 1;
}
