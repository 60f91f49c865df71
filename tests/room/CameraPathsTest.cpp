// Scene.props as the engine's text parser reads it, and the ten camera paths: their keys, their
// length and where they take the camera.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <map>

#include "CameraPaths.h"
#include "Model.h"
#include "RoomLayout.h"
#include "RoomMedia.h"
#include "platform/sys/Clock.h"
#include "resources/DiskStream.h"
#include "shell/CameraPathPlayer.h"
#include "udf/UdfTextNode.h"
#include "udf/UdfTextParser.h"

using namespace roomtest;

namespace {

TEST(SceneProps, HoldsTheDeliveredValues) {
    DiskStream stream;
    ASSERT_TRUE(stream.Open((MediaDir() + "/Scene.props").c_str(), DataStream::kRead));
    UdfTextNode root;
    ASSERT_TRUE(ParseUdfText(stream, root, nullptr));
    const auto colour = [&](const char* key, int r, int g, int b) {
        const UdfTextNode* c = root.FindChild(key);
        ASSERT_NE(c, nullptr) << key;
        EXPECT_EQ(c->FindChild("0")->AsInt(), r) << key;
        EXPECT_EQ(c->FindChild("1")->AsInt(), g) << key;
        EXPECT_EQ(c->FindChild("2")->AsInt(), b) << key;
    };
    colour("Ambient", 255, 255, 255);
    colour("BgColor", 0, 0, 0);
    colour("FogColor", 100, 100, 100);
    const std::map<std::string, double> numbers = {{"NearPlane", 0.1}, {"FarPlane", 1000}, {"FogStart", 2000},
                                                   {"FogEnd", 2000},   {"Fov", 70},        {"CamSpeed", 0.1},
                                                   {"QuietTime", 3000}, {"WinkTime", 1000}};
    for (const auto& [key, value] : numbers) {
        ASSERT_NE(root.FindChild(key), nullptr) << key;
        EXPECT_DOUBLE_EQ(root.FindChild(key)->AsReal(), value) << key;
    }
    EXPECT_NE(root.FindChild("Debug"), nullptr);
    const UdfTextNode* paths = root.FindChild("Animations");
    ASSERT_NE(paths, nullptr);
    ASSERT_EQ(paths->ChildCount(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_STREQ(paths->FindChild(std::to_string(i))->AsString().c_str(), ("c" + std::to_string(i + 1) + ".cam").c_str());
}

struct Key {
    float time;
    float v[4];
};

// Keys by kind, sorted by time, as the path player keeps them.
void ReadPath(const std::string& file, std::vector<Key>& positions, std::vector<Key>& rotations) {
    const BinaryFile path = LoadBinary(MediaDir() + "/" + file);
    ASSERT_TRUE(path.root) << file;
    for (const auto& entry : path.root->Children()) {
        ASSERT_EQ(entry.node->Size(), 32u);
        const Key k{FloatAt(entry.node, 0),
                    {FloatAt(entry.node, 1), FloatAt(entry.node, 2), FloatAt(entry.node, 3), FloatAt(entry.node, 4)}};
        (std::string(entry.node->TypeName().c_str()) == "pos" ? positions : rotations).push_back(k);
    }
    const auto byTime = [](const Key& a, const Key& b) { return a.time < b.time; };
    std::sort(positions.begin(), positions.end(), byTime);
    std::sort(rotations.begin(), rotations.end(), byTime);
}

math::Vec3 At(const Key& k) { return {k.v[0], k.v[1], k.v[2]}; }

// Calls `visit` with the keys of each of the ten paths, inside a trace naming its file.
template <typename Visit>
void ForEachPath(Visit&& visit) {
    for (int i = 1; i <= 10; ++i) {
        const std::string file = "c" + std::to_string(i) + ".cam";
        SCOPED_TRACE(file);
        std::vector<Key> positions, rotations;
        ReadPath(file, positions, rotations);
        visit(file, positions, rotations);
    }
}

TEST(CameraPaths, KeysRunInTheirStepsToTheirEnds) {
    float longest = 0, shortest = 1e9f;
    std::string longestFile, shortestFile;
    ForEachPath([&](const std::string& file, const std::vector<Key>& positions, const std::vector<Key>& rotations) {
        ASSERT_GE(positions.size(), 4u);
        ASSERT_EQ(positions.size(), rotations.size());
        const float step = file == "c1.cam" ? 294.0f : 200.0f;
        for (size_t k = 0; k < positions.size(); ++k) {
            EXPECT_FLOAT_EQ(positions[k].time, step * static_cast<float>(k));
            EXPECT_FLOAT_EQ(rotations[k].time, step * static_cast<float>(k));
            const Key& q = rotations[k];
            EXPECT_NEAR(q.v[0] * q.v[0] + q.v[1] * q.v[1] + q.v[2] * q.v[2] + q.v[3] * q.v[3], 1.0f, 1e-4f);
        }
        if (positions.back().time > longest) {
            longest = positions.back().time;
            longestFile = file;
        }
        if (positions.back().time < shortest) {
            shortest = positions.back().time;
            shortestFile = file;
        }
        for (const room::CameraPath& made : room::CameraPaths())
            if (made.file == file) {
                ASSERT_EQ(made.keys.size(), positions.size());
                for (size_t k = 0; k < positions.size(); ++k) EXPECT_EQ(math::Length(At(positions[k]) - made.keys[k].position), 0.0f);
            }
        if (file == "c1.cam") {
            EXPECT_FLOAT_EQ(positions.back().time, 882.0f);
        }
    });
    EXPECT_EQ(longestFile, "c7.cam");
    EXPECT_FLOAT_EQ(longest, 3000.0f);
    EXPECT_EQ(shortestFile, "c1.cam");
}

// The camera as the saver flies a path: the engine's own player on a simulated clock, one pose
// every `stepMs` from the path's first key to its last, with the path time (in seconds) of each.
struct PlayedPose {
    float seconds;
    CameraPose pose;
};

std::vector<PlayedPose> Fly(const std::string& file, int stepMs = 250) {
    sys::TestClock clock{1000};
    sys::ScopedClock useClock{clock};
    CameraPathPlayer player;
    player.SetOpener([](const EngineString& name) -> std::unique_ptr<DataStream> {
        auto stream = std::make_unique<DiskStream>();
        if (!stream->Open((MediaDir() + "/" + name.c_str()).c_str(), DataStream::kRead)) return nullptr;
        return stream;
    });
    player.RemainingPaths() = {EngineString(file.c_str())};
    player.StartWith(EngineString(file.c_str()));
    player.Start();
    player.ResetTimer();
    std::vector<PlayedPose> poses;
    TimeRange range;
    if (!player.cameraPath().getRange(range)) {
        ADD_FAILURE() << file << " does not load";
        return poses;
    }
    CameraPose fallback;
    for (;;) {
        const float at = player.pathTime();
        poses.push_back({at / 10, player.Advance(fallback)});  // evaluated at `at`, then advanced
        if (player.pathTime() < at) return poses;               // the path ended and starts again
        clock.AdvanceMs(stepMs);
    }
}

// The generator's objects in world space, as triangles with their bounds.
struct Solid {
    std::string name;
    room::Piece piece;
    std::vector<math::Vec3> corners;  // three per triangle
    math::Vec3 min{1e9f, 1e9f, 1e9f}, max{-1e9f, -1e9f, -1e9f};
};

std::vector<Solid> RoomSolids() {
    room::RoomModel model;
    room::BuildRoom(model);
    std::vector<Solid> solids;
    room::ForEachObject(model.objects, math::Identity(), [&](const room::SceneObject& o, const math::Mat4& world) {
        if (o.mesh.indices.empty()) return;
        Solid solid{o.name, room::PieceOf(o.name), {}};
        for (uint32_t index : o.mesh.indices) {
            const math::Vec3 p = math::TransformCoord(o.mesh.vertices[index].position, world);
            solid.corners.push_back(p);
            solid.min = {std::min(solid.min.x, p.x), std::min(solid.min.y, p.y), std::min(solid.min.z, p.z)};
            solid.max = {std::max(solid.max.x, p.x), std::max(solid.max.y, p.y), std::max(solid.max.z, p.z)};
        }
        solids.push_back(std::move(solid));
    });
    return solids;
}

float BoxDistance(math::Vec3 p, math::Vec3 min, math::Vec3 max) {
    const math::Vec3 d{std::max({min.x - p.x, 0.0f, p.x - max.x}), std::max({min.y - p.y, 0.0f, p.y - max.y}),
                       std::max({min.z - p.z, 0.0f, p.z - max.z})};
    return math::Length(d);
}

// Distance from p to the triangle abc (the closest point by the triangle's regions).
float TriangleDistance(math::Vec3 p, math::Vec3 a, math::Vec3 b, math::Vec3 c) {
    using math::Dot;
    const math::Vec3 ab = b - a, ac = c - a, ap = p - a;
    const float d1 = Dot(ab, ap), d2 = Dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return math::Length(ap);
    const math::Vec3 bp = p - b;
    const float d3 = Dot(ab, bp), d4 = Dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return math::Length(bp);
    const float vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return math::Length(p - (a + ab * (d1 / (d1 - d3))));
    const math::Vec3 cp = p - c;
    const float d5 = Dot(ab, cp), d6 = Dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return math::Length(cp);
    const float vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return math::Length(p - (a + ac * (d2 / (d2 - d6))));
    const float va = d3 * d6 - d5 * d4;
    if (va <= 0 && d4 - d3 >= 0 && d5 - d6 >= 0)
        return math::Length(p - (b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)))));
    const float denom = 1 / (va + vb + vc);
    return math::Length(p - (a + ab * (vb * denom) + ac * (vc * denom)));
}

// The nearest of a solid's triangles, or `bound` when none is nearer.
float SolidDistance(math::Vec3 p, const Solid& solid, float bound) {
    if (BoxDistance(p, solid.min, solid.max) >= bound) return bound;
    for (size_t i = 0; i < solid.corners.size(); i += 3)
        bound = std::min(bound, TriangleDistance(p, solid.corners[i], solid.corners[i + 1], solid.corners[i + 2]));
    return bound;
}

// Where a solid's corners fall on a 4:3 frame at Fov 70 (-1 to 1 across and up), as a box, and
// how near the nearest of them is.
struct ScreenBox {
    float x0 = 1, x1 = -1, y0 = 1, y1 = -1, nearest = 1e9f;
    float Share() const { return x1 > x0 && y1 > y0 ? (x1 - x0) * (y1 - y0) / 4 : 0.0f; }
    bool Overlaps(const ScreenBox& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

ScreenBox Project(const Solid& solid, math::Vec3 eye, math::Vec3 forward) {
    const math::Vec3 right = math::Normalize(math::Cross({0, 1, 0}, forward)), up = math::Cross(forward, right);
    const float tanY = std::tan(35.0f * 3.14159265f / 180), tanX = tanY * 4 / 3;
    ScreenBox box;
    for (const math::Vec3& p : solid.corners) {
        const math::Vec3 d = p - eye;
        const float depth = math::Dot(d, forward);
        if (depth < 1) continue;
        const float x = std::clamp(math::Dot(d, right) / depth / tanX, -1.0f, 1.0f);
        const float y = std::clamp(math::Dot(d, up) / depth / tanY, -1.0f, 1.0f);
        box.x0 = std::min(box.x0, x), box.x1 = std::max(box.x1, x), box.y0 = std::min(box.y0, y), box.y1 = std::max(box.y1, y);
        box.nearest = std::min(box.nearest, depth);
    }
    return box;
}

TEST(CameraPaths, ClearOfTheShadeAndOfAllButTheirSubjectTravellingAtAWalk) {
    const std::vector<Solid> solids = RoomSolids();
    const Solid* shadeSolid = nullptr;
    std::vector<const Solid*> clockSolids;
    for (const Solid& solid : solids) {
        if (solid.name == "Lamp shade") shadeSolid = &solid;
        if (solid.name == "Clock case" || solid.name == "Dial") clockSolids.push_back(&solid);
    }
    ASSERT_NE(shadeSolid, nullptr);
    ASSERT_EQ(clockSolids.size(), 2u);
    const Solid* dial = clockSolids[0]->name == "Dial" ? clockSolids[0] : clockSolids[1];
    const float facing = std::cos(35.0f * 3.14159265f / 180);  // the dial well inside the view
    const float wall = 15, shadeClearance = 60, clearance = 40;
    for (const room::CameraPath& path : room::CameraPaths()) {
        SCOPED_TRACE(path.file);
        const std::vector<PlayedPose> flight = Fly(path.file);
        ASSERT_GT(flight.size(), 1u);
        EXPECT_NEAR(flight.back().seconds, path.keys.back().time / 10, 0.3f);
        float nearestShade = 1e9f, nearestOther = 1e9f, length = 0, shadeShare = 0, fastest = 0;
        std::string nearestName;
        math::Vec3 shadeAt{}, otherAt{}, shareAt{};
        float coveredAt = -1;  // the first second the shade stands in front of the clock filmed
        for (size_t i = 0; i < flight.size(); ++i) {
            const math::Vec3 c = flight[i].pose.position, forward = flight[i].pose.forward;
            if (i > 0) {
                const float step = math::Length(c - flight[i - 1].pose.position);
                length += step;
                fastest = std::max(fastest, step / (flight[i].seconds - flight[i - 1].seconds));
            }
            ASSERT_TRUE(c.x > room::kRoomMin.x + wall && c.x < room::kRoomMax.x - wall && c.y > room::kRoomMin.y + wall &&
                        c.y < room::kRoomMax.y - wall && c.z > room::kRoomMin.z + wall && c.z < room::kRoomMax.z - wall)
                << flight[i].seconds << " s at (" << c.x << ", " << c.y << ", " << c.z << ")";
            const ScreenBox shade = Project(*shadeSolid, c, forward);
            if (shade.Share() > shadeShare) {
                shadeShare = shade.Share();
                shareAt = c;
            }
            const bool facingTheClock = math::Dot(forward, math::Normalize((dial->min + dial->max) * 0.5f - c)) > facing;
            for (const Solid* clock : clockSolids) {
                if (!facingTheClock) break;
                const ScreenBox box = Project(*clock, c, forward);
                if (box.Share() > 0 && shade.Share() > 0 && shade.nearest < box.nearest && shade.Overlaps(box) &&
                    coveredAt < 0)
                    coveredAt = flight[i].seconds;
            }
            for (const Solid& solid : solids) {
                if (solid.name == "Lamp shade") {
                    const float d = SolidDistance(c, solid, nearestShade);
                    if (d < nearestShade) {
                        nearestShade = d;
                        shadeAt = c;
                    }
                }
                if (solid.piece == room::Piece::kShell || solid.piece == path.subject) continue;
                const float d = SolidDistance(c, solid, nearestOther);
                if (d < nearestOther) {
                    nearestOther = d;
                    nearestName = solid.name;
                    otherAt = c;
                }
            }
        }
        const float speed = length / (path.keys.back().time / 10);
        std::printf("%s: %.0f from the shade at (%.0f, %.0f, %.0f), %.0f from %s at (%.0f, %.0f, %.0f), %.1f units a second (%.0f at most), "
                    "the shade over %.1f %% of the frame at most (%.0f, %.0f, %.0f)%s\n",
                    path.file.c_str(), nearestShade, shadeAt.x, shadeAt.y, shadeAt.z, nearestOther, nearestName.c_str(),
                    otherAt.x, otherAt.y, otherAt.z, speed, fastest, 100 * shadeShare, shareAt.x, shareAt.y, shareAt.z,
                    coveredAt < 0 ? "" : (", in front of the clock at " + std::to_string(coveredAt) + " s").c_str());
        EXPECT_GE(nearestShade, shadeClearance);
        // The picture hangs beside the lamp: a close look at either has the shade nearer.
        const bool besideTheLamp = path.subject == room::Piece::kLamp || path.subject == room::Piece::kPicture;
        EXPECT_LE(shadeShare, besideTheLamp ? 0.13f : 0.04f) << "the shade stands in the way";
        EXPECT_LT(coveredAt, 0.0f) << "the shade covers the clock from this second";
        EXPECT_GE(nearestOther, clearance) << nearestName;
        EXPECT_GE(speed, 3.0f);
        EXPECT_LE(speed, 8.0f);
        EXPECT_LT(fastest, 30.0f) << "faster than a slow walk";
    }
}

// The country outside is a quad drawn before the room: it must fill every view through the window
// that a camera on a path (or the fallback camera) can have, and need be no larger.
TEST(CameraPaths, SeeOnlyTheCountryOutsideThroughTheWindow) {
    const float viewCos = std::cos(60.0f * 3.14159265f / 180);  // wider than a 16:9 view's corners at Fov 70
    const auto checkView = [&](math::Vec3 eye, math::Vec3 forward) {
        for (int i = 0; i <= 20; ++i) {
            for (int j = 0; j <= 20; ++j) {
                const math::Vec3 opening{room::kWindowMin.x, room::kWindowMin.y + (room::kWindowTop - room::kWindowMin.y) * i / 20,
                                         room::kWindowMin.z + (room::kWindowMax.z - room::kWindowMin.z) * j / 20};
                const math::Vec3 ray = opening - eye;
                if (math::Dot(math::Normalize(ray), forward) < viewCos) continue;
                const math::Vec3 hit = eye + ray * ((room::kOutdoorX - eye.x) / ray.x);
                ASSERT_TRUE(hit.y >= room::kOutdoorMin.y && hit.y <= room::kOutdoorMax.y && hit.z >= room::kOutdoorMin.z &&
                            hit.z <= room::kOutdoorMax.z)
                    << "from (" << eye.x << ", " << eye.y << ", " << eye.z << ") the window shows (" << hit.y << ", "
                    << hit.z << ") outside";
            }
        }
    };
    checkView({-200, 100, 0}, {1, 0, 0});
    for (const room::CameraPath& path : room::CameraPaths()) {
        SCOPED_TRACE(path.file);
        for (const PlayedPose& p : Fly(path.file, 1000)) checkView(p.pose.position, p.pose.forward);
    }
    // The quad shows the picture where it always was, and stays inside it.
    EXPECT_GE(room::kOutdoorMin.y, room::kLandscapeMin.y);
    EXPECT_GE(room::kOutdoorMin.z, room::kLandscapeMin.z);
    EXPECT_LE(room::kOutdoorMax.y, room::kLandscapeMax.y);
    EXPECT_LE(room::kOutdoorMax.z, room::kLandscapeMax.z);
}

}  // namespace

