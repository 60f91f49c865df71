// The frame's gamma pass gives the ramp's own values, whichever way the device computes it.

#include "GammaRamps.h"
#include "GlDeviceFixture.h"

using namespace gfx;
using gfx::testing::FlashRamp;
using gfx::testing::GlDeviceTest;
using gfx::testing::Rgb;
using gfx::testing::SettingRamp;

namespace {

TEST_F(GlDeviceTest, EveryGammaPassGivesTheLookupsBytes) {
    const D3DCOLOR colours[8] = {0xFF000102, 0xFF034D80, 0xFF81C8FE, 0xFFFFFFFF,
                                 0xFF0A141E, 0xFFFA0564, 0xFF4E4F50, 0xFFB0B1B2};
    D3DGAMMARAMP channels = SettingRamp(100);
    channels.green = SettingRamp(-60).green;
    for (const D3DGAMMARAMP& ramp : {SettingRamp(100), SettingRamp(0), SettingRamp(-100), FlashRamp(), channels}) {
        device_->SetGammaRamp(0, 0, ramp);
        Begin(0xFF000000);
        device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        for (uint32_t strip = 0; strip < 8; ++strip)
            DrawQuad(static_cast<float>(strip * 8), 0, static_cast<float>(strip * 8 + 8), kSize, colours[strip]);
        Finish("gamma_pass");
        for (uint32_t strip = 0; strip < 8; ++strip) {
            const D3DCOLOR c = colours[strip];
            const Rgb got = Pixel(strip * 8 + 4, 32);
            EXPECT_EQ(got.r, ramp.red[(c >> 16) & 0xFF] >> 8) << "strip " << strip;
            EXPECT_EQ(got.g, ramp.green[(c >> 8) & 0xFF] >> 8) << "strip " << strip;
            EXPECT_EQ(got.b, ramp.blue[c & 0xFF] >> 8) << "strip " << strip;
        }
    }
}

}  // namespace
