#pragma once
// Geometry of the room as the generator builds it: triangle lists whose every triangle belongs to
// a grid patch. A patch is a surface parameterised by a (column, row) grid, so its light-map chart
// is a rectangle, and any texel of the chart maps back to a point and normal on the surface.

#include <cstdint>
#include <functional>
#include <vector>

#include "common/math/Math.h"

namespace room {

using math::Vec2;
using math::Vec3;

struct MeshVertex {
    Vec3 position;
    Vec3 normal;
    Vec2 uv;        // surface texture
    Vec2 lightUv;   // light-map chart, filled by the packer
    uint32_t color = 0xFFFFFFFF;  // baked vertex light (ARGB) for meshes without a light map
};

// One grid patch: `columns` x `rows` vertices from `firstVertex`, row by row.
struct Chart {
    uint32_t firstVertex = 0;
    int columns = 0;
    int rows = 0;
    // Normalised arc length of each grid line, so texels spread evenly over curved patches.
    std::vector<float> uParams;
    std::vector<float> vParams;
    float width = 0;   // surface extent along the columns and rows, in centimetres
    float height = 0;
    // Place in the light-map page (texels, padding included), set by the packer.
    int page = 0, x = 0, y = 0, texelsU = 0, texelsV = 0;
};

struct GridPoint {
    Vec3 position;
    Vec3 normal;  // the side the surface faces; the winding follows it
    Vec2 uv;
};

class Mesh {
public:
    // Adds a patch of columns x rows points given by `at(column, row)`.
    void AddPatch(int columns, int rows, const std::function<GridPoint(int, int)>& at);
    // Moves every vertex (normals by the rotation part).
    void Transform(const math::Mat4& m);
    void Append(const Mesh& other);

    std::vector<MeshVertex> vertices;
    std::vector<uint32_t> indices;
    std::vector<Chart> charts;

    size_t TriangleCount() const { return indices.size() / 3; }
};

// The surface point of chart `c` at grid parameters (u, v) in [0, 1], bilinear within a cell.
void ChartPoint(const Mesh& mesh, const Chart& c, float u, float v, Vec3& position, Vec3& normal);

}  // namespace room
