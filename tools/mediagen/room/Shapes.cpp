#include "Shapes.h"

#include <cmath>

namespace room {

namespace {

// Splits a profile where its direction turns sharply; each run is smooth inside and gets the
// outward normal of each point (profile "right" of its direction of travel).
struct ProfileRun {
    std::vector<Vec2> points;
    std::vector<Vec2> normals;
    std::vector<float> lengths;  // arc length from the profile's start
};

Vec2 SegmentNormal(Vec2 a, Vec2 b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float l = std::sqrt(dx * dx + dy * dy);
    return l > 0 ? Vec2{dy / l, -dx / l} : Vec2{1, 0};
}

std::vector<ProfileRun> ProfileRuns(const std::vector<Vec2>& profile) {
    std::vector<ProfileRun> runs;
    ProfileRun run;
    float arc = 0;
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        const Vec2 n = SegmentNormal(profile[i], profile[i + 1]);
        if (run.points.empty()) {
            run.points.push_back(profile[i]);
            run.normals.push_back(n);
            run.lengths.push_back(arc);
        } else {
            const Vec2 previous = run.normals.back();
            if (previous.x * n.x + previous.y * n.y < 0.64f) {  // about 50 degrees: a crease
                runs.push_back(run);
                run = {};
                run.points.push_back(profile[i]);
                run.normals.push_back(n);
                run.lengths.push_back(arc);
            } else {
                Vec2 mean{previous.x + n.x, previous.y + n.y};
                const float l = std::sqrt(mean.x * mean.x + mean.y * mean.y);
                run.normals.back() = l > 0 ? Vec2{mean.x / l, mean.y / l} : n;
            }
        }
        const float dx = profile[i + 1].x - profile[i].x, dy = profile[i + 1].y - profile[i].y;
        arc += std::sqrt(dx * dx + dy * dy);
        run.points.push_back(profile[i + 1]);
        run.normals.push_back(n);
        run.lengths.push_back(arc);
    }
    if (run.points.size() >= 2) runs.push_back(run);
    return runs;
}

}  // namespace

void AddQuad(Mesh& mesh, Vec3 origin, Vec3 edgeU, Vec3 edgeV, Vec3 normal, Vec2 uv0, Vec2 uv1, int columns,
             int rows) {
    mesh.AddPatch(columns, rows, [&](int i, int j) {
        const float u = static_cast<float>(i) / (columns - 1), v = static_cast<float>(j) / (rows - 1);
        return GridPoint{origin + edgeU * u + edgeV * v, normal,
                         {uv0.x + (uv1.x - uv0.x) * u, uv0.y + (uv1.y - uv0.y) * v}};
    });
}

void AddBox(Mesh& mesh, Vec3 lo, Vec3 hi, float tile, unsigned faces, bool inward) {
    const float s = inward ? -1.0f : 1.0f;
    const Vec3 d = hi - lo;
    const auto face = [&](unsigned bit, Vec3 origin, Vec3 eu, Vec3 ev, Vec3 n, float lu, float lv, Vec2 start) {
        if (!(faces & bit)) return;
        AddQuad(mesh, origin, eu, ev, n * s, start, {start.x + lu / tile, start.y + lv / tile});
    };
    // Texture coordinates continue from world position so neighbouring boxes line up; v runs down.
    face(kFaceMinX, {lo.x, hi.y, lo.z}, {0, 0, d.z}, {0, -d.y, 0}, {-1, 0, 0}, d.z, d.y, {lo.z / tile, -hi.y / tile});
    face(kFaceMaxX, {hi.x, hi.y, hi.z}, {0, 0, -d.z}, {0, -d.y, 0}, {1, 0, 0}, d.z, d.y, {-hi.z / tile, -hi.y / tile});
    face(kFaceMinZ, {hi.x, hi.y, lo.z}, {-d.x, 0, 0}, {0, -d.y, 0}, {0, 0, -1}, d.x, d.y, {-hi.x / tile, -hi.y / tile});
    face(kFaceMaxZ, {lo.x, hi.y, hi.z}, {d.x, 0, 0}, {0, -d.y, 0}, {0, 0, 1}, d.x, d.y, {lo.x / tile, -hi.y / tile});
    face(kFaceMaxY, {lo.x, hi.y, lo.z}, {d.x, 0, 0}, {0, 0, d.z}, {0, 1, 0}, d.x, d.z, {lo.x / tile, lo.z / tile});
    face(kFaceMinY, {lo.x, lo.y, hi.z}, {d.x, 0, 0}, {0, 0, -d.z}, {0, -1, 0}, d.x, d.z, {lo.x / tile, -hi.z / tile});
}

void AddLathe(Mesh& mesh, const std::vector<Vec2>& profile, int segments, const math::Mat4& place, float repeatsAround,
              float tileAlong, float from, float to) {
    for (const ProfileRun& run : ProfileRuns(profile)) {
        Mesh part;
        part.AddPatch(segments + 1, static_cast<int>(run.points.size()), [&](int i, int j) {
            const float a = from + (to - from) * static_cast<float>(i) / segments;
            const float c = std::cos(a), s = std::sin(a);
            const Vec2 p = run.points[static_cast<size_t>(j)], n = run.normals[static_cast<size_t>(j)];
            return GridPoint{{p.x * c, p.y, p.x * s},
                             {n.x * c, n.y, n.x * s},
                             {static_cast<float>(i) / segments * repeatsAround,
                              run.lengths[static_cast<size_t>(j)] / tileAlong}};
        });
        part.Transform(place);
        mesh.Append(part);
    }
}

void AddExtrusion(Mesh& mesh, const std::vector<Vec2>& profile, Vec3 start, Vec3 direction, float length, Vec3 out,
                  Vec3 up, float tile) {
    for (const ProfileRun& run : ProfileRuns(profile)) {
        mesh.AddPatch(2, static_cast<int>(run.points.size()), [&](int i, int j) {
            const Vec2 p = run.points[static_cast<size_t>(j)], n = run.normals[static_cast<size_t>(j)];
            const float along = i ? length : 0.0f;
            return GridPoint{start + direction * along + out * p.x + up * p.y, out * n.x + up * n.y,
                             {along / tile, run.lengths[static_cast<size_t>(j)] / tile}};
        });
    }
}

math::Mat4 Frame(Vec3 origin, Vec3 yAxis, Vec3 zAxis) {
    const Vec3 y = math::Normalize(yAxis), z = math::Normalize(zAxis);
    const Vec3 x = math::Normalize(math::Cross(y, z));
    math::Mat4 m;
    const Vec3 rows[4] = {x, y, z, origin};
    for (int r = 0; r < 4; ++r) {
        m(r, 0) = rows[r].x;
        m(r, 1) = rows[r].y;
        m(r, 2) = rows[r].z;
        m(r, 3) = r == 3 ? 1.0f : 0.0f;
    }
    return m;
}

}  // namespace room
