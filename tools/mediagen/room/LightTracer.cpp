#include "LightTracer.h"

#include <embree3/rtcore.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "RayQuery.h"
#include "RoomLayout.h"
#include "paint/Patterns.h"

namespace room {

using namespace paint;

namespace {

constexpr float kPi = 3.14159265f;
// Samples per point: enough for soft shadows once the charts are smoothed.
constexpr int kLampSamples = 16;
constexpr int kWindowSamples = 10;
constexpr int kAmbientSamples = 12;
constexpr float kAmbientReach = 90;  // occlusion counts what lies nearer than this

// The lamp (2700 K) and the night sky through the window.
const Rgb kLampColour{1.0f, 0.66f, 0.38f};
const Rgb kSkyColour{0.29f, 0.42f, 0.62f};
const Rgb kAmbientColour{0.1f, 0.09f, 0.085f};
constexpr float kRimPower = 9000;    // the shade's open bottom, shining down
constexpr float kTopPower = 1800;    // its open top, lighting the ceiling
constexpr float kShadePower = 3600;  // light through the parchment, all round
constexpr float kSkyRadiance = 0.4f;
constexpr float kSkyFill = 0.27f;
constexpr float kSkyFillReach = 100;

Vec3 Orthogonal(Vec3 n) {
    return std::fabs(n.x) < 0.9f ? math::Normalize(math::Cross(n, {1, 0, 0})) : math::Normalize(math::Cross(n, {0, 1, 0}));
}

}  // namespace

LightTracer::LightTracer(const std::vector<const Mesh*>& occluders) {
    device_ = rtcNewDevice("threads=1");
    scene_ = rtcNewScene(device_);
    for (const Mesh* mesh : occluders) {
        if (mesh->indices.empty()) continue;
        RTCGeometry geometry = rtcNewGeometry(device_, RTC_GEOMETRY_TYPE_TRIANGLE);
        auto* vertices = static_cast<float*>(rtcSetNewGeometryBuffer(geometry, RTC_BUFFER_TYPE_VERTEX, 0,
                                                                     RTC_FORMAT_FLOAT3, 3 * sizeof(float),
                                                                     mesh->vertices.size()));
        for (size_t i = 0; i < mesh->vertices.size(); ++i) {
            vertices[3 * i] = mesh->vertices[i].position.x;
            vertices[3 * i + 1] = mesh->vertices[i].position.y;
            vertices[3 * i + 2] = mesh->vertices[i].position.z;
        }
        auto* indices = static_cast<unsigned*>(rtcSetNewGeometryBuffer(geometry, RTC_BUFFER_TYPE_INDEX, 0,
                                                                       RTC_FORMAT_UINT3, 3 * sizeof(unsigned),
                                                                       mesh->indices.size() / 3));
        std::copy(mesh->indices.begin(), mesh->indices.end(), indices);
        rtcCommitGeometry(geometry);
        rtcAttachGeometry(scene_, geometry);
        rtcReleaseGeometry(geometry);
    }
    rtcCommitScene(scene_);
}

LightTracer::~LightTracer() {
    rtcReleaseScene(scene_);
    rtcReleaseDevice(device_);
}

float LightTracer::Hit(Vec3 origin, Vec3 direction, float maxDistance, int* triangle) const {
    RTCIntersectContext context;
    rtcInitIntersectContext(&context);
    RTCRayHit hit = MakeRayHit(origin, direction, maxDistance);
    rtcIntersect1(scene_, &context, &hit);
    if (hit.hit.geomID == RTC_INVALID_GEOMETRY_ID) return -1;
    if (triangle) *triangle = static_cast<int>(hit.hit.geomID << 20 | hit.hit.primID);
    return hit.ray.tfar;
}

bool LightTracer::Visible(Vec3 from, Vec3 to) const {
    const Vec3 d = to - from;
    const float length = math::Length(d);
    if (length < 1e-3f) return true;
    RTCIntersectContext context;
    rtcInitIntersectContext(&context);
    RTCRay ray = MakeRayHit(from, d * (1 / length), length - 0.3f).ray;
    rtcOccluded1(scene_, &context, &ray);
    return ray.tfar >= 0;  // set to -inf when something is in the way
}

Rgb LightTracer::Light(Vec3 position, Vec3 normal, uint32_t seed) const {
    const Vec3 origin = position + normal * 0.15f;
    const auto random = [seed](int i, int k) { return Hash(i, k, seed); };
    Rgb total{};

    // The lamp: stratified over the three emitters by a fixed share of the samples.
    float lamp = 0;
    const Vec3 bulb{kLampBase.x, (kLampShadeBottom + kLampShadeTop) / 2, kLampBase.z};
    for (int i = 0; i < kLampSamples; ++i) {
        const float r1 = random(i, 1), r2 = random(i, 2);
        Vec3 point;
        Vec3 facing{0, 0, 0};  // emitter normal; zero for the all-round glow
        float power;
        const float share = i % 4 < 2 ? 2.0f : 4.0f;  // rim half the samples, top and glow a quarter each
        if (i % 4 < 2) {
            const float r = 21 * std::sqrt(r1), a = 2 * kPi * r2;
            point = {kLampBase.x + r * std::cos(a), kLampShadeBottom, kLampBase.z + r * std::sin(a)};
            facing = {0, -1, 0};
            power = kRimPower;
        } else if (i % 4 == 2) {
            const float r = 12 * std::sqrt(r1), a = 2 * kPi * r2;
            point = {kLampBase.x + r * std::cos(a), kLampShadeTop, kLampBase.z + r * std::sin(a)};
            facing = {0, 1, 0};
            power = kTopPower;
        } else {
            const float y = 2 * r1 - 1, a = 2 * kPi * r2, s = std::sqrt(1 - y * y);
            point = bulb + Vec3{14 * s * std::cos(a), 12 * y, 14 * s * std::sin(a)};
            power = kShadePower;
        }
        const Vec3 toLight = point - origin;
        const float d2 = std::max(math::Dot(toLight, toLight), 400.0f);
        const Vec3 l = toLight * (1 / std::sqrt(d2));
        const float cosSurface = math::Dot(normal, l);
        if (cosSurface <= 0) continue;
        const float cosEmit = (facing == Vec3{0, 0, 0}) ? 1.0f : std::max(0.0f, -math::Dot(facing, l));
        if (cosEmit <= 0 || !Visible(origin, point)) continue;
        lamp += share * power * cosSurface * cosEmit / d2;
    }
    total = total + kLampColour * (lamp / kLampSamples);

    total = total + Sky(position, normal, seed);

    // Ambient: cosine-weighted directions over the hemisphere, open ones count.
    const Vec3 t = Orthogonal(normal), b = math::Cross(normal, t);
    int open = 0;
    for (int i = 0; i < kAmbientSamples; ++i) {
        const float r1 = (static_cast<float>(i) + random(i, 5)) / kAmbientSamples, r2 = random(i, 6);
        const float r = std::sqrt(r1), a = 2 * kPi * r2;
        const Vec3 d = t * (r * std::cos(a)) + b * (r * std::sin(a)) + normal * std::sqrt(std::max(0.0f, 1 - r1));
        if (Hit(origin, d, kAmbientReach) < 0) ++open;
    }
    const float openness = static_cast<float>(open) / kAmbientSamples;
    total = total + kAmbientColour * (0.35f + 0.65f * openness);
    return total;
}

Rgb LightTracer::Sky(Vec3 position, Vec3 normal, uint32_t seed) const {
    const Vec3 origin = position + normal * 0.15f;
    const auto random = [seed](int i, int k) { return Hash(i, k, seed); };
    // The window: the sky seen through its opening, a Lambertian emitter facing the room.
    float sky = 0;
    const float area = (kWindowMax.z - kWindowMin.z) * (kWindowTop - kWindowMin.y);
    for (int i = 0; i < kWindowSamples; ++i) {
        const Vec3 point{kWindowGlassX + 2, kWindowMin.y + (kWindowTop - kWindowMin.y) * random(i, 3),
                         kWindowMin.z + (kWindowMax.z - kWindowMin.z) * random(i, 4)};
        const Vec3 toLight = point - origin;
        const float d2 = std::max(math::Dot(toLight, toLight), 100.0f);
        const Vec3 l = toLight * (1 / std::sqrt(d2));
        const float cosSurface = math::Dot(normal, l), cosEmit = l.x;
        if (cosSurface <= 0 || cosEmit <= 0 || !Visible(origin, point)) continue;
        sky += cosSurface * cosEmit / (kPi * d2);
    }
    // What the room scatters of it: a cool fill that fades quickly with the distance from the
    // opening, so the window's corner keeps a colour in its shadows and the rest stays dark.
    const Vec3 nearest{kWindowGlassX, std::clamp(position.y, kWindowMin.y, kWindowTop),
                       std::clamp(position.z, kWindowMin.z, kWindowMax.z)};
    const Vec3 away = position - nearest;
    const float falloff = 1 + math::Dot(away, away) / (kSkyFillReach * kSkyFillReach);
    const float fill = kSkyFill / (falloff * falloff);
    return kSkyColour * (kSkyRadiance * sky * area / kWindowSamples + fill);
}

}  // namespace room
