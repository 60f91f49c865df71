#include "shell/DirectXVersion.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

class FakeProbe final : public sys::DirectXProbe {
public:
    bool diagnostics = false;
    uint32_t major = 0, minor = 0;
    char letter = 0;
    std::map<std::string, uint64_t> files;  // name -> a.b.c.d as 64 bits

    bool ReadDiagnostics(uint32_t& ma, uint32_t& mi, char& le) override {
        if (!diagnostics) return false;
        ma = major;
        mi = minor;
        le = letter;
        return true;
    }
    bool GetSystemFileVersion(const char* name, uint32_t& ms, uint32_t& ls) override {
        const auto it = files.find(name);
        if (it == files.end()) return false;
        ms = static_cast<uint32_t>(it->second >> 32);
        ls = static_cast<uint32_t>(it->second);
        return true;
    }
};

constexpr uint64_t V(uint64_t a, uint64_t b, uint64_t c, uint64_t d) { return a << 48 | b << 32 | c << 16 | d; }

struct Result {
    uint32_t version;
    std::string text;
};

Result Query(FakeProbe& probe) {
    uint32_t version = 1;
    char text[10] = "garbage";
    EXPECT_EQ(QueryDirectXVersion(probe, version, text, sizeof text), 0);
    return {version, text};
}

}  // namespace

TEST(DirectXVersion, EncodesMajorMinorAndLetter) {
    EXPECT_EQ(EncodeDirectXVersion(9, 0, 0), 0x90000u);
    EXPECT_EQ(EncodeDirectXVersion(8, 1, 'b'), 0x80102u);
    EXPECT_EQ(EncodeDirectXVersion(8, 1, 'B'), 0x80102u);
    EXPECT_EQ(EncodeDirectXVersion(8, 2, 0), 0x80200u);
    EXPECT_GE(EncodeDirectXVersion(9, 0, 0), kRequiredDirectXVersion);
    EXPECT_LT(EncodeDirectXVersion(8, 2, 0), kRequiredDirectXVersion);
}

TEST(DirectXVersion, DiagnosticsProviderWinsWhenItAnswers) {
    FakeProbe probe;
    probe.diagnostics = true;
    probe.major = 9;
    probe.minor = 0;
    probe.letter = 'C';
    probe.files["\\ddraw.dll"] = V(4, 2, 0, 95);  // ignored
    const Result r = Query(probe);
    EXPECT_EQ(r.version, 0x90003u);
    EXPECT_EQ(r.text, "9.0c");
}

TEST(DirectXVersion, FileProbesLetLaterMatchesOverrideEarlierOnes) {
    FakeProbe probe;
    probe.files["\\ddraw.dll"] = V(4, 7, 0, 700);
    probe.files["\\dinput.dll"] = V(4, 7, 0, 716);
    EXPECT_EQ(Query(probe).text, "7.0a");
    probe.files["\\dpnet.dll"] = V(5, 2, 3677, 134);
    Result r = Query(probe);
    EXPECT_EQ(r.version, 0x80200u);
    EXPECT_EQ(r.text, "8.2");
    probe.files["\\d3d9.dll"] = 0;  // any version information at all
    r = Query(probe);
    EXPECT_EQ(r.version, 0x90000u);
    EXPECT_EQ(r.text, "9.0");
}

TEST(DirectXVersion, SplitRowsCompareByTheFirstVersionWord) {
    FakeProbe probe;
    // First word 5 needs 5.1.2600.881; 5.1.2258 is only 8.0 through ddraw's 5.x row.
    probe.files["\\ddraw.dll"] = V(5, 1, 2258, 400);
    probe.files["\\d3d8.dll"] = V(5, 1, 2258, 900);
    EXPECT_EQ(Query(probe).text, "8.0");
    // A first word of 6 satisfies neither branch of a split row.
    probe.files["\\d3d8.dll"] = V(6, 0, 0, 0);
    EXPECT_EQ(Query(probe).text, "8.0");
    probe.files["\\d3d8.dll"] = V(4, 8, 1, 901);
    EXPECT_EQ(Query(probe).text, "8.1a");
}

TEST(DirectXVersion, NothingFoundIsZeroAndTextStaysInsideItsBuffer) {
    FakeProbe probe;
    Result r = Query(probe);
    EXPECT_EQ(r.version, 0u);
    EXPECT_EQ(r.text, "0.0");
    probe.diagnostics = true;
    probe.major = 123456;
    probe.minor = 7890;
    probe.letter = 'z';
    uint32_t version = 0;
    char small[4];
    QueryDirectXVersion(probe, version, small, sizeof small);
    EXPECT_EQ(std::string(small), "123");
}
