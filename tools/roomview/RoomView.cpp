#include "RoomView.h"

#include <embree3/rtcore.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>
#include <vector>

#include "RayQuery.h"
#include "udf/UdfNode.h"
#include "udf/UdfReader.h"

namespace {

using math::Vec3;

struct Colour {
    float r = 0, g = 0, b = 0, a = 1;
};

struct Texture {
    gfx::ArgbImage image;
    Colour Sample(float u, float v) const {
        if (image.width == 0) return {1, 1, 1, 1};
        const float x = u * static_cast<float>(image.width) - 0.5f, y = v * static_cast<float>(image.height) - 0.5f;
        const float fx = std::floor(x), fy = std::floor(y);
        const auto texel = [&](int tx, int ty) {
            const int w = static_cast<int>(image.width), h = static_cast<int>(image.height);
            const uint32_t p = image.Row(static_cast<uint32_t>(((ty % h) + h) % h))[((tx % w) + w) % w];
            return Colour{static_cast<float>(p >> 16 & 255) / 255, static_cast<float>(p >> 8 & 255) / 255,
                          static_cast<float>(p & 255) / 255, static_cast<float>(p >> 24) / 255};
        };
        const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
        const float tx = x - fx, ty = y - fy;
        const Colour c00 = texel(ix, iy), c10 = texel(ix + 1, iy), c01 = texel(ix, iy + 1), c11 = texel(ix + 1, iy + 1);
        const auto mix = [&](float a, float b, float c, float d) {
            return (a * (1 - tx) + b * tx) * (1 - ty) + (c * (1 - tx) + d * tx) * ty;
        };
        return {mix(c00.r, c10.r, c01.r, c11.r), mix(c00.g, c10.g, c01.g, c11.g), mix(c00.b, c10.b, c01.b, c11.b),
                mix(c00.a, c10.a, c01.a, c11.a)};
    }
};

struct Material {
    int surface = -1;   // texture index
    int lightMap = -1;
};

struct Drawable {
    std::string name;
    int fvf = 0;
    int material = -1;
    bool lit = true;
    bool transparent = false;
    bool textureAlpha = false;
    float alpha = 1;
    std::vector<Vec3> positions;
    std::vector<math::Vec2> uv0, uv1;
    std::vector<Colour> colours;
    std::vector<uint32_t> indices;
};

float ReadFloat(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return std::bit_cast<float>(v);
}

std::string Text(const UdfNode* node) {
    if (!node) return {};
    const EngineString s = node->AsString();
    return std::string(s.c_str(), s.length());
}

math::Mat4 ReadMatrix(const UdfNode* node) {
    math::Mat4 m;
    if (node && node->Size() >= 64 && node->Data())
        for (int i = 0; i < 16; ++i) m(i / 4, i % 4) = ReadFloat(node->Data() + 4 * i);
    return m;
}

}  // namespace

struct RoomView::Impl {
    std::vector<Texture> textures;
    std::map<std::string, int> textureIndex;
    std::map<std::string, Material> materials;
    std::vector<Drawable> drawables;
    std::vector<std::vector<uint8_t>> fileBytes;
    std::string mediaDir;
    float hourAngle = 0, minuteAngle = -1.5707963f;
    RTCDevice device = nullptr;
    RTCScene opaque = nullptr, transparent = nullptr;
    std::vector<int> opaqueIds, transparentIds;  // geometry id -> drawable

    ~Impl() {
        if (opaque) rtcReleaseScene(opaque);
        if (transparent) rtcReleaseScene(transparent);
        if (device) rtcReleaseDevice(device);
    }

    int LoadTexture(const std::string& file) {
        const auto found = textureIndex.find(file);
        if (found != textureIndex.end()) return found->second;
        std::ifstream in(mediaDir + "/" + file, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        gfx::DecodedImage decoded;
        Texture t;
        if (!bytes.empty() && gfx::DecodeImage(bytes, gfx::ImageLimits{}, decoded) == 0) t.image = decoded.Argb(0);
        textures.push_back(std::move(t));
        return textureIndex[file] = static_cast<int>(textures.size()) - 1;
    }

    int SlotTexture(const UdfNode* material) {
        const UdfNode* textures = material ? material->FindChild("Textures") : nullptr;
        if (!textures) return -1;
        for (const auto& entry : textures->Children())
            if (const UdfNode* file = entry.node->FindChild("FileName")) return LoadTexture(Text(file));
        return -1;
    }

    void LoadMaterials(const UdfNode* section) {
        if (!section) return;
        for (const auto& entry : section->Children()) {
            Material m;
            if (const UdfNode* subs = entry.node->FindChild("Materials")) {
                for (const auto& sub : subs->Children()) {
                    const UdfNode* id = sub.node->FindChild("MaterialSubId");
                    (id && id->AsInt() == 1 ? m.lightMap : m.surface) = SlotTexture(sub.node);
                }
            } else {
                m.surface = SlotTexture(entry.node);
            }
            materials[std::string(entry.name.c_str(), entry.name.length())] = m;
        }
    }

    void LoadNode(const UdfNode& node, const std::string& name, const math::Mat4& parent) {
        math::Mat4 local = ReadMatrix(node.FindChild("NodeTM"));
        if (name == "strelka_1big") local = math::Multiply(math::RotationAxis({0, 1, 0}, hourAngle), local);
        if (name == "strelka_1min") local = math::Multiply(math::RotationAxis({0, 1, 0}, minuteAngle), local);
        const math::Mat4 world = math::Multiply(local, parent);
        if (Text(node.FindChild("MaterialName")).size() || node.FindChild("Verts")) LoadMesh(node, name, world);
        if (const UdfNode* children = node.FindChild("Children"))
            for (const auto& entry : children->Children())
                LoadNode(*entry.node, std::string(entry.name.c_str(), entry.name.length()), world);
    }

    void LoadMesh(const UdfNode& node, const std::string& name, const math::Mat4& world) {
        const UdfNode* verts = node.FindChild("Verts");
        const UdfNode* indexes = node.FindChild("Indexes");
        const UdfNode* fvfNode = node.FindChild("FVF");
        const UdfNode* count = node.FindChild("NumVerts");
        if (!verts || !indexes || !fvfNode || !count || count->AsInt() <= 0) return;
        Drawable d;
        d.name = name;
        d.fvf = fvfNode->AsInt();
        const auto n = static_cast<uint32_t>(count->AsInt());
        const uint32_t stride = verts->Size() / n;
        const bool diffuse = d.fvf & 0x40;
        const int sets = (d.fvf >> 8) & 0xF;
        for (uint32_t v = 0; v < n; ++v) {
            const uint8_t* p = verts->Data() + v * stride;
            d.positions.push_back(math::TransformCoord({ReadFloat(p), ReadFloat(p + 4), ReadFloat(p + 8)}, world));
            size_t at = 24;
            Colour c;
            if (diffuse) {
                uint32_t argb;
                std::memcpy(&argb, p + at, 4);
                c = {static_cast<float>(argb >> 16 & 255) / 255, static_cast<float>(argb >> 8 & 255) / 255,
                     static_cast<float>(argb & 255) / 255, static_cast<float>(argb >> 24) / 255};
                at += 4;
            }
            d.colours.push_back(c);
            d.uv0.push_back(sets > 0 ? math::Vec2{ReadFloat(p + at), ReadFloat(p + at + 4)} : math::Vec2{});
            d.uv1.push_back(sets > 1 ? math::Vec2{ReadFloat(p + at + 8), ReadFloat(p + at + 12)} : math::Vec2{});
        }
        const int indexSize = node.FindChild("IndexSize") ? node.FindChild("IndexSize")->AsInt() : 2;
        for (uint32_t i = 0; i + indexSize <= indexes->Size(); i += static_cast<uint32_t>(indexSize)) {
            uint32_t value = 0;
            std::memcpy(&value, indexes->Data() + i, static_cast<size_t>(indexSize));
            d.indices.push_back(value);
        }
        const auto material = materials.find(Text(node.FindChild("MaterialName")));
        if (material != materials.end()) d.material = static_cast<int>(std::distance(materials.begin(), material));
        d.lit = Text(node.FindChild("Lit")) == "1";
        const std::string alphaUse = Text(node.FindChild("AlphaUse"));
        if (alphaUse.find("factor") != std::string::npos) {
            d.transparent = true;
            d.alpha = node.FindChild("Alpha") ? node.FindChild("Alpha")->AsReal() : 0.5f;
        } else if (alphaUse.find("texture") != std::string::npos) {
            d.transparent = true;
            d.textureAlpha = true;
        }
        drawables.push_back(std::move(d));
    }

    void Build() {
        device = rtcNewDevice("threads=1");
        opaque = rtcNewScene(device);
        transparent = rtcNewScene(device);
        for (size_t i = 0; i < drawables.size(); ++i) {
            const Drawable& d = drawables[i];
            RTCGeometry g = rtcNewGeometry(device, RTC_GEOMETRY_TYPE_TRIANGLE);
            auto* v = static_cast<float*>(rtcSetNewGeometryBuffer(g, RTC_BUFFER_TYPE_VERTEX, 0, RTC_FORMAT_FLOAT3,
                                                                  12, d.positions.size()));
            for (size_t k = 0; k < d.positions.size(); ++k) {
                v[3 * k] = d.positions[k].x;
                v[3 * k + 1] = d.positions[k].y;
                v[3 * k + 2] = d.positions[k].z;
            }
            auto* ix = static_cast<unsigned*>(rtcSetNewGeometryBuffer(g, RTC_BUFFER_TYPE_INDEX, 0, RTC_FORMAT_UINT3, 12,
                                                                      d.indices.size() / 3));
            std::copy(d.indices.begin(), d.indices.begin() + static_cast<long>(d.indices.size() / 3 * 3), ix);
            rtcCommitGeometry(g);
            const unsigned id = rtcAttachGeometry(d.transparent ? transparent : opaque, g);
            rtcReleaseGeometry(g);
            std::vector<int>& ids = d.transparent ? transparentIds : opaqueIds;
            if (ids.size() <= id) ids.resize(id + 1, -1);
            ids[id] = static_cast<int>(i);
        }
        rtcCommitScene(opaque);
        rtcCommitScene(transparent);
    }

    // The surface colour (with alpha) of a drawable at a hit.
    Colour Shade(const Drawable& d, unsigned prim, float bu, float bv) const {
        const uint32_t a = d.indices[3 * prim], b = d.indices[3 * prim + 1], c = d.indices[3 * prim + 2];
        const float w = 1 - bu - bv;
        const auto lerp2 = [&](const std::vector<math::Vec2>& s) {
            return math::Vec2{s[a].x * w + s[b].x * bu + s[c].x * bv, s[a].y * w + s[b].y * bu + s[c].y * bv};
        };
        const Material* m = nullptr;
        if (d.material >= 0) m = &std::next(materials.begin(), d.material)->second;
        const math::Vec2 t0 = lerp2(d.uv0);
        Colour tex = m && m->surface >= 0 ? textures[static_cast<size_t>(m->surface)].Sample(t0.x, t0.y) : Colour{1, 1, 1, 1};
        Colour out = tex;
        if (((d.fvf >> 8) & 0xF) > 1 && m && m->lightMap >= 0) {
            const math::Vec2 t1 = lerp2(d.uv1);
            const Colour l = textures[static_cast<size_t>(m->lightMap)].Sample(t1.x, t1.y);
            out = {std::min(1.0f, tex.r * 2 * l.r), std::min(1.0f, tex.g * 2 * l.g), std::min(1.0f, tex.b * 2 * l.b), tex.a};
        } else if (d.fvf & 0x40) {
            const Colour& ca = d.colours[a];
            const Colour& cb = d.colours[b];
            const Colour& cc = d.colours[c];
            out = {tex.r * (ca.r * w + cb.r * bu + cc.r * bv), tex.g * (ca.g * w + cb.g * bu + cc.g * bv),
                   tex.b * (ca.b * w + cb.b * bu + cc.b * bv), tex.a};
        } else if (d.lit) {
            out = {tex.r * 0.5f, tex.g * 0.5f, tex.b * 0.5f, tex.a};  // the outdoor pass's ambient grey
        }
        out.a = d.textureAlpha ? tex.a : d.alpha;
        return out;
    }

    bool Cast(RTCScene scene, Vec3 o, Vec3 dir, float far, RTCRayHit& hit) const {
        RTCIntersectContext context;
        rtcInitIntersectContext(&context);
        hit = room::MakeRayHit(o, dir, far);
        rtcIntersect1(scene, &context, &hit);
        return hit.hit.geomID != RTC_INVALID_GEOMETRY_ID;
    }

    Colour Trace(Vec3 o, Vec3 dir) const {
        RTCRayHit hit;
        Colour c{0, 0, 0, 1};
        float far = 1000;
        if (Cast(opaque, o, dir, far, hit)) {
            c = Shade(drawables[static_cast<size_t>(opaqueIds[hit.hit.geomID])], hit.hit.primID, hit.hit.u, hit.hit.v);
            far = hit.ray.tfar;
        }
        if (Cast(transparent, o, dir, far, hit)) {
            const Colour t =
                Shade(drawables[static_cast<size_t>(transparentIds[hit.hit.geomID])], hit.hit.primID, hit.hit.u, hit.hit.v);
            c = {c.r * (1 - t.a) + t.r * t.a, c.g * (1 - t.a) + t.g * t.a, c.b * (1 - t.a) + t.b * t.a, 1};
        }
        return c;
    }
};

RoomView::RoomView() : impl_(std::make_unique<Impl>()) {}
RoomView::~RoomView() = default;

void RoomView::SetTime(int hours, int minutes) {
    const float hourFraction = static_cast<float>(minutes) / 60;
    impl_->hourAngle = 6.2831853f * (static_cast<float>(hours % 12) + hourFraction) / 12;
    impl_->minuteAngle = 6.2831853f * hourFraction - 1.5707963f;
}

bool RoomView::Load(const std::string& mediaDir, std::string& error) {
    impl_->mediaDir = mediaDir;
    std::ifstream in(mediaDir + "/clock.UDF", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    UdfReader reader;
    std::unique_ptr<UdfNode> root = reader.OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (!root) {
        error = "clock.UDF does not open";
        return false;
    }
    root->Load(0);
    reader.Close();
    impl_->LoadMaterials(root->FindChild("Materials"));
    if (const UdfNode* children = root->FindChild("Children"))
        for (const auto& entry : children->Children())
            impl_->LoadNode(*entry.node, std::string(entry.name.c_str(), entry.name.length()), math::Identity());
    impl_->Build();
    return true;
}

gfx::ArgbImage RoomView::Render(Vec3 eye, Vec3 at, int width, int height, int gamma) const {
    const Vec3 f = math::Normalize(at - eye);
    const Vec3 right = math::Normalize(math::Cross({0, 1, 0}, f));
    const Vec3 up = math::Cross(f, right);
    const float tanHalf = std::tan(70.0f * 3.14159265f / 360), aspect = static_cast<float>(width) / height;
    gfx::ArgbImage image(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    const auto ramp = [gamma](float c) {
        const int i = static_cast<int>(std::clamp(c, 0.0f, 1.0f) * 255 + 0.5f);
        return static_cast<uint32_t>(std::clamp(gamma * 200 + i * 256, 0, 65535) / 257);
    };
    std::vector<std::thread> workers;
    for (int t = 0; t < 2; ++t)
        workers.emplace_back([&, t] {
            for (int y = t; y < height; y += 2)
                for (int x = 0; x < width; ++x) {
                    Colour sum;
                    for (int s = 0; s < 4; ++s) {  // 2 x 2 samples per pixel
                        const float px = (2 * (x + 0.25f + 0.5f * (s & 1)) / width - 1) * tanHalf * aspect;
                        const float py = (1 - 2 * (y + 0.25f + 0.5f * (s >> 1)) / height) * tanHalf;
                        const Colour c = impl_->Trace(eye, math::Normalize(f + right * px + up * py));
                        sum = {sum.r + c.r / 4, sum.g + c.g / 4, sum.b + c.b / 4, 1};
                    }
                    image.Row(static_cast<uint32_t>(y))[x] = 0xFF000000u | ramp(sum.r) << 16 | ramp(sum.g) << 8 | ramp(sum.b);
                }
        });
    for (std::thread& w : workers) w.join();
    return image;
}

bool RoomView::PathPose(const std::string& camFile, float time, Vec3& eye, Vec3& at, float& end) {
    std::ifstream in(camFile, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    UdfReader reader;
    std::unique_ptr<UdfNode> root = reader.OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (!root) return false;
    root->Load(0);
    std::map<float, Vec3> positions;
    std::map<float, math::Quat> rotations;
    for (const auto& entry : root->Children()) {
        const UdfNode& k = *entry.node;
        if (k.Size() != 32) continue;
        const uint8_t* p = k.Data();
        if (k.TypeName() == EngineString("pos"))
            positions[ReadFloat(p)] = {ReadFloat(p + 4), ReadFloat(p + 8), ReadFloat(p + 12)};
        else
            rotations[ReadFloat(p)] = {ReadFloat(p + 4), ReadFloat(p + 8), ReadFloat(p + 12), ReadFloat(p + 16)};
    }
    if (positions.empty() || rotations.empty()) return false;
    end = positions.rbegin()->first;
    const auto sample = [time](const auto& keys, auto lerp) {
        auto hi = keys.lower_bound(time);
        if (hi == keys.begin()) return hi->second;
        if (hi == keys.end()) return std::prev(hi)->second;
        auto lo = std::prev(hi);
        return lerp(lo->second, hi->second, (time - lo->first) / (hi->first - lo->first));
    };
    eye = sample(positions, [](Vec3 a, Vec3 b, float t) { return math::Lerp(a, b, t); });
    const math::Quat q = sample(rotations, [](math::Quat a, math::Quat b, float t) { return math::Slerp(a, b, t); });
    const math::Mat4 m = math::RotationQuaternion(q);
    at = eye + Vec3{m(2, 0), m(2, 1), m(2, 2)} * 100;
    return true;
}
