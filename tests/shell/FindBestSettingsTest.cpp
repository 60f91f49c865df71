#include <gtest/gtest.h>

#include "FakeDirect3D.h"
#include "shell/DeviceEnumeration.h"
#include "shell/DeviceSettings.h"

using namespace gfx;

namespace {

class FindBestSettingsTest : public testing::Test {
protected:
    bool Find(DeviceSettings& request) {
        DeviceEnumeration enumeration;
        EXPECT_TRUE(enumeration.Enumerate(&d3d_));
        return FindBestSettings(d3d_, enumeration, request);
    }
    static DeviceSettings FullScreen(uint32_t flags) {
        DeviceSettings request;
        request.matchFlags = flags;
        request.windowed = false;
        return request;
    }

    FakeDirect3D d3d_;
};

TEST_F(FindBestSettingsTest, WithoutFlagsFullScreenTakesTheDesktopModeAndDefaults) {
    DeviceSettings request = FullScreen(0);
    request.multiSampleType = D3DMULTISAMPLE_2_SAMPLES;
    request.multiSampleQuality = 1;
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.backBufferFormat, D3DFMT_X8R8G8B8);  // same format as the desktop: exact
    EXPECT_EQ(request.adapterFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(request.width, 1024u);
    EXPECT_EQ(request.height, 768u);
    EXPECT_EQ(request.refreshRate, 60u);
    EXPECT_EQ(request.depthStencilFormat, D3DFMT_D24X8);  // first 32-bit format listed
    EXPECT_EQ(request.multiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(request.multiSampleQuality, 0u);
    EXPECT_EQ(request.vertexProcessing, kHardwareVertexProcessing);
    EXPECT_EQ(request.presentInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_EQ(request.deviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(request.caps.DevCaps, d3d_.caps.DevCaps);
}

TEST_F(FindBestSettingsTest, RequestedSizeTakesTheHighestRefreshUnlessTheRateMustMatch) {
    DeviceSettings request = FullScreen(kMatchSize);
    request.width = 800;
    request.height = 600;
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.refreshRate, 75u);

    request = FullScreen(kMatchSize | kMatchRefreshRate);
    request.width = 800;
    request.height = 600;
    request.refreshRate = 60;
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.refreshRate, 60u);

    request = FullScreen(kMatchSize);
    request.width = 1280;
    request.height = 1024;
    EXPECT_FALSE(Find(request));
}

TEST_F(FindBestSettingsTest, BackBufferBitsChooseASameFormatCombinationAndItsDepthFormat) {
    DeviceSettings request = FullScreen(kMatchBackBufferBits);
    request.backBufferFormat = D3DFMT_X1R5G5B5;
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.backBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(request.adapterFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(request.depthStencilFormat, D3DFMT_D16);

    // D32 wins for 32-bit back buffers when listed.
    d3d_.depthFormats.insert(D3DFMT_D32);
    request = FullScreen(0);
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.depthStencilFormat, D3DFMT_D32);

    // No depth format with the back buffer's bits: no settings.
    d3d_.depthFormats = {D3DFMT_D16};
    request = FullScreen(0);
    EXPECT_FALSE(Find(request));
}

TEST_F(FindBestSettingsTest, RequestedDepthFormatIsKeptWhenListedAndStrictlyRequired) {
    DeviceSettings request = FullScreen(kMatchDepthFormat);
    request.depthStencilFormat = D3DFMT_D24S8;
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.depthStencilFormat, D3DFMT_D24S8);

    request = FullScreen(kMatchDepthFormat);
    request.depthStencilFormat = D3DFMT_D32;
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.depthStencilFormat, D3DFMT_D24X8);

    request = FullScreen(kMatchDepthFormat | kMatchStrict);
    request.depthStencilFormat = D3DFMT_D32;
    EXPECT_FALSE(Find(request));
}

TEST_F(FindBestSettingsTest, MultiSampleQualityIsLimitedOrStrictlyChecked) {
    DeviceSettings request = FullScreen(kMatchMultiSample);
    request.multiSampleType = D3DMULTISAMPLE_2_SAMPLES;
    request.multiSampleQuality = 5;
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.multiSampleQuality, 2u);  // three levels

    request = FullScreen(kMatchMultiSample | kMatchStrict);
    request.multiSampleType = D3DMULTISAMPLE_2_SAMPLES;
    request.multiSampleQuality = 3;
    EXPECT_FALSE(Find(request));
    request.multiSampleQuality = 2;
    EXPECT_TRUE(Find(request));

    // A type the hardware lacks is kept as asked, strict or not; device creation decides.
    for (uint32_t flags : {kMatchMultiSample, kMatchMultiSample | kMatchStrict}) {
        request = FullScreen(flags);
        request.multiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(4);
        request.multiSampleQuality = 7;
        ASSERT_TRUE(Find(request));
        EXPECT_EQ(request.multiSampleType, 4u);
        EXPECT_EQ(request.multiSampleQuality, 7u);
    }
}

TEST_F(FindBestSettingsTest, VertexProcessingAndPresentIntervalRequests) {
    DeviceSettings request = FullScreen(kMatchVertexProcessing);
    request.vertexProcessing = kPureHardwareVertexProcessing;  // not a pure device
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.vertexProcessing, kPureHardwareVertexProcessing);
    request = FullScreen(kMatchVertexProcessing | kMatchStrict);
    request.vertexProcessing = kPureHardwareVertexProcessing;
    EXPECT_FALSE(Find(request));

    request = FullScreen(kMatchPresentInterval);
    request.presentInterval = D3DPRESENT_INTERVAL_ONE;
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.presentInterval, D3DPRESENT_INTERVAL_ONE);
    request = FullScreen(kMatchPresentInterval);
    request.presentInterval = D3DPRESENT_INTERVAL_TWO;
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.presentInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    request = FullScreen(kMatchPresentInterval | kMatchStrict);
    request.presentInterval = D3DPRESENT_INTERVAL_TWO;
    EXPECT_FALSE(Find(request));

    d3d_.caps.DevCaps = 0;  // no hardware transform and lighting
    request = FullScreen(0);
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.vertexProcessing, kSoftwareVertexProcessing);
}

TEST_F(FindBestSettingsTest, AdapterOrdinalIsHonouredOnlyWithItsFlag) {
    DeviceSettings request = FullScreen(kMatchAdapter);
    request.adapterOrdinal = 1;
    EXPECT_FALSE(Find(request));
    request = FullScreen(0);
    request.adapterOrdinal = 1;
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.adapterOrdinal, 0u);
}

TEST_F(FindBestSettingsTest, WindowedTakesTheDesktopAndNeedsItsFormat) {
    DeviceSettings request;
    request.windowed = true;
    ASSERT_TRUE(Find(request));
    EXPECT_EQ(request.width, 1024u);
    EXPECT_EQ(request.refreshRate, 60u);
    EXPECT_EQ(request.adapterFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(request.backBufferFormat, D3DFMT_X8R8G8B8);

    // A desktop in a format the adapter has no modes in leaves no windowed combination.
    d3d_.desktop.Format = D3DFMT_A2R10G10B10;
    request = {};
    request.windowed = true;
    EXPECT_FALSE(Find(request));
}

TEST_F(FindBestSettingsTest, NothingEnumeratedFailsEveryRequest) {
    d3d_.modes.clear();
    DeviceSettings request = FullScreen(0);
    EXPECT_FALSE(Find(request));
    DeviceEnumeration enumeration;
    EXPECT_FALSE(enumeration.Enumerate(nullptr));
}

TEST(DeviceEnumeration, CombinationsFollowTheChecks) {
    FakeDirect3D d3d;
    d3d.caps.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_TWO;
    d3d.multiSampleLevels = {{0, 1}, {2, 1}};
    DeviceEnumeration enumeration;
    ASSERT_TRUE(enumeration.Enumerate(&d3d));
    ASSERT_EQ(enumeration.Adapters().size(), 1u);
    const AdapterInfo& adapter = enumeration.Adapters()[0];
    EXPECT_EQ(adapter.displayFormats, (std::vector<D3DFORMAT>{D3DFMT_X8R8G8B8, D3DFMT_R5G6B5}));
    EXPECT_EQ(adapter.displayModes.front(), (D3DDISPLAYMODE{640, 480, 60, D3DFMT_X8R8G8B8}));
    EXPECT_EQ(adapter.displayModes[1], (D3DDISPLAYMODE{640, 480, 75, D3DFMT_X8R8G8B8}));
    ASSERT_EQ(adapter.devices.size(), 1u);  // only the hardware type has caps here

    // Two display formats x three back buffers full-screen, plus windowed on the desktop format.
    const auto& combos = adapter.devices[0].combos;
    ASSERT_EQ(combos.size(), 9u);
    const DeviceCombo& fullScreen = combos[0];
    EXPECT_EQ(fullScreen.backBufferFormat, D3DFMT_A8R8G8B8);
    EXPECT_FALSE(fullScreen.windowed);
    EXPECT_EQ(fullScreen.depthStencilFormats, (std::vector<D3DFORMAT>{D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8}));
    EXPECT_EQ(fullScreen.vertexProcessingTypes,
              (std::vector<uint32_t>{kHardwareVertexProcessing, kMixedVertexProcessing, kSoftwareVertexProcessing}));
    EXPECT_EQ(fullScreen.presentIntervals, (std::vector<uint32_t>{D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE,
                                                                  D3DPRESENT_INTERVAL_TWO}));
    // The fake's depth surfaces take no multisampling: each depth format conflicts with 2 samples.
    EXPECT_EQ(fullScreen.conflicts.size(), 3u);
    EXPECT_EQ(fullScreen.conflicts[0], std::make_pair(D3DFMT_D16, D3DMULTISAMPLE_2_SAMPLES));
    const DeviceCombo& windowed = combos[1];
    EXPECT_TRUE(windowed.windowed);
    EXPECT_EQ(windowed.presentIntervals,
              (std::vector<uint32_t>{D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE}));
}

TEST(DeviceSettings, BehaviorFlagsOfVertexProcessing) {
    EXPECT_EQ(BehaviorFlagsOf(kSoftwareVertexProcessing), 0x20u);
    EXPECT_EQ(BehaviorFlagsOf(kMixedVertexProcessing), 0x80u);
    EXPECT_EQ(BehaviorFlagsOf(kHardwareVertexProcessing), 0x40u);
    EXPECT_EQ(BehaviorFlagsOf(kPureHardwareVertexProcessing), 0x50u);
}

}  // namespace
