// The "room" kind of media: the clock room's scene, textures, light maps, camera paths and scene
// settings, written into the media folder.
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "CameraPaths.h"
#include "LightBaker.h"
#include "MediaGenerator.h"
#include "Model.h"
#include "SceneFile.h"
#include "Textures.h"
#include "platform/gfx/loader/ImageEncoders.h"

namespace room {

namespace {

namespace fs = std::filesystem;

std::vector<MaterialDef> RoomMaterials() {
    return {
        {"Floor", "Floor.dds"},
        {"Plaster", "Plaster.dds"},
        {"Wallpaper", "Wallpaper.dds"},
        {"Panelling", "Panelling.dds"},
        {"Walnut", "Walnut.dds"},
        {"Paint", "Paint.dds"},
        {"Brass", "Brass.dds"},
        {"Dial", "Dial.dds"},
        {"Gilt", "Gilt.dds"},
        {"Painting", "Painting.dds"},
        {"Rug", "Rug.dds"},
        {"Leather", "Leather.dds"},
        {"Bindings", "Bindings.dds"},
        {"Wax", "Wax.dds"},
        {"Upholstery", "Upholstery.dds"},
        {"Parchment", "Lampshade.dds"},
        {"Blued steel", "Steel.dds", false},
        {"Pendulum brass", "Bob.dds", false},
        {"Velvet", "Velvet.dds", false, true},
        {"Glass", "Glass.dds", false},
        {"Lampshade", "Lampshade.dds", false},
        {"Rain", "Rain.png", false},
        {"Rain trickles", "RainTrickles.png", false},
        // Lit by the device's ambient colour (half grey, more in a flash) and no light.
        {"Landscape", "Landscape.dds", false, false, 1.0f},
        // Drawn as painted, with the room: the flashes light the sky behind them.
        {"Clouds", "Clouds.png", false},
    };
}

const char kSceneProps[] =
    "// Settings of the clock room: colours, projection, fog, the camera's speed, the storm's timing\n"
    "// and the camera paths.\n"
    "Ambient = array(255, 255, 255);\n"
    "BgColor = array(0, 0, 0);\n"
    "FogColor = array(100, 100, 100);\n"
    "NearPlane = 0.1;\n"
    "FarPlane = 1000;\n"
    "FogStart = 2000;\n"
    "FogEnd = 2000;\n"
    "Fov = 70;\n"
    "CamSpeed = 0.1;\n"
    "QuietTime = 3000;\n"
    "WinkTime = 1000;\n"
    "Debug = 0;\n"
    "Animations = array(\"c1.cam\", \"c2.cam\", \"c3.cam\", \"c4.cam\", \"c5.cam\", \"c6.cam\", \"c7.cam\", \"c8.cam\",\n"
    "                   \"c9.cam\", \"c10.cam\");\n";

bool Fail(const char* what) {
    std::fprintf(stderr, "room: cannot write %s\n", what);
    return false;
}

bool GenerateRoom(const fs::path& media) {
    RoomModel model;
    BuildRoom(model);
    model.materials = RoomMaterials();

    const std::vector<paint::Canvas> pages = BakeLighting(model, 2);
    for (size_t i = 0; i < pages.size(); ++i)
        if (!WriteMediaFile(media / LightMapFile(static_cast<int>(i)), gfx::EncodePng(pages[i].ToImage(), false, 9)))
            return false;
    for (const TextureDef& t : PaintTextures()) {
        const gfx::ArgbImage image = t.picture.ToImage();
        if (!WriteMediaFile(media / t.file, t.alpha ? gfx::EncodePng(image, true, 9) : gfx::EncodeDxt1Dds(image)))
            return false;
    }
    if (!WriteSceneFile((media / "clock.UDF").string(), model)) return Fail("clock.UDF");
    for (const CameraPath& path : CameraPaths())
        if (!WriteCameraPath((media / path.file).string(), path)) return Fail(path.file.c_str());
    std::ofstream props(media / "Scene.props", std::ios::binary);
    props << kSceneProps;
    if (!props) return Fail("Scene.props");
    size_t triangles = 0;
    ForEachObject(model.objects, math::Identity(),
                  [&](const SceneObject& o, const math::Mat4&) { triangles += o.mesh.TriangleCount(); });
    std::printf("room: %zu triangles, %zu light-map pages\n", triangles, pages.size());
    return true;
}

const MediaGeneratorRegistration registration({"room", GenerateRoom});

}  // namespace

}  // namespace room
