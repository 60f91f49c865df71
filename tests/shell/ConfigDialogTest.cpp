// The configuration dialog's logic on a dialog without a toolkit, with the real settings file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "clock/ClockApplication.h"
#include "platform/sys/GraphicsHelp.h"
#include "platform/sys/linux/KeyFileSettingsStore.h"
#include "platform/ui/DialogResources.h"
#include "shell/DesktopMode.h"
#include "shell/FakeDirect3D.h"
#include "shell/VideoModeList.h"
#include "support/FakeDialog.h"
#include "support/FakeSystem.h"
#include "support/Files.h"
#include "support/MediaResources.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

using namespace ui;

namespace {

// The machine each new graphics object describes (null: none can be made).
std::vector<gfx::D3DDISPLAYMODE> g_modes;
gfx::D3DDISPLAYMODE g_desktop;
bool g_noGraphics = false;

gfx::Ref<gfx::Direct3D> MakeMachine(uint32_t) {
    if (g_noGraphics) return {};
    auto machine = gfx::MakeRef<FakeDirect3D>();
    machine->modes = g_modes;
    machine->desktop = g_desktop;
    return machine;
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

gfx::D3DDISPLAYMODE Mode(uint32_t w, uint32_t h, gfx::D3DFORMAT format, uint32_t hz = 60) { return {w, h, hz, format}; }

class ConfigDialogTest : public testing::Test {
protected:
    ConfigDialogTest() {
        g_noGraphics = false;
        g_desktop = Mode(1024, 768, gfx::D3DFMT_X8R8G8B8);
        g_modes = {Mode(320, 240, gfx::D3DFMT_X8R8G8B8),  Mode(640, 480, gfx::D3DFMT_R5G6B5),
                   Mode(640, 480, gfx::D3DFMT_X8R8G8B8),  Mode(800, 600, gfx::D3DFMT_R5G6B5),
                   Mode(800, 600, gfx::D3DFMT_X8R8G8B8),  Mode(1024, 768, gfx::D3DFMT_X8R8G8B8),
                   Mode(1024, 768, gfx::D3DFMT_X8R8G8B8, 75), Mode(1280, 1024, gfx::D3DFMT_X8R8G8B8)};
        gfx::SetDirect3DFactory(&MakeMachine);
        RecordDesktopMode({});
    }
    ~ConfigDialogTest() override {
        gfx::SetDirect3DFactory(nullptr);
        RecordDesktopMode({});
    }

    // Runs `quelmont /c` with `user` acting on the dialog; true when the dialog was shown.
    void RunDialog(std::function<void(FakeDialog&)> user) {
        dialogs.user = std::move(user);
        ClockApplication app;
        ASSERT_TRUE(app.Create(nullptr, RunMode::Configure, 0));
        ASSERT_EQ(dialogs.shown.size(), 1u);
        dialogs.shown.clear();
    }
    // A settings file as an earlier OK left it.
    void SaveSettings(const std::function<void(ClockApplication&)>& change) {
        ClockApplication app;
        app.LoadSettings();
        change(app);
        ASSERT_TRUE(app.SaveSettings());
    }
    std::unique_ptr<ClockApplication> Saved() {
        auto app = std::make_unique<ClockApplication>();
        app->LoadSettings();
        return app;
    }
    std::string File() const { return ReadFile(file); }

    TempDir config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.path()};
    FakeSystem system;
    FakeDialogSystem dialogs;
    MediaResources media;
    std::string file = config.path() + "/quelmont/settings.ini";
};

}  // namespace

TEST(VideoModeList, ListsEachModeOfAtLeast640x480OnceInTheAdaptersOrder) {
    const auto entries = BuildVideoModeList({Mode(320, 200, gfx::D3DFMT_X8R8G8B8), Mode(640, 400, gfx::D3DFMT_X8R8G8B8),
                                             Mode(640, 480, gfx::D3DFMT_R5G6B5), Mode(640, 480, gfx::D3DFMT_X1R5G5B5),
                                             Mode(1024, 768, gfx::D3DFMT_X8R8G8B8, 60),
                                             Mode(1024, 768, gfx::D3DFMT_X8R8G8B8, 85),
                                             Mode(1600, 1200, gfx::D3DFMT_A2R10G10B10)});
    std::vector<std::string> texts;
    for (const auto& e : entries) texts.push_back(e.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"640x480x16bit", "1024x768x32bit", "1600x1200x32bit"}));
    EXPECT_TRUE(BuildVideoModeList({}).empty());
}

TEST(VideoModeList, SelectsTheStoredModeThenTheDesktopsThenThe16Bit800x600) {
    const auto entries = BuildVideoModeList({Mode(800, 600, gfx::D3DFMT_R5G6B5), Mode(800, 600, gfx::D3DFMT_X8R8G8B8),
                                             Mode(1024, 768, gfx::D3DFMT_X8R8G8B8), Mode(1280, 720, gfx::D3DFMT_X8R8G8B8)});
    SettingsRecord stored;
    stored.Width = 1280, stored.Height = 720, stored.Depth = 32;
    const DesktopMode desktop{1024, 768, 60, gfx::D3DFMT_X8R8G8B8};
    EXPECT_EQ(ChooseVideoMode(entries, stored, desktop), 3);
    // Another adapter's mode or a depth not listed is no match: the desktop's mode is taken.
    SettingsRecord otherAdapter = stored;
    otherAdapter.Adapter = 1;
    EXPECT_EQ(ChooseVideoMode(entries, otherAdapter, desktop), 2);
    stored.Depth = 24;
    EXPECT_EQ(ChooseVideoMode(entries, stored, desktop), 2);
    EXPECT_EQ(ChooseVideoMode(entries, stored, DesktopMode{1920, 1080, 60, gfx::D3DFMT_X8R8G8B8}), 0);
    EXPECT_EQ(ChooseVideoMode(entries, stored, DesktopMode{}), 0);
    const auto without16 = BuildVideoModeList({Mode(1024, 768, gfx::D3DFMT_X8R8G8B8)});
    EXPECT_EQ(ChooseVideoMode(without16, stored, DesktopMode{}), -1);
}

TEST_F(ConfigDialogTest, OpensWithTheTextsTheSettingsAndTheModes) {
    SaveSettings([](ClockApplication& app) {
        app.settings.UseDesktop = false;
        app.settings.Width = 800, app.settings.Height = 600, app.settings.Depth = 16;
        app.settings.Volume = 35;
        app.settings.Gamma = -40;
        app.settings.ShowFps = true;
        app.settings.TimeStyle = false;
        app.SetPhotoPath("/pictures/cat.png");
    });
    RunDialog([](FakeDialog& d) { d.Click(IDCANCEL); });
    auto& c = dialogs.last;
    EXPECT_EQ(c[IDC_VIDEO_MODE_GROUP].text, "Video Mode Selection");
    EXPECT_EQ(c[IDC_MUSIC].text, "Enable Music");
    EXPECT_EQ(c[IDC_VISIT_LABEL].text, "Visit our official web-site for more great 3D screensavers");
    EXPECT_EQ(c[IDOK].text, "OK");
    EXPECT_EQ(c[IDC_GAMMA_LABEL].text, "Gamma Control: -40%");
    EXPECT_EQ(c[IDC_PATH].text, "/pictures/cat.png");
    EXPECT_EQ(c[IDC_VIDEO_MODE_LIST].entries,
              (std::vector<std::string>{"640x480x32bit", "640x480x16bit", "800x600x32bit", "800x600x16bit",
                                        "1024x768x32bit", "1280x1024x32bit"}));
    EXPECT_EQ(c[IDC_VIDEO_MODE_LIST].selection, 3);
    EXPECT_TRUE(c[IDC_VIDEO_MODE_LIST].enabled);
    EXPECT_EQ(c[IDC_VOLUME].minimum, 0);
    EXPECT_EQ(c[IDC_VOLUME].maximum, 100);
    EXPECT_EQ(c[IDC_VOLUME].position, 35);
    EXPECT_EQ(c[IDC_GAMMA].minimum, -100);
    EXPECT_EQ(c[IDC_GAMMA].maximum, 100);
    EXPECT_EQ(c[IDC_GAMMA].position, -40);
    EXPECT_TRUE(c[IDC_SHOW_FPS].checked);
    EXPECT_FALSE(c[IDC_EXIT_ON_MOUSE_MOVE].checked);
    EXPECT_TRUE(c[IDC_12H_STYLE].checked);
    EXPECT_FALSE(c[IDC_24H_STYLE].checked);
    EXPECT_TRUE(dialogs.lastBoxes.empty());
}

TEST_F(ConfigDialogTest, DefaultsShowTheDesktopsModeAndTheCaptionComesFromTheTexts) {
    std::string caption;
    RunDialog([&](FakeDialog& d) {
        caption = d.caption;
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(caption, "Quelmont Screensaver Configuration");
    // The defaults ask for 800 x 600 x 32 on adapter 0: listed, so selected.
    EXPECT_EQ(dialogs.last[IDC_VIDEO_MODE_LIST].selection, 2);
    EXPECT_EQ(dialogs.last[IDC_GAMMA_LABEL].text, "Gamma Control: 100%");
    EXPECT_FALSE(dialogs.last[IDC_VIDEO_MODE_LIST].enabled);  // UseDesktop is on by default
}

TEST_F(ConfigDialogTest, EachClickWritesItsSettingAndTheEnablingFollows) {
    ClockApplication app;
    app.LoadSettings();
    FakeDialog d([&](Dialog& dialog, uint32_t m, sys::WParam w, sys::LParam l) {
        return app.ConfigDialogProc(&dialog, m, w, l);
    });
    d.Init();
    auto& c = d.controls;
    d.Toggle(IDC_USE_DESKTOP);
    EXPECT_FALSE(app.settings.UseDesktop);
    EXPECT_TRUE(c[IDC_VIDEO_MODE_LIST].enabled);
    d.Toggle(IDC_USE_DESKTOP);
    EXPECT_FALSE(c[IDC_VIDEO_MODE_LIST].enabled);

    d.Toggle(IDC_MUSIC);
    EXPECT_FALSE(app.settings.Music);
    EXPECT_TRUE(c[IDC_VOLUME].enabled);  // sound is still on
    d.Toggle(IDC_SOUND);
    EXPECT_FALSE(app.settings.Sound);
    EXPECT_FALSE(c[IDC_VOLUME].enabled);
    EXPECT_FALSE(c[IDC_VOLUME_LABEL].enabled);
    d.Toggle(IDC_SOUND);
    EXPECT_TRUE(c[IDC_VOLUME].enabled);
    EXPECT_TRUE(c[IDC_VOLUME_LABEL].enabled);

    d.Toggle(IDC_SHOW_TIME);
    EXPECT_FALSE(app.settings.ShowTime);
    EXPECT_FALSE(c[IDC_24H_STYLE].enabled);
    EXPECT_FALSE(c[IDC_12H_STYLE].enabled);
    d.Toggle(IDC_SHOW_TIME);
    d.ChooseRadio(IDC_12H_STYLE, IDC_24H_STYLE);
    EXPECT_FALSE(app.settings.TimeStyle);
    d.ChooseRadio(IDC_24H_STYLE, IDC_12H_STYLE);
    EXPECT_TRUE(app.settings.TimeStyle);

    d.Toggle(IDC_SHOW_FPS);
    d.Toggle(IDC_EXIT_ON_MOUSE_MOVE);
    EXPECT_TRUE(app.settings.ShowFps);
    EXPECT_TRUE(app.settings.ExitOnMM);
    d.Slide(IDC_VOLUME, 12);
    d.Slide(IDC_GAMMA, -250);
    EXPECT_EQ(app.settings.Volume, 12);
    EXPECT_EQ(app.settings.Gamma, -100);
    EXPECT_EQ(c[IDC_GAMMA_LABEL].text, "Gamma Control: -100%");
    // Only OK writes.
    EXPECT_EQ(File().find("ShowFps"), std::string::npos);
}

TEST_F(ConfigDialogTest, OkWritesTheSelectedModeAlsoWhileTheDesktopModeIsUsed) {
    SaveSettings([](ClockApplication& app) {
        app.settings.UseDesktop = true;
        app.settings.Width = 1280, app.settings.Height = 1024, app.settings.Depth = 32;
        app.settings.Adapter = 0;
    });
    RunDialog([](FakeDialog& d) {
        // Disabled, but showing the stored mode.
        EXPECT_FALSE(d.controls[IDC_VIDEO_MODE_LIST].enabled);
        EXPECT_EQ(d.controls[IDC_VIDEO_MODE_LIST].selection, 5);
        d.Select(IDC_VIDEO_MODE_LIST, 0);
        d.Click(IDOK);
    });
    const auto saved = Saved();
    EXPECT_EQ(saved->settings.Width, 640);
    EXPECT_EQ(saved->settings.Height, 480);
    EXPECT_EQ(saved->settings.Depth, 32);
    EXPECT_EQ(saved->settings.Adapter, 0);
    EXPECT_TRUE(saved->settings.UseDesktop);
}

TEST_F(ConfigDialogTest, OkWithNoListedModeKeepsTheStoredModeAndSetsAdapterZero) {
    g_modes = {Mode(1024, 768, gfx::D3DFMT_X8R8G8B8)};
    g_desktop = Mode(1920, 1080, gfx::D3DFMT_X8R8G8B8);
    SaveSettings([](ClockApplication& app) {
        app.settings.Width = 1366, app.settings.Height = 768, app.settings.Adapter = 2;
    });
    RunDialog([](FakeDialog& d) {
        EXPECT_EQ(d.controls[IDC_VIDEO_MODE_LIST].selection, -1);
        d.Click(IDOK);
    });
    EXPECT_EQ(Saved()->settings.Width, 1366);
    EXPECT_EQ(Saved()->settings.Adapter, 0);
}

TEST_F(ConfigDialogTest, RestoreDefaultsThenCancelChangesNothingStored) {
    SaveSettings([](ClockApplication& app) {
        app.settings.Volume = 3;
        app.settings.ShowTime = false;
        app.SetPhotoPath("/p.jpg");
    });
    const std::string before = File();
    RunDialog([](FakeDialog& d) {
        EXPECT_FALSE(d.controls[IDC_24H_STYLE].enabled);
        d.Click(IDC_RESTORE_DEFAULTS);
        // The controls show the defaults at once.
        EXPECT_EQ(d.controls[IDC_VOLUME].position, 50);
        EXPECT_TRUE(d.controls[IDC_SHOW_TIME].checked);
        EXPECT_TRUE(d.controls[IDC_24H_STYLE].enabled);
        EXPECT_EQ(d.controls[IDC_GAMMA_LABEL].text, "Gamma Control: 100%");
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(File(), before);
}

TEST_F(ConfigDialogTest, RestoreDefaultsThenOkStoresTheDefaultsAndKeepsThePicture) {
    SaveSettings([](ClockApplication& app) {
        app.settings.Volume = 3;
        app.settings.Gamma = 0;
        app.settings.ExitOnMM = true;
        app.SetPhotoPath("/p.jpg");
    });
    RunDialog([](FakeDialog& d) {
        d.Click(IDC_RESTORE_DEFAULTS);
        d.Click(IDOK);
    });
    const auto saved = Saved();
    EXPECT_EQ(saved->settings.Volume, 50);
    EXPECT_EQ(saved->settings.Gamma, 100);
    EXPECT_FALSE(saved->settings.ExitOnMM);
    EXPECT_EQ(saved->PhotoPath(), "/p.jpg");
}

TEST_F(ConfigDialogTest, PicturePathFromBrowseRestoreAndTheEditBox) {
    SaveSettings([](ClockApplication& app) { app.SetPhotoPath("/old.jpg"); });
    // Cancelling the chooser keeps the old path.
    RunDialog([](FakeDialog& d) {
        d.Click(IDC_BROWSE);
        EXPECT_EQ(d.choosers, 1);
        EXPECT_EQ(d.chooserFilter, "(*.jpg;*.tga;*.bmp;*.gif;*.png)|*.jpg;*.tga;*.bmp;*.gif;*.png|");
        EXPECT_EQ(d.chooserStart, "/old.jpg");
        EXPECT_EQ(d.controls[IDC_PATH].text, "/old.jpg");
        d.Click(IDOK);
    });
    EXPECT_EQ(Saved()->PhotoPath(), "/old.jpg");

    dialogs.chosenFile = "/home/me/new picture.png";
    RunDialog([](FakeDialog& d) {
        d.Click(IDC_BROWSE);
        EXPECT_EQ(d.controls[IDC_PATH].text, "/home/me/new picture.png");
        d.Click(IDOK);
    });
    EXPECT_EQ(Saved()->PhotoPath(), "/home/me/new picture.png");

    // A chosen picture is not kept by Cancel.
    dialogs.chosenFile = "/elsewhere.png";
    RunDialog([](FakeDialog& d) {
        d.Click(IDC_BROWSE);
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(Saved()->PhotoPath(), "/home/me/new picture.png");

    RunDialog([](FakeDialog& d) {
        d.Click(IDC_RESTORE_PICTURE);
        EXPECT_EQ(d.controls[IDC_PATH].text, "");
        d.Click(IDOK);
    });
    EXPECT_EQ(Saved()->PhotoPath(), "");
}

TEST_F(ConfigDialogTest, OkTakesAtMost200BytesOfTheTypedPathAndNoBrokenCharacter) {
    const std::string longPath = "/" + std::string(250, 'a');
    RunDialog([&](FakeDialog& d) {
        d.Type(IDC_PATH, longPath);
        d.Click(IDOK);
    });
    EXPECT_EQ(Saved()->PhotoPath().view(), longPath.substr(0, 200));
    // A two-byte character across the cut is left out whole.
    const std::string accented = "/" + std::string(198, 'b') + "\xC3\xA9xyz";
    RunDialog([&](FakeDialog& d) {
        d.Type(IDC_PATH, accented);
        d.Click(IDOK);
    });
    EXPECT_EQ(Saved()->PhotoPath().view(), accented.substr(0, 199));
}

TEST_F(ConfigDialogTest, CancelWritesNothingAndADamagedFileIsReplacedOnlyByOk) {
    std::filesystem::create_directories(config.path() + "/quelmont");
    WriteFile(file, "[unclosed group\n\x01garbage");
    const std::string damaged = File();
    RunDialog([](FakeDialog& d) {
        d.Toggle(IDC_SHOW_FPS);
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(File(), damaged);
    RunDialog([](FakeDialog& d) {
        d.Toggle(IDC_SHOW_FPS);
        d.Click(IDOK);
    });
    EXPECT_TRUE(Saved()->settings.ShowFps);
    EXPECT_EQ(Saved()->settings.Volume, 50);
}

TEST_F(ConfigDialogTest, WithoutGraphicsTheDialogSaysSoAndEnds) {
    g_noGraphics = true;
    RunDialog([](FakeDialog&) { ADD_FAILURE() << "the dialog should have ended"; });
    ASSERT_EQ(dialogs.lastBoxes.size(), 1u);
    EXPECT_EQ(dialogs.lastBoxes[0].text, sys::PlatformGraphicsHelp().noDeviceText);
    EXPECT_EQ(dialogs.lastBoxes[0].caption, "Error");
    EXPECT_EQ(File().find("Volume"), std::string::npos);
}

TEST_F(ConfigDialogTest, ASaveThatFailsIsReportedAndTheDialogStaysOpen) {
    bool ended = true;
    RunDialog([&](FakeDialog& d) {
        // The settings folder becomes a file: nothing can be written there.
        std::filesystem::remove_all(config.path() + "/quelmont");
        WriteFile(config.path() + "/quelmont", "not a folder");
        d.Click(IDOK);
        ended = d.ended;
        ASSERT_EQ(d.boxes.size(), 1u);
        EXPECT_EQ(d.boxes[0].caption, "Error");
        d.Click(IDCANCEL);
    });
    EXPECT_FALSE(ended);
}

TEST_F(ConfigDialogTest, VisitOpensTheProjectPage) {
    RunDialog([](FakeDialog& d) {
        d.Click(IDC_VISIT);
        d.Click(IDCANCEL);
    });
    ASSERT_EQ(system.opened.size(), 1u);
    EXPECT_TRUE(system.opened[0].starts_with("https://")) << system.opened[0];
}

TEST_F(ConfigDialogTest, WithoutADisplayNothingIsShownNorTouched) {
    dialogs.available = false;
    ClockApplication app;
    EXPECT_TRUE(app.Create(nullptr, RunMode::Configure, 0));
    EXPECT_TRUE(dialogs.shown.empty());
    ASSERT_EQ(system.boxes.size(), 1u);
    EXPECT_NE(system.boxes[0].text.find("needs a display"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(config.path() + "/quelmont"));
}

TEST_F(ConfigDialogTest, TheDialogIsOwnedByTheWindowGivenOnTheCommandLine) {
    dialogs.user = [](FakeDialog& d) { d.Click(IDCANCEL); };
    ClockApplication app;
    ASSERT_TRUE(app.Create(nullptr, RunMode::Configure, 0x2a00007));
    EXPECT_EQ(dialogs.shown, std::vector<int>{kConfigDialog});
    EXPECT_EQ(dialogs.owner, 0x2a00007u);
}

namespace {

// The platform's store, counting the keys opened for writing.
class CountingStore final : public sys::SettingsStore {
public:
    CountingStore() { sys::SetSettingsStore(this); }
    ~CountingStore() override { sys::SetSettingsStore(nullptr); }
    std::unique_ptr<sys::SettingsKey> OpenKey(std::string_view subkey, sys::KeyAccess access) override {
        if (access == sys::KeyAccess::Write) ++writes;
        return platform.OpenKey(subkey, access);
    }
    sys::KeyFileSettingsStore platform;
    int writes = 0;
};

}  // namespace

TEST_F(ConfigDialogTest, OkStoresThePictureAndTheRestInOneWrite) {
    CountingStore store;
    dialogs.chosenFile = "/new.png";
    RunDialog([](FakeDialog& d) {
        d.Click(IDC_BROWSE);
        d.Slide(IDC_VOLUME, 20);
        d.Click(IDOK);
    });
    EXPECT_EQ(store.writes, 1);
    EXPECT_EQ(Saved()->PhotoPath(), "/new.png");
    EXPECT_EQ(Saved()->settings.Volume, 20);
}
