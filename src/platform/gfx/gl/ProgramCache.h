#pragma once
// Linked fixed-function programs, one per shader key, made on first use.

#include <unordered_map>

#include "platform/gfx/gl/Gl.h"
#include "platform/gfx/gl/ShaderKey.h"

namespace gfx::gl {

inline constexpr GLuint kConstantsBinding = 0;

// A linked program and where its object matrices go (-1 when it reads none).
struct Program {
    GLuint name = 0;
    GLint objectLocation = -1;
};

class ProgramCache {
public:
    ProgramCache() = default;
    ProgramCache(const ProgramCache&) = delete;
    ProgramCache& operator=(const ProgramCache&) = delete;
    ~ProgramCache();

    // The program for `key`, named 0 when it does not compile (the reason goes to stderr). A
    // program made by this call is left current.
    Program Get(const ShaderKey& key);
    size_t Size() const { return programs_.size(); }

private:
    std::unordered_map<ShaderKey, Program, ShaderKeyHash> programs_;
};

// Compiles and links a program from two sources; 0 on failure.
GLuint LinkProgram(const char* vertexSource, const char* fragmentSource);

}  // namespace gfx::gl
