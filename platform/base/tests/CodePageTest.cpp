#include <gtest/gtest.h>

#include "platform/base/CodePage.h"

using namespace wb;

TEST(CodePage, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
}

TEST(CodePage, HighBytesAreTheWindowsCharacters) {
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20ac");
    EXPECT_EQ(Cp1252ToUtf8("\x93x\x94"), "\u201cx\u201d");
    EXPECT_EQ(Cp1252ToUtf8("caf\xe9"), "caf\u00e9");
    EXPECT_EQ(Utf8ToCp1252("\u0160koda \u2013 \u00fc"), "\x8akoda \x96 \xfc");
}

TEST(CodePage, UnrepresentableCharactersBecomeOneQuestionMarkEach) {
    // Cyrillic, CJK and an emoji: one '?' per character, so lengths stay true.
    EXPECT_EQ(Utf8ToCp1252("\u0416a\u4e2d\U0001F600"), "?a??");
}

TEST(CodePage, MalformedUtf8NeverSwallowsFollowingText) {
    EXPECT_EQ(Utf8ToCp1252("a\xc3"), "a?");           // truncated sequence
    EXPECT_EQ(Utf8ToCp1252("\xc3x"), "?x");           // bad continuation
    EXPECT_EQ(Utf8ToCp1252("\xc0\xafz"), "??z");      // overlong form
    EXPECT_EQ(Utf8ToCp1252("\xed\xa0\x80!"), std::string(3, '?') + "!");  // surrogate
}

TEST(CodePage, NamesThatAreNotUtf8AreFoundAndShownReadably) {
    const std::pair<std::string, std::string> valid[] = {
        {"", ""}, {"plain.mp3", "plain.mp3"}, {"caf\u00e9 \u20ac \U0001F600", "caf\u00e9 \u20ac \U0001F600"}};
    for (const auto& [bytes, shown] : valid) {
        EXPECT_TRUE(IsValidUtf8(bytes)) << bytes;
        EXPECT_EQ(ShowableUtf8(bytes), shown);
    }
    const std::pair<std::string, std::string> invalid[] = {
        {"caf\xe9.mp3", "caf\ufffd.mp3"},        // a Latin-1 name
        {"a\xc3", "a\ufffd"},                    // truncated sequence
        {"\xc0\xafz", "\ufffd\ufffdz"},          // overlong form
        {"\xed\xa0\x80!", "\ufffd\ufffd\ufffd!"}};  // surrogate
    for (const auto& [bytes, shown] : invalid) {
        EXPECT_FALSE(IsValidUtf8(bytes)) << shown;
        EXPECT_EQ(ShowableUtf8(bytes), shown);
    }
}
