#include "support/Shell.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

namespace testing_support {

bool HaveTool(const char* name) {
    return std::system(("command -v " + ShellQuote(name) + " >/dev/null 2>&1").c_str()) == 0;
}

std::pair<int, std::string> RunShell(const std::string& command) {
    std::string output;
    // A tool that hangs is killed after a minute and reads as failed.
    FILE* pipe = popen(("timeout -k 5 60 sh -c " + ShellQuote(command)).c_str(), "r");
    if (!pipe) return {-1, output};
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace testing_support
