#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "clock/ClockApplication.h"
#include "common/Log.h"
#include "platform/sys/SettingsStore.h"
#include "shell/SettingsRecord.h"
#include "support/FakeSystem.h"
#include "support/TempDir.h"

// Last: its macros would rename the engine's own names.
#include <windows.h>

namespace {

// Each test gets its own HKEY_CURRENT_USER: the process's view of it is redirected to a fresh
// key, so the settings key of the prefix (and other tests) stay untouched.
class RegistrySettingsStoreTest : public testing::Test {
protected:
    RegistrySettingsStoreTest() {
        root_ = "Software\\Quelmont tests\\" + std::to_string(GetCurrentProcessId()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, root_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &user_,
                                  nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, user_), ERROR_SUCCESS);
    }
    ~RegistrySettingsStoreTest() override {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(user_);
        RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
    }

    // Writes a value as another program (or a hand edit) would.
    static void Put(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static void PutDword(const char* name, DWORD value) { Put(name, REG_DWORD, &value, sizeof value); }
    static void PutText(const char* name, const std::string& text) {
        Put(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

    static bool KeyExists(const char* path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }

    std::string root_;
    HKEY user_ = nullptr;
};

}  // namespace

TEST_F(RegistrySettingsStoreTest, OpeningAMissingKeyCreatesItEmpty) {
    ASSERT_FALSE(KeyExists(kSettingsKey));
    auto key = sys::GetSettingsStore().OpenKey(kSettingsKey, sys::KeyAccess::Read);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(KeyExists(kSettingsKey));
    uint32_t value = 7;
    EXPECT_FALSE(key->QueryDword("Volume", value));
    EXPECT_EQ(value, 7u);
    EXPECT_FALSE(key->Contains("Volume"));
}

TEST_F(RegistrySettingsStoreTest, ValuesGoInAtCloseWithTheirTypesAndComeBack) {
    auto writer = sys::GetSettingsStore().OpenKey(kSettingsKey, sys::KeyAccess::Write);
    ASSERT_NE(writer, nullptr);
    ASSERT_TRUE(writer->SetDword("Gamma", static_cast<uint32_t>(-42)));
    ASSERT_TRUE(writer->SetString("PhotoPath", "C:\\Pictures\\my cat.jpg"));
    auto reader = sys::GetSettingsStore().OpenKey(kSettingsKey, sys::KeyAccess::Read);
    EXPECT_FALSE(reader->Contains("Gamma")) << "nothing is written before the key is closed";
    ASSERT_TRUE(writer->Close());

    uint32_t gamma = 0;
    std::string path;
    ASSERT_TRUE(reader->QueryDword("Gamma", gamma));
    EXPECT_EQ(static_cast<int32_t>(gamma), -42);
    ASSERT_TRUE(reader->QueryString("PhotoPath", path, 256));
    EXPECT_EQ(path, "C:\\Pictures\\my cat.jpg");
    // The types a registry editor shows.
    DWORD type = 0, size = 0;
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &raw), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(raw, "Gamma", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(RegQueryValueExA(raw, "PhotoPath", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    RegCloseKey(raw);
    // A key opened for reading refuses writes.
    EXPECT_FALSE(reader->SetDword("Gamma", 1));
}

TEST_F(RegistrySettingsStoreTest, AValueOfAnotherTypeOrTooLongReadsAsUnreadable) {
    PutText("Volume", "80");
    const uint8_t bytes[] = {1, 2};
    Put("Width", REG_BINARY, bytes, sizeof bytes);
    PutDword("PhotoPath", 5);
    PutText("Long", std::string(300, 'x'));
    const char unterminated[] = {'a', 'b'};
    Put("Short", REG_SZ, unterminated, sizeof unterminated);
    auto key = sys::GetSettingsStore().OpenKey(kSettingsKey, sys::KeyAccess::Read);
    uint32_t value = 9;
    std::string text = "kept";
    EXPECT_FALSE(key->QueryDword("Volume", value));
    EXPECT_FALSE(key->QueryDword("Width", value));
    EXPECT_EQ(value, 9u);
    EXPECT_TRUE(key->Contains("Volume"));
    EXPECT_FALSE(key->QueryString("PhotoPath", text, 256));
    EXPECT_FALSE(key->QueryString("Long", text, 256));
    EXPECT_EQ(text, "kept");
    ASSERT_TRUE(key->QueryString("Short", text, 256));
    EXPECT_EQ(text, "ab");
}

TEST_F(RegistrySettingsStoreTest, TheSaverKeepsItsDefaultsForDamagedValuesAndTracesThem) {
    FakeSystem system;
    TempDir dir;
    const std::string trace = dir.path() + "/trace.txt";
    SetTracePath(trace.c_str());
    PutText("Gamma", "high");
    PutDword("Volume", 500);
    PutDword("Width", 0xFFFFFFFF);
    PutDword("Music", 0);
    ClockApplication app;
    ASSERT_TRUE(app.LoadSettings());
    SetTracePath(nullptr);
    EXPECT_EQ(app.settings.Gamma, 100);
    EXPECT_EQ(app.settings.Volume, 100);
    EXPECT_EQ(app.settings.Width, 1);
    EXPECT_FALSE(app.settings.Music);
    EXPECT_TRUE(app.settings.Sound);
    std::stringstream text;
    text << std::ifstream(trace).rdbuf();
    EXPECT_NE(text.str().find("Setting Gamma is not a number: kept 100"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("Setting Volume = 500 is out of range: used 100"), std::string::npos) << text.str();
}

TEST_F(RegistrySettingsStoreTest, SavedSettingsAreReadByTheNextRun) {
    FakeSystem system;
    {
        ClockApplication app;
        app.LoadSettings();
        app.settings.UseDesktop = false;
        app.settings.Volume = 7;
        app.settings.Gamma = -42;
        app.settings.TimeStyle = false;
        app.SetPhotoPath("C:\\Pictures\\cat.jpg");
        ASSERT_TRUE(app.SaveSettings());
    }
    ClockApplication again;
    ASSERT_TRUE(again.LoadSettings());
    EXPECT_FALSE(again.settings.UseDesktop);
    EXPECT_EQ(again.settings.Volume, 7);
    EXPECT_EQ(again.settings.Gamma, -42);
    EXPECT_FALSE(again.settings.TimeStyle);
    EXPECT_EQ(std::string(again.PhotoPath().view()), "C:\\Pictures\\cat.jpg");
}
