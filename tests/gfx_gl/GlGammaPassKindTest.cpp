// The OpenGL device computes a ramp that adds a constant without its lookup texture, and copies
// at the identity.

#include <gtest/gtest.h>

#include "GammaRamps.h"
#include "platform/gfx/gl/FrameTarget.h"

using namespace gfx;
using gfx::testing::FlashRamp;
using gfx::testing::SettingRamp;

namespace {

TEST(GammaPass, SettingRampsAddAConstantAndOtherRampsAreLookedUp) {
    using gl::GammaPassKind;
    const GammaPassKind lifted = gl::ClassifyGammaRamp(SettingRamp(100));
    EXPECT_EQ(lifted.kind, GammaPassKind::kOffset);
    EXPECT_EQ(lifted.offset[0], 78);  // 20000 / 256, rounded down
    EXPECT_EQ(lifted.offset[2], 78);
    const GammaPassKind lowered = gl::ClassifyGammaRamp(SettingRamp(-100));
    EXPECT_EQ(lowered.kind, GammaPassKind::kOffset);
    EXPECT_EQ(lowered.offset[1], -79);
    EXPECT_EQ(gl::ClassifyGammaRamp(SettingRamp(0)).kind, GammaPassKind::kCopy);
    EXPECT_EQ(gl::ClassifyGammaRamp(FlashRamp()).kind, GammaPassKind::kLookup);

    D3DGAMMARAMP almost = SettingRamp(50);
    almost.green[200] += 256;  // one entry off the line
    EXPECT_EQ(gl::ClassifyGammaRamp(almost).kind, GammaPassKind::kLookup);
    D3DGAMMARAMP channels = SettingRamp(0);
    channels.blue = SettingRamp(-30).blue;
    const GammaPassKind perChannel = gl::ClassifyGammaRamp(channels);
    EXPECT_EQ(perChannel.kind, GammaPassKind::kOffset);
    EXPECT_EQ(perChannel.offset[0], 0);
    EXPECT_EQ(perChannel.offset[2], -24);
}

}  // namespace
