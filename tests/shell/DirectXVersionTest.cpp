#include "shell/DirectXVersion.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/sys/GraphicsHelp.h"
#include "shell/Application.h"
#include "shell/EntryPoint.h"
#include "support/FakeSystem.h"

namespace {

class FakeProbe final : public sys::DirectXProbe {
public:
    bool diagnostics = false;
    uint32_t major = 0, minor = 0;
    char letter = 0;
    uint32_t filesMajor = 0, filesMinor = 0;
    char filesLetter = 0;

    bool ReadDiagnostics(uint32_t& ma, uint32_t& mi, char& le) override {
        if (!diagnostics) return false;
        ma = major;
        mi = minor;
        le = letter;
        return true;
    }
    void ReadSystemFiles(uint32_t& ma, uint32_t& mi, char& le) override {
        ma = filesMajor;
        mi = filesMinor;
        le = filesLetter;
    }
};

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

TEST(DirectXVersion, DiagnosticsProviderWinsWhenItAnswersElseTheSystemFilesAnswer) {
    FakeProbe probe;
    probe.filesMajor = 8;
    probe.filesMinor = 1;
    probe.filesLetter = 'b';
    Result r = Query(probe);
    EXPECT_EQ(r.version, 0x80102u);
    EXPECT_EQ(r.text, "8.1b");
    probe.diagnostics = true;
    probe.major = 9;
    probe.minor = 0;
    probe.letter = 'C';
    r = Query(probe);
    EXPECT_EQ(r.version, 0x90003u);
    EXPECT_EQ(r.text, "9.0c");
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

// The program's application factory: the entry point stops before it needs one.
Application* GetApp() {
    ADD_FAILURE() << "the entry point went past the graphics check";
    return nullptr;
}
void DestroyApp() {}

// On Linux the missing piece is an OpenGL 3.3 driver, and the dialog says so and where to read
// about it; its button opens that page and the program ends with 1 either way.
TEST(DirectXVersion, AFailedCheckTellsWhatIsMissingAndOffersItsPage) {
    const sys::GraphicsHelp& help = sys::PlatformGraphicsHelp();
    EXPECT_NE(help.checkText.find("OpenGL 3.3"), std::string::npos);
    EXPECT_NE(help.checkText.find("\"" + std::string(help.downloadButton) + "\""), std::string::npos);
    EXPECT_NE(help.noDeviceText.find("OpenGL 3.3"), std::string::npos);
    EXPECT_EQ(help.checkText.find("DirectX"), std::string::npos);
    EXPECT_TRUE(help.downloadPage.starts_with("https://"));

    FakeProbe probe;  // finds nothing
    for (const int answer : {sys::IDOK, sys::IDCANCEL}) {
        FakeSystem system;
        system.directXDialogAnswer = answer;
        EXPECT_EQ(RunEntryPoint(nullptr, "quelmont /s", probe), 1);
        EXPECT_EQ(system.directXDialogs, 1);
        EXPECT_EQ(system.opened, answer == sys::IDOK ? std::vector<std::string>{std::string(help.downloadPage)}
                                                     : std::vector<std::string>{});
    }
}
