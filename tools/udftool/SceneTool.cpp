#include "SceneTool.h"

#include <cstdlib>
#include <memory>

#include "SceneFile.h"
#include "platform/gfx/Direct3D.h"
#include "platform/gfx/RecordingDevice.h"
#include "platform/gfx/States.h"
#include "platform/gfx/gl/HiddenWindow.h"
#include "platform/gfx/loader/ImageEncoders.h"
#include "scene/DeviceStateCache.h"
#include "scene/RenderDevice.h"
#include "scene/RenderSorter.h"

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
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    gl::HiddenWindow window(static_cast<int>(o.width), static_cast<int>(o.height));
    if (!window.NativeHandle()) return Fail(err, std::string("no window: ") + window.Error());
    Ref<Direct3D> d3d = PlatformDirect3DCreate9(D3D_SDK_VERSION);
    if (!d3d) return Fail(err, "no OpenGL 3.3 device");
    D3DPRESENT_PARAMETERS pp = gl::HiddenWindowParameters(o.width, o.height);
    Ref<Device> device;
    if (FAILED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window.NativeHandle(), D3DCREATE_HARDWARE_VERTEXPROCESSING, pp,
                                 device))) {
        return Fail(err, "cannot create the OpenGL device");
    }
    int status = 0;
    {
        PublishedDevice current(*device);
        LoadedScene loaded;
        if (!LoadSceneFile(o.file, *device, loaded)) return Fail(err, o.file + ": cannot read");
        if (!loaded.loaded) std::fprintf(err, "udftool: %s: the scene loaded only in part\n", o.file.c_str());
        if (!DrawFrame(*device, *loaded.scene, o)) std::fprintf(err, "udftool: some draws failed\n");
        std::vector<uint32_t> frame;
        uint32_t width = 0;
        uint32_t height = 0;
        if (FAILED(device->GetFrontBufferData(0, frame, width, height)) ||
            !WritePngFile(o.out.c_str(), frame, width, height, false, 6)) {
            status = Fail(err, o.out + ": cannot write");
        }
    }
    return status;
}
