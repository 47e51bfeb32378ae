// WideToAnsi and AnsiToWide: the bytes stored for Turkish text, the round trip through the
// code page, unrepresentable characters and embedded NULs.
#include "text_conversion.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string EveryCharacterOfTheCodePage() {
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte) {
        bytes.push_back(static_cast<char>(byte));
    }
    return AnsiToWide(bytes);
}

TEST(TextConversion, EmptyInEmptyOut) {
    EXPECT_EQ(WideToAnsi(u""), "");
    EXPECT_EQ(AnsiToWide(""), u"");
}

TEST(TextConversion, TurkishLettersBecomeOneCodePageByteEach) {
    EXPECT_EQ(WideToAnsi(u"Ayşe"), "\x41\x79\xFE\x65");
    EXPECT_EQ(WideToAnsi(u"ĞÜŞİÖÇğüşıöç"), "\xD0\xDC\xDE\xDD\xD6\xC7\xF0\xFC\xFE\xFD\xF6\xE7");
    EXPECT_EQ(AnsiToWide("\xD0\xDC\xDE\xDD\xD6\xC7\xF0\xFC\xFE\xFD\xF6\xE7"), u"ĞÜŞİÖÇğüşıöç");
    EXPECT_EQ(WideToAnsi(u"€"), "\x80");
}

TEST(TextConversion, EveryCharacterOfTheCodePageComesBackUnchanged) {
    const std::u16string all = EveryCharacterOfTheCodePage();
    ASSERT_EQ(all.size(), 256u);
    const std::string bytes = WideToAnsi(all);
    ASSERT_EQ(bytes.size(), 256u);
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(static_cast<unsigned char>(bytes[byte]), byte) << "byte " << byte;
    }
    EXPECT_EQ(AnsiToWide(bytes), all);
}

TEST(TextConversion, UnrepresentableCharactersBecomeQuestionMarksWithoutBestFit) {
    // U+0101 and U+00D0 have best-fit stand-ins on Windows ('a' and 'D'); the device has none.
    EXPECT_EQ(WideToAnsi(u"x\u0101y\u00D0z"), "x?y?z");
    EXPECT_EQ(WideToAnsi(u"日本"), "??");
    // A surrogate pair is two units, and each one becomes its own default character.
    EXPECT_EQ(WideToAnsi(u"a\U0001F600b"), "a??b");
    const std::u16string loneSurrogates = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
    EXPECT_EQ(WideToAnsi(loneSurrogates), "a?b?");
    EXPECT_EQ(AnsiToWide(WideToAnsi(u"ā")), u"?");
}

TEST(TextConversion, EmbeddedNulSurvivesBothWays) {
    const std::u16string wide(u"a\0ş\0", 4);
    const std::string bytes("a\0\xFE\0", 4);
    EXPECT_EQ(WideToAnsi(wide), bytes);
    EXPECT_EQ(AnsiToWide(bytes), wide);
    EXPECT_EQ(AnsiToWide(std::string(1, '\0')), std::u16string(1, u'\0'));
}

} // namespace
