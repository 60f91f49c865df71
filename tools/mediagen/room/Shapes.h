#pragma once
// The few surfaces the room is made of, each added to a mesh as grid patches. Texture coordinates
// follow the surface in centimetres divided by `tile` (the size one texture repeat covers).

#include <vector>

#include "Mesh.h"

namespace room {

enum BoxFace : unsigned {
    kFaceMinX = 1, kFaceMaxX = 2, kFaceMinY = 4, kFaceMaxY = 8, kFaceMinZ = 16, kFaceMaxZ = 32,
    kAllFaces = 63
};

// A parallelogram from `origin` along `edgeU` and `edgeV`, facing `normal`; texture coordinates
// run from `uv0` at the origin to `uv1` at the far corner. `columns` x `rows` grid points.
void AddQuad(Mesh& mesh, Vec3 origin, Vec3 edgeU, Vec3 edgeV, Vec3 normal, Vec2 uv0, Vec2 uv1,
             int columns = 2, int rows = 2);

// An axis-aligned box; `inward` turns its faces inside (a room seen from within).
void AddBox(Mesh& mesh, Vec3 min, Vec3 max, float tile, unsigned faces = kAllFaces, bool inward = false);

// A profile of (radius, height) points turned about the local y axis from angle `from` to `to`,
// then placed by `place`; the texture repeats `repeatsAround` times around. Corners sharper than about 50 degrees keep hard edges.
void AddLathe(Mesh& mesh, const std::vector<Vec2>& profile, int segments, const math::Mat4& place,
              float repeatsAround, float tileAlong, float from = 0, float to = 6.2831853f);

// A profile of (out, up) offsets swept from `start` along `direction` for `length`.
void AddExtrusion(Mesh& mesh, const std::vector<Vec2>& profile, Vec3 start, Vec3 direction, float length, Vec3 out,
                  Vec3 up, float tile);

// Rows and columns of a matrix placing local axes at `origin`: x = y-axis x z-axis.
math::Mat4 Frame(Vec3 origin, Vec3 yAxis, Vec3 zAxis);

}  // namespace room
