#include <SDL.h>

#include <cstring>

#include "platform/sys/DirectXProbe.h"

namespace sys {
namespace {

using GetStringFn = const unsigned char* (*)(unsigned int);
using GetIntegervFn = void (*)(unsigned int, int*);
constexpr unsigned int kGlVersion = 0x1F02;
constexpr unsigned int kGlMaxTextureSize = 0x0D33;
constexpr unsigned int kGlMaxCombinedTextureUnits = 0x8B4D;

// What the fixed-function emulation needs beyond a 3.3 core context.
bool ContextIsUsable() {
    auto getString = reinterpret_cast<GetStringFn>(SDL_GL_GetProcAddress("glGetString"));
    auto getIntegerv = reinterpret_cast<GetIntegervFn>(SDL_GL_GetProcAddress("glGetIntegerv"));
    if (!getString || !getIntegerv || !getString(kGlVersion)) return false;
    int maxTexture = 0, units = 0;
    getIntegerv(kGlMaxTextureSize, &maxTexture);
    getIntegerv(kGlMaxCombinedTextureUnits, &units);
    return maxTexture >= 2048 && units >= 8;
}

class OpenGlDirectXProbe final : public DirectXProbe {
public:
    bool ReadDiagnostics(uint32_t& major, uint32_t& minor, char& letter) override {
        // Video stays up once started here: the saver needs it next, and quitting it would close
        // the display and unload the OpenGL driver only for the window and the device to load it
        // again (tens of milliseconds of start-up on a software renderer).
        if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        bool usable = false;
        if (SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN)) {
            if (SDL_GLContext context = SDL_GL_CreateContext(window)) {
                usable = ContextIsUsable();
                SDL_GL_DeleteContext(context);
            }
            SDL_DestroyWindow(window);
        }
        if (!usable) return false;
        major = 9;
        minor = 0;
        letter = 0;
        return true;
    }

    // The runtime the file table knows is not installed here: its answer is always "none".
    void ReadSystemFiles(uint32_t& major, uint32_t& minor, char& letter) override {
        major = 0;
        minor = 0;
        letter = 0;
    }
};

}  // namespace

DirectXProbe& PlatformDirectXProbe() {
    static OpenGlDirectXProbe probe;
    return probe;
}

}  // namespace sys
