// What the OpenGL device answers to requests it cannot meet, and what the driver really gives for
// each multisample type the device reports.

#include "GlDeviceFixture.h"
#include "platform/gfx/gl/Gl.h"

using namespace gfx;
using gfx::testing::GlDeviceTest;

namespace {

TEST_F(GlDeviceTest, UnsupportedRequestsGetDirect3DsDocumentedCodes) {
    Ref<Texture> texture;
    EXPECT_EQ(device_->CreateTexture(1 << 20, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d_->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, true,
                                               static_cast<D3DMULTISAMPLE_TYPE>(64), nullptr),
              D3DERR_NOTAVAILABLE);
    D3DCAPS9 caps;
    EXPECT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_REF, caps), D3DERR_NOTAVAILABLE);
    D3DPRESENT_PARAMETERS pp;
    pp.Windowed = true;
    Ref<Device> other;
    EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, pp, other), D3DERR_INVALIDCALL);
    pp.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(16);
    EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_->NativeHandle(), 0, pp, other), D3DERR_NOTAVAILABLE);
    EXPECT_FALSE(other);
}

// A multisample type is reported only when the driver gives exactly that many samples: drivers
// round other counts up, which would multiply the fill cost of a mode that asked for less.
TEST_F(GlDeviceTest, ReportedMultisampleTypesGetExactlyTheirSampleCount) {
    int supported = 0;
    for (uint32_t type = 2; type <= 16; ++type) {
        const auto multiSample = static_cast<D3DMULTISAMPLE_TYPE>(type);
        if (FAILED(d3d_->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, true, multiSample, nullptr))) {
            D3DPRESENT_PARAMETERS pp = PresentParameters();
            pp.MultiSampleType = multiSample;
            Ref<Device> refused;
            EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_->NativeHandle(), 0, pp, refused),
                      D3DERR_NOTAVAILABLE) << type;
            continue;
        }
        ++supported;
        device_.Reset();
        D3DPRESENT_PARAMETERS pp = PresentParameters();
        pp.MultiSampleType = multiSample;
        ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_->NativeHandle(), 0, pp, device_), D3D_OK) << type;
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        GLint samples = 0;
        glGetIntegerv(GL_SAMPLES, &samples);  // of the target the scene draws into
        EXPECT_EQ(samples, static_cast<GLint>(type));
        ASSERT_EQ(device_->EndScene(), D3D_OK);
    }
    EXPECT_GT(supported, 0) << "no multisampling at all";
}

}  // namespace
