#include "platform/gfx/gl/FrameTarget.h"

#include <algorithm>
#include <array>

#include "platform/gfx/gl/ProgramCache.h"

namespace gfx::gl {

const char* const kGammaPassVertexShader = R"(#version 330 core
out vec2 uv;
void main() {
    vec2 p = vec2(float((gl_VertexID << 1) & 2), float(gl_VertexID & 2));
    uv = vec2(p.x, 1.0 - p.y);  // the frame is stored upside down
    gl_Position = vec4(p * 2.0 - 1.0, 0.0, 1.0);
}
)";

// An 8-bit channel c becomes ramp[c] >> 8.
const char* const kGammaPassFragmentShader = R"(#version 330 core
uniform sampler2D frame;
uniform sampler2D ramp;
in vec2 uv;
out vec4 color;
void main() {
    ivec3 c = ivec3(texture(frame, uv).rgb * 255.0 + 0.5);
    color = vec4(texelFetch(ramp, ivec2(c.r, 0), 0).r, texelFetch(ramp, ivec2(c.g, 0), 0).g,
                 texelFetch(ramp, ivec2(c.b, 0), 0).b, 1.0);
}
)";

namespace {

// The same bytes as the lookup for ramps that add `offset` and clamp.
const char* const kOffsetFragmentShader = R"(#version 330 core
uniform sampler2D frame;
uniform vec3 offset;
in vec2 uv;
out vec4 color;
void main() {
    vec3 c = floor(texture(frame, uv).rgb * 255.0 + 0.5);
    color = vec4(clamp(c + offset, 0.0, 255.0) / 255.0, 1.0);
}
)";

const char* const kCopyFragmentShader = R"(#version 330 core
uniform sampler2D frame;
in vec2 uv;
out vec4 color;
void main() {
    color = vec4(texture(frame, uv).rgb, 1.0);
}
)";

GLuint LinkGammaProgram(const char* fragmentShader) {
    const GLuint program = LinkProgram(kGammaPassVertexShader, fragmentShader);
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "frame"), 0);
    return program;
}

GLenum DepthInternalFormat(D3DFORMAT format) {
    return format == D3DFMT_D16 ? GL_DEPTH_COMPONENT16 : GL_DEPTH24_STENCIL8;
}

GLuint MakeColorTexture(uint32_t width, uint32_t height) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

}  // namespace

GammaPassKind ClassifyGammaRamp(const D3DGAMMARAMP& ramp) {
    GammaPassKind pass;
    const std::array<uint16_t, 256>* channels[3] = {&ramp.red, &ramp.green, &ramp.blue};
    for (int channel = 0; channel < 3; ++channel) {
        const std::array<uint16_t, 256>& values = *channels[channel];
        // An offset k >= 0 shows at input 0, a negative one at input 255.
        const int first = values[0] >> 8;
        const int offset = first > 0 ? first : (values[255] >> 8) - 255;
        for (int i = 0; i < 256; ++i) {
            if (values[static_cast<size_t>(i)] >> 8 != std::clamp(i + offset, 0, 255)) return {};
        }
        pass.offset[channel] = offset;
    }
    const bool identity = pass.offset[0] == 0 && pass.offset[1] == 0 && pass.offset[2] == 0;
    pass.kind = identity ? GammaPassKind::kCopy : GammaPassKind::kOffset;
    return pass;
}

FrameTarget::~FrameTarget() {
    for (GLsync fence : frameFences_) {
        if (fence) glDeleteSync(fence);
    }
    Release();
    glDeleteTextures(1, &rampTexture_);
    glDeleteProgram(lookupProgram_);
    glDeleteProgram(offsetProgram_);
    glDeleteProgram(copyProgram_);
    glDeleteVertexArrays(1, &emptyVertexArray_);
}

void FrameTarget::Release() {
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteFramebuffers(1, &resolveFramebuffer_);
    glDeleteFramebuffers(1, &captureFramebuffer_);
    glDeleteRenderbuffers(1, &depthBuffer_);
    glDeleteRenderbuffers(1, &captureBuffer_);
    if (multisampled_) {
        glDeleteRenderbuffers(1, &colorBuffer_);
    }
    glDeleteTextures(1, &resolveTexture_);
    framebuffer_ = resolveFramebuffer_ = captureFramebuffer_ = depthBuffer_ = captureBuffer_ = 0;
    colorBuffer_ = resolveTexture_ = 0;
}

bool FrameTarget::Create(uint32_t width, uint32_t height, uint32_t samples, bool depth, D3DFORMAT depthFormat) {
    Release();
    boundForDrawing_ = false;
    width_ = width;
    height_ = height;
    multisampled_ = samples > 1;
    const auto w = static_cast<GLsizei>(width);
    const auto h = static_cast<GLsizei>(height);

    resolveTexture_ = MakeColorTexture(width, height);
    glGenFramebuffers(1, &resolveFramebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, resolveTexture_, 0);

    if (multisampled_) {
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glGenRenderbuffers(1, &colorBuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer_);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, static_cast<GLsizei>(samples), GL_RGBA8, w, h);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
    } else {
        framebuffer_ = resolveFramebuffer_;
        resolveFramebuffer_ = 0;
    }
    if (depth) {
        glGenRenderbuffers(1, &depthBuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
        const GLenum internal = DepthInternalFormat(depthFormat);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, multisampled_ ? static_cast<GLsizei>(samples) : 0, internal, w, h);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, internal == GL_DEPTH24_STENCIL8 ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                                  GL_RENDERBUFFER, depthBuffer_);
    }
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;

    glGenFramebuffers(1, &captureFramebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, captureFramebuffer_);
    glGenRenderbuffers(1, &captureBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, captureBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, captureBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    if (lookupProgram_ == 0) {
        lookupProgram_ = LinkGammaProgram(kGammaPassFragmentShader);
        glUniform1i(glGetUniformLocation(lookupProgram_, "ramp"), 1);
        if (!fullWork_) {
            offsetProgram_ = LinkGammaProgram(kOffsetFragmentShader);
            offsetLocation_ = glGetUniformLocation(offsetProgram_, "offset");
            copyProgram_ = LinkGammaProgram(kCopyFragmentShader);
        }
        glGenVertexArrays(1, &emptyVertexArray_);
        glGenTextures(1, &rampTexture_);
        D3DGAMMARAMP identity;
        for (uint32_t i = 0; i < 256; ++i) identity.red[i] = identity.green[i] = identity.blue[i] = static_cast<uint16_t>(i * 257);
        SetGammaRamp(identity);
    }
    BindForDrawing();
    CheckErrors("FrameTarget::Create");
    return complete && lookupProgram_ != 0 && (fullWork_ || (offsetProgram_ != 0 && copyProgram_ != 0));
}

void FrameTarget::BindForDrawing() {
    if (boundForDrawing_) return;
    boundForDrawing_ = true;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glViewport(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_));
}

void FrameTarget::SetGammaRamp(const D3DGAMMARAMP& ramp) {
    pass_ = fullWork_ ? GammaPassKind{} : ClassifyGammaRamp(ramp);
    std::array<uint8_t, 256 * 4> texels{};
    for (size_t i = 0; i < 256; ++i) {
        texels[i * 4 + 0] = static_cast<uint8_t>(ramp.red[i] >> 8);
        texels[i * 4 + 1] = static_cast<uint8_t>(ramp.green[i] >> 8);
        texels[i * 4 + 2] = static_cast<uint8_t>(ramp.blue[i] >> 8);
        texels[i * 4 + 3] = 255;
    }
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, rampTexture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 256, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    CheckErrors("SetGammaRamp");
}

void FrameTarget::Resolve() {
    if (!multisampled_) return;
    boundForDrawing_ = false;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer_);
    const auto w = static_cast<GLint>(width_);
    const auto h = static_cast<GLint>(height_);
    glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
}

void FrameTarget::DrawGammaPass(GLuint framebuffer, int width, int height) {
    boundForDrawing_ = false;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    switch (pass_.kind) {
        case GammaPassKind::kLookup:
            glUseProgram(lookupProgram_);
            break;
        case GammaPassKind::kOffset:
            glUseProgram(offsetProgram_);
            glUniform3f(offsetLocation_, static_cast<float>(pass_.offset[0]), static_cast<float>(pass_.offset[1]),
                        static_cast<float>(pass_.offset[2]));
            break;
        case GammaPassKind::kCopy:
            glUseProgram(copyProgram_);
            break;
    }
    // The device's units 0 and 1 are given up whichever program runs (it forgets them after).
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, rampTexture_);
    glBindSampler(1, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, resolveTexture_);
    glBindSampler(0, 0);
    glBindVertexArray(emptyVertexArray_);
    glDrawArrays(GL_TRIANGLES, 0, 3);
}

void FrameTarget::Present(int windowWidth, int windowHeight) {
    Resolve();
    DrawGammaPass(0, windowWidth, windowHeight);
    GLsync& fence = frameFences_[nextFence_];
    nextFence_ = (nextFence_ + 1) % frameFences_.size();
    if (fence) {
        glClientWaitSync(fence, GL_SYNC_FLUSH_COMMANDS_BIT, 1000000000);
        glDeleteSync(fence);
    }
    fence = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    CheckErrors("FrameTarget::Present");
}

bool FrameTarget::Capture(std::vector<uint32_t>& argb) {
    Resolve();
    const auto w = static_cast<GLsizei>(width_);
    const auto h = static_cast<GLsizei>(height_);
    DrawGammaPass(captureFramebuffer_, w, h);
    argb.resize(static_cast<size_t>(width_) * height_);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE, argb.data());
    // OpenGL rows run bottom-up.
    for (uint32_t row = 0; row < height_ / 2; ++row) {
        auto top = argb.begin() + static_cast<ptrdiff_t>(row) * width_;
        auto bottom = argb.begin() + static_cast<ptrdiff_t>(height_ - 1 - row) * width_;
        std::swap_ranges(top, top + width_, bottom);
    }
    CheckErrors("FrameTarget::Capture");
    return true;
}

}  // namespace gfx::gl
