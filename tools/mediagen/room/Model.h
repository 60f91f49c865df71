#pragma once
// The room as a tree of named objects before it is written: meshes in their node's coordinates,
// how each is lit, its render keys, its animation and its skin.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Mesh.h"

namespace room {

enum class Lighting {
    kLightMap,  // static surfaces: a baked light-map page in stage 1
    kVertex,    // moving or skinned parts: light baked into the vertex colours at rest
    kNone       // lit by the device (the landscape), glowing or see-through parts
};

// A key of the scene's animation format: time in seconds, then the value (x, y, z[, w]).
struct AnimationKey {
    float time = 0;
    float value[4] = {0, 0, 0, 0};
};

struct Skin {
    std::vector<std::string> boneNames;
    std::vector<int32_t> firstInfluence;  // per vertex
    std::vector<int32_t> influenceCount;  // per vertex
    std::vector<std::pair<int32_t, float>> influences;
};

struct SceneObject {
    std::string name;
    std::string type = "Mesh";  // "Mesh", "Dummy" or "bone"
    std::string material;
    Mesh mesh;
    Lighting lighting = Lighting::kLightMap;
    math::Mat4 nodeTM;  // relative to the parent
    // Render keys written as text ("Blend", "AlphaUse", "Lit"), and "Alpha" when >= 0.
    std::vector<std::pair<std::string, std::string>> keys;
    float alpha = -1;
    std::vector<AnimationKey> rotationKeys;
    std::vector<AnimationKey> positionKeys;
    bool linearKeys = false;  // straight between keys (a steady slide), not a curve through them
    Skin skin;
    bool castsShadow = true;  // glass, glow and the landscape let light through
    // Light of its own at a world position (the lamp's shade): all of its light map, not traced.
    std::function<float(Vec3)> glow;
    float lightMapDensity = 0.5f;  // texels per centimetre
    int lightMapPage = 0;          // set by the baker
    std::vector<SceneObject> children;
};

inline SceneObject Object(const char* name, const char* material, Lighting lighting = Lighting::kLightMap) {
    SceneObject o;
    o.name = name;
    o.material = material;
    o.lighting = lighting;
    return o;
}

struct MaterialDef {
    std::string name;
    std::string texture;  // file name in the media folder
    bool lightMapped = true;
    bool twoSided = false;
    float ambient = 1.0f;  // grey level of the material's ambient (and diffuse) colour
};

struct RoomModel {
    std::vector<SceneObject> objects;  // the top-level nodes
    std::vector<MaterialDef> materials;
};

// Calls `visit(object, world)` for every object of the tree, parents first.
template <typename Visit>
void ForEachObject(std::vector<SceneObject>& objects, const math::Mat4& parent, const Visit& visit) {
    for (SceneObject& o : objects) {
        const math::Mat4 world = math::Multiply(o.nodeTM, parent);
        visit(o, world);
        ForEachObject(o.children, world, visit);
    }
}

// Each part of the room adds its objects (Room.cpp, Clock.cpp, Furniture.cpp, WindowView.cpp).
void BuildRoomShell(RoomModel& model);
void BuildClock(RoomModel& model);
void BuildFurniture(RoomModel& model);
void BuildCurtain(RoomModel& model);
void BuildBookcase(RoomModel& model);
// The whole room: every part above, in the order the scene file keeps them.
void BuildRoom(RoomModel& model);
// What the window shows: the sky, hills and clouds outside and the rain on its panes.
void BuildWindowView(RoomModel& model);

// The pieces of furniture a camera keeps its distance from, each object belonging to one; the room's
// shell (floor, walls, ceiling and what lies flat on them) only keeps the camera inside.
enum class Piece { kShell, kClock, kLamp, kTable, kArmchair, kPicture, kWindow, kBookcase };
Piece PieceOf(const std::string& objectName);

}  // namespace room
