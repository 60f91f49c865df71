#pragma once
// Value trees as JSON, children in insertion order. Texts are 8-bit: bytes outside ASCII are
// written as \u00XX (Latin-1), so the output is always valid UTF-8.

#include <cstdint>
#include <string>
#include <string_view>

#include "udf/UdfNode.h"
#include "udf/UdfTextNode.h"

// `text` as a JSON string, quotes included.
void AppendJsonString(std::string& out, std::string_view text);

// {"name":…,"kind":0|1|2,"value":…,"children":[…]}
std::string TextTreeToJson(const UdfTextNode& root);

// {"name":…,"type":…,"flags":…,"count":…,"offset":…,"size":…,"linked":…,"data":"…"|null,
//  "children":[…]}: data in lowercase hex, at most `maxData` bytes. A linked child is listed
// without its children, which appear where it is owned.
std::string BinaryTreeToJson(const UdfNode& root, uint32_t maxData);
