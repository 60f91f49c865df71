// An entry point with the faults the replay must catch, one per input (faults/<name>): the
// replay's own check that each ends the run, names its input and waits for nobody.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input == "crash") {
        volatile int* nowhere = nullptr;
        return *nowhere;
    }
    if (input == "abort") std::abort();
    if (input == "hang") {
        for (volatile bool forever = true; forever;) {
        }
    }
    if (input == "allocate") {
        // Past the 1 MB limit its test sets.
        std::vector<uint8_t> block(size << 20);
        return block[0];
    }
    return 0;
}
