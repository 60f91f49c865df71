#include "scene/DeviceStateCache.h"

#include <gtest/gtest.h>

#include "platform/gfx/RecordingDevice.h"
#include "scene/RenderDevice.h"

using namespace gfx;

namespace {

class DeviceStateCacheTest : public testing::Test {
protected:
    void SetUp() override {
        device_ = MakeRef<RecordingDevice>();
        PublishDevice(device_.get());
        cache().resetStats();
    }
    void TearDown() override { PublishDevice(nullptr); }
    static DeviceStateCache& cache() { return DeviceStateCache::Get(); }

    Ref<RecordingDevice> device_;
};

TEST_F(DeviceStateCacheTest, RepeatedValueMakesNoDeviceCallUntilInvalidated) {
    EXPECT_TRUE(cache().setRenderState(D3DRS_LIGHTING, 0));
    EXPECT_TRUE(cache().setRenderState(D3DRS_LIGHTING, 0));
    EXPECT_EQ(device_->CountCalls("SetRenderState"), 1u);
    EXPECT_TRUE(cache().setRenderState(D3DRS_LIGHTING, 1));
    EXPECT_EQ(device_->CountCalls("SetRenderState"), 2u);

    cache().invalidate();
    EXPECT_TRUE(cache().setRenderState(D3DRS_LIGHTING, 1));
    EXPECT_EQ(device_->Calls().back(), "SetRenderState(137, 1)");
    EXPECT_EQ(cache().stats().requested, 4u);
    EXPECT_EQ(cache().stats().made, 3u);
}

TEST_F(DeviceStateCacheTest, EveryTableSkipsRepeats) {
    for (int i = 0; i < 2; ++i) {
        cache().setTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE2X);
        cache().setSamplerState(2, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        cache().setTexture(0, nullptr);
        cache().setTransform(D3DTS_WORLD, math::Translation(1, 2, 3));
    }
    EXPECT_EQ(device_->CountCalls("SetTextureStageState"), 1u);
    EXPECT_EQ(device_->CountCalls("SetSamplerState"), 1u);
    EXPECT_EQ(device_->CountCalls("SetTexture"), 1u);
    EXPECT_EQ(device_->CountCalls("SetTransform"), 1u);
    // Another matrix in the same slot reaches the device.
    cache().setTransform(D3DTS_WORLD, math::Translation(1, 2, 4));
    EXPECT_EQ(device_->CountCalls("SetTransform"), 2u);
}

TEST_F(DeviceStateCacheTest, MaterialsDifferingOnlyInSpecularBothReachTheDevice) {
    D3DMATERIAL9 a;
    a.Diffuse = {1, 1, 1, 1};
    D3DMATERIAL9 b = a;
    b.Specular = {0.5f, 0.5f, 0.5f, 1};
    cache().setMaterial(&a);
    cache().setMaterial(&b);
    cache().setMaterial(&b);
    EXPECT_EQ(device_->CountCalls("SetMaterial"), 2u);
    D3DMATERIAL9 onDevice;
    device_->GetMaterial(&onDevice);
    EXPECT_EQ(onDevice.Specular, b.Specular);
}

TEST_F(DeviceStateCacheTest, NullMaterialIsStoredAsZeroAndPassedOn) {
    EXPECT_FALSE(cache().setMaterial(nullptr));  // the device refuses null
    EXPECT_EQ(device_->Calls().back(), "SetMaterial(null)");
    D3DMATERIAL9 zero;
    cache().setMaterial(&zero);  // equal bytes: skipped
    EXPECT_EQ(device_->CountCalls("SetMaterial"), 1u);
    D3DMATERIAL9 out;
    out.Power = 5;
    EXPECT_TRUE(cache().getMaterial(out));
    EXPECT_EQ(out.Power, 0.0f);
}

TEST_F(DeviceStateCacheTest, GettersAskTheDeviceOnceThenAnswerFromTheCache) {
    uint32_t value = 0;
    EXPECT_TRUE(cache().getRenderState(D3DRS_CULLMODE, value));
    EXPECT_EQ(value, D3DCULL_CCW);
    EXPECT_TRUE(cache().getRenderState(D3DRS_CULLMODE, value));
    EXPECT_EQ(device_->CountCalls("GetRenderState"), 1u);
    // A set after a get of the same value is a repeat.
    cache().setRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    EXPECT_EQ(device_->CountCalls("SetRenderState"), 0u);

    EXPECT_TRUE(cache().getTextureStageState(3, D3DTSS_TEXCOORDINDEX, value));
    EXPECT_EQ(value, 3u);
    EXPECT_TRUE(cache().getSamplerState(0, D3DSAMP_ADDRESSU, value));
    EXPECT_EQ(value, D3DTADDRESS_WRAP);
    D3DMATRIX m = math::Translation(1, 1, 1);
    EXPECT_TRUE(cache().getTransform(D3DTS_VIEW, m));
    EXPECT_EQ(m, math::Identity());
}

TEST_F(DeviceStateCacheTest, WithoutDeviceSettersFail) {
    PublishDevice(nullptr);
    EXPECT_FALSE(cache().setRenderState(D3DRS_ZENABLE, 1));
    uint32_t value = 0;
    EXPECT_FALSE(cache().getRenderState(D3DRS_ZENABLE, value));
}

// The cache's tables end where the device's do: the last number of each reaches the device, the
// next is refused without a call, and a refused number is never remembered as set.
TEST_F(DeviceStateCacheTest, TablesEndWhereTheDevicesDo) {
    const auto lastState = static_cast<D3DRENDERSTATETYPE>(kRenderStateCount - 1);
    const auto lastStageState = static_cast<D3DTEXTURESTAGESTATETYPE>(kTextureStageStateCount - 1);
    const auto lastSamplerState = static_cast<D3DSAMPLERSTATETYPE>(kSamplerStateCount - 1);
    const uint32_t lastStage = kMaxTextureStages - 1;
    EXPECT_TRUE(cache().setRenderState(lastState, 1));
    EXPECT_TRUE(cache().setTextureStageState(lastStage, lastStageState, 1));
    EXPECT_TRUE(cache().setSamplerState(lastStage, lastSamplerState, 1));
    EXPECT_TRUE(cache().setTexture(lastStage, nullptr));
    EXPECT_TRUE(cache().setTransform(D3DTS_TEXTURE(lastStage), math::Identity()));
    EXPECT_TRUE(cache().setTransform(D3DTS_WORLDMATRIX(kWorldMatrixCount - 1), math::Identity()));
    EXPECT_EQ(device_->Calls().size(), 6u);
    device_->ClearCalls();

    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(cache().setRenderState(static_cast<D3DRENDERSTATETYPE>(kRenderStateCount), 1));
        EXPECT_FALSE(cache().setTextureStageState(kMaxTextureStages, D3DTSS_COLOROP, 1));
        EXPECT_FALSE(
            cache().setTextureStageState(0, static_cast<D3DTEXTURESTAGESTATETYPE>(kTextureStageStateCount), 1));
        EXPECT_FALSE(cache().setSamplerState(kMaxTextureStages, D3DSAMP_MINFILTER, 1));
        EXPECT_FALSE(cache().setSamplerState(0, static_cast<D3DSAMPLERSTATETYPE>(kSamplerStateCount), 1));
        EXPECT_FALSE(cache().setTexture(kMaxTextureStages, nullptr));
        EXPECT_FALSE(cache().setTransform(D3DTS_WORLDMATRIX(kWorldMatrixCount), math::Identity()));
        EXPECT_FALSE(cache().setTransform(static_cast<D3DTRANSFORMSTATETYPE>(D3DTS_PROJECTION + 1), math::Identity()));
        EXPECT_FALSE(cache().setTransform(D3DTS_TEXTURE(kMaxTextureStages), math::Identity()));
    }
    uint32_t value = 0;
    D3DMATRIX m;
    EXPECT_FALSE(cache().getRenderState(static_cast<D3DRENDERSTATETYPE>(kRenderStateCount), value));
    EXPECT_FALSE(cache().getTransform(D3DTS_WORLDMATRIX(kWorldMatrixCount), m));
    EXPECT_TRUE(device_->Calls().empty());
}

// What the cache knew belongs to the device it was learnt on.
TEST_F(DeviceStateCacheTest, PublishingADeviceForgetsWhatTheCacheKnew) {
    EXPECT_TRUE(cache().setRenderState(D3DRS_LIGHTING, 0));
    {
        RecordingDevice other;
        PublishedDevice published(other);
        EXPECT_EQ(CurrentDevice(), &other);
        EXPECT_TRUE(cache().setRenderState(D3DRS_LIGHTING, 0));
        EXPECT_EQ(other.CountCalls("SetRenderState"), 1u);
    }
    EXPECT_EQ(CurrentDevice(), nullptr);
    PublishDevice(device_.get());
    EXPECT_TRUE(cache().setRenderState(D3DRS_LIGHTING, 0));
    EXPECT_EQ(device_->CountCalls("SetRenderState"), 2u);
}

TEST_F(DeviceStateCacheTest, SwitchedOffEveryCallReachesTheDevice) {
    cache().setEnabled(false);
    cache().setRenderState(D3DRS_ZENABLE, 1);
    cache().setRenderState(D3DRS_ZENABLE, 1);
    cache().setEnabled(true);
    EXPECT_EQ(device_->CountCalls("SetRenderState"), 2u);
}

}  // namespace
