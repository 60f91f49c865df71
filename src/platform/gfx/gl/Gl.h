#pragma once
// The OpenGL 3.3 core interface, linked through the vendor-neutral dispatch library, plus the
// compressed formats the core headers leave out, and error checking for debug builds.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

namespace gfx::gl {

inline constexpr GLenum kCompressedDxt1 = 0x83F1;  // GL_COMPRESSED_RGBA_S3TC_DXT1_EXT
inline constexpr GLenum kCompressedDxt3 = 0x83F2;
inline constexpr GLenum kCompressedDxt5 = 0x83F3;
inline constexpr GLenum kMaxTextureAnisotropy = 0x84FE;  // GL_TEXTURE_MAX_ANISOTROPY

// Reports and clears pending GL errors (debug builds only); `where` names the caller.
void CheckErrors(const char* where);
// GL errors seen by CheckErrors since the process started.
unsigned ErrorCount();

}  // namespace gfx::gl
