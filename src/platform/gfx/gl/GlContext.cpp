#include "platform/gfx/gl/GlContext.h"

#include <SDL.h>

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

GlCapabilities ProbeCapabilities() {
    GlCapabilities caps;
    RequestContextAttributes();
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr) return caps;
    if (void* context = CreateContext(window)) {
        caps.usable = true;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &caps.maxTextureSize);
        glGetIntegerv(GL_MAX_SAMPLES, &caps.maxSamples);
        GLint extensions = 0;
        glGetIntegerv(GL_NUM_EXTENSIONS, &extensions);
        for (GLint i = 0; i < extensions; ++i) {
            const char* name = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
            if (std::strcmp(name, "GL_EXT_texture_compression_s3tc") == 0) caps.s3tc = true;
            if (std::strcmp(name, "GL_EXT_texture_filter_anisotropic") == 0 ||
                std::strcmp(name, "GL_ARB_texture_filter_anisotropic") == 0) {
                caps.anisotropy = true;
            }
        }
        if (const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER))) {
            std::strncpy(caps.renderer, renderer, sizeof(caps.renderer) - 1);
        }
        CheckErrors("ProbeCapabilities");
        SDL_GL_MakeCurrent(window, nullptr);
        DestroyContext(context);
    }
    SDL_DestroyWindow(window);
    return caps;
}

}  // namespace gfx::gl
