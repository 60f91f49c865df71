#include "platform/gfx/gl/GlDevice.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

#include "platform/gfx/Fvf.h"
#include "platform/gfx/StateDevice.h"
#include "platform/gfx/gl/AlphaShortcuts.h"
#include "platform/gfx/gl/Constants.h"
#include "platform/gfx/gl/FrameTarget.h"
#include "platform/gfx/gl/GlPipeline.h"
#include "platform/gfx/gl/GlResources.h"
#include "platform/gfx/gl/HeapThresholds.h"
#include "platform/gfx/gl/ProgramCache.h"
#include "platform/gfx/gl/VertexArrayCache.h"

namespace gfx::gl {
namespace {

GLenum PrimitiveMode(D3DPRIMITIVETYPE type) {
    switch (type) {
        case D3DPT_POINTLIST:
            return GL_POINTS;
        case D3DPT_LINELIST:
            return GL_LINES;
        case D3DPT_LINESTRIP:
            return GL_LINE_STRIP;
        case D3DPT_TRIANGLESTRIP:
            return GL_TRIANGLE_STRIP;
        case D3DPT_TRIANGLEFAN:
            return GL_TRIANGLE_FAN;
        default:
            return GL_TRIANGLES;
    }
}

bool Offscreen() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "offscreen") == 0;
}

// A diagnostic switch of the environment: set, and not to "0".
bool SwitchOn(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

constexpr GLuint kUnknown = ~0u;  // a binding the device cannot vouch for
constexpr uint64_t kUnknownValue = ~0ull;  // no 32-bit value

// Constant blocks live in a ring of this many slots: each change takes a fresh slot, so no
// upload overwrites constants a queued draw still reads.
constexpr GLsizeiptr kConstantSlots = 128;

class GlDevice final : public StateDevice {
public:
    GlDevice(SDL_Window* window, void* context, const GlCapabilities& caps)
        : window_(window), context_(context), caps_(caps) {
        GLint alignment = 256;
        glGetIntegerv(GL_UNIFORM_BUFFER_OFFSET_ALIGNMENT, &alignment);
        alignment = std::max(alignment, 1);
        constantStride_ = (static_cast<GLsizeiptr>(sizeof(FixedFunctionConstants)) + alignment - 1) / alignment * alignment;
        glGenBuffers(1, &constantBuffer_);
        glBindBuffer(GL_UNIFORM_BUFFER, constantBuffer_);  // stays bound: nothing else uses the target
        glBufferData(GL_UNIFORM_BUFFER, constantStride_ * kConstantSlots, nullptr, GL_STREAM_DRAW);
        glGenBuffers(1, &userBuffer_);
        glGenSamplers(static_cast<GLsizei>(kMaxTextureStages), samplers_);
        glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);  // flat shading takes the first vertex
        CheckErrors("GlDevice");
    }

    ~GlDevice() override {
        // A device may go after its successor was made (the texture manager lets go of it only
        // when the new one reaches it): the successor's context must stay current.
        SDL_Window* const currentWindow = SDL_GL_GetCurrentWindow();
        const SDL_GLContext current = SDL_GL_GetCurrentContext();
        const bool another = current != nullptr && current != context_;
        SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(context_));
        RestoreDefaultStates(false);  // drops the bound resources while the context is current
        target_.reset();
        programs_.reset();
        glDeleteSamplers(static_cast<GLsizei>(kMaxTextureStages), samplers_);
        glDeleteBuffers(1, &userBuffer_);
        glDeleteBuffers(1, &constantBuffer_);
        vertexArrays_.Clear();
        SDL_GL_MakeCurrent(another ? currentWindow : window_, another ? current : nullptr);
        DestroyContext(context_);
    }

    HRESULT Configure(D3DPRESENT_PARAMETERS& parameters) {
        // A window of another program (a screensaver host's) keeps its size: we draw into it.
        const bool ownsMode = !Offscreen() && !(SDL_GetWindowFlags(window_) & SDL_WINDOW_FOREIGN);
        if (parameters.Windowed) {
            if (ownsMode && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN)) SDL_SetWindowFullscreen(window_, 0);
            int width = 0, height = 0;
            SDL_GL_GetDrawableSize(window_, &width, &height);
            if (parameters.BackBufferWidth == 0) parameters.BackBufferWidth = static_cast<uint32_t>(width);
            if (parameters.BackBufferHeight == 0) parameters.BackBufferHeight = static_cast<uint32_t>(height);
        } else if (ownsMode) {
            EnterFullScreen(parameters);
        }
        if (parameters.BackBufferWidth == 0 || parameters.BackBufferHeight == 0 ||
            static_cast<int>(std::max(parameters.BackBufferWidth, parameters.BackBufferHeight)) > caps_.maxTextureSize) {
            return D3DERR_INVALIDCALL;
        }
        if (parameters.BackBufferFormat == D3DFMT_UNKNOWN) parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        if (parameters.BackBufferCount == 0) parameters.BackBufferCount = 1;
        const uint32_t samples = parameters.MultiSampleType >= 2 ? static_cast<uint32_t>(parameters.MultiSampleType) : 0u;
        if (!target_) target_ = std::make_unique<FrameTarget>(fullWork_);
        if (!target_->Create(parameters.BackBufferWidth, parameters.BackBufferHeight, samples,
                             parameters.EnableAutoDepthStencil, parameters.AutoDepthStencilFormat)) {
            return D3DERR_NOTAVAILABLE;
        }
        target_->SetGammaRamp(GammaRamp());
        SDL_GL_SetSwapInterval(parameters.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
        parameters_ = parameters;
        pendingClear_ = {};  // the new target's depth is cleared before use
        RestoreDefaultStates(parameters.EnableAutoDepthStencil);
        ForgetGlState();
        stencilUniform_ = true;
        return D3D_OK;
    }

    HRESULT Reset(D3DPRESENT_PARAMETERS& parameters) override {
        if (const HRESULT blocked = ResetBlocker(); FAILED(blocked)) return blocked;
        const HRESULT hr = Configure(parameters);
        if (SUCCEEDED(hr)) ResetSucceeded();
        return hr;
    }

    HRESULT GetDeviceCaps(D3DCAPS9& caps) override {
        caps = DeviceCapsOf(caps_);
        return D3D_OK;
    }

    HRESULT GetBackBufferDesc(D3DSURFACE_DESC& desc) override {
        desc = BackBufferDescOf(parameters_);
        return D3D_OK;
    }

    HRESULT Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z,
                  uint32_t stencil) override {
        if (IsLost()) return D3D_OK;
        GLbitfield mask = 0;
        if (flags & D3DCLEAR_TARGET) mask |= GL_COLOR_BUFFER_BIT;
        if (flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) {
            if (!parameters_.EnableAutoDepthStencil) return D3DERR_INVALIDCALL;
            if (flags & D3DCLEAR_ZBUFFER) mask |= GL_DEPTH_BUFFER_BIT;
            if (flags & D3DCLEAR_STENCIL) {
                mask |= GL_STENCIL_BUFFER_BIT;
                stencilValue_ = stencil;
                stencilUniform_ = count == 0 || rects == nullptr;
            } else if (stencilUniform_) {
                // Nothing draws into the stencil buffer: while one value fills it, clearing it
                // to that value with depth changes nothing and spares the driver keeping the
                // stencil bits of the packed depth-stencil buffer pixel by pixel.
                mask |= GL_STENCIL_BUFFER_BIT;
            }
        }
        const bool whole = count == 0 || rects == nullptr;
        // A waiting clear this one covers is void; any other part of it is due first.
        if (pendingClear_.mask & ~(whole ? mask : 0u)) FlushPendingClear();
        pendingClear_ = {};
        // Clearing depth alone waits for the next draw that tests depth. What is drawn after the
        // scene (the overlay) never does, and the next frame's clear makes the wait void.
        if (whole && mask != 0 && !(mask & GL_COLOR_BUFFER_BIT) && !fullWork_) {
            pendingClear_ = {mask, z, stencilValue_};
            return D3D_OK;
        }
        ClearNow(mask, color, z, stencilValue_, whole ? 0 : count, rects);
        return D3D_OK;
    }

    // `count` 0 clears the whole target.
    void ClearNow(GLbitfield mask, D3DCOLOR color, float z, uint32_t stencil, uint32_t count, const D3DRECT* rects) {
        target_->BindForDrawing();
        // Clearing ignores the write masks. The stencil mask keeps its default, all ones.
        if (!gl_.writeMasksOpen) {
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
            glDepthMask(GL_TRUE);
            gl_.writeMasksOpen = true;
            MarkDirty(kDirtyPipeline);
        }
        if ((mask & GL_COLOR_BUFFER_BIT) && gl_.clearColor != color) {
            glClearColor(static_cast<float>((color >> 16) & 0xFF) / 255.0f, static_cast<float>((color >> 8) & 0xFF) / 255.0f,
                         static_cast<float>(color & 0xFF) / 255.0f, static_cast<float>(color >> 24) / 255.0f);
            gl_.clearColor = color;
        }
        if ((mask & GL_DEPTH_BUFFER_BIT) && !(gl_.clearDepth == z)) {
            glClearDepth(z);
            gl_.clearDepth = z;
        }
        if ((mask & GL_STENCIL_BUFFER_BIT) && gl_.clearStencil != stencil) {
            glClearStencil(static_cast<GLint>(stencil));
            gl_.clearStencil = stencil;
        }
        // The scissor test is on only while clearing rectangles.
        if (count == 0) {
            glClear(mask);
        } else {
            glEnable(GL_SCISSOR_TEST);
            for (uint32_t i = 0; i < count; ++i) {
                const D3DRECT& r = rects[i];
                if (r.x2 <= r.x1 || r.y2 <= r.y1) continue;
                glScissor(r.x1, r.y1, r.x2 - r.x1, r.y2 - r.y1);  // the target's rows run top down
                glClear(mask);
            }
            glDisable(GL_SCISSOR_TEST);
        }
        CheckErrors("Clear");
    }

    // A depth clear that waited (see Clear).
    void FlushPendingClear() {
        const PendingClear clear = std::exchange(pendingClear_, {});
        ClearNow(clear.mask, 0, clear.z, clear.stencil, 0, nullptr);
    }

    HRESULT Present() override {
        if (IsLost()) return D3DERR_DEVICELOST;
        int width = 0, height = 0;
        SDL_GL_GetDrawableSize(window_, &width, &height);
        target_->Present(width, height);
        SDL_GL_SwapWindow(window_);
        target_->BindForDrawing();
        ForgetFrameTargetState();
        return D3D_OK;
    }

    void SetGammaRamp(uint32_t swapChain, uint32_t flags, const D3DGAMMARAMP& ramp) override {
        StateDevice::SetGammaRamp(swapChain, flags, ramp);
        if (swapChain == 0) {
            target_->SetGammaRamp(ramp);
            ForgetFrameTargetState();
        }
    }

    HRESULT GetFrontBufferData(uint32_t swapChain, std::vector<uint32_t>& argb, uint32_t& width,
                               uint32_t& height) override {
        if (swapChain != 0) return D3DERR_INVALIDCALL;
        width = target_->Width();
        height = target_->Height();
        const bool ok = target_->Capture(argb);
        target_->BindForDrawing();
        ForgetFrameTargetState();
        return ok ? D3D_OK : D3DERR_DRIVERINTERNALERROR;
    }

    HRESULT CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                          D3DPOOL pool, Ref<Texture>& out) override {
        out.Reset();
        if (width == 0 || height == 0 || !TextureFormatSupported(format) ||
            static_cast<int>(std::max(width, height)) > caps_.maxTextureSize) {
            return D3DERR_INVALIDCALL;
        }
        out = MakeRef<GlTexture>(width, height, levels, usage, format, pool, caps_.s3tc);
        return D3D_OK;
    }

    HRESULT CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                               Ref<VertexBuffer>& out) override {
        out.Reset();
        if (length == 0) return D3DERR_INVALIDCALL;
        out = MakeRef<GlVertexBuffer>(length, usage, fvf, pool);
        return D3D_OK;
    }

    HRESULT CreateIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                              Ref<IndexBuffer>& out) override {
        out.Reset();
        if (length == 0 || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)) return D3DERR_INVALIDCALL;
        out = MakeRef<GlIndexBuffer>(length, usage, format, pool);
        return D3D_OK;
    }

    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount) override {
        const Stream& stream = Stream0();
        if (const DrawCheck check = CheckDraw(type, startVertex, primitiveCount); check != DrawCheck::kDraw) {
            return ResultOf(check);
        }
        const uint32_t vertices = VertexCountOf(type, primitiveCount);
        const uint32_t stride = Stream0Stride();
        if (IsLost()) return D3D_OK;
        if (!PrepareDraw()) return D3DERR_DRIVERINTERNALERROR;
        BindVertices(static_cast<GlVertexBuffer*>(stream.buffer.get())->Name(), stream.offset, stride);
        glDrawArrays(PrimitiveMode(type), static_cast<GLint>(startVertex), static_cast<GLsizei>(vertices));
        CheckErrors("DrawPrimitive");
        return D3D_OK;
    }

    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int32_t baseVertexIndex, uint32_t minIndex,
                                 uint32_t numVertices, uint32_t startIndex, uint32_t primitiveCount) override {
        const Stream& stream = Stream0();
        if (const DrawCheck check =
                CheckIndexedDraw(type, baseVertexIndex, minIndex, numVertices, startIndex, primitiveCount);
            check != DrawCheck::kDraw) {
            return ResultOf(check);
        }
        IndexBuffer* indices = Indices();
        const uint32_t count = VertexCountOf(type, primitiveCount);
        const uint32_t indexSize = indices->Format() == D3DFMT_INDEX32 ? 4 : 2;
        const uint32_t stride = Stream0Stride();
        if (IsLost()) return D3D_OK;
        if (!PrepareDraw()) return D3DERR_DRIVERINTERNALERROR;
        BindVertices(static_cast<GlVertexBuffer*>(stream.buffer.get())->Name(), stream.offset, stride);
        vertexArrays_.BindIndices(static_cast<GlIndexBuffer*>(indices)->Name());
        glDrawElementsBaseVertex(PrimitiveMode(type), static_cast<GLsizei>(count),
                                 indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                                 reinterpret_cast<void*>(static_cast<size_t>(startIndex) * indexSize), baseVertexIndex);
        CheckErrors("DrawIndexedPrimitive");
        return D3D_OK;
    }

    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                            uint32_t stride) override {
        UnbindStream0();
        const uint32_t count = VertexCountOf(type, primitiveCount);
        if (vertices == nullptr || stride == 0 || count == 0) return D3DERR_INVALIDCALL;
        if (IsLost()) return D3D_OK;
        if (!PrepareDraw()) return D3DERR_DRIVERINTERNALERROR;
        const auto bytes = static_cast<GLsizeiptr>(count) * stride;
        glBindBuffer(GL_ARRAY_BUFFER, userBuffer_);
        if (bytes > userBufferSize_) {
            userBufferSize_ = bytes * 2;
            glBufferData(GL_ARRAY_BUFFER, userBufferSize_, nullptr, GL_STREAM_DRAW);
        } else {
            glBufferData(GL_ARRAY_BUFFER, userBufferSize_, nullptr, GL_STREAM_DRAW);  // orphan the last draw's data
        }
        glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, vertices);
        BindVertices(userBuffer_, 0, stride);
        glDrawArrays(PrimitiveMode(type), 0, static_cast<GLsizei>(count));
        CheckErrors("DrawPrimitiveUP");
        return D3D_OK;
    }

private:
    // The desktop's own size covers the display without a mode change (which X servers without
    // mode switching only pretend to make); other sizes switch the display mode.
    void EnterFullScreen(const D3DPRESENT_PARAMETERS& parameters) {
        const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
        SDL_DisplayMode desktop{};
        SDL_GetDesktopDisplayMode(display, &desktop);
        const auto width = static_cast<int>(parameters.BackBufferWidth);
        const auto height = static_cast<int>(parameters.BackBufferHeight);
        const Uint32 flags = SDL_GetWindowFlags(window_);
        if (desktop.w == width && desktop.h == height) {
            if ((flags & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP) return;
            SDL_Rect bounds{};
            SDL_GetDisplayBounds(display, &bounds);
            SDL_SetWindowPosition(window_, bounds.x, bounds.y);
            SDL_SetWindowSize(window_, bounds.w, bounds.h);
            SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
            return;
        }
        SDL_DisplayMode mode{SDL_PIXELFORMAT_RGB888, width, height,
                             static_cast<int>(parameters.FullScreen_RefreshRateInHz), nullptr};
        SDL_SetWindowDisplayMode(window_, &mode);
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN);
    }

    // What the GL context holds, as far as the device set it; kUnknown where it cannot tell.
    struct GlBindings {
        GLuint program = kUnknown;
        std::array<GLuint, kMaxTextureStages> textures;
        std::array<bool, kMaxTextureStages> samplers{};  // the stage's sampler object is bound
        // The sampler states each sampler object was set from.
        std::array<std::array<uint32_t, kSamplerStateCount>, kMaxTextureStages> samplerStates{};
        std::array<bool, kMaxTextureStages> samplerStatesSet{};
        bool constantsUploaded = false;
        GLuint objectProgram = kUnknown;  // the program whose object matrices hold `object`
        ObjectConstants object{};
        bool writeMasksOpen = false;  // colour and depth writes all on
        uint64_t clearColor = kUnknownValue;  // a D3DCOLOR
        float clearDepth = std::numeric_limits<float>::quiet_NaN();
        uint64_t clearStencil = kUnknownValue;
        GlBindings() { textures.fill(kUnknown); }
    };

    // After a reset, or when asked to resend everything.
    void ForgetGlState() {
        gl_ = {};
        vertexArrays_.Clear();
        MarkDirty(kDirtyAll);
    }

    // The frame target draws its passes with its own program, vertex array and texture units 0
    // and 1 (textures and samplers), and its own blending, depth and culling. The rest stays.
    void ForgetFrameTargetState() {
        gl_.program = kUnknown;
        vertexArrays_.Forget();
        for (uint32_t unit = 0; unit < 2; ++unit) {
            gl_.textures[unit] = kUnknown;
            gl_.samplers[unit] = false;
        }
        MarkDirty(kDirtyPipeline | kDirtyTextures);
    }

    // Sends what changed since the last draw; a draw whose state did not change sends nothing.
    bool PrepareDraw() {
        if (resendState_) ForgetGlState();
        if (pendingClear_.mask != 0 && parameters_.EnableAutoDepthStencil && RenderState(D3DRS_ZENABLE) != D3DZB_FALSE) {
            FlushPendingClear();
        }
        if (DeletedObjects() != deletedObjects_) {
            deletedObjects_ = DeletedObjects();
            gl_.textures.fill(kUnknown);
            MarkDirty(kDirtyTextures);
        }
        if (DeletedBuffers() != deletedBuffers_) {
            deletedBuffers_ = DeletedBuffers();
            vertexArrays_.Clear();
        }
        if (TextureAlphaChanges() != textureAlphaChanges_) {
            textureAlphaChanges_ = TextureAlphaChanges();
            MarkDirty(kDirtyProgram);
        }
        uint32_t dirty = TakeDirty();
        if (dirty & (kDirtyProgram | kDirtyConstants)) {
            uint32_t lights[kMaxActiveLights] = {};
            ShaderKey key = MakeShaderKey(*this, lights);
            const bool alphaOne = !fullWork_ && AlphaIsOne(key, *this);
            const bool skipAlphaTest = alphaOne && key.alphaFunc != 0 && AlphaTestPassesAtOne(*this);
            if (skipAlphaTest) key.alphaFunc = 0;
            if (skipAlphaTest != alphaTestSkipped_) {
                alphaTestSkipped_ = skipAlphaTest;
                dirty |= kDirtyProgram;
            }
            if (alphaOne != alphaOne_) {
                alphaOne_ = alphaOne;
                dirty |= kDirtyPipeline;
            }
            if (dirty & kDirtyProgram) {
                const size_t programs = programs_->Size();
                program_ = programs_->Get(key);
                if (programs_->Size() != programs) gl_.program = kUnknown;  // a new program was made current
            }
            FillConstants(*this, lights, key.lightCount, target_->Width(), target_->Height(), object_, constants_);
            UploadConstants();
        }
        if (gl_.program != program_.name) {
            glUseProgram(program_.name);
            gl_.program = program_.name;
        }
        SetObjectConstants();
        if (dirty & kDirtyPipeline) {
            ApplyPipelineStates(*this, parameters_.EnableAutoDepthStencil, !(alphaOne_ && BlendReplacesAtOne(*this)));
            gl_.writeMasksOpen = (RenderState(D3DRS_COLORWRITEENABLE) & 0xF) == 0xF && RenderState(D3DRS_ZWRITEENABLE);
        }
        if (dirty & kDirtyTextures) BindTextures();
        if (dirty & kDirtySamplers) UpdateSamplers();
        CheckErrors("PrepareDraw");
        return program_.name != 0;
    }

    // Matrices that change from draw to draw go to the program itself: one call, as a plain
    // OpenGL program would make.
    void SetObjectConstants() {
        if (program_.objectLocation < 0) return;
        if (gl_.objectProgram == program_.name && std::memcmp(&gl_.object, &object_, sizeof(object_)) == 0) return;
        glUniformMatrix4fv(program_.objectLocation, 2, GL_FALSE, reinterpret_cast<const GLfloat*>(&object_));
        gl_.objectProgram = program_.name;
        gl_.object = object_;
    }

    // Each change takes the next slot of the ring and binds it; unchanged constants cost nothing.
    void UploadConstants() {
        if (gl_.constantsUploaded && std::memcmp(&uploaded_, &constants_, sizeof(constants_)) == 0) return;
        if (constantOffset_ + constantStride_ > constantStride_ * kConstantSlots) {
            glBufferData(GL_UNIFORM_BUFFER, constantStride_ * kConstantSlots, nullptr, GL_STREAM_DRAW);  // orphaned
            constantOffset_ = 0;
        }
        glBufferSubData(GL_UNIFORM_BUFFER, constantOffset_, sizeof(constants_), &constants_);
        glBindBufferRange(GL_UNIFORM_BUFFER, kConstantsBinding, constantBuffer_, constantOffset_, sizeof(constants_));
        constantOffset_ += constantStride_;
        uploaded_ = constants_;
        gl_.constantsUploaded = true;
    }

    void BindTextures() {
        for (uint32_t stage = 0; stage < kMaxTextureStages; ++stage) {
            Texture* texture = BoundTexture(stage);
            const GLuint name = texture ? static_cast<GlTexture*>(texture)->Name() : 0;
            if (gl_.textures[stage] == name && gl_.samplers[stage]) continue;
            glActiveTexture(GL_TEXTURE0 + stage);
            if (gl_.textures[stage] != name) {
                glBindTexture(GL_TEXTURE_2D, name);
                gl_.textures[stage] = name;
            }
            if (!gl_.samplers[stage]) {
                glBindSampler(stage, samplers_[stage]);
                gl_.samplers[stage] = true;
            }
        }
    }

    void UpdateSamplers() {
        for (uint32_t stage = 0; stage < kMaxTextureStages; ++stage) {
            std::array<uint32_t, kSamplerStateCount> states;
            for (uint32_t type = 0; type < kSamplerStateCount; ++type) {
                states[type] = SamplerState(stage, static_cast<D3DSAMPLERSTATETYPE>(type));
            }
            if (gl_.samplerStatesSet[stage] && gl_.samplerStates[stage] == states) continue;
            ApplySamplerStates(*this, stage, samplers_[stage], caps_.anisotropy);
            gl_.samplerStates[stage] = states;
            gl_.samplerStatesSet[stage] = true;
        }
    }

    void BindVertices(GLuint buffer, uint32_t offset, uint32_t stride) {
        vertexArrays_.Bind({buffer, offset, stride, Fvf()});
    }

    SDL_Window* window_;
    void* context_;
    GlCapabilities caps_;
    D3DPRESENT_PARAMETERS parameters_;
    GLuint constantBuffer_ = 0;
    GLsizeiptr constantStride_ = 0;    // a constant block's size rounded up to the offset alignment
    GLsizeiptr constantOffset_ = 0;    // the ring's next free slot
    GLuint userBuffer_ = 0;
    GLsizeiptr userBufferSize_ = 0;
    GLuint samplers_[kMaxTextureStages] = {};
    Program program_;
    std::unique_ptr<FrameTarget> target_;
    std::unique_ptr<ProgramCache> programs_ = std::make_unique<ProgramCache>();
    ObjectConstants object_{};
    FixedFunctionConstants constants_{};
    FixedFunctionConstants uploaded_{};  // what the bound slot holds
    VertexArrayCache vertexArrays_;
    GlBindings gl_;
    uint64_t deletedObjects_ = DeletedObjects();
    uint64_t deletedBuffers_ = DeletedBuffers();
    bool resendState_ = SwitchOn("QUELMONT_GL_RESEND_STATE");
    // Draws all that is asked (blending, alpha tests, depth clears, the full gamma lookup) even
    // where it cannot change a pixel: for comparing pictures and timings.
    bool fullWork_ = SwitchOn("QUELMONT_GL_FULL_WORK");
    bool alphaOne_ = false;           // the current draw's alpha is 1 everywhere
    bool alphaTestSkipped_ = false;   // the current program leaves out its alpha test
    uint64_t textureAlphaChanges_ = TextureAlphaChanges();
    struct PendingClear {
        GLbitfield mask = 0;  // 0: none waits
        float z = 1.0f;
        uint32_t stencil = 0;
    };
    PendingClear pendingClear_;
    uint32_t stencilValue_ = 0;
    bool stencilUniform_ = true;  // a new buffer's contents are undefined: any one value will do
};

}  // namespace

D3DCAPS9 DeviceCapsOf(const GlCapabilities& caps) {
    D3DCAPS9 d3d;
    d3d.DeviceType = D3DDEVTYPE_HAL;
    d3d.Caps2 = D3DCAPS2_FULLSCREENGAMMA;
    d3d.PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    d3d.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    d3d.PrimitiveMiscCaps = D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW;
    d3d.RasterCaps = D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_FOGVERTEX | D3DPRASTERCAPS_FOGRANGE;
    d3d.ZCmpCaps = d3d.AlphaCmpCaps = 0xFF;
    d3d.SrcBlendCaps = d3d.DestBlendCaps = 0x1FFF;
    d3d.TextureCaps = D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
    d3d.TextureAddressCaps = 0x1F;
    d3d.MaxTextureWidth = d3d.MaxTextureHeight = static_cast<uint32_t>(caps.maxTextureSize);
    d3d.MaxTextureRepeat = 8192;
    d3d.MaxAnisotropy = caps.anisotropy ? 16 : 1;
    d3d.TextureOpCaps = 0x03FFFFFF;
    d3d.FVFCaps = 8;  // texture coordinate sets
    d3d.MaxTextureBlendStages = d3d.MaxSimultaneousTextures = kMaxTextureStages;
    d3d.VertexProcessingCaps = D3DVTXPCAPS_TEXGEN | D3DVTXPCAPS_MATERIALSOURCE7 | D3DVTXPCAPS_DIRECTIONALLIGHTS |
                               D3DVTXPCAPS_POSITIONALLIGHTS | D3DVTXPCAPS_LOCALVIEWER | D3DVTXPCAPS_TEXGEN_SPHEREMAP;
    d3d.MaxActiveLights = kMaxActiveLights;
    d3d.MaxPrimitiveCount = 0xFFFFF;
    d3d.MaxVertexIndex = 0xFFFFFF;
    d3d.MaxStreams = 1;
    d3d.MaxStreamStride = 255;
    d3d.MaxPointSize = 64.0f;
    return d3d;
}

HRESULT CreateGlDevice(SDL_Window* window, int /*adapter*/, uint32_t /*behaviorFlags*/,
                       D3DPRESENT_PARAMETERS& parameters, const GlCapabilities& caps, Ref<Device>& out) {
    out.Reset();
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) {
        std::fprintf(stderr, "CreateDevice: the window was not made for OpenGL\n");
        return D3DERR_NOTAVAILABLE;
    }
    KeepFreedHeapMemory();
    void* context = CreateContext(window);
    if (context == nullptr) {
        std::fprintf(stderr, "CreateDevice: no OpenGL 3.3 context: %s\n", SDL_GetError());
        return D3DERR_NOTAVAILABLE;
    }
    auto device = MakeRef<GlDevice>(window, context, caps);
    const HRESULT hr = device->Configure(parameters);
    if (FAILED(hr)) return hr;
    out = std::move(device);
    return D3D_OK;
}

}  // namespace gfx::gl
