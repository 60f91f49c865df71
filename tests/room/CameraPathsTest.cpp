// Scene.props as the engine's text parser reads it, and the ten camera paths: their keys, their
// length and where they take the camera.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "Model.h"
#include "RoomLayout.h"
#include "RoomMedia.h"
#include "resources/DiskStream.h"
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
    float longest = 0;
    std::string longestFile;
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
        if (file == "c1.cam") {
            EXPECT_FLOAT_EQ(positions.back().time, 882.0f);
        }
    });
    EXPECT_EQ(longestFile, "c7.cam");
    EXPECT_FLOAT_EQ(longest, 3000.0f);
}

// The camera between keys, on the smooth curve through them (zero tension, continuity and bias).
math::Vec3 Curve(const std::vector<Key>& keys, size_t segment, float u) {
    const auto p = [&](long i) { return At(keys[static_cast<size_t>(std::clamp(i, 0L, static_cast<long>(keys.size()) - 1))]); };
    const long s = static_cast<long>(segment);
    const math::Vec3 p0 = p(s - 1), p1 = p(s), p2 = p(s + 1), p3 = p(s + 2);
    const math::Vec3 t1 = (p2 - p0) * 0.5f, t2 = (p3 - p1) * 0.5f;
    const float u2 = u * u, u3 = u2 * u;
    return p1 * (2 * u3 - 3 * u2 + 1) + p2 * (-2 * u3 + 3 * u2) + t1 * (u3 - 2 * u2 + u) + t2 * (u3 - u2);
}

TEST(CameraPaths, StayInsideTheRoomClearOfFurnitureAndSlow) {
    const std::vector<room::Obstacle> obstacles = room::Obstacles();
    const float wall = 15, clearance = 8;
    ForEachPath([&](const std::string&, const std::vector<Key>& positions, const std::vector<Key>&) {
        for (size_t s = 0; s + 1 < positions.size(); ++s) {
            // At most about 30 cm a second at 10 units of path time a second.
            const float seconds = (positions[s + 1].time - positions[s].time) / 10;
            EXPECT_LT(math::Length(At(positions[s + 1]) - At(positions[s])) / seconds, 30.0f) << "segment " << s;
            for (int k = 0; k <= 20; ++k) {
                const math::Vec3 c = Curve(positions, s, static_cast<float>(k) / 20);
                ASSERT_GT(c.x, room::kRoomMin.x + wall);
                ASSERT_LT(c.x, room::kRoomMax.x - wall);
                ASSERT_GT(c.y, room::kRoomMin.y + wall);
                ASSERT_LT(c.y, room::kRoomMax.y - wall);
                ASSERT_GT(c.z, room::kRoomMin.z + wall);
                ASSERT_LT(c.z, room::kRoomMax.z - wall);
                for (const room::Obstacle& o : obstacles) {
                    const bool inside = c.x > o.min.x - clearance && c.x < o.max.x + clearance &&
                                        c.y > o.min.y - clearance && c.y < o.max.y + clearance &&
                                        c.z > o.min.z - clearance && c.z < o.max.z + clearance;
                    ASSERT_FALSE(inside) << "segment " << s << " at (" << c.x << ", " << c.y << ", " << c.z << ")";
                }
            }
        }
    });
}

// The country outside is a quad drawn before the room: it must fill every view through the window
// that a camera on a path (or the fallback camera) can have, and need be no larger.
TEST(CameraPaths, SeeOnlyTheCountryOutsideThroughTheWindow) {
    const float viewCos = std::cos(60.0f * 3.14159265f / 180);  // wider than a 16:9 view's corners at Fov 70
    const auto forwardOf = [](const Key& q) {
        const math::Mat4 m = math::RotationQuaternion({q.v[0], q.v[1], q.v[2], q.v[3]});
        return math::Vec3{m.m[2][0], m.m[2][1], m.m[2][2]};  // where the camera's +z goes
    };
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
    ForEachPath([&](const std::string&, const std::vector<Key>& positions, const std::vector<Key>& rotations) {
        for (size_t s = 0; s + 1 < positions.size(); ++s) {
            for (int k = 0; k <= 10; ++k) {
                const float u = static_cast<float>(k) / 10;
                const math::Vec3 forward =
                    math::Normalize(forwardOf(rotations[s]) * (1 - u) + forwardOf(rotations[s + 1]) * u);
                checkView(Curve(positions, s, u), forward);
            }
        }
    });
    // The quad shows the picture where it always was, and stays inside it.
    EXPECT_GE(room::kOutdoorMin.y, room::kLandscapeMin.y);
    EXPECT_GE(room::kOutdoorMin.z, room::kLandscapeMin.z);
    EXPECT_LE(room::kOutdoorMax.y, room::kLandscapeMax.y);
    EXPECT_LE(room::kOutdoorMax.z, room::kLandscapeMax.z);
}

}  // namespace

