#include "platform/gfx/gl/ProgramCache.h"

#include <cstdio>
#include <string>
#include <vector>

namespace gfx::gl {
namespace {

GLuint Compile(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        std::vector<char> log(4096);
        glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
        std::fprintf(stderr, "shader does not compile:\n%s\n%s\n", log.data(), source);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

GLuint LinkProgram(const char* vertexSource, const char* fragmentSource) {
    const GLuint vertex = Compile(GL_VERTEX_SHADER, vertexSource);
    const GLuint fragment = Compile(GL_FRAGMENT_SHADER, fragmentSource);
    GLuint program = 0;
    if (vertex && fragment) {
        program = glCreateProgram();
        glAttachShader(program, vertex);
        glAttachShader(program, fragment);
        glLinkProgram(program);
        GLint ok = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (!ok) {
            std::vector<char> log(4096);
            glGetProgramInfoLog(program, static_cast<GLsizei>(log.size()), nullptr, log.data());
            std::fprintf(stderr, "program does not link:\n%s\n", log.data());
            glDeleteProgram(program);
            program = 0;
        }
    }
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    CheckErrors("LinkProgram");
    return program;
}

ProgramCache::~ProgramCache() {
    for (const auto& [key, program] : programs_) glDeleteProgram(program.name);
}

Program ProgramCache::Get(const ShaderKey& key) {
    if (const auto found = programs_.find(key); found != programs_.end()) return found->second;
    const std::string vertex = VertexShaderSource(key);
    const std::string fragment = FragmentShaderSource(key);
    const GLuint program = LinkProgram(vertex.c_str(), fragment.c_str());
    GLint objectLocation = -1;
    if (program != 0) {
        objectLocation = glGetUniformLocation(program, "object");
        const GLuint block = glGetUniformBlockIndex(program, "FixedFunction");
        if (block != GL_INVALID_INDEX) glUniformBlockBinding(program, block, kConstantsBinding);
        glUseProgram(program);
        for (int stage = 0; stage < static_cast<int>(kMaxTextureStages); ++stage) {
            const std::string name = "uTex" + std::to_string(stage);
            const GLint location = glGetUniformLocation(program, name.c_str());
            if (location >= 0) glUniform1i(location, stage);
        }
        CheckErrors("ProgramCache::Get");
    }
    programs_.emplace(key, Program{program, objectLocation});
    return {program, objectLocation};
}

}  // namespace gfx::gl
