#pragma once
// One OpenGL vertex array per vertex layout (buffer, offset, stride, FVF). A draw from another
// buffer binds that buffer's array instead of describing every attribute again, so an array
// keeps the layout it was made with and the driver does not work it out anew at each switch.

#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "platform/gfx/gl/Gl.h"

namespace gfx::gl {

struct VertexLayoutKey {
    GLuint buffer = 0;
    uint32_t offset = 0;
    uint32_t stride = 0;
    uint32_t fvf = 0;
    friend bool operator==(const VertexLayoutKey&, const VertexLayoutKey&) = default;
};

struct VertexLayoutKeyHash {
    size_t operator()(const VertexLayoutKey& key) const;
};

class VertexArrayCache {
public:
    // Arrays kept at most; past this the cache starts over (a scene of that many layouts is not
    // one this program draws).
    static constexpr size_t kMaxArrays = 512;

    VertexArrayCache() = default;
    VertexArrayCache(const VertexArrayCache&) = delete;
    VertexArrayCache& operator=(const VertexArrayCache&) = delete;

    // Binds the array of `key`, making and describing it the first time.
    void Bind(const VertexLayoutKey& key);
    // Binds `indexBuffer` to the bound array unless that array holds it already.
    void BindIndices(GLuint indexBuffer);
    // Somebody else bound an array of their own.
    void Forget() { bound_ = nullptr; }
    // Deletes every array (with the context current): their buffers were deleted, whose names
    // may come back for new buffers, or every state is to be sent again.
    void Clear();

private:
    struct Array {
        GLuint name = 0;
        GLuint indexBuffer = 0;
    };
    std::unordered_map<VertexLayoutKey, Array, VertexLayoutKeyHash> arrays_;
    Array* bound_ = nullptr;  // map values stay where they are while the map grows
};

}  // namespace gfx::gl
