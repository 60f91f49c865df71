#pragma once
// Writes the room as a scene file of the binary data format: the material library (light-mapped
// materials carry their page as sub-material "LightMap", id 1) and the node tree with meshes,
// skins and animations.

#include <string>

#include "Model.h"

namespace room {

// Vertex formats of the room's meshes.
inline constexpr int kFvfLightMapped = 0x212;  // position, normal, two texture coordinate sets
inline constexpr int kFvfVertexLit = 0x152;    // position, normal, diffuse colour, one set
inline constexpr int kFvfPlain = 0x112;        // position, normal, one set

// The light-map page file of page `index`.
std::string LightMapFile(int index);

bool WriteSceneFile(const std::string& path, const RoomModel& model);

}  // namespace room
