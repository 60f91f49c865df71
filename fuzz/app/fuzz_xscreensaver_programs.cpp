// Any bytes as ~/.xscreensaver: the programs list is read, the saver's entry added, and the
// result read again, which must hold one entry more, the last being the saver's.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/AddToXScreenSaver.h"
#include "app/XScreenSaverPrograms.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const XScreenSaverPrograms list = ParseXScreenSaverPrograms(file);
    if (!list.found || list.begin > list.end || list.end > size) return 0;
    ListsProgram(list, "quelmont");
    const std::string added = AppendProgram(file, list, kXScreenSaverEntry);
    const XScreenSaverPrograms after = ParseXScreenSaverPrograms(added);
    if (!added.starts_with(file.substr(0, list.end)) || !added.ends_with(file.substr(list.end)) ||
        after.programs.size() != list.programs.size() + 1 || after.programs.back().command != "quelmont -root" ||
        !after.closed)
        std::abort();
    return 0;
}
