#pragma once
// quelmont --add-to-xscreensaver: adds the saver to the hacks XScreenSaver chooses from, which
// it reads from the user's own file.

#include <filesystem>
#include <string>

// The entry added to the `programs:` list (XScreenSaver finds the program on its PATH, which
// holds its own folder of hacks).
extern const char* const kXScreenSaverEntry;

struct SetupResult {
    int exitCode = 0;     // 0: the list holds the saver now; 1: nothing was changed
    std::string message;  // for the user: standard output on success, standard error otherwise
};

// Adds the entry to the list in `file` (~/.xscreensaver) once. The file's earlier bytes are
// first copied to `file` + ".before-quelmont"; the new file then replaces it in one rename
// (through a symbolic link to wherever the file really is). A missing file, or one without a
// list, is left alone: XScreenSaver's settings program writes the whole list.
SetupResult AddToXScreenSaver(const std::filesystem::path& file);

// ~/.xscreensaver for $HOME, else for the user's home in the password database.
std::filesystem::path XScreenSaverUserFile();
