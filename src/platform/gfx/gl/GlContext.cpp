#include "platform/gfx/gl/GlContext.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/gfx/gl/Gl.h"

namespace gfx::gl {

void RequestContextAttributes() {
    // Only the version: the colour and depth sizes must stay as they were when the window was
    // made, or the context will not match its surface. We draw into a target of our own with
    // 8-bit channels and a 24-bit depth buffer, so the window's own sizes do not matter.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
}

void* CreateContext(SDL_Window* window) {
    RequestContextAttributes();
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) return nullptr;
    if (SDL_GL_MakeCurrent(window, context) != 0) {
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    return context;
}

void DestroyContext(void* context) {
    if (context) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}

namespace {

bool HasExtension(const char* wanted) {
    GLint extensions = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &extensions);
    for (GLint i = 0; i < extensions; ++i) {
        const char* name = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
        if (std::strcmp(name, wanted) == 0) return true;
    }
    return false;
}

uint32_t SupportedSampleCounts(int maxSamples) {
    uint32_t counts = 0;
    if (HasExtension("GL_ARB_internalformat_query")) {
        GLint listed = 0;
        glGetInternalformativ(GL_RENDERBUFFER, GL_RGBA8, GL_NUM_SAMPLE_COUNTS, 1, &listed);
        GLint samples[32] = {};
        listed = std::clamp(listed, 0, 32);
        glGetInternalformativ(GL_RENDERBUFFER, GL_RGBA8, GL_SAMPLES, listed, samples);
        for (GLint i = 0; i < listed; ++i) {
            if (samples[i] >= 2 && samples[i] <= 16) counts |= 1u << samples[i];
        }
        return counts;
    }
    for (int n = 2; n <= std::min(maxSamples, 16); ++n) counts |= 1u << n;  // no query: trust the maximum
    return counts;
}

// Mesa's rasterisers on the CPU: they decode a compressed texel every time they sample it.
bool IsSoftwareRasterizer(const char* renderer) {
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer"}) {
        if (std::strstr(renderer, name) != nullptr) return true;
    }
    return false;
}

}  // namespace

GlCapabilities ProbeCapabilities() {
    GlCapabilities caps;
    RequestContextAttributes();
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr) return caps;
    if (void* context = CreateContext(window)) {
        caps.usable = true;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &caps.maxTextureSize);
        glGetIntegerv(GL_MAX_SAMPLES, &caps.maxSamples);
        caps.sampleCounts = SupportedSampleCounts(caps.maxSamples);
        caps.anisotropy = HasExtension("GL_EXT_texture_filter_anisotropic") ||
                          HasExtension("GL_ARB_texture_filter_anisotropic");
        if (const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER))) {
            std::strncpy(caps.renderer, renderer, sizeof(caps.renderer) - 1);
        }
        // Decoding once at upload costs memory but saves about a third of the fill time there.
        caps.s3tc = HasExtension("GL_EXT_texture_compression_s3tc") && !IsSoftwareRasterizer(caps.renderer);
        CheckErrors("ProbeCapabilities");
        SDL_GL_MakeCurrent(window, nullptr);
        DestroyContext(context);
    }
    SDL_DestroyWindow(window);
    return caps;
}

}  // namespace gfx::gl
