// The version resource Windows shows in the saver's details, read back as Explorer reads it.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string Text(const std::vector<char>& block, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
    return value;
}

TEST(VersionResource, NamesTheProgramAndTheProjectVersion) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(QUELMONT_SAVER, &ignored);
    ASSERT_GT(size, 0u) << QUELMONT_SAVER << " has no version resource";
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(QUELMONT_SAVER, 0, size, block.data()));
    EXPECT_EQ(Text(block, "ProductName"), "Quelmont");
    EXPECT_EQ(Text(block, "ProductVersion"), QUELMONT_VERSION);
    EXPECT_EQ(Text(block, "FileVersion"), QUELMONT_VERSION);
    EXPECT_EQ(Text(block, "OriginalFilename"), QUELMONT_SAVER_NAME);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(QUELMONT_VERSION_MAJOR << 16 | QUELMONT_VERSION_MINOR));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
