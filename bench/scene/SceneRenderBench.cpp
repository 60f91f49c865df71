// The scene pass on a generated room-sized scene (300 nodes, 30,000 triangles, 40 textured
// materials, 20 transparent meshes, one skinned mesh of 2,000 vertices, three lights) on a
// device that draws nothing: engine CPU per frame, heap allocations per steady frame, and device
// state calls beside the state changes they make. Also loading the scene from memory beside
// memcpy of its bytes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "AllocationCounter.h"
#include "CountingDevice.h"
#include "scene/RenderDevice.h"
#include "scene/RenderSorter.h"
#include "scene/Scene.h"
#include "scene/SceneFiles.h"
#include "textures/TextureManager.h"

using namespace scenefiles;

namespace {

constexpr int kMaterials = 40;
constexpr int kGroups = 15;
constexpr int kStaticMeshes = 280;  // 20 of them transparent
constexpr int kTransparent = 20;

// "prefix" followed by the number (built without string concatenation, which GCC 12 misjudges
// in optimised builds).
std::string Numbered(const char* prefix, int number) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%d", prefix, number);
    return name;
}

// A grid of columns x rows vertices in the z = 0 plane, `triangles` triangles of it.
UdfNode* AddGrid(UdfNode& parent, const char* name, const math::Mat4& nodeTM, int columns, int rows, int triangles) {
    std::vector<Vertex> vertices;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const float u = static_cast<float>(c) / static_cast<float>(columns - 1);
            const float v = static_cast<float>(r) / static_cast<float>(rows - 1);
            vertices.push_back({u * 4, v * 4, 0, 0, 0, -1, u, v, u, v});
        }
    std::vector<uint16_t> indices;
    for (int r = 0; r + 1 < rows && static_cast<int>(indices.size()) < triangles * 3; ++r)
        for (int c = 0; c + 1 < columns && static_cast<int>(indices.size()) < triangles * 3; ++c) {
            const auto i = static_cast<uint16_t>(r * columns + c);
            const auto down = static_cast<uint16_t>(i + columns);
            for (uint16_t k : {i, down, uint16_t(i + 1), uint16_t(i + 1), down, uint16_t(down + 1)}) indices.push_back(k);
        }
    indices.resize(static_cast<size_t>(triangles) * 3);
    return AddMesh(parent, name, nodeTM, vertices, indices);
}

std::vector<uint8_t> BuildRoomSizedScene(const std::string& folder) {
    auto root = MakeRoot();
    UdfNode* materials = AddStruct(*root, "Materials", "Material");
    for (int m = 0; m < kMaterials; ++m) {
        const std::string file = Numbered("t", m) + ".tga";
        const uint32_t colour = 0xFF000000u | static_cast<uint32_t>(m * 0x050301);
        WriteTga(Numbered((folder + "/t").c_str(), m) + ".tga", 4, 4, std::vector<uint32_t>(16, colour), false);
        UdfNode* material = AddStruct(*materials, Numbered("M", m).c_str(), "Material");
        AddColor(*material, "Diffuse", 1, 0.8f, 0.8f, 0.8f);
        AddStruct(*AddStruct(*material, "Textures", "Texture"), "Map", "Diffuse")->AddString("FileName", file.c_str());
    }
    UdfNode* lights = AddStruct(*root, "Lights", "Light");
    AddNode(*lights, "Sun", "DirLight", math::RotationX(0.5f));
    UdfNode* lamp = AddNode(*lights, "Lamp", "PointLight", math::Translation(-10, 5, 10));
    lamp->AddReal("AttStart", 10);
    lamp->AddReal("AttEnd", 25);
    UdfNode* spot = AddNode(*lights, "Spot", "SpotLight", math::Translation(10, 20, 15));
    spot->AddReal("AttEnd", 40);
    spot->AddReal("HotSpot", 0.6f);
    spot->AddReal("FallOff", 0.9f);

    UdfNode* children = AddStruct(*root, "Children", "Node");
    std::vector<UdfNode*> groups;
    for (int g = 0; g < kGroups; ++g) {
        UdfNode* group = AddNode(*children, Numbered("Group", g).c_str(), "Dummy",
                                 math::Translation(static_cast<float>(g % 5) * 16 - 40, static_cast<float>(g / 5) * 16 - 24, 0));
        groups.push_back(AddStruct(*group, "Children", "Node"));
    }
    for (int i = 0; i < kStaticMeshes; ++i) {
        const float x = static_cast<float>(i % 4) * 4;
        const float y = static_cast<float>((i / 4) % 3) * 4;
        const float z = static_cast<float>(i / 12) * 1.5f;
        UdfNode* mesh = AddGrid(*groups[static_cast<size_t>(i % kGroups)], Numbered("Mesh", i).c_str(),
                                math::Translation(x, y, z), 6, 11, 100);
        mesh->AddString("MaterialName", Numbered("M", i % kMaterials).c_str());
        if (i % (kStaticMeshes / kTransparent) == 0) {
            mesh->AddString("AlphaUse", "texture factor");
            mesh->AddReal("Alpha", 0.5f);
        }
    }
    // Four animated bones carrying one skinned grid of 2,000 vertices.
    std::vector<std::vector<Influence>> influences;
    for (int v = 0; v < 2000; ++v) {
        const int bone = (v % 20) / 5;
        influences.push_back({{bone, 0.75f}, {(bone + 1) % 4, 0.25f}});
    }
    for (int b = 0; b < 4; ++b) {
        UdfNode* bone = AddNode(*children, Numbered("Bone", b).c_str(), "Bone",
                                math::Translation(static_cast<float>(b), 0, -5));
        UdfNode* rotation = AddStruct(*AddStruct(*bone, "Animation", "Animation"), "Rotation", "Sample");
        for (int k = 0; k < 16; ++k) {
            const AnimationKey key =
                AnimationKey::Rotation(static_cast<float>(k) / 15.0f, math::QuatRotationAxis({0, 0, 1}, 0.05f * static_cast<float>(k)));
            rotation->AddData(std::to_string(k).c_str(), "AniKey", &key, sizeof(key), true);
        }
    }
    UdfNode* skin = AddGrid(*children, "Curtain", math::Translation(0, 0, -5), 20, 100, 2000);
    skin->AddString("MaterialName", "M0");
    AddSkin(*skin, {"Bone0", "Bone1", "Bone2", "Bone3"}, influences);
    return SaveBytes(*root, folder + "/room.udf");
}

// One scene shared by the benchmarks, on the counting device.
struct Fixture {
    std::string folder;
    CountingDevice device;
    PublishedDevice published{device};
    std::vector<uint8_t> bytes;
    FileSearchList files;
    std::unique_ptr<TextureManager> textures;
    std::unique_ptr<Scene> scene;

    Fixture() {
        std::string pattern = (std::filesystem::temp_directory_path() / "scene-bench-XXXXXX").string();
        folder = mkdtemp(pattern.data()) ? pattern : std::string(".");
        bytes = BuildRoomSizedScene(folder);
        files.Add(FileSource(EngineString(folder.c_str())));
        textures = std::make_unique<TextureManager>(&device);
        SceneContext context;
        context.files = &files;
        context.textures = textures.get();
        scene = std::make_unique<Scene>(context);
        if (!scene->loadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), "")) std::abort();
        scene->root().playAnimation(0, "", true);
    }
    ~Fixture() {
        scene.reset();
        textures.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_ScenePass(benchmark::State& state) {
    Fixture& f = Shared();
    RenderCamera camera;
    camera.lookAt({0, 0, -60}, {0, 0, 0}, {0, 1, 0});
    camera.setAspect(4.0f / 3.0f);
    RenderSorter sorter(camera);
    float time = 0;
    auto frame = [&] {
        sorter.reset(camera);
        sorter.setLights(&f.scene->lights());
        sorter.flags = RenderContext::kExplicitTime;
        sorter.time = time;
        time += 1.0f / 60;
        if (time > 1) time = 0;
        if (!RunScenePass(f.scene->root(), sorter).flushed.ok) std::abort();
    };
    frame();  // the first frame fills the sorter's storage and the state cache
    f.device.resetCounts();
    const long allocationsBefore = AllocationCount();
    for (auto _ : state) frame();
    const auto frames = static_cast<double>(state.iterations());
    state.counters["allocs/frame"] = static_cast<double>(AllocationCount() - allocationsBefore) / frames;
    state.counters["draws/frame"] = static_cast<double>(f.device.draws) / frames;
    state.counters["calls/frame"] = static_cast<double>(f.device.calls) / frames;
    state.counters["changes/frame"] = static_cast<double>(f.device.changes) / frames;
    state.counters["calls/change"] =
        f.device.changes ? static_cast<double>(f.device.calls) / static_cast<double>(f.device.changes) : 0.0;
}
BENCHMARK(BM_ScenePass)->Unit(benchmark::kMicrosecond);

void BM_LoadSceneFromMemory(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        // Textures are left out: they are the texture manager's to load, from their own files.
        Scene scene{SceneContext{}};
        if (!scene.loadFromMemory(f.bytes.data(), static_cast<uint32_t>(f.bytes.size()), "")) std::abort();
        benchmark::DoNotOptimize(scene.rootChildren().size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes.size()));
}
BENCHMARK(BM_LoadSceneFromMemory)->Unit(benchmark::kMillisecond);

void BM_MemcpySceneBytes(benchmark::State& state) {
    Fixture& f = Shared();
    std::vector<uint8_t> copy(f.bytes.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), f.bytes.data(), f.bytes.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes.size()));
}
BENCHMARK(BM_MemcpySceneBytes)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
