#include "SceneTool.h"

#include <chrono>
#include <cstdlib>
#include <memory>

#include "SceneFile.h"
#include "platform/gfx/Direct3D.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/gfx/States.h"
#include "platform/gfx/HiddenWindow.h"
#include "platform/gfx/loader/ImageEncoders.h"
#include "resources/DataStream.h"
#include "resources/FileSource.h"
#include "scene/DeviceStateCache.h"
#include "scene/RenderDevice.h"
#include "scene/RenderSorter.h"
#include "shell/CameraPathFile.h"
#include "shell/CameraPathPlayer.h"

using namespace gfx;

namespace {

int Fail(std::FILE* err, const std::string& message) {
    std::fprintf(err, "udftool: %s\n", message.c_str());
    return 1;
}

bool ParseVector(const std::string& text, math::Vec3& out) {
    char* end = nullptr;
    const char* p = text.c_str();
    float values[3];
    for (int i = 0; i < 3; ++i) {
        values[i] = std::strtof(p, &end);
        if (end == p || (i < 2 && *end != ',')) return false;
        p = end + (i < 2 ? 1 : 0);
    }
    if (*end != '\0') return false;
    out = {values[0], values[1], values[2]};
    return true;
}

bool ParseNumber(const std::string& text, float& out) {
    char* end = nullptr;
    out = std::strtof(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

bool ParseWord(const std::string& text, uint32_t& out) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    out = static_cast<uint32_t>(value);
    return !text.empty() && *end == '\0' && value <= 0xFFFFFFFFul;
}

bool ParseSize(const std::string& text, uint32_t& width, uint32_t& height) {
    char* end = nullptr;
    const unsigned long w = std::strtoul(text.c_str(), &end, 10);
    if (*end != 'x') return false;
    const char* rest = end + 1;
    const unsigned long h = std::strtoul(rest, &end, 10);
    if (end == rest || *end != '\0' || w == 0 || h == 0 || w > 8192 || h > 8192) return false;
    width = static_cast<uint32_t>(w);
    height = static_cast<uint32_t>(h);
    return true;
}

struct RenderOptions {
    std::string file;
    std::string out;
    math::Vec3 eye{0, 0, -10};
    math::Vec3 at{0, 0, 0};
    math::Vec3 up{0, 1, 0};
    uint32_t width = 640;
    uint32_t height = 480;
    float fov = 1.0471976f;
    float time = 0;
    uint32_t ambient = 0xFF404040;
    uint32_t clear = 0xFF000000;
    std::string path;  // a camera path whose pose at pathTime replaces eye, at and up
    float pathTime = 0;
    uint32_t repeat = 0;  // frames drawn after the first and timed, the scene time advancing
};

bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& o) {
    if (args.empty()) return false;
    o.file = args[0];
    for (size_t i = 1; i + 1 < args.size(); i += 2) {
        const std::string& name = args[i];
        const std::string& value = args[i + 1];
        bool ok = false;
        if (name == "--out") ok = !(o.out = value).empty();
        else if (name == "--eye") ok = ParseVector(value, o.eye);
        else if (name == "--at") ok = ParseVector(value, o.at);
        else if (name == "--up") ok = ParseVector(value, o.up);
        else if (name == "--size") ok = ParseSize(value, o.width, o.height);
        else if (name == "--fov") ok = ParseNumber(value, o.fov);
        else if (name == "--time") ok = ParseNumber(value, o.time);
        else if (name == "--ambient") ok = ParseWord(value, o.ambient);
        else if (name == "--clear") ok = ParseWord(value, o.clear);
        else if (name == "--path") ok = !(o.path = value).empty();
        else if (name == "--path-time") ok = ParseNumber(value, o.pathTime);
        else if (name == "--repeat") ok = ParseWord(value, o.repeat);
        if (!ok) return false;
    }
    return args.size() % 2 == 1 && !o.out.empty();
}

// Clears, draws the scene as the application's scene pass does, and presents.
bool DrawFrame(Device& device, Scene& scene, const RenderOptions& o) {
    RenderCamera camera;
    camera.lookAt(o.eye, o.at, o.up);
    camera.setFov(o.fov);
    camera.setAspect(static_cast<float>(o.width) / static_cast<float>(o.height));
    RenderSorter sorter(camera);
    sorter.setLights(&scene.lights());
    sorter.flags = RenderContext::kExplicitTime;
    sorter.time = o.time;
    scene.root().playAnimation(0, scene.takeName(), true);

    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, o.clear, 1.0f, 0);
    device.BeginScene();
    DeviceStateCache::Get().setRenderState(D3DRS_AMBIENT, o.ambient);
    const bool ok = RunScenePass(scene.root(), sorter).flushed.ok;
    device.EndScene();
    return SUCCEEDED(device.Present()) && ok;
}

// Takes the eye, target and up of the camera path's pose, as the saver flies it.
bool TakePathPose(RenderOptions& o) {
    FileSource source{EngineString(o.path.c_str())};
    std::unique_ptr<DataStream> stream = source.Open(DataStream::kRead);
    Animation path;
    if (!stream || !LoadCameraPath(*stream, path)) return false;
    const CameraPose pose = PoseOnPath(path, o.pathTime);
    o.eye = pose.position;
    o.at = pose.position + pose.forward;
    o.up = pose.up;
    return true;
}

}  // namespace

int SceneCommand(const std::string& path, std::FILE* out, std::FILE* err) {
    RecordingDevice device;
    PublishedDevice current(device);
    LoadedScene loaded;
    if (!LoadSceneFile(path, device, loaded)) return Fail(err, path + ": cannot read");
    const std::string json = SceneToJson(*loaded.scene, loaded.loaded);
    std::fwrite(json.data(), 1, json.size(), out);
    std::fputc('\n', out);
    return 0;
}

int RenderCommand(const std::vector<std::string>& args, std::FILE* err) {
    RenderOptions o;
    if (!ParseRenderOptions(args, o)) return 2;
    if (!o.path.empty() && !TakePathPose(o)) return Fail(err, o.path + ": not a camera path");
    HiddenWindow window(static_cast<int>(o.width), static_cast<int>(o.height));
    if (!window.NativeHandle()) return Fail(err, std::string("no window: ") + window.Error());
    Ref<Direct3D> d3d = PlatformDirect3DCreate9(D3D_SDK_VERSION);
    if (!d3d) return Fail(err, "no 3D device (OpenGL 3.3 on Linux, Direct3D 9 on Windows)");
    D3DPRESENT_PARAMETERS pp = HiddenWindowParameters(o.width, o.height);
    Ref<Device> device;
    if (FAILED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window.NativeHandle(), D3DCREATE_HARDWARE_VERTEXPROCESSING, pp,
                                 device))) {
        return Fail(err, "cannot create the 3D device");
    }
    int status = 0;
    {
        PublishedDevice current(*device);
        LoadedScene loaded;
        if (!LoadSceneFile(o.file, *device, loaded)) return Fail(err, o.file + ": cannot read");
        if (!loaded.loaded) std::fprintf(err, "udftool: %s: the scene loaded only in part\n", o.file.c_str());
        if (!DrawFrame(*device, *loaded.scene, o)) std::fprintf(err, "udftool: some draws failed\n");
        const auto start = std::chrono::steady_clock::now();
        RenderOptions later = o;
        for (uint32_t i = 1; i <= o.repeat; ++i) {
            later.time = o.time + static_cast<float>(i) / 30.0f;
            if (!DrawFrame(*device, *loaded.scene, later)) std::fprintf(err, "udftool: some draws failed\n");
        }
        std::vector<uint32_t> frame;
        uint32_t width = 0;
        uint32_t height = 0;
        // Reading the last frame back also waits for every frame to be finished.
        const bool read = SUCCEEDED(device->GetFrontBufferData(0, frame, width, height));
        if (o.repeat > 0) {
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::fprintf(err, "udftool: %u frames in %.3f s: %.2f frames a second\n", o.repeat, seconds,
                         o.repeat / seconds);
        }
        if (!read || !WritePngFile(o.out.c_str(), frame, width, height, false, 6)) {
            status = Fail(err, o.out + ": cannot write");
        }
    }
    return status;
}
