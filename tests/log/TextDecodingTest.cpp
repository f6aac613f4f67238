#include <gtest/gtest.h>

#include <string>

#include "log/TextDecoding.h"

namespace vantaro {
namespace {

TEST(TextDecoding, RecognisesWellFormedUtf8Only) {
    for (const char* valid : {"", "plain", "caf\xC3\xA9", "\xE2\x82\xAC", "\xED\x9F\xBF",
                              "\xEE\x80\x80", "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(IsValidUtf8(valid)) << valid;
    }
    EXPECT_TRUE(IsValidUtf8(std::string("a\0b", 3)));
    for (const char* invalid : {
             "caf\xE9",           // a Windows-1252 letter
             "\x80",              // a lone continuation byte
             "\xC3",              // cut short
             "\xE2\x82",          // cut short
             "\xC0\xAF",          // overlong
             "\xC1\xBF",          // overlong
             "\xE0\x9F\xBF",      // overlong
             "\xF0\x8F\xBF\xBF",  // overlong
             "\xED\xA0\x80",      // a surrogate
             "\xF4\x90\x80\x80",  // above U+10FFFF
             "\xF5\x80\x80\x80",  // no such lead byte
             "\xE2\x28\xA1",      // a bad continuation
             "\xFF",
         }) {
        EXPECT_FALSE(IsValidUtf8(invalid)) << invalid;
    }
}

TEST(TextDecoding, MapsWindows1252IncludingItsUndefinedBytes) {
    EXPECT_EQ(Windows1252ToUnicode(0x00), U'\0');
    EXPECT_EQ(Windows1252ToUnicode('A'), U'A');
    EXPECT_EQ(Windows1252ToUnicode(0x7F), U'\x7F');
    EXPECT_EQ(Windows1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Windows1252ToUnicode(0x85), U'\u2026');
    EXPECT_EQ(Windows1252ToUnicode(0x8C), U'\u0152');
    EXPECT_EQ(Windows1252ToUnicode(0x93), U'\u201C');
    EXPECT_EQ(Windows1252ToUnicode(0x99), U'\u2122');
    EXPECT_EQ(Windows1252ToUnicode(0x9F), U'\u0178');
    for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(Windows1252ToUnicode(static_cast<unsigned char>(undefined)),
                  static_cast<char32_t>(undefined));
    }
    EXPECT_EQ(Windows1252ToUnicode(0xA0), U'\u00A0');
    EXPECT_EQ(Windows1252ToUnicode(0xE9), U'\u00E9');
    EXPECT_EQ(Windows1252ToUnicode(0xFF), U'\u00FF');
}

TEST(TextDecoding, DecodesCharacterByCharacterReplacingBadBytes) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xE9\xE2\x82z";
    std::u32string decoded;
    std::size_t pos = 0;
    while (pos < text.size()) {
        decoded += NextCodePoint(text, pos);
    }
    EXPECT_EQ(pos, text.size());
    EXPECT_EQ(decoded, U"a\u00E9\u20AC\U0001F600\uFFFD\uFFFD\uFFFDz");
}

TEST(TextDecoding, EncodesUtf8AtEveryLengthBoundary) {
    std::string out;
    for (char32_t c : {0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
        AppendUtf8(out, c);
    }
    EXPECT_EQ(out, "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
    std::string replaced;
    AppendUtf8(replaced, 0xD800);
    AppendUtf8(replaced, 0x110000);
    EXPECT_EQ(replaced, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vantaro
