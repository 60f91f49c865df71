#pragma once
// What a test of the saver's start-up stands on: a folder for its settings and trace, a clock
// that moves only when the test says, and a made-up system and window system. The test adds the
// media, graphics and dialogs it needs.

#include <string>

#include "common/Log.h"
#include "platform/sys/Clock.h"
#include "support/FakeSystem.h"
#include "support/FakeWindowSystem.h"
#include "support/Files.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

class SaverSandbox {
public:
    SaverSandbox() { SetTracePath(trace.c_str()); }
    ~SaverSandbox() { SetTracePath(nullptr); }
    SaverSandbox(const SaverSandbox&) = delete;
    SaverSandbox& operator=(const SaverSandbox&) = delete;

    std::string Trace() const { return ReadFile(trace); }

    TempDir temp;
    ScopedEnv xdg{"XDG_CONFIG_HOME", temp.path()};
    std::string trace = temp.path() + "/trace.log";
    sys::TestClock clock{100000};
    sys::ScopedClock scopedClock{clock};
    FakeSystem system;
    FakeWindowSystem windows;
};
