#include "LightBaker.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <thread>

#include "LightTracer.h"

namespace room {

using namespace paint;

namespace {

struct Shelf {
    int y, height, x;
};

// Shelves of charts, tallest first, on one page.
struct PagePacker {
    std::vector<Shelf> shelves;
    int nextY = 0;

    bool Place(int w, int h, int& x, int& y) {
        for (Shelf& s : shelves)
            if (h <= s.height && s.x + w <= kLightMapSize) {
                x = s.x;
                y = s.y;
                s.x += w;
                return true;
            }
        if (w > kLightMapSize || nextY + h > kLightMapSize) return false;
        shelves.push_back({nextY, h, w});
        x = 0;
        y = nextY;
        nextY += h;
        return true;
    }
};

int Texels(float extent, float density) {
    return std::clamp(static_cast<int>(std::ceil(extent * density)), 3, kLightMapSize / 2) + 2 * kChartPadding;
}

// Places all charts of `mesh` on one page, opening a new page when they do not fit.
int PackMesh(Mesh& mesh, float density, std::vector<PagePacker>& pages) {
    std::vector<Chart*> order;
    for (Chart& c : mesh.charts) {
        c.texelsU = Texels(c.width, density);
        c.texelsV = Texels(c.height, density);
        order.push_back(&c);
    }
    std::stable_sort(order.begin(), order.end(), [](const Chart* a, const Chart* b) { return a->texelsV > b->texelsV; });
    for (size_t page = pages.size() - 1;; ++page) {
        if (page == pages.size()) pages.emplace_back();
        PagePacker trial = pages[page];
        bool fits = true;
        for (Chart* c : order) fits = fits && trial.Place(c->texelsU, c->texelsV, c->x, c->y);
        if (fits) {
            pages[page] = trial;
            for (Chart* c : order) c->page = static_cast<int>(page);
            return static_cast<int>(page);
        }
        if (pages[page].shelves.empty()) throw std::runtime_error("a mesh's light-map charts do not fit a page");
    }
}

// Grid parameter of texel k of a chart side that spans `texels` with padding.
float TexelParam(int k, int texels) {
    return std::clamp(static_cast<float>(k - kChartPadding) / static_cast<float>(texels - 2 * kChartPadding - 1), 0.0f,
                      1.0f);
}

void AssignLightUvs(Mesh& mesh) {
    for (const Chart& c : mesh.charts)
        for (int j = 0; j < c.rows; ++j)
            for (int i = 0; i < c.columns; ++i) {
                MeshVertex& v = mesh.vertices[c.firstVertex + static_cast<uint32_t>(j * c.columns + i)];
                const float tu = c.uParams[static_cast<size_t>(i)], tv = c.vParams[static_cast<size_t>(j)];
                v.lightUv = {(static_cast<float>(c.x + kChartPadding) + 0.5f + tu * static_cast<float>(c.texelsU - 2 * kChartPadding - 1)) / kLightMapSize,
                             (static_cast<float>(c.y + kChartPadding) + 0.5f + tv * static_cast<float>(c.texelsV - 2 * kChartPadding - 1)) / kLightMapSize};
            }
}

// Calls `visit(x, y, position, normal)` for every texel of the mesh's charts, padding included.
template <typename Visit>
void ForEachTexel(const Mesh& mesh, const Visit& visit) {
    for (const Chart& c : mesh.charts)
        for (int y = 0; y < c.texelsV; ++y)
            for (int x = 0; x < c.texelsU; ++x) {
                Vec3 p, n;
                ChartPoint(mesh, c, TexelParam(x, c.texelsU), TexelParam(y, c.texelsV), p, n);
                visit(c.x + x, c.y + y, p, n);
            }
}

// The lamp's light as it comes through parchment: warm, but whiter than the bulb's pool.
const Rgb kGlowColour{1.0f, 0.7f, 0.46f};

struct Sample {
    Vec3 position, normal;
    Rgb* out;
    uint32_t seed;
};

// The brightest light a surface keeps, next to the bulb, with its hue: a wink takes half of full
// light off every light map, and must leave the lamp's own brass and beads dimmed too.
Rgb Limited(Rgb light) {
    constexpr float kBrightest = 0.85f;
    const float most = std::max({light.r, light.g, light.b});
    return most > kBrightest ? light * (kBrightest / most) : light;
}

void Trace(const LightTracer& tracer, std::vector<Sample>& samples, int threads) {
    std::vector<std::thread> workers;
    const size_t n = samples.size();
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            // Interleaved so both workers get a fair share of the expensive texels.
            for (size_t i = static_cast<size_t>(t); i < n; i += static_cast<size_t>(threads))
                *samples[i].out = Limited(tracer.Light(samples[i].position, samples[i].normal, samples[i].seed));
        });
    for (std::thread& w : workers) w.join();
}

// A 3 x 3 average inside one chart's rectangle, twice: it takes the grain out of the soft shadows
// without blurring across charts.
void SmoothChart(Canvas& page, const Chart& c) {
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<Rgb> copy;
        for (int y = 0; y < c.texelsV; ++y)
            for (int x = 0; x < c.texelsU; ++x) copy.push_back(page.At(c.x + x, c.y + y));
        const auto at = [&](int x, int y) {
            return copy[static_cast<size_t>(std::clamp(y, 0, c.texelsV - 1) * c.texelsU + std::clamp(x, 0, c.texelsU - 1))];
        };
        for (int y = 0; y < c.texelsV; ++y)
            for (int x = 0; x < c.texelsU; ++x) {
                Rgb sum{};
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) sum = sum + at(x + dx, y + dy);
                page.At(c.x + x, c.y + y) = sum * (1.0f / 9);
            }
    }
}

uint32_t VertexColour(Rgb light) {
    // The vertex colour modulates once where a light map modulates twice.
    const auto byte = [](float v) { return static_cast<uint32_t>(std::clamp(2 * v, 0.0f, 1.0f) * 255 + 0.5f); };
    return 0xFF000000u | byte(light.r) << 16 | byte(light.g) << 8 | byte(light.b);
}

}  // namespace

std::vector<Canvas> BakeLighting(RoomModel& model, int threads) {
    // World-space copies: the tracer's occluders and the surfaces to light.
    std::vector<std::pair<SceneObject*, Mesh>> world;
    ForEachObject(model.objects, math::Identity(), [&](SceneObject& o, const math::Mat4& m) {
        if (o.mesh.vertices.empty()) return;
        Mesh copy = o.mesh;
        copy.Transform(m);
        world.emplace_back(&o, std::move(copy));
    });
    std::vector<const Mesh*> occluders;
    for (const auto& [object, mesh] : world)
        if (object->castsShadow) occluders.push_back(&mesh);
    const LightTracer tracer(occluders);

    std::vector<PagePacker> packers(1);
    std::vector<Sample> samples;
    std::vector<Rgb> vertexLight;
    size_t vertexCount = 0;
    for (auto& [object, mesh] : world)
        if (object->lighting == Lighting::kVertex) vertexCount += mesh.vertices.size();
    vertexLight.resize(vertexCount);
    size_t nextVertex = 0;
    for (auto& [object, mesh] : world) {
        if (object->lighting == Lighting::kLightMap) {
            object->lightMapPage = PackMesh(mesh, object->lightMapDensity, packers);
            object->mesh.charts = mesh.charts;
        } else if (object->lighting == Lighting::kVertex) {
            for (const MeshVertex& v : mesh.vertices)
                samples.push_back({v.position, v.normal, &vertexLight[nextVertex++],
                                   static_cast<uint32_t>(samples.size()) * 2654435761u + 17});
        }
    }

    std::vector<Canvas> pages(packers.size(), Canvas(kLightMapSize, kLightMapSize));
    for (auto& [object, mesh] : world) {
        // What glows carries only its own light, so that a wink, which takes the same amount off
        // every light map, can put it out.
        if (object->lighting != Lighting::kLightMap || object->glow) continue;
        Canvas& page = pages[static_cast<size_t>(object->lightMapPage)];
        ForEachTexel(mesh, [&](int px, int py, Vec3 p, Vec3 n) {
            samples.push_back({p, n, &page.At(px, py),
                               static_cast<uint32_t>((object->lightMapPage * kLightMapSize + py) * kLightMapSize + px)});
        });
    }
    Trace(tracer, samples, threads);
    for (auto& [object, mesh] : world) {
        if (object->lighting != Lighting::kLightMap || !object->glow) continue;
        Canvas& page = pages[static_cast<size_t>(object->lightMapPage)];
        ForEachTexel(mesh, [&](int px, int py, Vec3 p, Vec3) { page.At(px, py) = page.At(px, py) + kGlowColour * object->glow(p); });
    }

    nextVertex = 0;
    for (auto& [object, mesh] : world) {
        if (object->lighting == Lighting::kLightMap) {
            for (const Chart& c : mesh.charts) SmoothChart(pages[static_cast<size_t>(object->lightMapPage)], c);
            AssignLightUvs(object->mesh);
        } else if (object->lighting == Lighting::kVertex) {
            for (MeshVertex& v : object->mesh.vertices) v.color = VertexColour(vertexLight[nextVertex++]);
        }
    }
    return pages;
}

}  // namespace room
