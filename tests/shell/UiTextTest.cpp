#include "shell/UiText.h"

#include <gtest/gtest.h>

#include <string>

namespace {
UiText Load(const std::string& s) {
    UiText text;
    text.Load({reinterpret_cast<const uint8_t*>(s.data()), s.size()});
    return text;
}
}  // namespace

TEST(UiText, KeysMatchWithoutRegardToCaseEitherWay) {
    const UiText text = Load("Heading\r\n#OK#\r\nOkay\r\n#show_fps#\r\nShow FPS\r\n");
    EXPECT_EQ(text.GetUiText("ok"), "Okay");
    EXPECT_EQ(text.GetUiText("SHOW_FPS"), "Show FPS");
    EXPECT_EQ(text.GetUiText("Show_Fps"), "Show FPS");
}

TEST(UiText, TextLinesKeepTheirCase) {
    EXPECT_EQ(Load("#a#\r\nMixed Case\r\n").GetUiText("a"), "Mixed Case");
}

TEST(UiText, KeyLineMayBeAtMostTwoLongerThanTheKey) {
    const UiText text = Load("#ok#x\r\nwrong\r\n#ok\r\nright\r\n");
    EXPECT_EQ(text.GetUiText("ok"), "right");
    // A prefix of a longer key is no match...
    EXPECT_TRUE(Load("#cancel#\r\nCancel\r\n").GetUiText("can").empty());
    // ...unless the longer key is at most one character more than the asked key plus "#".
    EXPECT_EQ(Load("#okx\r\nOk?\r\n").GetUiText("ok"), "Ok?");
}

TEST(UiText, LastLineIsNeverAKeyAndMissingKeysAreEmpty) {
    EXPECT_TRUE(Load("#end#").GetUiText("end").empty());
    EXPECT_TRUE(Load("#a#\r\nA\r\n").GetUiText("b").empty());
    EXPECT_TRUE(Load("").GetUiText("a").empty());
}
