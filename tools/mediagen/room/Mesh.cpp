#include "Mesh.h"

#include <algorithm>
#include <cmath>

namespace room {

namespace {

// Cumulative lengths of the grid lines, averaged over the other direction and normalised.
std::vector<float> LineParams(const Mesh& mesh, uint32_t first, int columns, int rows, bool alongColumns,
                              float& extent) {
    const int count = alongColumns ? columns : rows;
    const int across = alongColumns ? rows : columns;
    std::vector<float> params(static_cast<size_t>(count), 0.0f);
    for (int k = 0; k < across; ++k) {
        float sum = 0;
        for (int i = 1; i < count; ++i) {
            const auto index = [&](int at) {
                return first + static_cast<uint32_t>(alongColumns ? k * columns + at : at * columns + k);
            };
            sum += math::Length(mesh.vertices[index(i)].position - mesh.vertices[index(i - 1)].position);
            params[static_cast<size_t>(i)] += sum;
        }
    }
    extent = params.back() / static_cast<float>(across);
    if (params.back() <= 0) {
        for (int i = 0; i < count; ++i) params[static_cast<size_t>(i)] = static_cast<float>(i) / (count - 1);
    } else {
        const float total = params.back();
        for (float& p : params) p /= total;
    }
    return params;
}

}  // namespace

void Mesh::AddPatch(int columns, int rows, const std::function<GridPoint(int, int)>& at) {
    Chart chart;
    chart.firstVertex = static_cast<uint32_t>(vertices.size());
    chart.columns = columns;
    chart.rows = rows;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i) {
            const GridPoint p = at(i, j);
            vertices.push_back({p.position, math::Normalize(p.normal), p.uv, {}, 0xFFFFFFFF});
        }
    const auto vertex = [&](int i, int j) { return chart.firstVertex + static_cast<uint32_t>(j * columns + i); };
    // Emits a triangle clockwise as seen from the side its normals face (the device culls the
    // other winding), and none where the grid collapses to a point.
    const auto triangle = [&](uint32_t a, uint32_t b, uint32_t c) {
        const Vec3 pa = vertices[a].position, pb = vertices[b].position, pc = vertices[c].position;
        const Vec3 face = math::Cross(pb - pa, pc - pa);
        if (math::Length(face) < 1e-6f) return;
        const Vec3 facing = vertices[a].normal + vertices[b].normal + vertices[c].normal;
        if (math::Dot(face, facing) >= 0) {
            indices.insert(indices.end(), {a, b, c});
        } else {
            indices.insert(indices.end(), {a, c, b});
        }
    };
    for (int j = 0; j + 1 < rows; ++j)
        for (int i = 0; i + 1 < columns; ++i) {
            triangle(vertex(i, j), vertex(i + 1, j), vertex(i + 1, j + 1));
            triangle(vertex(i, j), vertex(i + 1, j + 1), vertex(i, j + 1));
        }
    chart.uParams = LineParams(*this, chart.firstVertex, columns, rows, true, chart.width);
    chart.vParams = LineParams(*this, chart.firstVertex, columns, rows, false, chart.height);
    charts.push_back(std::move(chart));
}

void Mesh::Transform(const math::Mat4& m) {
    for (MeshVertex& v : vertices) {
        v.position = math::TransformCoord(v.position, m);
        v.normal = math::Normalize(math::TransformNormal(v.normal, m));
    }
}

void Mesh::Append(const Mesh& other) {
    const auto base = static_cast<uint32_t>(vertices.size());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    for (uint32_t index : other.indices) indices.push_back(base + index);
    for (Chart chart : other.charts) {
        chart.firstVertex += base;
        charts.push_back(std::move(chart));
    }
}

namespace {

// The cell holding `t` and the fraction within it.
void Locate(const std::vector<float>& params, float t, int& cell, float& fraction) {
    t = std::clamp(t, 0.0f, 1.0f);
    const auto it = std::upper_bound(params.begin(), params.end(), t);
    cell = std::clamp(static_cast<int>(it - params.begin()) - 1, 0, static_cast<int>(params.size()) - 2);
    const float span = params[static_cast<size_t>(cell) + 1] - params[static_cast<size_t>(cell)];
    fraction = span > 0 ? std::clamp((t - params[static_cast<size_t>(cell)]) / span, 0.0f, 1.0f) : 0.0f;
}

}  // namespace

void ChartPoint(const Mesh& mesh, const Chart& c, float u, float v, Vec3& position, Vec3& normal) {
    int i = 0, j = 0;
    float fu = 0, fv = 0;
    Locate(c.uParams, u, i, fu);
    Locate(c.vParams, v, j, fv);
    const auto at = [&](int di, int dj) -> const MeshVertex& {
        return mesh.vertices[c.firstVertex + static_cast<uint32_t>((j + dj) * c.columns + i + di)];
    };
    const float w00 = (1 - fu) * (1 - fv), w10 = fu * (1 - fv), w01 = (1 - fu) * fv, w11 = fu * fv;
    position = at(0, 0).position * w00 + at(1, 0).position * w10 + at(0, 1).position * w01 + at(1, 1).position * w11;
    normal = math::Normalize(at(0, 0).normal * w00 + at(1, 0).normal * w10 + at(0, 1).normal * w01 +
                             at(1, 1).normal * w11);
}

}  // namespace room
