#include "common/Log.h"

#include <gtest/gtest.h>

#include "support/Files.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

TEST(Log, WritesEachTextAsItStandsOnlyWhileATraceFileIsSet) {
    const std::string path = testing::TempDir() + "log_test_trace.log";
    std::remove(path.c_str());
    SetTracePath(path.c_str());
    Log("first line\n");
    LogError("", "Log started \n");
    // Flushed per call: the text is there before the sink is closed.
    EXPECT_EQ(ReadFile(path), "first line\nLog started \n");
    SetTracePath(nullptr);
    Log("dropped\n");
    EXPECT_EQ(ReadFile(path), "first line\nLog started \n");
    std::remove(path.c_str());
}
