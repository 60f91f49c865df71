#include "app/SetupCommands.h"

#include <cstdio>

#include "app/AddToXScreenSaver.h"

std::optional<int> RunSetupCommand(const Options& options) {
    if (options.version) {
        std::puts("quelmont " QUELMONT_VERSION);
        return 0;
    }
    if (options.addToXScreenSaver) {
        const SetupResult result = AddToXScreenSaver(XScreenSaverUserFile());
        std::fputs(result.message.c_str(), result.exitCode == 0 ? stdout : stderr);
        return result.exitCode;
    }
    return std::nullopt;
}
