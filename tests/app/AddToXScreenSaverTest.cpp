#include "app/AddToXScreenSaver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/XScreenSaverPrograms.h"
#include "support/Files.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kUserFile =
    "mode:\t\trandom\n"
    "programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\n"
    "\n"
    "pointerHysteresis:\t10\n";

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

}  // namespace

TEST(AddToXScreenSaver, AddsTheEntryOnceAfterABackup) {
    TempDir home;
    const std::string file = home.path() + "/.xscreensaver";
    Write(file, kUserFile);
    ::chmod(file.c_str(), 0640);

    const SetupResult first = AddToXScreenSaver(file);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_NE(first.message.find("xscreensaver-command -restart"), std::string::npos) << first.message;
    const std::string added = ReadFile(file);
    EXPECT_EQ(added, AppendProgram(kUserFile, ParseXScreenSaverPrograms(kUserFile), kXScreenSaverEntry));
    EXPECT_EQ(ReadFile(file + ".before-quelmont"), kUserFile);
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
    EXPECT_FALSE(fs::exists(file + ".quelmont-new"));

    // The second time nothing is written, not even the backup.
    Write(file + ".before-quelmont", "older");
    const SetupResult second = AddToXScreenSaver(file);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_NE(second.message.find("already"), std::string::npos) << second.message;
    EXPECT_EQ(ReadFile(file), added);
    EXPECT_EQ(ReadFile(file + ".before-quelmont"), "older");
}

TEST(AddToXScreenSaver, AFileItCannotUseIsLeftAlone) {
    TempDir home;
    const std::string file = home.path() + "/.xscreensaver";
    const SetupResult missing = AddToXScreenSaver(file);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.message.find("xscreensaver-settings"), std::string::npos) << missing.message;
    EXPECT_FALSE(fs::exists(file));

    // Without a list of its own the file leaves XScreenSaver's whole default list in force: a
    // list holding only the saver would hide every other hack.
    Write(file, "mode: one\n");
    EXPECT_EQ(AddToXScreenSaver(file).exitCode, 1);
    EXPECT_EQ(ReadFile(file), "mode: one\n");

    fs::remove(file);
    fs::create_directory(file);
    EXPECT_EQ(AddToXScreenSaver(file).exitCode, 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), fs::directory_iterator()), 1);
}

TEST(AddToXScreenSaver, ALinkedFileIsChangedWhereItLives) {
    TempDir home;
    fs::create_directory(home.path() + "/dotfiles");
    const std::string target = home.path() + "/dotfiles/xscreensaver";
    Write(target, kUserFile);
    const std::string link = home.path() + "/.xscreensaver";
    fs::create_symlink("dotfiles/xscreensaver", link);
    EXPECT_EQ(AddToXScreenSaver(link).exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(ListsProgram(ParseXScreenSaverPrograms(ReadFile(target)), "quelmont"));
    EXPECT_EQ(ReadFile(target + ".before-quelmont"), kUserFile);
}

TEST(SetupCommands, TheProgramPrintsItsVersionAndJoinsTheUsersList) {
    TempDir dir;
    const ProgramRun version = RunProgram(dir, {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "quelmont 0.1\n");

    // HOME is the run's folder.
    const ProgramRun none = RunProgram(dir, {"--add-to-xscreensaver"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.errors.find("does not exist yet"), std::string::npos) << none.errors;
    Write(dir.path() + "/.xscreensaver", kUserFile);
    const ProgramRun added = RunProgram(dir, {"--add-to-xscreensaver"});
    EXPECT_EQ(added.exitCode, 0) << added.errors;
    EXPECT_NE(added.output.find("added \"quelmont -root\""), std::string::npos) << added.output;
    EXPECT_TRUE(ListsProgram(ParseXScreenSaverPrograms(ReadFile(dir.path() + "/.xscreensaver")), "quelmont"));
}
