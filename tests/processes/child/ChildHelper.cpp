// The child the process helpers' tests start: `echo CODE ARG...` prints its working folder and
// each argument on a line, the variable CHILD_VALUE on standard error, and exits with CODE;
// `hang` never ends; `crash` ends in an access fault.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "echo") == 0) {
        std::printf("%s\n", std::filesystem::current_path().filename().string().c_str());
        for (int i = 3; i < argc; ++i) std::printf("%s\n", argv[i]);
        const char* value = std::getenv("CHILD_VALUE");
        std::fprintf(stderr, "%s", value ? value : "(unset)");
        return std::atoi(argv[2]);
    }
    if (argc == 2 && std::strcmp(argv[1], "hang") == 0) {
        for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    if (argc == 2 && std::strcmp(argv[1], "crash") == 0) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    return 100;
}
