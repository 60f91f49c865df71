#include "platform/sys/win32/DirectXFileVersions.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

constexpr uint64_t V(uint64_t a, uint64_t b, uint64_t c, uint64_t d) { return a << 48 | b << 32 | c << 16 | d; }

// A system directory holding `files` (name -> a.b.c.d as 64 bits); the release they show as text.
std::string ReleaseOf(const std::map<std::string, uint64_t>& files) {
    const sys::FileVersionReader read = [&](const char* name, uint32_t& ms, uint32_t& ls) {
        const auto it = files.find(name);
        if (it == files.end()) return false;
        ms = static_cast<uint32_t>(it->second >> 32);
        ls = static_cast<uint32_t>(it->second);
        return true;
    };
    uint32_t major = 99, minor = 99;
    char letter = '?';
    sys::ReadDirectXFileVersions(read, major, minor, letter);
    return std::to_string(major) + "." + std::to_string(minor) + (letter ? std::string(1, letter) : "");
}

}  // namespace

TEST(DirectXFileVersions, LaterMatchesOverrideEarlierOnesAndNoMatchIsZero) {
    EXPECT_EQ(ReleaseOf({}), "0.0");
    EXPECT_EQ(ReleaseOf({{"\\ddraw.dll", V(4, 2, 0, 94)}}), "0.0");  // older than the first row
    std::map<std::string, uint64_t> files{{"\\ddraw.dll", V(4, 7, 0, 700)}, {"\\dinput.dll", V(4, 7, 0, 716)}};
    EXPECT_EQ(ReleaseOf(files), "7.0a");
    files["\\dpnet.dll"] = V(5, 2, 3677, 134);
    EXPECT_EQ(ReleaseOf(files), "8.2");
    files["\\d3d9.dll"] = 0;  // any version information at all
    EXPECT_EQ(ReleaseOf(files), "9.0");
}

TEST(DirectXFileVersions, SplitRowsCompareByTheFirstVersionWord) {
    // First word 5 needs 5.1.2600.881; 5.1.2258 is only 8.0 through ddraw's 5.x row.
    std::map<std::string, uint64_t> files{{"\\ddraw.dll", V(5, 1, 2258, 400)}, {"\\d3d8.dll", V(5, 1, 2258, 900)}};
    EXPECT_EQ(ReleaseOf(files), "8.0");
    // A first word of 6 satisfies neither branch of a split row.
    files["\\d3d8.dll"] = V(6, 0, 0, 0);
    EXPECT_EQ(ReleaseOf(files), "8.0");
    files["\\d3d8.dll"] = V(4, 8, 1, 901);
    EXPECT_EQ(ReleaseOf(files), "8.1a");
}
