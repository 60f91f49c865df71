// roomview MEDIA_DIR OUT.png [--eye X,Y,Z --at X,Y,Z | --path FILE.cam --at-time T] [--gamma G]
//          [--size WxH] [--time HH:MM]
// roomview MEDIA_DIR OUT.png --sheet [--gamma G]
//   a contact sheet: two frames of each of the ten camera paths, a fifth and four fifths along it
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <algorithm>
#include <string>

#include "RoomView.h"
#include "platform/gfx/loader/ImageEncoders.h"

namespace {

bool ParseVec(const char* text, math::Vec3& v) { return std::sscanf(text, "%f,%f,%f", &v.x, &v.y, &v.z) == 3; }

bool WritePng(const char* path, const gfx::ArgbImage& image) {
    const std::vector<uint8_t> png = gfx::EncodePng(image, false, 6);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return !png.empty() && static_cast<bool>(out);
}

// Four frames a row: two paths, each a fifth and four fifths along its length.
gfx::ArgbImage ContactSheet(const RoomView& view, const std::string& media, int gamma) {
    constexpr uint32_t w = 240, h = 150, gap = 4;
    gfx::ArgbImage sheet(4 * w + 5 * gap, 5 * h + 6 * gap);
    for (int path = 0; path < 10; ++path)
        for (int k = 0; k < 2; ++k) {
            const std::string file = media + "/c" + std::to_string(path + 1) + ".cam";
            math::Vec3 eye, at;
            float end = 0;
            if (!RoomView::PathPose(file, 0, eye, at, end) ||
                !RoomView::PathPose(file, end * (k ? 0.8f : 0.2f), eye, at, end)) {
                std::fprintf(stderr, "roomview: cannot read %s\n", file.c_str());
                return {};
            }
            const gfx::ArgbImage frame = view.Render(eye, at, w, h, gamma);
            const uint32_t column = static_cast<uint32_t>(path % 2 * 2 + k), row = static_cast<uint32_t>(path / 2);
            for (uint32_t y = 0; y < h; ++y)
                std::copy(frame.Row(y), frame.Row(y) + w, sheet.Row(gap + row * (h + gap) + y) + gap + column * (w + gap));
        }
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: roomview MEDIA_DIR OUT.png [--eye X,Y,Z --at X,Y,Z | --path FILE --at-time T] "
                   "[--gamma G] [--size WxH] [--time HH:MM]\n", stderr);
        return 2;
    }
    const bool sheet = argc > 3 && std::string(argv[3]) == "--sheet";
    math::Vec3 eye{-200, 100, 0}, at{0, 100, 0};
    int width = 640, height = 400, gamma = 100, hours = 10, minutes = 10;
    std::string path;
    float pathTime = 0;
    for (int i = sheet ? 4 : 3; i + 1 < argc; i += 2) {
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
    if (sheet) {
        const gfx::ArgbImage image = ContactSheet(view, argv[1], gamma);
        if (image.width == 0) return 1;
        return WritePng(argv[2], image) ? 0 : 1;
    }
    float end = 0;
    if (!path.empty() && !RoomView::PathPose(std::string(argv[1]) + "/" + path, pathTime, eye, at, end)) {
        std::fprintf(stderr, "roomview: cannot read %s\n", path.c_str());
        return 1;
    }
    return WritePng(argv[2], view.Render(eye, at, width, height, gamma)) ? 0 : 1;
}
