// The program as a user starts it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/ImageFile.h"
#include "support/ProgramRun.h"

TEST(Program, ChangePasswordExitsWithZeroAfterTheStartLines) {
    TempDir dir;
    const ProgramRun run = RunProgram(dir, {"/a", "5"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.trace.starts_with("\n>>Log started ")) << run.trace;
    EXPECT_NE(run.trace.find("DX version ok\nRunning in mode: 4\n"), std::string::npos) << run.trace;
    EXPECT_NE(run.trace.find("Failed creating Saver Windows\n"), std::string::npos);
}

TEST(Program, RecordingWritesTheBackgroundThroughTheDefaultGammaRamp) {
    TempDir dir;
    // An empty room on a red background, seen from the fallback camera (no paths, no fade).
    std::filesystem::create_directories(dir.path() + "/Media");
    std::ofstream(dir.path() + "/Media/clock.udf") << "";
    std::ofstream(dir.path() + "/Media/Scene.props") << "BgColor = array(100, 0, 0);\n";
    const std::string out = dir.path() + "/out";
    // Without the time label, which would cover most of so small a frame.
    const ProgramRun run =
        RunProgram(dir, {"--record", out, "--seconds", "1", "--size", "64x48", "--fps", "5", "--set", "ShowTime=0"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::string trace = ReadFile(out + "/trace.log");
    EXPECT_NE(trace.find("Running in mode: 0\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find("Fullscreen 64x48, X8R8G8B8, D24X8\n"), std::string::npos) << trace;
    size_t presents = 0;
    for (size_t at = trace.find("present ok\n"); at != std::string::npos; at = trace.find("present ok\n", at + 1)) ++presents;
    // At 5 frames a second the startup picture fills frame 0 and its fade frame 1 (200 ms each);
    // the frame loop draws the other three.
    EXPECT_EQ(presents, 3u);
    gfx::ArgbImage startup;
    ASSERT_TRUE(ReadImageFile(out + "/frame-00000.png", startup));
    EXPECT_NE(startup.pixels[startup.pixels.size() / 2], 0xFFB24E4Eu);
    // Background (100, 0, 0) / 255 through the ramp of Gamma 100: ramp[c] = 20000 + 256 c, >> 8.
    for (const char* frame : {"/frame-00002.png", "/frame-00004.png"}) {
        gfx::ArgbImage image;
        ASSERT_TRUE(ReadImageFile(out + frame, image)) << frame;
        EXPECT_EQ(image.width, 64u);
        EXPECT_EQ(image.height, 48u);
        for (uint32_t pixel : image.pixels) ASSERT_EQ(pixel, 0xFFB24E4Eu);
    }
    EXPECT_FALSE(std::ifstream(out + "/frame-00005.png").good());
}

TEST(Program, RecordingIsTheSameForTheSameArguments) {
    TempDir dir;
    std::string traces[2], frames[2], sounds[2];
    for (int i = 0; i < 2; ++i) {
        const std::string out = dir.path() + "/out" + std::to_string(i);
        RunProgram(dir, {"--record", out, "--seconds", "1", "--size", "32x32", "--fps", "2", "--time", "23:59:59"});
        traces[i] = ReadFile(out + "/trace.log");
        frames[i] = ReadFile(out + "/frame-00001.png");
        sounds[i] = ReadFile(out + "/sound.wav");
    }
    EXPECT_FALSE(frames[0].empty());
    EXPECT_EQ(traces[0], traces[1]);
    EXPECT_EQ(frames[0], frames[1]);
    // One second of 44.1 kHz 16-bit stereo PCM after the 44-byte header.
    ASSERT_EQ(sounds[0].size(), 44u + 44100u * 4u);
    EXPECT_EQ(sounds[0].substr(0, 4) + sounds[0].substr(8, 8) + sounds[0].substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(sounds[0].substr(20, 16), std::string("\x01\x00\x02\x00\x44\xAC\x00\x00\x10\xB1\x02\x00\x04\x00\x10\x00", 16));
    EXPECT_EQ(sounds[0], sounds[1]);
    EXPECT_NE(traces[0].find(", 23:59:59 \n"), std::string::npos) << traces[0];
}

TEST(Program, HelpListsEveryOption) {
    TempDir dir;
    const ProgramRun run = RunProgram(dir, {"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option : {"/s", "/t", "/p ID", "/c", "/a ID", "-root", "-window-id", "--record", "--seconds",
                               "--size", "--fps", "--time", "--seed", "--path", "--help"})
        EXPECT_NE(run.output.find(option), std::string::npos) << option;
}

TEST(Program, ARecordingsOptionWithoutARecordingIsRefused) {
    TempDir dir;
    const ProgramRun run = RunProgram(dir, {"/s", "--set", "ShowFps=1"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.errors.find("--set is for recordings: it needs --record DIR"), std::string::npos) << run.errors;
}

TEST(Program, TheRoomStartsAndDrawsItsPassesInOrder) {
    TempDir dir;  // no loose media: everything comes from the archive in the program
    const std::string out = dir.path() + "/out";
    const ProgramRun run = RunProgram(dir, {"--record", out, "--seconds", "1", "--size", "64x48", "--fps", "5"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::string trace = ReadFile(out + "/trace.log");
    size_t at = 0;
    for (const char* line : {"Full Mode:\n", "Application created\n", "LoadCustom started\n", "Scene Loaded\n",
                             "Creating successfull\n", "Active Frame1 start\n",
                             "Ani ok\nThunder ok\nFlashes ok\nEnding iteration\nDo Render started\n",
                             "Outdoor ok\nLamp ok\nScene ok\nArrows ok\nCurtain & Glass ok\nfade quad ok\n",
                             "present ok\nActive Frame1 end\n"}) {
        at = trace.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << " missing or out of order in\n" << trace;
    }
    // A renderer without exactly two samples per pixel refuses the first mode; the second has none.
    std::string rest = trace;
    const std::string fallback = "Setting Mode failed\nMODEDESC:\nNoSampling\n";
    if (const size_t at = rest.find(fallback); at != std::string::npos) rest.erase(at, fallback.size());
    EXPECT_EQ(rest.find("failed"), std::string::npos) << trace;
    EXPECT_EQ(trace.find("Cannot Load Scene"), std::string::npos);
}
