// Linked into every test binary: the environment the tests expect, set before main.

#include "support/Environment.h"

extern "C" {

// Leak reports of libraries that keep allocations for the process's life.
const char* __lsan_default_suppressions() {
    return "leak:libSDL2\n"
           "leak:libglib-2.0\n"
           "leak:libgobject-2.0\n"
           "leak:libgtk-3\n"
           "leak:libgdk-3\n"
           "leak:libfontconfig\n"
           "leak:libopenal\n"
           "leak:libX11\n"
           "leak:libdbus-1\n";
}

const char* __asan_default_options() { return QUELMONT_GL_TESTS ? "detect_leaks=0" : ""; }

const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

}  // extern "C"

namespace {

struct TestEnvironment {
    TestEnvironment() {
        using testing_support::SetEnv;
        SetEnv("QUELMONT_SOURCE_DIR", QUELMONT_SOURCE_DIR);
        SetEnv("QUELMONT_BINARY_DIR", QUELMONT_BINARY_DIR);
        if (QUELMONT_GL_TESTS) {
            if (!std::getenv("SDL_VIDEODRIVER")) SetEnv("SDL_VIDEODRIVER", "offscreen");
            if (!std::getenv("ALSOFT_DRIVERS")) SetEnv("ALSOFT_DRIVERS", "null");
        }
    }
} environment;

}  // namespace
