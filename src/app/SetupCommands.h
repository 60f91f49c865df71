#pragma once
// The commands that set the program up instead of running the saver.

#include <optional>

#include "app/Options.h"

// --version or --add-to-xscreensaver, done, with the exit code; nothing when `options` asks
// for neither.
std::optional<int> RunSetupCommand(const Options& options);
