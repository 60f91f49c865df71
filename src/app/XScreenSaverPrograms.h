#pragma once
// The `programs:` resource of XScreenSaver's per-user file (~/.xscreensaver): where it lies in the
// file and the hacks it lists. Its value runs over lines joined by a backslash at their end, and
// its entries are separated by the two characters "\n". Entries read "[-] [VISUAL:] ["Label"]
// command args", "-" marking a hack that is switched off.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct XScreenSaverProgram {
    bool enabled = true;
    std::string visual;   // "GL", "default", ... or empty
    std::string command;  // the command line, label and visual removed
};

struct XScreenSaverPrograms {
    bool found = false;
    size_t begin = 0;  // the first byte of the line that names the resource
    size_t end = 0;    // one past the last byte of its last line (that line's newline excluded)
    bool open = false;  // the file ends inside the value (its last line ends with a backslash)
    // True when the value's last entry is closed by "\n" (or there is none): a line appended
    // after it starts an entry of its own.
    bool closed = true;
    std::vector<XScreenSaverProgram> programs;
};

// The last `programs:` resource of the file, as X resource files let a later line win.
XScreenSaverPrograms ParseXScreenSaverPrograms(std::string_view file);

// Whether any entry (switched on or off) runs the program named `name`, by any path.
bool ListsProgram(const XScreenSaverPrograms& list, std::string_view name);

// `file` with `entry` (an entry's text, without separators) added as the list's last entry.
// Every byte of the file is kept; the value's last line gains the continuation it needs.
std::string AppendProgram(std::string_view file, const XScreenSaverPrograms& list, std::string_view entry);
