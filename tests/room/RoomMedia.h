#pragma once
// The room media the build made (build/<dir>/media), read back with the engine's readers.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "udf/UdfNode.h"

namespace roomtest {

std::string MediaDir();      // the unpacked "Media" folder
std::string ArchivePath();   // media.rar
std::vector<uint8_t> ReadFile(const std::string& path);

// A fully loaded binary file; the bytes stay alive with it.
struct BinaryFile {
    std::vector<uint8_t> bytes;
    std::unique_ptr<UdfNode> root;
};
BinaryFile LoadBinary(const std::string& path);

std::string Text(const UdfNode* node);
float FloatAt(const UdfNode* node, uint32_t index);

// Every node of a scene's "Children" tree, depth first, with its name and parent node.
struct SceneEntry {
    std::string name;
    const UdfNode* node;
    const UdfNode* parent;  // null at the top level
};
std::vector<SceneEntry> SceneNodes(const UdfNode& root);

// Bytes per vertex of a flexible vertex format made of position, normal, diffuse and texture sets.
uint32_t FvfStride(int32_t fvf);

}  // namespace roomtest
