#pragma once
// Names of Direct3D values for the mode description, and the bits per pixel of a format.

#include <cstdint>

#include "platform/gfx/Types.h"

// The format's enumerator name without "D3DFMT_", or "Unknown format".
const char* FormatName(gfx::D3DFORMAT format);
const char* MultiSampleName(gfx::D3DMULTISAMPLE_TYPE type);
const char* VertexProcessingName(uint32_t vertexProcessing);
const char* PresentIntervalName(uint32_t interval);
// Bits per pixel; 0 for compressed, YUV and unknown formats.
uint32_t FormatBits(gfx::D3DFORMAT format);
