#pragma once
// Running outside programs from tests.

#include <string>
#include <utility>

namespace testing_support {

bool HaveTool(const char* name);
// Exit status (-1 when it did not exit normally) and standard output of a shell command.
std::pair<int, std::string> RunShell(const std::string& command);
// Quotes a text for the shell.
std::string ShellQuote(const std::string& text);

}  // namespace testing_support
