#pragma once
// Camera path files for tests: a position and a rotation key at each end of the path.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "udf/UdfNode.h"
#include "udf/UdfWriter.h"

namespace testing_support {

struct CameraKeys {
    float time;
    float position[3];
    float rotation[4];  // quaternion x, y, z, w
};

// Writes the "pos" and "rot" keys of `first` and `last` as a path file at `path`.
inline void WriteCameraPathFile(const std::string& path, const CameraKeys& first, const CameraKeys& last) {
    const CameraKeys* ends[2] = {&first, &last};
    std::vector<std::unique_ptr<UdfNode>> nodes;
    std::vector<UdfNode*> top;
    for (int i = 0; i < 4; ++i) {
        const bool position = i < 2;
        const CameraKeys& key = *ends[i % 2];
        float values[8] = {key.time};
        for (int c = 0; c < (position ? 3 : 4); ++c) values[1 + c] = position ? key.position[c] : key.rotation[c];
        const char* type = position ? "pos" : "rot";
        nodes.push_back(std::make_unique<UdfNode>(EngineString(type) + EngineString(i, 10), EngineString(type), values,
                                                  32, true));
        top.push_back(nodes.back().get());
    }
    ASSERT_TRUE(UdfWriter().Save(path.c_str(), top, nullptr, 0));
}

}  // namespace testing_support
