#include "platform/gfx/StateDevice.h"

#include <bit>

namespace gfx {
namespace {

uint32_t FloatBits(float value) { return std::bit_cast<uint32_t>(value); }

// Direct3D's default light, given to an index that is enabled before it was set.
D3DLIGHT9 DefaultLight() {
    D3DLIGHT9 light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 0};
    light.Direction = {0, 0, 1};
    return light;
}

// Which groups a render state feeds.
uint32_t DirtyOfRenderState(D3DRENDERSTATETYPE state) {
    switch (state) {
        case D3DRS_ZENABLE:
        case D3DRS_FILLMODE:
        case D3DRS_ZWRITEENABLE:
        case D3DRS_SRCBLEND:
        case D3DRS_DESTBLEND:
        case D3DRS_CULLMODE:
        case D3DRS_ZFUNC:
        case D3DRS_ALPHABLENDENABLE:
        case D3DRS_COLORWRITEENABLE:
        case D3DRS_BLENDOP:
        case D3DRS_BLENDFACTOR:
        case D3DRS_SEPARATEALPHABLENDENABLE:
        case D3DRS_SRCBLENDALPHA:
        case D3DRS_DESTBLENDALPHA:
        case D3DRS_BLENDOPALPHA:
            return StateDevice::kDirtyPipeline;
        case D3DRS_ALPHAREF:
        case D3DRS_TEXTUREFACTOR:
        case D3DRS_AMBIENT:
        case D3DRS_FOGCOLOR:
        case D3DRS_FOGSTART:
        case D3DRS_FOGEND:
        case D3DRS_FOGDENSITY:
        case D3DRS_POINTSIZE:
            return StateDevice::kDirtyConstants;
        default:
            return StateDevice::kDirtyProgram;
    }
}

}  // namespace

uint32_t VertexCountOf(D3DPRIMITIVETYPE type, uint32_t primitiveCount) {
    switch (type) {
        case D3DPT_POINTLIST:
            return primitiveCount;
        case D3DPT_LINELIST:
            return primitiveCount * 2;
        case D3DPT_LINESTRIP:
            return primitiveCount + 1;
        case D3DPT_TRIANGLELIST:
            return primitiveCount * 3;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN:
            return primitiveCount + 2;
    }
    return 0;
}

StateDevice::StateDevice() {
    for (uint32_t i = 0; i < 256; ++i) {
        gammaRamp_.red[i] = gammaRamp_.green[i] = gammaRamp_.blue[i] = static_cast<uint16_t>(i * 257);
    }
    RestoreDefaultStates(false);
}

void StateDevice::RestoreDefaultStates(bool autoDepthStencil) {
    renderStates_.fill(0);
    auto rs = [this](D3DRENDERSTATETYPE state, uint32_t value) { renderStates_[state] = value; };
    rs(D3DRS_ZENABLE, autoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE);
    rs(D3DRS_FILLMODE, D3DFILL_SOLID);
    rs(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    rs(D3DRS_ZWRITEENABLE, 1);
    rs(D3DRS_LASTPIXEL, 1);
    rs(D3DRS_SRCBLEND, D3DBLEND_ONE);
    rs(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    rs(D3DRS_CULLMODE, D3DCULL_CCW);
    rs(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    rs(D3DRS_ALPHAFUNC, D3DCMP_ALWAYS);
    rs(D3DRS_FOGEND, FloatBits(1.0f));
    rs(D3DRS_FOGDENSITY, FloatBits(1.0f));
    rs(D3DRS_TEXTUREFACTOR, 0xFFFFFFFF);
    rs(D3DRS_CLIPPING, 1);
    rs(D3DRS_LIGHTING, 1);
    rs(D3DRS_COLORVERTEX, 1);
    rs(D3DRS_LOCALVIEWER, 1);
    rs(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    rs(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2);
    rs(D3DRS_POINTSIZE, FloatBits(1.0f));
    rs(D3DRS_MULTISAMPLEANTIALIAS, 1);
    rs(D3DRS_COLORWRITEENABLE, 0xF);
    rs(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    rs(D3DRS_BLENDFACTOR, 0xFFFFFFFF);
    rs(D3DRS_SRCBLENDALPHA, D3DBLEND_ONE);
    rs(D3DRS_DESTBLENDALPHA, D3DBLEND_ZERO);
    rs(D3DRS_BLENDOPALPHA, D3DBLENDOP_ADD);

    for (uint32_t stage = 0; stage < kMaxTextureStages; ++stage) {
        auto& s = stageStates_[stage];
        s.fill(0);
        s[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        s[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        s[D3DTSS_COLORARG1] = s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        s[D3DTSS_COLORARG2] = s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        s[D3DTSS_COLORARG0] = s[D3DTSS_ALPHAARG0] = s[D3DTSS_RESULTARG] = D3DTA_CURRENT;
        s[D3DTSS_TEXCOORDINDEX] = stage;

        auto& samp = samplerStates_[stage];
        samp.fill(0);
        samp[D3DSAMP_ADDRESSU] = samp[D3DSAMP_ADDRESSV] = samp[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        samp[D3DSAMP_MAGFILTER] = samp[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        samp[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        samp[D3DSAMP_MAXANISOTROPY] = 1;
        textures_[stage].Reset();
    }
    transforms_.fill(math::Identity());
    lights_.clear();
    material_ = {};
    fvf_ = 0;
    stream0_ = {};
    indices_.Reset();
    inScene_ = false;
    dirty_ = kDirtyAll;
}

HRESULT StateDevice::TestCooperativeLevel() {
    switch (lossState_) {
        case LossState::kLost:
            return D3DERR_DEVICELOST;
        case LossState::kNeedsReset:
            return D3DERR_DEVICENOTRESET;
        case LossState::kNone:
            break;
    }
    return D3D_OK;
}

HRESULT StateDevice::ResetBlocker() const { return IsLost() ? D3DERR_DEVICELOST : D3D_OK; }

void StateDevice::SimulateDeviceLoss() { lossState_ = LossState::kLost; }

void StateDevice::SimulateDeviceRestore() {
    if (lossState_ == LossState::kLost) lossState_ = LossState::kNeedsReset;
}

void StateDevice::SetGammaRamp(uint32_t swapChain, uint32_t /*flags*/, const D3DGAMMARAMP& ramp) {
    if (swapChain == 0) gammaRamp_ = ramp;
}

void StateDevice::GetGammaRamp(uint32_t /*swapChain*/, D3DGAMMARAMP& ramp) { ramp = gammaRamp_; }

HRESULT StateDevice::BeginScene() {
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT StateDevice::EndScene() {
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

HRESULT StateDevice::SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) {
    if (state >= kRenderStateCount) return D3DERR_INVALIDCALL;
    if (renderStates_[state] != value) {
        renderStates_[state] = value;
        dirty_ |= DirtyOfRenderState(state);
    }
    return D3D_OK;
}

HRESULT StateDevice::GetRenderState(D3DRENDERSTATETYPE state, uint32_t* value) {
    if (state >= kRenderStateCount || value == nullptr) return D3DERR_INVALIDCALL;
    *value = renderStates_[state];
    return D3D_OK;
}

HRESULT StateDevice::SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) {
    if (stage >= kMaxTextureStages || type >= kTextureStageStateCount) return D3DERR_INVALIDCALL;
    if (stageStates_[stage][type] != value) {
        stageStates_[stage][type] = value;
        dirty_ |= kDirtyProgram;
    }
    return D3D_OK;
}

HRESULT StateDevice::GetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t* value) {
    if (stage >= kMaxTextureStages || type >= kTextureStageStateCount || value == nullptr) return D3DERR_INVALIDCALL;
    *value = stageStates_[stage][type];
    return D3D_OK;
}

HRESULT StateDevice::SetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t value) {
    if (sampler >= kMaxTextureStages || type >= kSamplerStateCount) return D3DERR_INVALIDCALL;
    if (samplerStates_[sampler][type] != value) {
        samplerStates_[sampler][type] = value;
        dirty_ |= kDirtySamplers;
    }
    return D3D_OK;
}

HRESULT StateDevice::GetSamplerState(uint32_t sampler, D3DSAMPLERSTATETYPE type, uint32_t* value) {
    if (sampler >= kMaxTextureStages || type >= kSamplerStateCount || value == nullptr) return D3DERR_INVALIDCALL;
    *value = samplerStates_[sampler][type];
    return D3D_OK;
}

HRESULT StateDevice::SetTexture(uint32_t stage, Texture* texture) {
    if (stage >= kMaxTextureStages) return D3DERR_INVALIDCALL;
    if (textures_[stage].get() != texture) {
        textures_[stage] = Ref<Texture>(texture);
        dirty_ |= kDirtyTextures | kDirtyProgram;
    }
    return D3D_OK;
}

HRESULT StateDevice::GetTexture(uint32_t stage, Texture** texture) {
    if (stage >= kMaxTextureStages || texture == nullptr) return D3DERR_INVALIDCALL;
    *texture = textures_[stage].get();
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
}

const D3DMATRIX& StateDevice::Transform(D3DTRANSFORMSTATETYPE state) const {
    uint32_t slot = 0;
    TransformSlot(state, slot);
    return transforms_[slot];
}

HRESULT StateDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    uint32_t slot = 0;
    if (matrix == nullptr || !TransformSlot(state, slot)) return D3DERR_INVALIDCALL;
    transforms_[slot] = *matrix;
    dirty_ |= kDirtyConstants;
    return D3D_OK;
}

HRESULT StateDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    uint32_t slot = 0;
    if (matrix == nullptr || !TransformSlot(state, slot)) return D3DERR_INVALIDCALL;
    *matrix = transforms_[slot];
    return D3D_OK;
}

HRESULT StateDevice::SetLight(uint32_t index, const D3DLIGHT9* light) {
    if (light == nullptr || light->Type < D3DLIGHT_POINT || light->Type > D3DLIGHT_DIRECTIONAL) {
        return D3DERR_INVALIDCALL;
    }
    auto slot = lights_.try_emplace(index).first;
    slot->second.light = *light;
    dirty_ |= kDirtyConstants;
    if (slot->second.enabled) dirty_ |= kDirtyProgram;  // the light's type shapes the shader
    return D3D_OK;
}

HRESULT StateDevice::GetLight(uint32_t index, D3DLIGHT9* light) {
    const auto slot = lights_.find(index);
    if (light == nullptr || slot == lights_.end()) return D3DERR_INVALIDCALL;
    *light = slot->second.light;
    return D3D_OK;
}

HRESULT StateDevice::LightEnable(uint32_t index, bool enable) {
    auto [slot, added] = lights_.try_emplace(index);
    if (added) slot->second.light = DefaultLight();
    if (slot->second.enabled != enable) {
        slot->second.enabled = enable;
        dirty_ |= kDirtyProgram | kDirtyConstants;
    }
    return D3D_OK;
}

HRESULT StateDevice::GetLightEnable(uint32_t index, bool* enable) {
    const auto slot = lights_.find(index);
    if (enable == nullptr || slot == lights_.end()) return D3DERR_INVALIDCALL;
    *enable = slot->second.enabled;
    return D3D_OK;
}

HRESULT StateDevice::SetMaterial(const D3DMATERIAL9* material) {
    if (material == nullptr) return D3DERR_INVALIDCALL;
    material_ = *material;
    dirty_ |= kDirtyConstants;
    return D3D_OK;
}

HRESULT StateDevice::GetMaterial(D3DMATERIAL9* material) {
    if (material == nullptr) return D3DERR_INVALIDCALL;
    *material = material_;
    return D3D_OK;
}

HRESULT StateDevice::SetFVF(uint32_t fvf) {
    if (fvf_ != fvf) {
        fvf_ = fvf;
        dirty_ |= kDirtyStreams | kDirtyProgram;
    }
    return D3D_OK;
}

HRESULT StateDevice::GetFVF(uint32_t* fvf) {
    if (fvf == nullptr) return D3DERR_INVALIDCALL;
    *fvf = fvf_;
    return D3D_OK;
}

HRESULT StateDevice::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) {
    // The engine draws from one stream.
    if (stream != 0) return D3DERR_INVALIDCALL;
    stream0_.buffer = Ref<VertexBuffer>(buffer);
    stream0_.offset = offset;
    stream0_.stride = stride;
    dirty_ |= kDirtyStreams;
    return D3D_OK;
}

void StateDevice::UnbindStream0() {
    stream0_ = {};
    dirty_ |= kDirtyStreams;
}

HRESULT StateDevice::SetIndices(IndexBuffer* buffer) {
    indices_ = Ref<IndexBuffer>(buffer);
    dirty_ |= kDirtyStreams;
    return D3D_OK;
}

D3DSURFACE_DESC BackBufferDescOf(const D3DPRESENT_PARAMETERS& parameters) {
    D3DSURFACE_DESC desc = {};
    desc.Format = parameters.BackBufferFormat;
    desc.Usage = D3DUSAGE_RENDERTARGET;
    desc.MultiSampleType = parameters.MultiSampleType;
    desc.MultiSampleQuality = parameters.MultiSampleQuality;
    desc.Width = parameters.BackBufferWidth;
    desc.Height = parameters.BackBufferHeight;
    return desc;
}

}  // namespace gfx
