#include <gtest/gtest.h>

#include "support/Files.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "clock/ClockApplication.h"
#include "common/Log.h"
#include "platform/sys/linux/KeyFileSettingsStore.h"
#include "shell/SettingsTable.h"
#include "support/FakeSystem.h"
#include "support/MediaResources.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace {

class SettingsStoreTest : public testing::Test {
protected:
    TempDir config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.path()};
    FakeSystem system;
    MediaResources media;
    std::string file = config.path() + "/quelmont/settings.ini";
};

}  // namespace

TEST_F(SettingsStoreTest, FirstRunCreatesTheKeyAndKeepsTheDefaults) {
    ClockApplication app;
    ASSERT_TRUE(app.LoadSettings());
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(app.settings.UseDesktop);
    EXPECT_EQ(app.settings.Volume, 50);
    EXPECT_EQ(app.settings.Gamma, 100);
    EXPECT_TRUE(app.PhotoPath().empty());
    // Nothing is written until the user saves.
    EXPECT_EQ(ReadFile(file).find("Volume"), std::string::npos);
}

TEST_F(SettingsStoreTest, SavedValuesComeBackWithTheirTypes) {
    {
        ClockApplication app;
        app.LoadSettings();
        app.settings.UseDesktop = false;
        app.settings.Volume = 7;
        app.settings.Gamma = -42;
        app.settings.Width = 1280;
        app.settings.TimeStyle = false;
        app.SetPhotoPath("/home/user/Pictures/my cat.jpg");
        ASSERT_TRUE(app.SaveSettings());
    }
    const std::string text = ReadFile(file);
    EXPECT_NE(text.find("Gamma=dword:ffffffd6"), std::string::npos);
    EXPECT_NE(text.find("PhotoPath=sz:/home/user/Pictures/my cat.jpg"), std::string::npos);
    ClockApplication again;
    ASSERT_TRUE(again.LoadSettings());
    EXPECT_FALSE(again.settings.UseDesktop);
    EXPECT_EQ(again.settings.Volume, 7);
    EXPECT_EQ(again.settings.Gamma, -42);
    EXPECT_EQ(again.settings.Width, 1280);
    EXPECT_FALSE(again.settings.TimeStyle);
    EXPECT_EQ(again.PhotoPath(), "/home/user/Pictures/my cat.jpg");
}

// Every field of the table is written and read back under its own name: a field left out of
// the table, or two sharing a name, would lose a value here.
TEST_F(SettingsStoreTest, EveryFieldOfTheTableSurvivesSaveAndLoad) {
    std::set<std::string> names;
    {
        ClockApplication app;
        app.LoadSettings();
        int32_t distinct = 10;
        for (const SettingField& field : kSettingFields) {
            EXPECT_TRUE(names.insert(field.name).second) << field.name;
            // Flip each switch; give each number its own value inside its range.
            field.Set(app.settings, field.IsSwitch() ? !field.Get(app.settings) : distinct++);
        }
        ASSERT_TRUE(app.SaveSettings());
        ClockApplication again;
        ASSERT_TRUE(again.LoadSettings());
        for (const SettingField& field : kSettingFields)
            EXPECT_EQ(field.Get(again.settings), field.Get(app.settings)) << field.name;
    }
    const std::string text = ReadFile(file);
    for (const std::string& name : names) EXPECT_NE(text.find(name + "=dword:"), std::string::npos) << name;
}

TEST_F(SettingsStoreTest, DamagedFileLeavesDefaultsAndIsNotOverwrittenUntilASave) {
    std::filesystem::create_directories(config.path() + "/quelmont");
    const std::string damaged = "[Software\\KORVANE Studio\\Quelmont\nVolume=dword:zz\n\x01\x02";
    std::ofstream(file, std::ios::binary) << damaged;
    ClockApplication app;
    ASSERT_TRUE(app.LoadSettings());
    EXPECT_EQ(app.settings.Volume, 50);
    EXPECT_EQ(ReadFile(file), damaged);
    app.settings.Volume = 60;
    ASSERT_TRUE(app.SaveSettings());
    ClockApplication again;
    again.LoadSettings();
    EXPECT_EQ(again.settings.Volume, 60);
}

// The file is read line by line: a damaged line, or a value that cannot be read, keeps only its
// own default; the next save writes the whole record and drops what could not be read.
TEST_F(SettingsStoreTest, OneDamagedLineCostsOnlyItself) {
    std::filesystem::create_directories(config.path() + "/quelmont");
    std::ofstream(file, std::ios::binary) << "# Quelmont settings\n[Software\\KORVANE Studio\\Quelmont]\n"
                                             "Gamma=dword:00000010\n\x01\x02 garbage [\n"
                                             "Volume=dword:0000000a\nPhotoPath=sz:/home/user/a b.jpg\n"
                                             "ShowFps=sz:\\q\nWidth\n[Other]\nKept=dword:00000001\n"
                                             "[Broken\nDepth=dword:00000010\n";
    ClockApplication app;
    ASSERT_TRUE(app.LoadSettings());
    EXPECT_EQ(app.settings.Gamma, 16);
    EXPECT_EQ(app.settings.Volume, 10);
    EXPECT_EQ(app.PhotoPath(), "/home/user/a b.jpg");
    EXPECT_FALSE(app.settings.ShowFps);
    EXPECT_EQ(app.settings.Depth, 32);  // under a damaged group line: no group of ours
    ASSERT_TRUE(app.SaveSettings());
    const std::string text = ReadFile(file);
    EXPECT_EQ(text.find("garbage"), std::string::npos);
    EXPECT_EQ(text.find("[Broken"), std::string::npos);
    EXPECT_NE(text.find("# Quelmont settings\n"), std::string::npos);
    EXPECT_NE(text.find("[Other]\nKept=dword:00000001\n"), std::string::npos);
    EXPECT_NE(text.find("ShowFps=dword:00000000\n"), std::string::npos);
    ClockApplication again;
    ASSERT_TRUE(again.LoadSettings());
    EXPECT_EQ(again.settings.Gamma, 16);
    EXPECT_EQ(again.settings.Volume, 10);
    EXPECT_EQ(again.PhotoPath(), "/home/user/a b.jpg");
}

// A path is the system's bytes: not UTF-8, with blanks at its ends, a backslash or a line break,
// it comes back as it was, and files written with the escapes of earlier versions still read.
TEST_F(SettingsStoreTest, AnyPathTheSystemCanOpenRoundTrips) {
    for (const std::string& path : {std::string("/home/user/\xE9t\xE9 \xFF.jpg"), std::string(" /a\\b\tc\nd\r.png "),
                                   std::string("/home/user/Bilder/K\xC3\xA4tzchen.jpg")}) {
        ClockApplication app;
        app.LoadSettings();
        app.SetPhotoPath(EngineString(path));
        ASSERT_TRUE(app.SaveSettings());
        ClockApplication again;
        ASSERT_TRUE(again.LoadSettings());
        EXPECT_EQ(std::string(again.PhotoPath().view()), path);
        EXPECT_EQ(again.settings.Volume, 50);
    }
    std::ofstream(file) << "[Software\\KORVANE Studio\\Quelmont]\r\nPhotoPath = sz:\\s/x\\\\y.jpg\\s\r\n";
    ClockApplication old;
    ASSERT_TRUE(old.LoadSettings());
    EXPECT_EQ(old.PhotoPath(), " /x\\y.jpg ");
}

TEST_F(SettingsStoreTest, WrongTypesAndOutOfRangeValuesAreNotTaken) {
    std::filesystem::create_directories(config.path() + "/quelmont");
    std::ofstream(file) << "[Software\\KORVANE Studio\\Quelmont]\n"
                           "Volume=sz:80\nWidth=dword:123456789\nGamma=dword:000003e8\nMusic=dword:00000000\n"
                           "PhotoPath=dword:00000001\n";
    const std::string trace = config.path() + "/trace.txt";
    SetTracePath(trace.c_str());
    ClockApplication app;
    ASSERT_TRUE(app.LoadSettings());
    SetTracePath(nullptr);
    EXPECT_EQ(app.settings.Volume, 50);   // a text where a number belongs
    EXPECT_EQ(app.settings.Width, 800);   // more than 32 bits
    EXPECT_EQ(app.settings.Gamma, 100);   // 1000 is held to the slider's range
    EXPECT_FALSE(app.settings.Music);
    EXPECT_TRUE(app.PhotoPath().empty());
    const std::string text = ReadFile(trace);
    EXPECT_NE(text.find("Setting Volume is not a number: kept 50\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Setting Width is not a number: kept 800\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Setting Gamma = 1000 is out of range: used 100\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Setting Music"), std::string::npos) << text;
}

TEST_F(SettingsStoreTest, OverlongPhotoPathIsRefusedLikeTheRegistryDoes) {
    std::filesystem::create_directories(config.path() + "/quelmont");
    std::ofstream(file) << "[Software\\KORVANE Studio\\Quelmont]\nPhotoPath=sz:/" << std::string(300, 'a') << "\n";
    ClockApplication app;
    ASSERT_TRUE(app.LoadSettings());
    EXPECT_TRUE(app.PhotoPath().empty());
}

TEST_F(SettingsStoreTest, UnwritableStoreFailsTheSaveAndLoadWithTheTrace) {
    // A file where the folder should be: the store cannot be made.
    std::ofstream(config.path() + "/quelmont") << "not a folder";
    ClockApplication app;
    EXPECT_FALSE(app.LoadSettings());
    EXPECT_TRUE(app.settings.UseDesktop);
    EXPECT_FALSE(app.SaveSettings());
}
