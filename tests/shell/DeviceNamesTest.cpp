#include "shell/DeviceNames.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/Log.h"
#include "shell/ModeDescription.h"

using namespace gfx;

TEST(DeviceNames, FormatNamesAndBits) {
    EXPECT_STREQ(FormatName(D3DFMT_X8R8G8B8), "X8R8G8B8");
    EXPECT_STREQ(FormatName(D3DFMT_D24S8), "D24S8");
    EXPECT_STREQ(FormatName(D3DFMT_DXT3), "DXT3");
    EXPECT_STREQ(FormatName(D3DFMT_CxV8U8), "CxV8U8");
    EXPECT_STREQ(FormatName(D3DFMT_MULTI2_ARGB8), "MULTI2_ARGB8");
    EXPECT_STREQ(FormatName(static_cast<D3DFORMAT>(42)), "Unknown format");

    EXPECT_EQ(FormatBits(D3DFMT_R8G8B8), 24u);
    EXPECT_EQ(FormatBits(D3DFMT_D24X4S4), 32u);
    EXPECT_EQ(FormatBits(D3DFMT_D15S1), 16u);
    EXPECT_EQ(FormatBits(D3DFMT_A4L4), 8u);
    EXPECT_EQ(FormatBits(D3DFMT_G32R32F), 64u);
    EXPECT_EQ(FormatBits(D3DFMT_A32B32G32R32F), 128u);
    EXPECT_EQ(FormatBits(D3DFMT_DXT1), 0u);
    EXPECT_EQ(FormatBits(D3DFMT_YUY2), 0u);
    EXPECT_EQ(FormatBits(static_cast<D3DFORMAT>(42)), 0u);
}

TEST(DeviceNames, MultiSampleVertexProcessingAndPresentIntervalNames) {
    EXPECT_STREQ(MultiSampleName(D3DMULTISAMPLE_NONE), "D3DMULTISAMPLE_NONE");
    EXPECT_STREQ(MultiSampleName(D3DMULTISAMPLE_NONMASKABLE), "D3DMULTISAMPLE_NONMASKABLE");
    EXPECT_STREQ(MultiSampleName(static_cast<D3DMULTISAMPLE_TYPE>(9)), "D3DMULTISAMPLE_9_SAMPLES");
    EXPECT_STREQ(MultiSampleName(D3DMULTISAMPLE_16_SAMPLES), "D3DMULTISAMPLE_16_SAMPLES");
    EXPECT_STREQ(MultiSampleName(static_cast<D3DMULTISAMPLE_TYPE>(17)), "Unknown Multisample Type");
    EXPECT_STREQ(VertexProcessingName(3), "PURE_HARDWARE_VP");
    EXPECT_STREQ(VertexProcessingName(4), "Unknown VertexProcessingType");
    EXPECT_STREQ(PresentIntervalName(D3DPRESENT_INTERVAL_IMMEDIATE), "D3DPRESENT_INTERVAL_IMMEDIATE");
    EXPECT_STREQ(PresentIntervalName(D3DPRESENT_INTERVAL_DEFAULT), "D3DPRESENT_INTERVAL_DEFAULT");
    EXPECT_STREQ(PresentIntervalName(D3DPRESENT_INTERVAL_FOUR), "D3DPRESENT_INTERVAL_FOUR");
    EXPECT_STREQ(PresentIntervalName(3), "Unknown PresentInterval");
}

TEST(DeviceNames, ModeRequestAndDescriptionLines) {
    const std::string path = testing::TempDir() + "mode_description_trace.log";
    std::remove(path.c_str());
    SetTracePath(path.c_str());
    DeviceSettings settings;
    settings.multiSampleType = D3DMULTISAMPLE_2_SAMPLES;
    settings.multiSampleQuality = 1;
    LogModeRequest(settings);
    settings.multiSampleType = D3DMULTISAMPLE_NONE;
    LogModeRequest(settings);
    settings.width = 1024;
    settings.height = 768;
    settings.adapterFormat = D3DFMT_X8R8G8B8;
    settings.depthStencilFormat = D3DFMT_D24X8;
    settings.presentInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    settings.vertexProcessing = 2;
    WriteModeDescription(settings);
    SetTracePath(nullptr);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "MODEDESC:\n2Samples, quality: 1\nMODEDESC:\nNoSampling\n"
              "----------------------\nFullscreen 1024x768, X8R8G8B8, D24X8\n"
              "Present Interval: D3DPRESENT_INTERVAL_IMMEDIATE\nVertex Proccessing: HARDWARE_VP\n"
              "MultiSample: D3DMULTISAMPLE_NONE , Quality:1\n----------------------\n");
    std::remove(path.c_str());
}
