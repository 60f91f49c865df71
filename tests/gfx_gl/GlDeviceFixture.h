#pragma once
// The platform's device (OpenGL on Linux, Direct3D 9 on Windows) on a hidden 64 x 64 window, with
// helpers to draw screen-space quads and read back pixels. Every frame read is also written as a PNG into the test's temp dir.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Direct3D.h"
#include "platform/gfx/HiddenWindow.h"
#ifndef _WIN32
#include "platform/gfx/gl/GlContext.h"
#endif
#include "platform/gfx/loader/ImageEncoders.h"

namespace gfx::testing {

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
    float u, v;
};
inline constexpr uint32_t kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct Rgb {
    int r, g, b;
};

class GlDeviceTest : public ::testing::Test {
protected:
    static constexpr uint32_t kSize = 64;

    void SetUp() override {
        window_ = std::make_unique<HiddenWindow>(kSize, kSize);
        ASSERT_NE(window_->NativeHandle(), nullptr) << window_->Error();
        d3d_ = PlatformDirect3DCreate9(D3D_SDK_VERSION);
        ASSERT_TRUE(d3d_) << "no 3D device";
        D3DPRESENT_PARAMETERS pp = PresentParameters();
        ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_->NativeHandle(), D3DCREATE_HARDWARE_VERTEXPROCESSING, pp, device_),
                  D3D_OK);
        errorsBefore_ = ErrorCount();
    }

    // Errors the OpenGL driver reported; Direct3D reports its own through return codes.
    static unsigned ErrorCount() {
#ifdef _WIN32
        return 0;
#else
        return gl::GlErrorCount();
#endif
    }

    static D3DPRESENT_PARAMETERS PresentParameters() { return HiddenWindowParameters(kSize, kSize); }

    void TearDown() override {
        EXPECT_EQ(ErrorCount(), errorsBefore_) << "OpenGL reported errors";
        device_.Reset();
        d3d_.Reset();
        window_.reset();
    }

    // Screen-space quad from (x0, y0) to (x1, y1) with texture coordinates 0..1.
    void DrawQuad(float x0, float y0, float x1, float y1, D3DCOLOR diffuse) {
        const ScreenVertex v[6] = {{x0, y0, 0.1f, 1, diffuse, 0, 0}, {x1, y0, 0.1f, 1, diffuse, 1, 0},
                                   {x1, y1, 0.1f, 1, diffuse, 1, 1}, {x0, y0, 0.1f, 1, diffuse, 0, 0},
                                   {x1, y1, 0.1f, 1, diffuse, 1, 1}, {x0, y1, 0.1f, 1, diffuse, 0, 1}};
        device_->SetFVF(kScreenFvf);
        ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, v, sizeof(ScreenVertex)), D3D_OK);
    }

    // A texture whose texels are the given ARGB words, row by row.
    Ref<Texture> MakeTexture(uint32_t width, uint32_t height, const std::vector<uint32_t>& texels) {
        Ref<Texture> texture;
        EXPECT_EQ(device_->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture), D3D_OK);
        D3DLOCKED_RECT locked;
        EXPECT_EQ(texture->LockRect(0, locked, nullptr, 0), D3D_OK);
        for (uint32_t y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
            for (uint32_t x = 0; x < width; ++x) row[x] = texels[y * width + x];
        }
        EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
        return texture;
    }

    void Begin(D3DCOLOR clear) {
        ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear, 1.0f, 0), D3D_OK);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        device_->SetRenderState(D3DRS_LIGHTING, 0);
        device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    }

    // Ends the scene, presents and reads the frame (saved as <name>.png).
    void Finish(const char* name) {
        ASSERT_EQ(device_->EndScene(), D3D_OK);
        ASSERT_EQ(device_->Present(), D3D_OK);
        uint32_t width = 0, height = 0;
        ASSERT_EQ(device_->GetFrontBufferData(0, frame_, width, height), D3D_OK);
        ASSERT_EQ(width, kSize);
        ASSERT_EQ(height, kSize);
        const std::string path = ::testing::TempDir() + name + ".png";
        EXPECT_TRUE(WritePngFile(path.c_str(), frame_, width, height, false, 1));
    }

    Rgb Pixel(uint32_t x, uint32_t y) const {
        const uint32_t argb = frame_[y * kSize + x];
        return {static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF), static_cast<int>(argb & 0xFF)};
    }

    // Within one step of 8-bit rounding.
    void ExpectPixel(uint32_t x, uint32_t y, Rgb expected) const {
        const Rgb got = Pixel(x, y);
        EXPECT_NEAR(got.r, expected.r, 1) << "red at " << x << "," << y;
        EXPECT_NEAR(got.g, expected.g, 1) << "green at " << x << "," << y;
        EXPECT_NEAR(got.b, expected.b, 1) << "blue at " << x << "," << y;
    }

    Ref<Direct3D> d3d_;
    Ref<Device> device_;
    std::unique_ptr<HiddenWindow> window_;
    std::vector<uint32_t> frame_;
    unsigned errorsBefore_ = 0;
};

}  // namespace gfx::testing
