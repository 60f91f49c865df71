#pragma once
// Reads a text description file of the media (a font, a charset) into a value tree.

#include "common/EngineString.h"
#include "resources/FileSearchList.h"
#include "udf/UdfTextNode.h"

// `name` is found on disk and in the archives of `searchList` (disk first, so a loose file
// overrides the archive). False when no place has it or it is empty.
bool ParseMediaText(const EngineString& name, const FileSearchList& searchList, UdfTextNode& root);
