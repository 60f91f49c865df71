// Counts the OpenGL calls of everything linked into the benchmark, the device and the plain
// reference alike: the functions below are defined here, count, and forward to the driver's. The
// list holds every function either of them calls; a function missing here goes uncounted.

#include <dlfcn.h>

#include "GlCallCounter.h"
#include "platform/gfx/gl/Gl.h"

namespace {

uint64_t calls = 0;

// The driver's entry points. With every function it calls defined here, the linker drops the
// library from the program's needs, so it is opened by name.
void* Driver(const char* name) {
    static void* library = dlopen("libOpenGL.so.0", RTLD_NOW | RTLD_GLOBAL);
    return library ? dlsym(library, name) : nullptr;
}

}  // namespace

uint64_t bench::GlCalls() { return calls; }

#define COUNTED(ret, name, params, args)                                                \
    extern "C" ret APIENTRY name params {                                               \
        ++calls;                                                                        \
        static const auto driver = reinterpret_cast<decltype(&name)>(Driver(#name));    \
        return driver args;                                                             \
    }

COUNTED(void, glActiveTexture, (GLenum texture), (texture))
COUNTED(void, glAttachShader, (GLuint program, GLuint shader), (program, shader))
COUNTED(void, glBindBuffer, (GLenum target, GLuint buffer), (target, buffer))
COUNTED(void, glBindBufferBase, (GLenum target, GLuint index, GLuint buffer), (target, index, buffer))
COUNTED(void, glBindBufferRange, (GLenum target, GLuint index, GLuint buffer, GLintptr offset, GLsizeiptr size), (target, index, buffer, offset, size))
COUNTED(void, glBindFramebuffer, (GLenum target, GLuint framebuffer), (target, framebuffer))
COUNTED(void, glBindRenderbuffer, (GLenum target, GLuint renderbuffer), (target, renderbuffer))
COUNTED(void, glBindSampler, (GLuint unit, GLuint sampler), (unit, sampler))
COUNTED(void, glBindTexture, (GLenum target, GLuint texture), (target, texture))
COUNTED(void, glBindVertexArray, (GLuint array), (array))
COUNTED(void, glBlendColor, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha), (red, green, blue, alpha))
COUNTED(void, glBlendEquation, (GLenum mode), (mode))
COUNTED(void, glBlendEquationSeparate, (GLenum modeRGB, GLenum modeAlpha), (modeRGB, modeAlpha))
COUNTED(void, glBlendFunc, (GLenum sfactor, GLenum dfactor), (sfactor, dfactor))
COUNTED(void, glBlendFuncSeparate, (GLenum sfactorRGB, GLenum dfactorRGB, GLenum sfactorAlpha, GLenum dfactorAlpha), (sfactorRGB, dfactorRGB, sfactorAlpha, dfactorAlpha))
COUNTED(void, glBlitFramebuffer, (GLint srcX0, GLint srcY0, GLint srcX1, GLint srcY1, GLint dstX0, GLint dstY0, GLint dstX1, GLint dstY1, GLbitfield mask, GLenum filter), (srcX0, srcY0, srcX1, srcY1, dstX0, dstY0, dstX1, dstY1, mask, filter))
COUNTED(void, glBufferData, (GLenum target, GLsizeiptr size, const void *data, GLenum usage), (target, size, data, usage))
COUNTED(void, glBufferSubData, (GLenum target, GLintptr offset, GLsizeiptr size, const void *data), (target, offset, size, data))
COUNTED(GLenum, glCheckFramebufferStatus, (GLenum target), (target))
COUNTED(void, glClear, (GLbitfield mask), (mask))
COUNTED(void, glClearColor, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha), (red, green, blue, alpha))
COUNTED(void, glClearDepth, (GLdouble depth), (depth))
COUNTED(void, glClearStencil, (GLint s), (s))
COUNTED(GLenum, glClientWaitSync, (GLsync sync, GLbitfield flags, GLuint64 timeout), (sync, flags, timeout))
COUNTED(void, glColorMask, (GLboolean red, GLboolean green, GLboolean blue, GLboolean alpha), (red, green, blue, alpha))
COUNTED(void, glCompileShader, (GLuint shader), (shader))
COUNTED(void, glCompressedTexImage2D, (GLenum target, GLint level, GLenum internalformat, GLsizei width, GLsizei height, GLint border, GLsizei imageSize, const void *data), (target, level, internalformat, width, height, border, imageSize, data))
COUNTED(void, glCompressedTexSubImage2D, (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height, GLenum format, GLsizei imageSize, const void *data), (target, level, xoffset, yoffset, width, height, format, imageSize, data))
COUNTED(GLuint, glCreateProgram, (void), ())
COUNTED(GLuint, glCreateShader, (GLenum type), (type))
COUNTED(void, glCullFace, (GLenum mode), (mode))
COUNTED(void, glDeleteBuffers, (GLsizei n, const GLuint *buffers), (n, buffers))
COUNTED(void, glDeleteFramebuffers, (GLsizei n, const GLuint *framebuffers), (n, framebuffers))
COUNTED(void, glDeleteProgram, (GLuint program), (program))
COUNTED(void, glDeleteRenderbuffers, (GLsizei n, const GLuint *renderbuffers), (n, renderbuffers))
COUNTED(void, glDeleteSamplers, (GLsizei count, const GLuint *samplers), (count, samplers))
COUNTED(void, glDeleteShader, (GLuint shader), (shader))
COUNTED(void, glDeleteSync, (GLsync sync), (sync))
COUNTED(void, glDeleteTextures, (GLsizei n, const GLuint *textures), (n, textures))
COUNTED(void, glDeleteVertexArrays, (GLsizei n, const GLuint *arrays), (n, arrays))
COUNTED(void, glDepthFunc, (GLenum func), (func))
COUNTED(void, glDepthMask, (GLboolean flag), (flag))
COUNTED(void, glDisable, (GLenum cap), (cap))
COUNTED(void, glDisableVertexAttribArray, (GLuint index), (index))
COUNTED(void, glDrawArrays, (GLenum mode, GLint first, GLsizei count), (mode, first, count))
COUNTED(void, glDrawElements, (GLenum mode, GLsizei count, GLenum type, const void *indices), (mode, count, type, indices))
COUNTED(void, glDrawElementsBaseVertex, (GLenum mode, GLsizei count, GLenum type, const void *indices, GLint basevertex), (mode, count, type, indices, basevertex))
COUNTED(void, glEnable, (GLenum cap), (cap))
COUNTED(void, glEnableVertexAttribArray, (GLuint index), (index))
COUNTED(GLsync, glFenceSync, (GLenum condition, GLbitfield flags), (condition, flags))
COUNTED(void, glFinish, (void), ())
COUNTED(void, glFlush, (void), ())
COUNTED(void, glFramebufferRenderbuffer, (GLenum target, GLenum attachment, GLenum renderbuffertarget, GLuint renderbuffer), (target, attachment, renderbuffertarget, renderbuffer))
COUNTED(void, glFramebufferTexture2D, (GLenum target, GLenum attachment, GLenum textarget, GLuint texture, GLint level), (target, attachment, textarget, texture, level))
COUNTED(void, glFrontFace, (GLenum mode), (mode))
COUNTED(void, glGenBuffers, (GLsizei n, GLuint *buffers), (n, buffers))
COUNTED(void, glGenFramebuffers, (GLsizei n, GLuint *framebuffers), (n, framebuffers))
COUNTED(void, glGenRenderbuffers, (GLsizei n, GLuint *renderbuffers), (n, renderbuffers))
COUNTED(void, glGenSamplers, (GLsizei count, GLuint *samplers), (count, samplers))
COUNTED(void, glGenTextures, (GLsizei n, GLuint *textures), (n, textures))
COUNTED(void, glGenVertexArrays, (GLsizei n, GLuint *arrays), (n, arrays))
COUNTED(void, glGenerateMipmap, (GLenum target), (target))
COUNTED(GLenum, glGetError, (void), ())
COUNTED(void, glGetIntegerv, (GLenum pname, GLint *data), (pname, data))
COUNTED(void, glGetProgramInfoLog, (GLuint program, GLsizei bufSize, GLsizei *length, GLchar *infoLog), (program, bufSize, length, infoLog))
COUNTED(void, glGetProgramiv, (GLuint program, GLenum pname, GLint *params), (program, pname, params))
COUNTED(void, glGetShaderInfoLog, (GLuint shader, GLsizei bufSize, GLsizei *length, GLchar *infoLog), (shader, bufSize, length, infoLog))
COUNTED(void, glGetShaderiv, (GLuint shader, GLenum pname, GLint *params), (shader, pname, params))
COUNTED(const GLubyte *, glGetString, (GLenum name), (name))
COUNTED(const GLubyte *, glGetStringi, (GLenum name, GLuint index), (name, index))
COUNTED(GLuint, glGetUniformBlockIndex, (GLuint program, const GLchar *uniformBlockName), (program, uniformBlockName))
COUNTED(GLint, glGetUniformLocation, (GLuint program, const GLchar *name), (program, name))
COUNTED(void, glLinkProgram, (GLuint program), (program))
COUNTED(void *, glMapBufferRange, (GLenum target, GLintptr offset, GLsizeiptr length, GLbitfield access), (target, offset, length, access))
COUNTED(void, glPixelStorei, (GLenum pname, GLint param), (pname, param))
COUNTED(void, glPointSize, (GLfloat size), (size))
COUNTED(void, glPolygonMode, (GLenum face, GLenum mode), (face, mode))
COUNTED(void, glProvokingVertex, (GLenum mode), (mode))
COUNTED(void, glReadPixels, (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void *pixels), (x, y, width, height, format, type, pixels))
COUNTED(void, glRenderbufferStorage, (GLenum target, GLenum internalformat, GLsizei width, GLsizei height), (target, internalformat, width, height))
COUNTED(void, glRenderbufferStorageMultisample, (GLenum target, GLsizei samples, GLenum internalformat, GLsizei width, GLsizei height), (target, samples, internalformat, width, height))
COUNTED(void, glSamplerParameterf, (GLuint sampler, GLenum pname, GLfloat param), (sampler, pname, param))
COUNTED(void, glSamplerParameterfv, (GLuint sampler, GLenum pname, const GLfloat *param), (sampler, pname, param))
COUNTED(void, glSamplerParameteri, (GLuint sampler, GLenum pname, GLint param), (sampler, pname, param))
COUNTED(void, glScissor, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height))
COUNTED(void, glShaderSource, (GLuint shader, GLsizei count, const GLchar *const*string, const GLint *length), (shader, count, string, length))
COUNTED(void, glStencilMask, (GLuint mask), (mask))
COUNTED(void, glTexImage2D, (GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const void *pixels), (target, level, internalformat, width, height, border, format, type, pixels))
COUNTED(void, glTexParameteri, (GLenum target, GLenum pname, GLint param), (target, pname, param))
COUNTED(void, glTexSubImage2D, (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height, GLenum format, GLenum type, const void *pixels), (target, level, xoffset, yoffset, width, height, format, type, pixels))
COUNTED(void, glUniform1i, (GLint location, GLint v0), (location, v0))
COUNTED(void, glUniform3fv, (GLint location, GLsizei count, const GLfloat *value), (location, count, value))
COUNTED(void, glUniform4fv, (GLint location, GLsizei count, const GLfloat *value), (location, count, value))
COUNTED(void, glUniformBlockBinding, (GLuint program, GLuint uniformBlockIndex, GLuint uniformBlockBinding), (program, uniformBlockIndex, uniformBlockBinding))
COUNTED(void, glUniformMatrix4fv, (GLint location, GLsizei count, GLboolean transpose, const GLfloat *value), (location, count, transpose, value))
COUNTED(GLboolean, glUnmapBuffer, (GLenum target), (target))
COUNTED(void, glUseProgram, (GLuint program), (program))
COUNTED(void, glVertexAttribPointer, (GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride, const void *pointer), (index, size, type, normalized, stride, pointer))
COUNTED(void, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height))
