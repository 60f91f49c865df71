// Replays seed files through a fuzz target's entry point where there is no libFuzzer (the Windows
// build): the same inputs `scripts/fuzz --check` gives the target on Linux, under the same
// limits, taken as the same options:
//   replay_<name> [-timeout=S] [-rss_limit_mb=M] [-malloc_limit_mb=M] [-max_len=N] FILE|FOLDER...
// A folder stands for every file in it. A crash, an input running past the time limit or an
// allocation past the memory limits ends the run with the file that did it named; the exit
// status is then not 0.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Limits {
    long timeoutSeconds = 1200;  // libFuzzer's defaults
    size_t rssLimitMb = 2048;
    size_t mallocLimitMb = 2048;
    size_t maxLen = 0;  // 0: whole files
};

std::atomic<size_t> g_mallocLimit{SIZE_MAX};
// The input being run, for the failure reports.
std::atomic<const char*> g_current{"(no input)"};

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "replay: %s on %s\n", what, g_current.load());
    std::fflush(stderr);
    std::_Exit(1);
}

void ReportAbort(int) { Fail("abort"); }

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
    std::fprintf(stderr, "replay: crash (exception 0x%08lx) on %s\n",
                 static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode), g_current.load());
    std::fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;  // ends the process; no debugger is asked
}

// Ends the run when one input takes longer than the limit: a parser that loops must fail the
// test, not hang it.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit) : limit_(limit), thread_([this] { Watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_one();
        thread_.join();
    }
    void Arm() { Set(Clock::now() + limit_); }
    void Disarm() { Set(std::nullopt); }

private:
    void Set(std::optional<Clock::time_point> deadline) {
        {
            std::lock_guard lock(mutex_);
            deadline_ = deadline;
        }
        changed_.notify_one();
    }
    void Watch() {
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            if (!deadline_) changed_.wait(lock);
            else if (changed_.wait_until(lock, *deadline_) == std::cv_status::timeout && deadline_ &&
                     Clock::now() >= *deadline_)
                Fail("timeout");
        }
    }

    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Clock::time_point> deadline_;
    bool stopping_ = false;
    std::thread thread_;
};

bool ParseOption(const std::string& arg, Limits& limits) {
    const size_t equals = arg.find('=');
    if (equals == std::string::npos) return false;
    const std::string name = arg.substr(1, equals - 1);
    char* end = nullptr;
    const unsigned long long value = std::strtoull(arg.c_str() + equals + 1, &end, 10);
    if (*end != '\0' || end == arg.c_str() + equals + 1) return false;
    if (name == "timeout") limits.timeoutSeconds = static_cast<long>(value);
    else if (name == "rss_limit_mb") limits.rssLimitMb = value;
    else if (name == "malloc_limit_mb") limits.mallocLimitMb = value;
    else if (name == "max_len") limits.maxLen = value;
    else return false;
    return true;
}

void AddInputs(const fs::path& path, std::vector<fs::path>& inputs) {
    std::error_code error;
    if (!fs::is_directory(path, error)) {
        inputs.push_back(path);
        return;
    }
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(path, error))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    inputs.insert(inputs.end(), files.begin(), files.end());
}

size_t PeakMemoryMb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize >> 20;
}

}  // namespace

// One allocation past the limit is a fault of the input's parser, as libFuzzer counts it.
void* operator new(size_t size) {
    if (size > g_mallocLimit.load(std::memory_order_relaxed)) Fail("allocation past -malloc_limit_mb");
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

void* operator new[](size_t size) { return operator new(size); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
void operator delete[](void* block, size_t) noexcept { std::free(block); }

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(&ReportCrash);
    std::signal(SIGABRT, &ReportAbort);
    Limits limits;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("-")) {
            if (!ParseOption(arg, limits)) {
                std::fprintf(stderr, "replay: unknown option %s\n", argv[i]);
                return 2;
            }
        } else {
            AddInputs(arg, inputs);
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "replay: no input files\n");
        return 2;
    }

    Watchdog watchdog{std::chrono::seconds(limits.timeoutSeconds)};
    const size_t mallocLimit = limits.mallocLimitMb << 20;
    std::chrono::milliseconds slowest{0};
    std::string slowestName;
    for (const fs::path& path : inputs) {
        const std::string name = path.string();
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "replay: cannot read %s\n", name.c_str());
            return 1;
        }
        std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (limits.maxLen != 0 && bytes.size() > limits.maxLen) bytes.resize(limits.maxLen);
        g_current = name.c_str();
        const Clock::time_point start = Clock::now();
        g_mallocLimit = mallocLimit;
        watchdog.Arm();
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        watchdog.Disarm();
        g_mallocLimit = SIZE_MAX;
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        if (took >= slowest) {
            slowest = took;
            slowestName = fs::path(path).filename().string();
        }
        if (PeakMemoryMb() > limits.rssLimitMb) Fail("memory past -rss_limit_mb");
        g_current = "(no input)";
    }
    std::printf("replay: %zu input%s, slowest %s (%lld ms)\n", inputs.size(), inputs.size() == 1 ? "" : "s",
                slowestName.c_str(), static_cast<long long>(slowest.count()));
    return 0;
}
