#pragma once
// How the overlay finds its files: fonts, charsets and their pictures are media files, named
// relative to the media folder and served from disk or the media archive.

#include <functional>

#include "common/EngineString.h"
#include "resources/FileSource.h"
#include "udf/UdfTextNode.h"

// The source of the media file `name` (no leading separator).
using MediaFiles = std::function<FileSource(const EngineString& name)>;

// `name` with any leading "/" or "\" dropped, as the media folder's files are named.
EngineString MediaName(const EngineString& name);

// Parses the media text file `name` into `root`. False when it cannot be opened or is empty.
bool ParseMediaText(const EngineString& name, const MediaFiles& media, UdfTextNode& root);
