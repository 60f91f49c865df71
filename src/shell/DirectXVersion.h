#pragma once
// The graphics runtime check made before anything else starts.

#include <cstddef>
#include <cstdint>

#include "platform/sys/DirectXProbe.h"

// (major << 16) | (minor << 8) | letter, letter 1 for "a" (any case), 0 for none.
uint32_t EncodeDirectXVersion(uint32_t major, uint32_t minor, char letter);

constexpr uint32_t kRequiredDirectXVersion = 0x90000;

// 0 on success. Fills `version` and, when `text` is given, "%d.%d" or "%d.%d%c", always
// terminated inside `textSize` bytes.
int QueryDirectXVersion(sys::DirectXProbe& probe, uint32_t& version, char* text, size_t textSize);
