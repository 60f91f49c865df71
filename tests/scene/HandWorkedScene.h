#pragma once
// A small scene whose pixels can be worked out by hand, seen from (0, 0, -10) looking at the
// origin with a 60 degree field of view: a 3 x 3 grid of tests 4 units apart.
//   top:    a square lit by a point light, one lit by a spot light, a light-mapped square
//   middle: two transparent squares (texture x factor alpha 0.25) over a backdrop, an additive
//           square over a backdrop, a two-sided square seen from behind
//   bottom: a skinned strip of four bones, a one-sided square seen from behind (culled)

#include <string>

#include "SceneFiles.h"

namespace scenefiles {

// Writes the textures beside `folder/scene.udf` and returns the scene file's tree.
inline std::unique_ptr<UdfNode> BuildHandWorkedScene(const std::string& folder) {
    auto texture = [&](const char* name, std::vector<uint32_t> texels, uint32_t width = 2) {
        WriteTga(folder + "/" + name, width, static_cast<uint32_t>(texels.size()) / width, texels, false);
    };
    texture("base.tga", {0xFF806040, 0xFF806040, 0xFF806040, 0xFF806040});
    texture("lightmap.tga", {0xFF808040, 0xFFFFFFFF}, 2);
    texture("blue.tga", {0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF});
    texture("green.tga", {0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00});
    texture("red.tga", {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000});
    texture("grey.tga", {0xFF404040, 0xFF404040, 0xFF404040, 0xFF404040});
    texture("glow.tga", {0xFF306010, 0xFF306010, 0xFF306010, 0xFF306010});
    texture("leaf.tga", {0xFF20C020, 0xFF20C020, 0xFF20C020, 0xFF20C020});
    texture("yellow.tga", {0xFFC0C000, 0xFFC0C000, 0xFFC0C000, 0xFFC0C000});

    auto root = MakeRoot();
    UdfNode* materials = AddStruct(*root, "Materials", "Material");
    auto material = [&](const char* name, const char* file) {
        UdfNode* m = AddStruct(*materials, name, "Material");
        if (file) AddStruct(*AddStruct(*m, "Textures", "Texture"), "Map #1", "Diffuse")->AddString("FileName", file);
        return m;
    };
    AddColor(*material("Orange", nullptr), "Diffuse", 1, 1, 0.5f, 0.25f);
    AddColor(*material("White", nullptr), "Diffuse", 1, 1, 1, 1);
    UdfNode* wall = AddStruct(*materials, "Wall", "Material");
    UdfNode* subs = AddStruct(*wall, "Materials", "Material");
    UdfNode* base = AddStruct(*subs, "Wall base", "Material");
    base->AddInt("MaterialSubId", 0);
    AddStruct(*AddStruct(*base, "Textures", "Texture"), "Map #2", "Diffuse")->AddString("FileName", "base.tga");
    UdfNode* light = AddStruct(*subs, "Wall LightMap", "Material");
    light->AddInt("MaterialSubId", 1);
    AddStruct(*AddStruct(*light, "Textures", "Texture"), "Map #3", "Diffuse")->AddString("FileName", "lightmap.tga");
    for (const char* name : {"blue", "green", "red", "grey", "glow", "yellow"})
        material(name, (std::string(name) + ".tga").c_str());
    material("leaf", "leaf.tga")->AddInt("TwoSided", 1);

    UdfNode* lights = AddStruct(*root, "Lights", "Light");
    UdfNode* point = AddNode(*lights, "Lamp", "PointLight", math::Translation(-4, 4, -2));
    point->AddReal("AttStart", 2);
    point->AddReal("AttEnd", 3);
    AddColor(*point, "Diffuse", 1, 1, 1, 1);
    // Turned so that its local -Y axis points along +Z, at the square.
    UdfNode* spot = AddNode(*lights, "Spot", "SpotLight", math::Multiply(math::RotationX(-1.5707963f), math::Translation(0, 4, -2)));
    spot->AddReal("AttStart", 2);
    spot->AddReal("AttEnd", 3);
    spot->AddReal("HotSpot", 1.5f);
    spot->AddReal("FallOff", 2.0f);
    AddColor(*spot, "Diffuse", 1, 0.5f, 1, 1);

    UdfNode* children = AddStruct(*root, "Children", "Node");
    auto square = [&](const char* name, float cx, float cy, float half, float z, const char* materialName,
                      bool unlit = true) {
        UdfNode* mesh = AddSquareMesh(*children, name, cx, cy, half, z);
        mesh->AddString("MaterialName", materialName);
        if (unlit) mesh->AddString("Lit", "0");
        return mesh;
    };
    square("PointLit", -4, 4, 1, 0, "Orange", false);
    square("SpotLit", 0, 4, 1, 0, "White", false);
    {
        // Coordinate set 1 samples the light map's left texel everywhere; set 0 spans the square.
        std::vector<Vertex> vertices;
        std::vector<uint16_t> indices;
        Square(4, 4, 1, 0, vertices, indices);
        for (Vertex& v : vertices) v.u1 = 0.25f, v.v1 = 0.5f;
        UdfNode* mesh = AddMesh(*children, "LightMapped", math::Identity(), vertices, indices);
        mesh->AddString("MaterialName", "Wall");
        mesh->AddString("Lit", "0");
    }
    square("GlassBackdrop", -4, 0, 2.5f, 2, "blue");
    for (const auto& [name, colour, z] : {std::tuple{"GlassNear", "red", 0.0f}, std::tuple{"GlassFar", "green", 1.0f}}) {
        UdfNode* glass = square(name, -4, 0, 1, z, colour);
        glass->AddString("AlphaUse", "texture factor");
        glass->AddReal("Alpha", 0.25f);
    }
    square("GlowBackdrop", 0, 0, 1.5f, 2, "grey");
    square("Glow", 0, 0, 1, 0, "glow")->AddString("Blend", "additive");
    {
        std::vector<Vertex> vertices;
        std::vector<uint16_t> indices;
        Square(4, 0, 1, 0, vertices, indices);
        std::swap(indices[1], indices[2]);
        std::swap(indices[4], indices[5]);
        UdfNode* leaf = AddMesh(*children, "Leaf", math::Identity(), vertices, indices);
        leaf->AddString("MaterialName", "leaf");
        leaf->AddString("Lit", "0");
        Square(4, -4, 1, 0, vertices, indices);
        std::vector<uint16_t> back(indices.begin() + 6, indices.end());
        for (uint16_t& i : back) i = static_cast<uint16_t>(i - 4);
        std::swap(back[1], back[2]);
        std::swap(back[4], back[5]);
        std::vector<Vertex> lastFour(vertices.begin() + 4, vertices.end());
        AddMesh(*children, "OneSided", math::Identity(), lastFour, back)->AddString("MaterialName", "grey");
    }
    {
        // Four bones along the bottom row, each carrying one small square.
        std::vector<Vertex> vertices;
        std::vector<uint16_t> indices;
        std::vector<std::vector<Influence>> influences;
        for (int b = 0; b < 4; ++b) {
            const float x = -5.0f + 1.5f * static_cast<float>(b);
            AddNode(*children, ("Bone" + std::to_string(b)).c_str(), "Bone", math::Translation(x, -4, 0));
            Square(x, -4, 0.5f, 0, vertices, indices);
            for (int k = 0; k < 4; ++k) influences.push_back({{b, 1.0f}});
        }
        UdfNode* strip = AddMesh(*children, "Strip", math::Identity(), vertices, indices);
        strip->AddString("MaterialName", "yellow");
        strip->AddString("Lit", "0");
        AddSkin(*strip, {"Bone0", "Bone1", "Bone2", "Bone3"}, influences);
    }
    return root;
}

}  // namespace scenefiles
