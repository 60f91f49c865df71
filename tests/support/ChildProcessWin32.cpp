#include "support/ChildProcess.h"

#include <windows.h>

#include <cstring>

namespace {

// One argument as the child's runtime splits its command line back: quoted when it holds
// blanks or quotes, backslashes doubled only where a quote follows them.
std::string Quote(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

HANDLE OpenInherited(const std::string& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, creation,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ChildProcessId StartChild(const std::string& program, const std::vector<std::string>& args,
                          const std::vector<std::string>& environment, const std::string& folder,
                          const std::string& outputFile, const std::string& errorFile) {
    std::string commandLine = Quote(program);
    for (const std::string& arg : args) commandLine += " " + Quote(arg);
    std::string block;
    for (const std::string& variable : environment) block += variable + '\0';
    block += '\0';

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = OpenInherited("NUL", GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = OpenInherited(outputFile, GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = OpenInherited(errorFile, GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION process{};
    const bool started = startup.hStdOutput != INVALID_HANDLE_VALUE && startup.hStdError != INVALID_HANDLE_VALUE &&
                         CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        block.data(), folder.c_str(), &startup, &process);
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    if (!started) return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

int WaitForExit(ChildProcessId child, std::chrono::milliseconds limit) {
    if (!child) return -1;
    DWORD code = 0;
    const bool ended = WaitForSingleObject(child, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(child, &code);
    if (!ended) {
        TerminateProcess(child, 1);
        WaitForSingleObject(child, INFINITE);
    }
    CloseHandle(child);
    // Codes of the error class are the exceptions that ended a crashed process.
    return ended && (code & 0xC0000000u) != 0xC0000000u ? static_cast<int>(code) : -1;
}

std::vector<std::string> CurrentEnvironment() {
    std::vector<std::string> environment;
    char* block = GetEnvironmentStringsA();
    for (const char* e = block; *e; e += std::strlen(e) + 1) environment.emplace_back(e);
    FreeEnvironmentStringsA(block);
    return environment;
}
