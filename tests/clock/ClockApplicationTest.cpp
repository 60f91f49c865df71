// The clock application started the way the saver starts it, on a made-up machine with the
// recording device, from a small media folder written by the test.

#include "clock/ClockApplication.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>

#include "platform/sys/SettingsStore.h"
#include "scene/Scene.h"
#include "scene/SceneNode.h"
#include "scene/SceneFiles.h"
#include "shell/FakeDirect3D.h"
#include "support/CameraPathFile.h"
#include "support/MediaResources.h"
#include "support/SaverSandbox.h"
#include "support/TestFiles.h"

using namespace gfx;

namespace {

// A path of `end` units flying along +x at height 100, looking along +z.
void WriteStraightPath(const std::string& path, float end) {
    testing_support::WriteCameraPathFile(path, {0, {0, 100, 0}, {0, 0, 0, 1}}, {end, {end, 100, 0}, {0, 0, 0, 1}});
}

class ClockApplicationTest : public testing::Test, protected SaverSandbox {
protected:
    ClockApplicationTest() {
        std::filesystem::create_directories(temp.path() + "/Media");
        // The saver cannot start without its interface font: take the generated fonts along.
        for (const char* font : {"sylfaen.fs", "sylfaen_eng_14.css", "sylfaen_eng_14.png", "64font.fs", "64font.css",
                                 "font02.dds"})
            std::filesystem::copy_file(std::string(QUELMONT_BINARY_DIR) + "/media/tree/Media/" + font, Media(font));
        system.localTime.hour = 10;
        system.localTime.minute = 10;
    }
    ~ClockApplicationTest() override { app.reset(); }

    std::string Media(const char* name) const { return temp.path() + "/Media/" + name; }
    // The room: the six special nodes, a picture frame and a wall, each a square.
    void WriteScene() {
        std::unique_ptr<UdfNode> root = scenefiles::MakeRoot();
        UdfNode* children = scenefiles::AddStruct(*root, "Children", "Node");
        const char* names[] = {"Wall", "strelka_1big", "strelka_1min", "Clock glass", "Lamp lamp", "Curtain", "FonPlane01", "Picture"};
        float x = 0;
        for (const char* name : names) scenefiles::AddSquareMesh(*children, name, x += 3, 0, 1, 10);
        scenefiles::SaveBytes(*root, Media("clock.udf"));
    }
    void SetPhotoPath(const std::string& path) {
        std::unique_ptr<sys::SettingsKey> key = sys::GetSettingsStore().OpenKey(kSettingsKey, sys::KeyAccess::Write);
        ASSERT_TRUE(key);
        key->SetString("PhotoPath", path);
        ASSERT_TRUE(key->Close());
    }
    void WriteProps(const std::string& text) { testing_support::WriteTestFile(temp.path(), "Media/Scene.props", text); }

    bool Start() {
        app = std::make_unique<ClockApplication>();
        return app->Create(nullptr, RunMode::Saver, 0);
    }
    RecordingDevice& Device() { return *direct3d.machine->lastDevice; }
    // One frame as the main loop runs it.
    void Frame(int64_t ms = 20) {
        clock.AdvanceMs(ms);
        app->Update();
        app->RenderFrame();
    }

    // Media are found relative to the working directory, as the saver finds a loose Media folder.
    testing_support::ScopedWorkingDir cwd{temp.path()};
    ScopedEnv silentSound{"ALSOFT_DRIVERS", "null"};
    ScopedFakeDirect3D direct3d;
    MediaResources media;
    std::unique_ptr<ClockApplication> app;
};

size_t Find(const std::string& text, const std::string& line, size_t from = 0) { return text.find(line, from); }

}  // namespace

TEST_F(ClockApplicationTest, StartUpLoadsTheRoomAndTakesItsSpecialNodesOut) {
    WriteScene();
    WriteProps("QuietTime = 3000; WinkTime = 1000; Fov = 70; BgColor = array(0,0,0);");
    ASSERT_TRUE(Start());

    const std::string text = Trace();
    size_t at = 0;
    for (const char* line : {"Full Mode:\n", "Application created\n", "LoadCustom started\n", "Scene Loaded\n",
                             "Creating successfull\n"}) {
        at = Find(text, line, at);
        ASSERT_NE(at, std::string::npos) << line << " missing or out of order in\n" << text;
    }
    ASSERT_NE(app->hourHandNode(), nullptr);
    EXPECT_EQ(app->hourHandNode()->getName(), "strelka_1big");
    EXPECT_EQ(app->minuteHandNode()->getName(), "strelka_1min");
    EXPECT_EQ(app->glassNode()->getName(), "Clock glass");
    EXPECT_EQ(app->lampNode()->getName(), "Lamp lamp");
    EXPECT_EQ(app->curtainNode()->getName(), "Curtain");
    EXPECT_EQ(app->outdoorNode()->getName(), "FonPlane01");
    // Only the wall and the picture frame stay in the room's own pass.
    ASSERT_EQ(app->GetScene()->rootChildren().size(), 2u);
    EXPECT_EQ(app->GetScene()->rootChildren()[0]->getName(), "Wall");
    EXPECT_EQ(app->GetScene()->rootChildren()[1]->getName(), "Picture");

    EXPECT_EQ(app->Storm().QuietTime(), 3000);
    EXPECT_EQ(app->Storm().WinkTime(), 1000);
    EXPECT_FLOAT_EQ(app->scene.fov, 1.2217305f);
    EXPECT_EQ(app->FallbackCamera().position, (math::Vec3{-200, 100, 0}));
    EXPECT_EQ(app->FallbackCamera().forward, (math::Vec3{1, 0, 0}));
}

TEST_F(ClockApplicationTest, AFailedSceneLeavesAnEmptyRoomThatStillDraws) {
    ASSERT_TRUE(Start());  // no clock.udf, no Scene.props
    EXPECT_NE(Trace().find("LoadCustom started\n"), std::string::npos);
    EXPECT_NE(Trace().find("Cannot Load Scene\n"), std::string::npos);
    EXPECT_EQ(app->hourHandNode(), nullptr);
    EXPECT_FLOAT_EQ(app->scene.fov, 1.0471976f);  // the defaults stand

    const size_t before = Trace().size();
    Frame();
    const std::string frame = Trace().substr(before);
    EXPECT_NE(frame.find("BASS stuff ok\nAni ok\nThunder ok\nFlashes ok\nEnding iteration\n"), std::string::npos) << frame;
    EXPECT_NE(frame.find("Lamp ok\nScene ok\nArrows ok\nCurtain & Glass ok\nfade quad ok\n"), std::string::npos) << frame;
    // Without a landscape there is no outdoor pass, and no line for it.
    EXPECT_EQ(frame.find("Outdoor"), std::string::npos);
    // The view is the fallback camera's: at (-200, 100, 0) looking along +x.
    D3DMATRIX view{};
    Device().GetTransform(D3DTS_VIEW, &view);
    const math::Mat4 expected = math::LookAtLH({-200, 100, 0}, {-199, 100, 0}, {0, 1, 0});
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(view.m[r][c], expected(r, c), 1e-4) << r << c;
}

TEST_F(ClockApplicationTest, HandsShowTheLocalTimeClockwiseFromTwelve) {
    WriteScene();
    ASSERT_TRUE(Start());
    constexpr float kPi = std::numbers::pi_v<float>;
    struct Case {
        int h, m;
        float hour, minute;
    };
    for (const Case c : {Case{3, 0, kPi / 2, -kPi / 2}, Case{6, 30, 2 * kPi * 6.5f / 12, kPi / 2},
                         Case{9, 45, 2 * kPi * 9.75f / 12, 2 * kPi * 0.75f - kPi / 2}}) {
        system.localTime.hour = c.h;
        system.localTime.minute = c.m;
        Frame();
        // A turn by a about +y puts the hand's x axis at (cos a, 0, -sin a).
        const Matrix& hour = app->hourHandNode()->getWorldMatrix();
        EXPECT_NEAR(hour.m(0, 0), std::cos(c.hour), 1e-4) << c.h;
        EXPECT_NEAR(hour.m(0, 2), -std::sin(c.hour), 1e-4) << c.h;
        const Matrix& minute = app->minuteHandNode()->getWorldMatrix();
        EXPECT_NEAR(minute.m(0, 0), std::cos(c.minute), 1e-4) << c.h;
        EXPECT_NEAR(minute.m(0, 2), -std::sin(c.minute), 1e-4) << c.h;
    }
}

TEST_F(ClockApplicationTest, AFlashLightsTheLandscapeAndEndsOnTheBaseRamp) {
    WriteScene();
    ASSERT_TRUE(Start());
    const D3DGAMMARAMP base = Device().GammaRamp();
    // The first flash starts one second after loading; look for a frame at its peak.
    bool peaked = false;
    for (int i = 0; i < 200 && !peaked; ++i) {
        Frame(10);
        peaked = app->flashLevel() > 0.9f;
    }
    ASSERT_TRUE(peaked);
    EXPECT_GT(Device().GammaRamp().red[128], base.red[128]);
    const StageState& stage = app->outdoorNode()->getRenderable()->getStateBlock().stages[1];
    EXPECT_EQ(stage.colorOp, static_cast<uint32_t>(D3DTOP_ADD));
    EXPECT_EQ(stage.colorArg2, static_cast<uint32_t>(D3DTA_TFACTOR));
    // After the outdoor pass the room's ambient colour is back.
    uint32_t ambient = 0;
    Device().GetRenderState(D3DRS_AMBIENT, &ambient);
    EXPECT_EQ(ambient, PackColor(app->scene.ambient));

    while (app->Storm().flashActive()) Frame(10);
    EXPECT_EQ(Device().GammaRamp().red, base.red);
    app->Shutdown();
    EXPECT_EQ(Device().GammaRamp().red, app->Storm().BaseRamp().red);
}

TEST_F(ClockApplicationTest, ThePathFadesInWithABlackQuad) {
    WriteStraightPath(Media("c1.cam"), 400);
    WriteProps("Animations = array(\"c1.cam\");");
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->CameraPaths().CurrentPath(), "c1.cam");
    const size_t quadsBefore = Device().CountCalls("DrawPrimitiveUP");
    Frame(100);  // t = 1: nine tenths black
    EXPECT_EQ(Device().CountCalls("DrawPrimitiveUP"), quadsBefore + 1);
    uint32_t factor = 0;
    Device().GetRenderState(D3DRS_TEXTUREFACTOR, &factor);
    EXPECT_EQ(factor >> 24, static_cast<uint32_t>(0.9f * 255 + 0.5f));
    EXPECT_EQ(factor & 0xFFFFFF, 0u);
    Frame(2000);  // t = 21: no fade
    EXPECT_EQ(Device().CountCalls("DrawPrimitiveUP"), quadsBefore + 1);
    EXPECT_NE(Trace().rfind("fade quad ok\n"), std::string::npos);
    // The camera flies the path: evaluated at t = 1 on the frame before.
    EXPECT_NEAR(app->Camera().position.y, 100.0f, 1e-3);
    EXPECT_NEAR(app->Camera().position.x, 1.0f, 1e-2);
}

TEST_F(ClockApplicationTest, TheUsersPictureGoesIntoTheFrame) {
    WriteScene();
    std::vector<uint32_t> texels(16, 0xFF2040A0);
    scenefiles::WriteTga(temp.path() + "/mine.tga", 4, 4, texels);
    SetPhotoPath(temp.path() + "/mine.tga");
    ASSERT_TRUE(Start());
    const Renderable* frame = app->GetScene()->root().find("Picture")->getRenderable();
    const ::Texture* picture = frame->getStateBlock().stages[0].texture;
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Size().width, 4u);
}

TEST_F(ClockApplicationTest, AMissingPictureLeavesTheFramesOwn) {
    WriteScene();
    SetPhotoPath(temp.path() + "/absent.jpg");
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->GetScene()->root().find("Picture")->getRenderable()->getStateBlock().stages[0].texture, nullptr);
}
