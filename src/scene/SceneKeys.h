#pragma once
// Typed reads of scene-file keys in the encodings the scene files use: a matrix is a leaf of 16
// little-endian floats (row vectors, translation in the fourth row), a colour 4 floats in the
// order alpha, red, green, blue, floats "real", integers "int", texts "string", and a set of
// words a text of words separated by blanks. Each read fails (and leaves `out` alone) when the
// key is missing or its leaf is too short.

#include <cstdint>
#include <string_view>

#include "common/EngineString.h"
#include "scene/Color.h"
#include "scene/Matrix.h"

class UdfNode;

bool ReadMatrixKey(const UdfNode& node, const char* name, Matrix& out);
bool ReadColorKey(const UdfNode& node, const char* name, EngineColor& out);
bool ReadRealKey(const UdfNode& node, const char* name, float& out);
bool ReadIntKey(const UdfNode& node, const char* name, int32_t& out);
bool ReadStringKey(const UdfNode& node, const char* name, EngineString& out);
// A switch key whose value is "1" (as text, or the integer 1).
bool KeyIsOne(const UdfNode& node, const char* name);
// Whether the blank-separated `words` hold `word` exactly.
bool HasWord(std::string_view words, std::string_view word);
// Whether `text` holds `part`, ignoring the case of A to Z.
bool ContainsIgnoreCase(std::string_view text, std::string_view part);
