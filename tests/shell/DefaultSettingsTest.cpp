#include "shell/DefaultSettings.h"

#include <gtest/gtest.h>

#include <string>

#include "support/FakeSystem.h"

namespace {
std::span<const uint8_t> Bytes(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }
}  // namespace

TEST(DefaultSettings, BlanksVanishEvenInsideValuesAndCommentsAreCut) {
    FakeSystem system;
    DefaultSettings table;
    const std::string text = "MW = 800 ; width\r\n\r\n  ; only a comment\r\nName = two words\r\nLast=1";
    table.Parse(Bytes(text));
    EXPECT_EQ(table.Count(), 3);
    EXPECT_EQ(table.GetDefault("MW"), "800");
    EXPECT_EQ(table.GetDefault("name"), "twowords");
    EXPECT_EQ(table.GetDefault("LAST"), "1");
    EXPECT_TRUE(system.boxes.empty());
}

TEST(DefaultSettings, OnlyCarriageReturnsEndLines) {
    FakeSystem system;
    DefaultSettings table;
    // A lone line feed is just a character of 10 and is dropped with the blanks.
    table.Parse(Bytes("A=1\nB=2\r\nC=3\r\r\nD=4"));
    EXPECT_EQ(table.GetDefault("A"), "1B=2");
    EXPECT_EQ(table.GetDefault("C"), "3");
    EXPECT_EQ(table.GetDefault("D"), "4");
}

TEST(DefaultSettings, LineWithoutEqualsIsReportedAndKeptWhole) {
    FakeSystem system;
    DefaultSettings table;
    table.Parse(Bytes("broken line\r\nX=1"));
    ASSERT_EQ(system.boxes.size(), 1u);
    EXPECT_EQ(system.boxes[0].text, "неправильный формат файла def_settings.txt");
    EXPECT_EQ(system.boxes[0].caption, "");
    EXPECT_EQ(table.GetDefault("brokenline"), "brokenline");
}

TEST(DefaultSettings, MissingNameIsReportedWithTheNameInLowerCase) {
    FakeSystem system;
    DefaultSettings table;
    table.Parse(Bytes("X=1"));
    EXPECT_TRUE(table.GetDefault("MusicVolume").empty());
    ASSERT_EQ(system.boxes.size(), 1u);
    EXPECT_EQ(system.boxes[0].text, "Не найден параметр в файле def_settings.txt");
    EXPECT_EQ(system.boxes[0].caption, "musicvolume");
}

TEST(DefaultSettings, ValuesBecomeMembersWithCapitalsGoingThroughAtoi) {
    FakeSystem system;
    DefaultSettings table;
    table.Parse(Bytes("UseDktpSet=TRUE\r\nExitOnMouseMove=true\r\nShowTime=false\r\nDigClock_24H=7\r\nMusic=0\r\n"
                      "SFX=true\r\nMusicVolume=42abc\r\nShowFPS=true\r\nGammControl=-100\r\nAdapter=1\r\nMW=1024\r\n"
                      "MH=768\r\nMBitCount=16"));
    SettingsRecord r;
    table.LoadDefaults(r);
    EXPECT_FALSE(r.UseDesktop);  // "TRUE" is neither word: atoi gives 0
    EXPECT_TRUE(r.ExitOnMM);
    EXPECT_FALSE(r.ShowTime);
    EXPECT_TRUE(r.TimeStyle);
    EXPECT_FALSE(r.Music);
    EXPECT_TRUE(r.Sound);
    EXPECT_EQ(r.Volume, 42);
    EXPECT_TRUE(r.ShowFps);
    EXPECT_EQ(r.Gamma, -100);
    EXPECT_EQ(r.Adapter, 1);
    EXPECT_EQ(r.Width, 1024);
    EXPECT_EQ(r.Height, 768);
    EXPECT_EQ(r.Depth, 16);
    EXPECT_TRUE(system.boxes.empty());
}

TEST(DefaultSettings, SliderValuesOutsideTheirRangeAreHeldToIt) {
    FakeSystem system;
    DefaultSettings table;
    table.Parse(Bytes("UseDktpSet=1\r\nExitOnMouseMove=0\r\nShowTime=0\r\nDigClock_24H=0\r\nMusic=0\r\nSFX=0\r\n"
                      "MusicVolume=250\r\nShowFPS=0\r\nGammControl=-300\r\nAdapter=0\r\nMW=640\r\nMH=480\r\n"
                      "MBitCount=32"));
    SettingsRecord r;
    table.LoadDefaults(r);
    EXPECT_EQ(r.Volume, 100);
    EXPECT_EQ(r.Gamma, -100);
    EXPECT_EQ(r.Width, 640);
    EXPECT_TRUE(system.boxes.empty());
}

TEST(DefaultSettings, TableKeepsItsFirstFiftySixEntries) {
    FakeSystem system;
    DefaultSettings table;
    std::string text;
    for (int i = 0; i < 70; ++i) text += "K" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    table.Parse(Bytes(text));
    EXPECT_EQ(table.Count(), DefaultSettings::kCapacity);
    EXPECT_EQ(table.GetDefault("k55"), "55");
    EXPECT_TRUE(table.GetDefault("k56").empty());
}

TEST(DefaultSettings, DeliveredFileHasNineteenEntriesAndTheDeliveredDefaults) {
    FakeSystem system;
    const std::string path = std::string(std::getenv("QUELMONT_SOURCE_DIR")) + "/media/def_settings.txt";
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::string text(4096, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), f));
    std::fclose(f);
    DefaultSettings table;
    table.Parse(Bytes(text));
    EXPECT_EQ(table.Count(), 19);
    SettingsRecord r;
    table.LoadDefaults(r);
    EXPECT_TRUE(r.UseDesktop && !r.ExitOnMM && r.ShowTime && r.TimeStyle && r.Music && r.Sound && !r.ShowFps);
    EXPECT_EQ(r.Volume, 50);
    EXPECT_EQ(r.Gamma, 100);
    EXPECT_EQ(r.Adapter, 0);
    EXPECT_EQ(r.Width, 800);
    EXPECT_EQ(r.Height, 600);
    EXPECT_EQ(r.Depth, 32);
    EXPECT_TRUE(system.boxes.empty());
}
