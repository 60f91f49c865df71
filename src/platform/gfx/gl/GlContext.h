#pragma once
// OpenGL 3.3 core contexts on SDL windows, and what the driver can do, read once.

#include <cstdint>

struct SDL_Window;

namespace gfx::gl {

struct GlCapabilities {
    bool usable = false;  // a 3.3 core context could be made
    int maxTextureSize = 0;
    int maxSamples = 0;
    // Bit n set: a colour target can have exactly n samples (n >= 2). Drivers round other
    // counts up, which would multiply the fill cost behind the caller's back.
    uint32_t sampleCounts = 0;
    bool s3tc = false;  // compressed textures go to the driver as they are; else decoded at upload
    bool anisotropy = false;
    char renderer[256] = {};
};

// Asks for OpenGL 3.3 core contexts.
void RequestContextAttributes();
// A current 3.3 core context for `window`, or null.
void* CreateContext(SDL_Window* window);
void DestroyContext(void* context);
// Probes the driver through a hidden window (SDL video must be initialised).
GlCapabilities ProbeCapabilities();
// OpenGL errors seen by the device since the process started (checked in debug builds).
unsigned GlErrorCount();

}  // namespace gfx::gl
