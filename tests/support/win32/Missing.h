#pragma once
// The services whose Windows implementations are still to come (the system's services, windows,
// input, sound), as the Windows test programs link them: one file each, so
// a program takes only those it lacks. The tests install their own fakes, so reaching one is a
// fault of the test. Each file goes when its real implementation lands in src/platform.

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void MissingOnWindows(const char* service) {
    std::fprintf(stderr, "%s has no Windows implementation yet: install a fake before using it\n", service);
    std::fflush(stderr);
    std::abort();
}
