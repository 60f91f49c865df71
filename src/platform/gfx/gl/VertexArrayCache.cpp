#include "platform/gfx/gl/VertexArrayCache.h"

#include "platform/gfx/Fvf.h"
#include "platform/gfx/States.h"

namespace gfx::gl {
namespace {

void* AttributeOffset(size_t bytes) { return reinterpret_cast<void*>(bytes); }

// Points the attribute locations of the generated shaders at the vertex's elements.
void Describe(const VertexLayoutKey& key) {
    const VertexLayout layout = DescribeFvf(key.fvf);
    const auto stride = static_cast<GLsizei>(key.stride);
    glBindBuffer(GL_ARRAY_BUFFER, key.buffer);
    auto floats = [&](GLuint location, int32_t at, GLint size) {
        if (at == VertexLayout::kAbsent) return;  // a new array has every attribute off
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, size, GL_FLOAT, GL_FALSE, stride,
                              AttributeOffset(key.offset + static_cast<uint32_t>(at)));
    };
    auto color = [&](GLuint location, int32_t at) {
        if (at == VertexLayout::kAbsent) return;
        glEnableVertexAttribArray(location);
        // ARGB words are the bytes B, G, R, A.
        glVertexAttribPointer(location, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              AttributeOffset(key.offset + static_cast<uint32_t>(at)));
    };
    floats(0, 0, layout.pretransformed || (key.fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZW ? 4 : 3);
    floats(1, layout.normal, 3);
    color(2, layout.diffuse);
    color(3, layout.specular);
    for (uint32_t set = 0; set < 8; ++set) floats(4 + set, layout.texCoord[set], static_cast<GLint>(layout.texCoordFloats[set]));
}

}  // namespace

size_t VertexLayoutKeyHash::operator()(const VertexLayoutKey& key) const {
    uint64_t h = key.buffer;
    h = h * 0x9E3779B97F4A7C15ull ^ key.offset;
    h = h * 0x9E3779B97F4A7C15ull ^ key.stride;
    h = h * 0x9E3779B97F4A7C15ull ^ key.fvf;
    return static_cast<size_t>(h ^ (h >> 29));
}

void VertexArrayCache::Bind(const VertexLayoutKey& key) {
    if (const auto found = arrays_.find(key); found != arrays_.end()) {
        if (bound_ != &found->second) {
            glBindVertexArray(found->second.name);
            bound_ = &found->second;
        }
        return;
    }
    if (arrays_.size() >= kMaxArrays) Clear();
    Array array;
    glGenVertexArrays(1, &array.name);
    glBindVertexArray(array.name);
    Describe(key);
    bound_ = &arrays_.emplace(key, array).first->second;
}

void VertexArrayCache::BindIndices(GLuint indexBuffer) {
    if (bound_ == nullptr || bound_->indexBuffer == indexBuffer) return;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);  // kept by the bound array
    bound_->indexBuffer = indexBuffer;
}

void VertexArrayCache::Clear() {
    glBindVertexArray(0);
    for (const auto& [key, array] : arrays_) glDeleteVertexArrays(1, &array.name);
    arrays_.clear();
    bound_ = nullptr;
}

}  // namespace gfx::gl
