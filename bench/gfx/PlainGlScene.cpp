#include "PlainGlScene.h"

#include <SDL.h>

#include <vector>

#include "BenchScene.h"
#include "platform/gfx/gl/FrameTarget.h"
#include "platform/gfx/gl/GlContext.h"
#include "platform/gfx/gl/ProgramCache.h"

namespace bench {
namespace {

const char* const kVertex = R"(#version 330 core
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
layout(location = 2) in vec2 inTex0;
layout(location = 3) in vec2 inTex1;
uniform mat4 worldView;
uniform mat4 projection;
uniform vec3 ambient;
uniform vec3 pointDiffuse;
uniform vec3 pointPosition;
uniform vec3 pointParams;  // range, attenuation 0, attenuation 1
uniform vec3 sunDiffuse;
uniform vec3 sunDirection;
out vec4 diffuse;
out vec2 tex0;
out vec2 tex1;
void main() {
    vec4 p = worldView * vec4(inPosition, 1.0);
    vec4 clip = projection * p;
    gl_Position = vec4(clip.x, -clip.y, 2.0 * clip.z - clip.w, clip.w);
    vec3 n = mat3(worldView) * inNormal;
    vec3 toLight = pointPosition - p.xyz;
    float dist = length(toLight);
    float att = dist > pointParams.x ? 0.0 : 1.0 / (pointParams.y + pointParams.z * dist);
    vec3 light = ambient + att * max(dot(n, toLight / dist), 0.0) * pointDiffuse +
                 max(dot(n, -sunDirection), 0.0) * sunDiffuse;
    diffuse = vec4(clamp(light, 0.0, 1.0), 1.0);
    tex0 = inTex0;
    tex1 = inTex1;
}
)";

const char* const kFragment = R"(#version 330 core
uniform sampler2D texture0;
uniform sampler2D texture1;
in vec4 diffuse;
in vec2 tex0;
in vec2 tex1;
out vec4 color;
void main() {
    vec4 c = clamp(texture(texture0, tex0) * diffuse, 0.0, 1.0);
    color = clamp(2.0 * c * texture(texture1, tex1), 0.0, 1.0);
}
)";

void Uniform3(GLuint program, const char* name, const float* v) {
    glUniform3fv(glGetUniformLocation(program, name), 1, v);
}

GLuint MakeTexture(uint32_t which) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    std::vector<uint32_t> texels;
    GLint level = 0;
    for (uint32_t size = kTextureSize; size > 0; size /= 2, ++level) {
        texels.resize(static_cast<size_t>(size) * size);
        for (uint32_t y = 0; y < size; ++y) {
            for (uint32_t x = 0; x < size; ++x) texels[y * size + x] = Texel(which, x, y);
        }
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, static_cast<GLsizei>(size), static_cast<GLsizei>(size), 0, GL_BGRA,
                     GL_UNSIGNED_BYTE, texels.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return texture;
}

}  // namespace

PlainGlScene::PlainGlScene(uint32_t width, uint32_t height) : width_(width), height_(height) {
    window_ = std::make_unique<gfx::HiddenWindow>(static_cast<int>(width), static_cast<int>(height));
    if (!window_->NativeHandle()) return;
    context_ = gfx::gl::CreateContext(static_cast<SDL_Window*>(window_->NativeHandle()));
    if (!context_) return;
    const auto w = static_cast<GLsizei>(width), h = static_cast<GLsizei>(height);

    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glGenTextures(1, &color_);
    glBindTexture(GL_TEXTURE_2D, color_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color_, 0);
    glGenRenderbuffers(1, &depthStencil_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil_);

    textures_[0] = MakeTexture(0);
    textures_[1] = MakeTexture(1);
    uint8_t identity[256 * 4];
    for (int i = 0; i < 256; ++i) {
        identity[i * 4] = identity[i * 4 + 1] = identity[i * 4 + 2] = static_cast<uint8_t>(i);
        identity[i * 4 + 3] = 255;
    }
    glGenTextures(1, &ramp_);
    glBindTexture(GL_TEXTURE_2D, ramp_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 256, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, identity);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);

    const std::vector<GridVertex> grid = GridVertices();
    const std::vector<uint32_t> index = GridIndices();
    glGenVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glGenBuffers(1, &vertices_);
    glBindBuffer(GL_ARRAY_BUFFER, vertices_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(grid.size() * sizeof(GridVertex)), grid.data(), GL_STATIC_DRAW);
    glGenBuffers(1, &indices_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(index.size() * sizeof(uint32_t)), index.data(),
                 GL_STATIC_DRAW);
    const GLint sizes[4] = {3, 3, 2, 2};
    const size_t offsets[4] = {0, 12, 24, 32};
    for (GLuint a = 0; a < 4; ++a) {
        glEnableVertexAttribArray(a);
        glVertexAttribPointer(a, sizes[a], GL_FLOAT, GL_FALSE, sizeof(GridVertex), reinterpret_cast<void*>(offsets[a]));
    }
    glGenVertexArrays(1, &emptyVertexArray_);

    program_ = gfx::gl::LinkProgram(kVertex, kFragment);
    gammaProgram_ = gfx::gl::LinkProgram(gfx::gl::kGammaPassVertexShader, gfx::gl::kGammaPassFragmentShader);
    if (!program_ || !gammaProgram_) return;
    glUseProgram(program_);
    glUniform1i(glGetUniformLocation(program_, "texture0"), 0);
    glUniform1i(glGetUniformLocation(program_, "texture1"), 1);
    const math::Mat4 projection = Projection(width, height);
    glUniformMatrix4fv(glGetUniformLocation(program_, "projection"), 1, GL_FALSE, &projection.m[0][0]);
    const float ambient[3] = {0x20 / 255.0f, 0x20 / 255.0f, 0x20 / 255.0f};
    const float pointParams[3] = {kPointLight.range, kPointLight.attenuation0, kPointLight.attenuation1};
    const math::Vec3 sun = math::Normalize({kSun.direction[0], kSun.direction[1], kSun.direction[2]});
    const float sunDirection[3] = {sun.x, sun.y, sun.z};
    Uniform3(program_, "ambient", ambient);
    Uniform3(program_, "pointDiffuse", kPointLight.diffuse);
    Uniform3(program_, "pointPosition", kPointLight.position);
    Uniform3(program_, "pointParams", pointParams);
    Uniform3(program_, "sunDiffuse", kSun.diffuse);
    Uniform3(program_, "sunDirection", sunDirection);
    worldViewLocation_ = glGetUniformLocation(program_, "worldView");
    glUseProgram(gammaProgram_);
    glUniform1i(glGetUniformLocation(gammaProgram_, "frame"), 0);
    glUniform1i(glGetUniformLocation(gammaProgram_, "ramp"), 1);
    glFrontFace(GL_CCW);
}

PlainGlScene::~PlainGlScene() {
    if (!context_) return;
    MakeCurrent();
    for (GLsync fence : fences_) {
        if (fence) glDeleteSync(fence);
    }
    glDeleteProgram(program_);
    glDeleteProgram(gammaProgram_);
    glDeleteBuffers(1, &vertices_);
    glDeleteBuffers(1, &indices_);
    glDeleteVertexArrays(1, &vertexArray_);
    glDeleteVertexArrays(1, &emptyVertexArray_);
    glDeleteTextures(2, textures_);
    glDeleteTextures(1, &ramp_);
    glDeleteTextures(1, &color_);
    glDeleteRenderbuffers(1, &depthStencil_);
    glDeleteFramebuffers(1, &framebuffer_);
    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window_->NativeHandle()), nullptr);
    gfx::gl::DestroyContext(context_);
}

void PlainGlScene::MakeCurrent() {
    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window_->NativeHandle()), static_cast<SDL_GLContext>(context_));
}

void PlainGlScene::Frame(bool draw) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glViewport(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_));
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(((kClearColor >> 16) & 0xFF) / 255.0f, ((kClearColor >> 8) & 0xFF) / 255.0f,
                 (kClearColor & 0xFF) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    if (draw) {
        glEnable(GL_CULL_FACE);
        glUseProgram(program_);
        glBindVertexArray(vertexArray_);
        uint32_t bound[2] = {2, 2};
        for (uint32_t batch = 0; batch < kBatches; ++batch) {
            for (uint32_t stage = 0; stage < 2; ++stage) {
                if (bound[stage] == TextureOf(stage, batch)) continue;
                bound[stage] = TextureOf(stage, batch);
                glActiveTexture(GL_TEXTURE0 + stage);
                glBindTexture(GL_TEXTURE_2D, textures_[bound[stage]]);
            }
            const math::Mat4 world = World(batch);
            glUniformMatrix4fv(worldViewLocation_, 1, GL_FALSE, &world.m[0][0]);
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(kTrianglesPerBatch * 3), GL_UNSIGNED_INT,
                           reinterpret_cast<void*>(static_cast<size_t>(batch) * kTrianglesPerBatch * 3 * sizeof(uint32_t)));
        }
        glDisable(GL_CULL_FACE);
    }
    glDisable(GL_DEPTH_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(gammaProgram_);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, ramp_);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, color_);
    glBindVertexArray(emptyVertexArray_);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    GLsync& fence = fences_[nextFence_];
    nextFence_ = (nextFence_ + 1) % fences_.size();
    if (fence) {
        glClientWaitSync(fence, GL_SYNC_FLUSH_COMMANDS_BIT, 1000000000);
        glDeleteSync(fence);
    }
    fence = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    SDL_GL_SwapWindow(static_cast<SDL_Window*>(window_->NativeHandle()));
}

}  // namespace bench
