#pragma once
// The Direct3D 9 values and records the engine speaks, with Direct3D's own numbers, so engine code
// reads as it would against the real interface. Only the subset the engine uses is listed.

#include <array>
#include <cstdint>

#include "common/math/Math.h"

namespace gfx {

using HRESULT = int32_t;
using D3DCOLOR = uint32_t;  // ARGB, alpha in the top byte

constexpr HRESULT MakeError(uint32_t code) { return static_cast<HRESULT>(code); }

inline constexpr HRESULT D3D_OK = 0;
inline constexpr HRESULT D3DERR_WRONGTEXTUREFORMAT = MakeError(0x88760818);
inline constexpr HRESULT D3DERR_UNSUPPORTEDCOLOROPERATION = MakeError(0x88760819);
inline constexpr HRESULT D3DERR_DRIVERINTERNALERROR = MakeError(0x88760827);
inline constexpr HRESULT D3DERR_NOTFOUND = MakeError(0x88760866);
inline constexpr HRESULT D3DERR_MOREDATA = MakeError(0x88760867);
inline constexpr HRESULT D3DERR_DEVICELOST = MakeError(0x88760868);
inline constexpr HRESULT D3DERR_DEVICENOTRESET = MakeError(0x88760869);
inline constexpr HRESULT D3DERR_NOTAVAILABLE = MakeError(0x8876086A);
inline constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = MakeError(0x8876017C);
inline constexpr HRESULT D3DERR_INVALIDCALL = MakeError(0x8876086C);
inline constexpr HRESULT E_OUTOFMEMORY = MakeError(0x8007000E);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

inline constexpr uint32_t D3D_SDK_VERSION = 31;

enum D3DFORMAT : uint32_t {
    D3DFMT_UNKNOWN = 0,
    D3DFMT_R8G8B8 = 20,
    D3DFMT_A8R8G8B8 = 21,
    D3DFMT_X8R8G8B8 = 22,
    D3DFMT_R5G6B5 = 23,
    D3DFMT_X1R5G5B5 = 24,
    D3DFMT_A1R5G5B5 = 25,
    D3DFMT_A4R4G4B4 = 26,
    D3DFMT_R3G3B2 = 27,
    D3DFMT_A8 = 28,
    D3DFMT_A8R3G3B2 = 29,
    D3DFMT_X4R4G4B4 = 30,
    D3DFMT_A2B10G10R10 = 31,
    D3DFMT_A8B8G8R8 = 32,
    D3DFMT_X8B8G8R8 = 33,
    D3DFMT_G16R16 = 34,
    D3DFMT_A2R10G10B10 = 35,
    D3DFMT_A16B16G16R16 = 36,
    D3DFMT_A8P8 = 40,
    D3DFMT_P8 = 41,
    D3DFMT_L8 = 50,
    D3DFMT_A8L8 = 51,
    D3DFMT_A4L4 = 52,
    D3DFMT_V8U8 = 60,
    D3DFMT_L6V5U5 = 61,
    D3DFMT_X8L8V8U8 = 62,
    D3DFMT_Q8W8V8U8 = 63,
    D3DFMT_V16U16 = 64,
    D3DFMT_A2W10V10U10 = 67,
    D3DFMT_D16_LOCKABLE = 70,
    D3DFMT_D32 = 71,
    D3DFMT_D15S1 = 73,
    D3DFMT_D24S8 = 75,
    D3DFMT_D24X8 = 77,
    D3DFMT_D24X4S4 = 79,
    D3DFMT_D16 = 80,
    D3DFMT_L16 = 81,
    D3DFMT_VERTEXDATA = 100,
    D3DFMT_INDEX16 = 101,
    D3DFMT_INDEX32 = 102,
    D3DFMT_Q16W16V16U16 = 110,
    D3DFMT_R16F = 111,
    D3DFMT_G16R16F = 112,
    D3DFMT_A16B16G16R16F = 113,
    D3DFMT_R32F = 114,
    D3DFMT_G32R32F = 115,
    D3DFMT_A32B32G32R32F = 116,
    D3DFMT_CxV8U8 = 117,
    // Four-character codes.
    D3DFMT_UYVY = 0x59565955,
    D3DFMT_YUY2 = 0x32595559,
    D3DFMT_DXT1 = 0x31545844,
    D3DFMT_DXT2 = 0x32545844,
    D3DFMT_DXT3 = 0x33545844,
    D3DFMT_DXT4 = 0x34545844,
    D3DFMT_DXT5 = 0x35545844,
    D3DFMT_MULTI2_ARGB8 = 0x3154454D,
};

enum D3DDEVTYPE : uint32_t { D3DDEVTYPE_HAL = 1, D3DDEVTYPE_REF = 2, D3DDEVTYPE_SW = 3 };

enum D3DPOOL : uint32_t { D3DPOOL_DEFAULT = 0, D3DPOOL_MANAGED = 1, D3DPOOL_SYSTEMMEM = 2, D3DPOOL_SCRATCH = 3 };

enum D3DRESOURCETYPE : uint32_t {
    D3DRTYPE_SURFACE = 1,
    D3DRTYPE_VOLUME = 2,
    D3DRTYPE_TEXTURE = 3,
    D3DRTYPE_VOLUMETEXTURE = 4,
    D3DRTYPE_CUBETEXTURE = 5,
    D3DRTYPE_VERTEXBUFFER = 6,
    D3DRTYPE_INDEXBUFFER = 7,
};

enum D3DMULTISAMPLE_TYPE : uint32_t {
    D3DMULTISAMPLE_NONE = 0,
    D3DMULTISAMPLE_NONMASKABLE = 1,
    D3DMULTISAMPLE_2_SAMPLES = 2,
    D3DMULTISAMPLE_16_SAMPLES = 16,
};

enum D3DSWAPEFFECT : uint32_t { D3DSWAPEFFECT_DISCARD = 1, D3DSWAPEFFECT_FLIP = 2, D3DSWAPEFFECT_COPY = 3 };

enum D3DPRIMITIVETYPE : uint32_t {
    D3DPT_POINTLIST = 1,
    D3DPT_LINELIST = 2,
    D3DPT_LINESTRIP = 3,
    D3DPT_TRIANGLELIST = 4,
    D3DPT_TRIANGLESTRIP = 5,
    D3DPT_TRIANGLEFAN = 6,
};

enum D3DLIGHTTYPE : uint32_t { D3DLIGHT_POINT = 1, D3DLIGHT_SPOT = 2, D3DLIGHT_DIRECTIONAL = 3 };

// Usage flags.
inline constexpr uint32_t D3DUSAGE_RENDERTARGET = 0x1;
inline constexpr uint32_t D3DUSAGE_DEPTHSTENCIL = 0x2;
inline constexpr uint32_t D3DUSAGE_WRITEONLY = 0x8;
inline constexpr uint32_t D3DUSAGE_DYNAMIC = 0x200;
inline constexpr uint32_t D3DUSAGE_AUTOGENMIPMAP = 0x400;

// Lock flags.
inline constexpr uint32_t D3DLOCK_READONLY = 0x10;
inline constexpr uint32_t D3DLOCK_NOOVERWRITE = 0x1000;
inline constexpr uint32_t D3DLOCK_DISCARD = 0x2000;

// Clear flags.
inline constexpr uint32_t D3DCLEAR_TARGET = 0x1;
inline constexpr uint32_t D3DCLEAR_ZBUFFER = 0x2;
inline constexpr uint32_t D3DCLEAR_STENCIL = 0x4;

// Behaviour flags of device creation.
inline constexpr uint32_t D3DCREATE_FPU_PRESERVE = 0x2;
inline constexpr uint32_t D3DCREATE_MULTITHREADED = 0x4;
inline constexpr uint32_t D3DCREATE_PUREDEVICE = 0x10;
inline constexpr uint32_t D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
inline constexpr uint32_t D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;
inline constexpr uint32_t D3DCREATE_MIXED_VERTEXPROCESSING = 0x80;

// Present intervals.
inline constexpr uint32_t D3DPRESENT_INTERVAL_DEFAULT = 0x0;
inline constexpr uint32_t D3DPRESENT_INTERVAL_ONE = 0x1;
inline constexpr uint32_t D3DPRESENT_INTERVAL_TWO = 0x2;
inline constexpr uint32_t D3DPRESENT_INTERVAL_THREE = 0x4;
inline constexpr uint32_t D3DPRESENT_INTERVAL_FOUR = 0x8;
inline constexpr uint32_t D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000;

inline constexpr uint32_t D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL = 0x2;

// Gamma ramp flags.
inline constexpr uint32_t D3DSGR_NO_CALIBRATION = 0;
inline constexpr uint32_t D3DSGR_CALIBRATE = 1;

// Capability bits the engine and the enumeration look at.
inline constexpr uint32_t D3DDEVCAPS_HWTRANSFORMANDLIGHT = 0x10000;
inline constexpr uint32_t D3DDEVCAPS_PUREDEVICE = 0x100000;
inline constexpr uint32_t D3DCAPS2_FULLSCREENGAMMA = 0x20000;
inline constexpr uint32_t D3DPTEXTURECAPS_ALPHA = 0x4;
inline constexpr uint32_t D3DPTEXTURECAPS_MIPMAP = 0x4000;
inline constexpr uint32_t D3DPMISCCAPS_CULLNONE = 0x10;
inline constexpr uint32_t D3DPMISCCAPS_CULLCW = 0x20;
inline constexpr uint32_t D3DPMISCCAPS_CULLCCW = 0x40;
inline constexpr uint32_t D3DPRASTERCAPS_FOGVERTEX = 0x80;
inline constexpr uint32_t D3DPRASTERCAPS_ZTEST = 0x10;
inline constexpr uint32_t D3DPRASTERCAPS_FOGRANGE = 0x10000;
inline constexpr uint32_t D3DVTXPCAPS_TEXGEN = 0x1;
inline constexpr uint32_t D3DVTXPCAPS_MATERIALSOURCE7 = 0x2;
inline constexpr uint32_t D3DVTXPCAPS_DIRECTIONALLIGHTS = 0x8;
inline constexpr uint32_t D3DVTXPCAPS_POSITIONALLIGHTS = 0x10;
inline constexpr uint32_t D3DVTXPCAPS_LOCALVIEWER = 0x20;
inline constexpr uint32_t D3DVTXPCAPS_TEXGEN_SPHEREMAP = 0x100;

struct D3DCOLORVALUE {
    float r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const D3DCOLORVALUE&, const D3DCOLORVALUE&) = default;
};

struct D3DVECTOR {
    float x = 0, y = 0, z = 0;
    friend bool operator==(const D3DVECTOR&, const D3DVECTOR&) = default;
};

using D3DMATRIX = math::Mat4;

struct D3DRECT {
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct RECT {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// 68 bytes, compared as bytes by the state cache.
struct D3DMATERIAL9 {
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Ambient;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Emissive;
    float Power = 0;
};
static_assert(sizeof(D3DMATERIAL9) == 68);

struct D3DLIGHT9 {
    D3DLIGHTTYPE Type = D3DLIGHT_DIRECTIONAL;
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Ambient;
    D3DVECTOR Position;
    D3DVECTOR Direction;
    float Range = 0;
    float Falloff = 0;
    float Attenuation0 = 0;
    float Attenuation1 = 0;
    float Attenuation2 = 0;
    float Theta = 0;
    float Phi = 0;
};

struct D3DDISPLAYMODE {
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint32_t RefreshRate = 0;
    D3DFORMAT Format = D3DFMT_UNKNOWN;
    friend bool operator==(const D3DDISPLAYMODE&, const D3DDISPLAYMODE&) = default;
};

struct D3DPRESENT_PARAMETERS {
    uint32_t BackBufferWidth = 0;
    uint32_t BackBufferHeight = 0;
    D3DFORMAT BackBufferFormat = D3DFMT_UNKNOWN;
    uint32_t BackBufferCount = 0;
    D3DMULTISAMPLE_TYPE MultiSampleType = D3DMULTISAMPLE_NONE;
    uint32_t MultiSampleQuality = 0;
    D3DSWAPEFFECT SwapEffect = D3DSWAPEFFECT_DISCARD;
    void* hDeviceWindow = nullptr;  // the platform's native window
    bool Windowed = true;
    bool EnableAutoDepthStencil = false;
    D3DFORMAT AutoDepthStencilFormat = D3DFMT_UNKNOWN;
    uint32_t Flags = 0;
    uint32_t FullScreen_RefreshRateInHz = 0;
    uint32_t PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
};

struct D3DSURFACE_DESC {
    D3DFORMAT Format = D3DFMT_UNKNOWN;
    D3DRESOURCETYPE Type = D3DRTYPE_SURFACE;
    uint32_t Usage = 0;
    D3DPOOL Pool = D3DPOOL_DEFAULT;
    D3DMULTISAMPLE_TYPE MultiSampleType = D3DMULTISAMPLE_NONE;
    uint32_t MultiSampleQuality = 0;
    uint32_t Width = 0;
    uint32_t Height = 0;
};

struct D3DVERTEXBUFFER_DESC {
    D3DFORMAT Format = D3DFMT_VERTEXDATA;
    D3DRESOURCETYPE Type = D3DRTYPE_VERTEXBUFFER;
    uint32_t Usage = 0;
    D3DPOOL Pool = D3DPOOL_DEFAULT;
    uint32_t Size = 0;
    uint32_t FVF = 0;
};

struct D3DINDEXBUFFER_DESC {
    D3DFORMAT Format = D3DFMT_INDEX16;
    D3DRESOURCETYPE Type = D3DRTYPE_INDEXBUFFER;
    uint32_t Usage = 0;
    D3DPOOL Pool = D3DPOOL_DEFAULT;
    uint32_t Size = 0;
};

struct D3DLOCKED_RECT {
    int32_t Pitch = 0;
    void* pBits = nullptr;
};

struct D3DGAMMARAMP {
    std::array<uint16_t, 256> red{};
    std::array<uint16_t, 256> green{};
    std::array<uint16_t, 256> blue{};
};

struct D3DADAPTER_IDENTIFIER9 {
    char Driver[512] = {};
    char Description[512] = {};
    char DeviceName[32] = {};
    uint32_t VendorId = 0;
    uint32_t DeviceId = 0;
};

// The capability record, with the fields this engine or its enumeration reads.
struct D3DCAPS9 {
    D3DDEVTYPE DeviceType = D3DDEVTYPE_HAL;
    uint32_t AdapterOrdinal = 0;
    uint32_t Caps = 0;
    uint32_t Caps2 = 0;
    uint32_t Caps3 = 0;
    uint32_t PresentationIntervals = 0;
    uint32_t DevCaps = 0;
    uint32_t PrimitiveMiscCaps = 0;
    uint32_t RasterCaps = 0;
    uint32_t ZCmpCaps = 0;
    uint32_t SrcBlendCaps = 0;
    uint32_t DestBlendCaps = 0;
    uint32_t AlphaCmpCaps = 0;
    uint32_t ShadeCaps = 0;
    uint32_t TextureCaps = 0;
    uint32_t TextureFilterCaps = 0;
    uint32_t TextureAddressCaps = 0;
    uint32_t MaxTextureWidth = 0;
    uint32_t MaxTextureHeight = 0;
    uint32_t MaxTextureRepeat = 0;
    uint32_t MaxAnisotropy = 0;
    uint32_t TextureOpCaps = 0;
    uint32_t FVFCaps = 0;
    uint32_t MaxTextureBlendStages = 0;
    uint32_t MaxSimultaneousTextures = 0;
    uint32_t VertexProcessingCaps = 0;
    uint32_t MaxActiveLights = 0;
    uint32_t MaxPrimitiveCount = 0;
    uint32_t MaxVertexIndex = 0;
    uint32_t MaxStreams = 0;
    uint32_t MaxStreamStride = 0;
    float MaxPointSize = 0;
    uint32_t VertexShaderVersion = 0;
    uint32_t PixelShaderVersion = 0;
};

// Packs 8-bit channels into an ARGB word.
constexpr D3DCOLOR D3DCOLOR_ARGB(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return ((a & 0xFF) << 24) | ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
}

}  // namespace gfx
