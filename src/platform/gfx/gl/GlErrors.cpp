#include <cstdio>

#include "platform/gfx/gl/Gl.h"

namespace gfx::gl {
namespace {
unsigned g_errors = 0;
}

unsigned ErrorCount() { return g_errors; }

void CheckErrors([[maybe_unused]] const char* where) {
#ifndef NDEBUG
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        ++g_errors;
        std::fprintf(stderr, "OpenGL error 0x%04X in %s\n", error, where);
    }
#endif
}

}  // namespace gfx::gl
