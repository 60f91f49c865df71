#include "platform/gfx/RecordingDevice.h"

#include <sstream>

namespace gfx {
namespace {

void Append(std::ostringstream& out, const void* pointer) { out << (pointer ? "ptr" : "null"); }
void Append(std::ostringstream& out, bool value) { out << (value ? 1 : 0); }
void Append(std::ostringstream& out, float value) { out << value; }
template <typename T>
void Append(std::ostringstream& out, T value) {
    out << static_cast<int64_t>(value);
}

}  // namespace

template <typename... Args>
void RecordingDevice::Record(const char* name, Args... args) {
    if (!logging_) return;
    std::ostringstream line;
    line << name << '(';
    [[maybe_unused]] bool first = true;
    [[maybe_unused]] auto add = [&](auto value) {
        if (!first) line << ", ";
        first = false;
        Append(line, value);
    };
    (add(args), ...);
    line << ')';
    calls_.push_back(line.str());
}

RecordingDevice::RecordingDevice(const D3DPRESENT_PARAMETERS& parameters, const D3DCAPS9& caps)
    : parameters_(parameters), caps_(caps) {
    RestoreDefaultStates(parameters.EnableAutoDepthStencil);
}

size_t RecordingDevice::CountCalls(const std::string& name) const {
    size_t count = 0;
    for (const std::string& call : calls_) {
        if (call.size() > name.size() && call.compare(0, name.size(), name) == 0 && call[name.size()] == '(') ++count;
    }
    return count;
}

HRESULT RecordingDevice::TestCooperativeLevel() {
    Record("TestCooperativeLevel");
    return StateDevice::TestCooperativeLevel();
}

HRESULT RecordingDevice::Reset(D3DPRESENT_PARAMETERS& parameters) {
    Record("Reset", parameters.BackBufferWidth, parameters.BackBufferHeight, parameters.Windowed);
    if (const HRESULT blocked = ResetBlocker(); FAILED(blocked)) return blocked;
    if (resetFails_) return D3DERR_NOTAVAILABLE;
    parameters_ = parameters;
    RestoreDefaultStates(parameters.EnableAutoDepthStencil);
    ResetSucceeded();
    return D3D_OK;
}

HRESULT RecordingDevice::GetDeviceCaps(D3DCAPS9& caps) {
    Record("GetDeviceCaps");
    caps = caps_;
    return D3D_OK;
}

HRESULT RecordingDevice::GetBackBufferDesc(D3DSURFACE_DESC& desc) {
    Record("GetBackBufferDesc");
    desc = BackBufferDescOf(parameters_);
    return D3D_OK;
}

HRESULT RecordingDevice::BeginScene() {
    Record("BeginScene");
    return StateDevice::BeginScene();
}

HRESULT RecordingDevice::EndScene() {
    Record("EndScene");
    return StateDevice::EndScene();
}

HRESULT RecordingDevice::Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z,
                               uint32_t stencil) {
    Record("Clear", count, static_cast<const void*>(rects), flags, color, z, stencil);
    return D3D_OK;
}

HRESULT RecordingDevice::Present() {
    Record("Present");
    if (IsLost()) return D3DERR_DEVICELOST;
    ++presents_;
    return D3D_OK;
}

void RecordingDevice::SetGammaRamp(uint32_t swapChain, uint32_t flags, const D3DGAMMARAMP& ramp) {
    Record("SetGammaRamp", swapChain, flags, ramp.red[0], ramp.red[255]);
    StateDevice::SetGammaRamp(swapChain, flags, ramp);
}

HRESULT RecordingDevice::GetFrontBufferData(uint32_t swapChain, std::vector<uint32_t>& /*argb*/, uint32_t& width,
                                            uint32_t& height) {
    Record("GetFrontBufferData", swapChain);
    width = height = 0;
    return D3DERR_NOTAVAILABLE;  // nothing is rendered here
}

HRESULT RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) {
    Record("SetRenderState", state, value);
    return StateDevice::SetRenderState(state, value);
}

HRESULT RecordingDevice::GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value) {
    Record("GetRenderState", state);
    return StateDevice::GetRenderState(state, value);
}

HRESULT RecordingDevice::SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) {
    Record("SetTextureStageState", stage, type, value);
    return StateDevice::SetTextureStageState(stage, type, value);
}

HRESULT RecordingDevice::GetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t* value) {
    Record("GetTextureStageState", stage, type);
    return StateDevice::GetTextureStageState(stage, type, value);
}

HRESULT RecordingDevice::SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value) {
    Record("SetSamplerState", sampler, type, value);
    return StateDevice::SetSamplerState(sampler, type, value);
}

HRESULT RecordingDevice::GetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t* value) {
    Record("GetSamplerState", sampler, type);
    return StateDevice::GetSamplerState(sampler, type, value);
}

HRESULT RecordingDevice::SetTexture(uint32_t stage, Texture* texture) {
    Record("SetTexture", stage, static_cast<const void*>(texture));
    return StateDevice::SetTexture(stage, texture);
}

HRESULT RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    Record("SetTransform", state);
    return StateDevice::SetTransform(state, matrix);
}

HRESULT RecordingDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    Record("GetTransform", state);
    return StateDevice::GetTransform(state, matrix);
}

HRESULT RecordingDevice::SetLight(uint32_t index, const D3DLIGHT9* light) {
    Record("SetLight", index);
    return StateDevice::SetLight(index, light);
}

HRESULT RecordingDevice::LightEnable(uint32_t index, bool enable) {
    Record("LightEnable", index, enable);
    return StateDevice::LightEnable(index, enable);
}

HRESULT RecordingDevice::SetMaterial(const D3DMATERIAL9* material) {
    Record("SetMaterial", static_cast<const void*>(material));
    return StateDevice::SetMaterial(material);
}

HRESULT RecordingDevice::GetMaterial(D3DMATERIAL9* material) {
    Record("GetMaterial");
    return StateDevice::GetMaterial(material);
}

HRESULT RecordingDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                       D3DFORMAT format, D3DPOOL pool, Ref<Texture>& out) {
    Record("CreateTexture", width, height, levels, usage, format, pool);
    out.Reset();
    if (width == 0 || height == 0 || LayoutOf(format).blockBytes == 0) return D3DERR_INVALIDCALL;
    out = MakeRef<Texture>(width, height, levels, usage, format, pool);
    return D3D_OK;
}

HRESULT RecordingDevice::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                                            Ref<VertexBuffer>& out) {
    Record("CreateVertexBuffer", length, usage, fvf, pool);
    out.Reset();
    if (length == 0) return D3DERR_INVALIDCALL;
    out = MakeRef<VertexBuffer>(length, usage, fvf, pool);
    return D3D_OK;
}

HRESULT RecordingDevice::CreateIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                                           Ref<IndexBuffer>& out) {
    Record("CreateIndexBuffer", length, usage, format, pool);
    out.Reset();
    if (length == 0 || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)) return D3DERR_INVALIDCALL;
    out = MakeRef<IndexBuffer>(length, usage, format, pool);
    return D3D_OK;
}

HRESULT RecordingDevice::SetFVF(uint32_t fvf) {
    Record("SetFVF", fvf);
    return StateDevice::SetFVF(fvf);
}

HRESULT RecordingDevice::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) {
    Record("SetStreamSource", stream, static_cast<const void*>(buffer), offset, stride);
    return StateDevice::SetStreamSource(stream, buffer, offset, stride);
}

HRESULT RecordingDevice::SetIndices(IndexBuffer* buffer) {
    Record("SetIndices", static_cast<const void*>(buffer));
    return StateDevice::SetIndices(buffer);
}

HRESULT RecordingDevice::DrawPrimitive(D3DPRIMITIVETYPE type, uint32_t startVertex, uint32_t primitiveCount) {
    Record("DrawPrimitive", type, startVertex, primitiveCount);
    return Stream0().buffer ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int32_t baseVertexIndex, uint32_t minIndex,
                                              uint32_t numVertices, uint32_t startIndex, uint32_t primitiveCount) {
    Record("DrawIndexedPrimitive", type, baseVertexIndex, minIndex, numVertices, startIndex, primitiveCount);
    return Stream0().buffer && Indices() ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertices,
                                         uint32_t stride) {
    Record("DrawPrimitiveUP", type, primitiveCount, vertices, stride);
    UnbindStream0();
    return vertices ? D3D_OK : D3DERR_INVALIDCALL;
}

}  // namespace gfx
