#pragma once
// What every run of the program must show, however it was treated: it ended by itself with one
// of its exit codes, and the sanitizers found nothing in our code.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/ProgramRun.h"

// Leaks are counted only where a stack passes through our sources (a frame with a line in
// src/ or tools/): the GL driver is unloaded before the leak check runs, so its allocations
// show up as unattributed "leaks".
inline bool LeaksInOurCode(const std::string& errors) {
    for (size_t at = errors.find("leak of "); at != std::string::npos; at = errors.find("leak of ", at + 1)) {
        const std::string report = errors.substr(at, errors.find("\n\n", at) - at);
        std::istringstream lines(report);
        for (std::string line; std::getline(lines, line);) {
            if (line.find("libsanitizer") != std::string::npos) continue;
            const bool ours = line.find("src/") != std::string::npos || line.find("tools/") != std::string::npos;
            if (ours && (line.find(".cpp:") != std::string::npos || line.find(".h:") != std::string::npos)) return true;
        }
    }
    return false;
}

inline testing::AssertionResult EndedCleanly(const ProgramRun& run, std::initializer_list<int> codes) {
    bool known = false;
    for (int code : codes) known = known || run.exitCode == code;
    if (!known)
        return testing::AssertionFailure() << "exit code " << run.exitCode << "\n" << run.errors.substr(0, 4000);
    if (run.errors.find("ERROR: AddressSanitizer") != std::string::npos)
        return testing::AssertionFailure() << run.errors.substr(0, 4000);
    if (run.errors.find("runtime error:") != std::string::npos)
        return testing::AssertionFailure() << run.errors.substr(0, 4000);
    if (LeaksInOurCode(run.errors)) return testing::AssertionFailure() << run.errors.substr(0, 8000);
    return testing::AssertionSuccess();
}

// Leak checking on, halting on the first undefined behaviour; sanitizer reports exit with codes
// no normal run uses.
inline std::vector<std::string> SanitizerEnvironment() {
    return {"ASAN_OPTIONS=detect_leaks=1:exitcode=86", "UBSAN_OPTIONS=halt_on_error=1:exitcode=87:print_stacktrace=1",
            "LSAN_OPTIONS=exitcode=0"};
}
