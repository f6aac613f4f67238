#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "log/RtfReader.h"
#include "log/RtfWriter.h"
#include "log/TextDecoding.h"
#include "support/LogRunPrinting.h"

namespace vantaro {
namespace {

using C = LogColour;

LogRun Span(std::string text, C colour, bool endLine = false, FontStyle style = {}) {
    return LogRun{std::move(text), colour, style, endLine};
}

const std::string kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Symbol;}}\r\n"
    "{\\colortbl ;\\red250\\green2\\blue0;\\red0\\green60\\blue150;\\red0\\green0\\blue0;}\r\n"
    "{\\*\\generator Some Writer 5.1;}{\\info{\\author Someone}}\\viewkind4\\uc1\\pard\\f0\\fs20 ";

LogRuns Read(const std::string& body) {
    const auto runs = ReadLogRtf(kHeader + body + "}");
    EXPECT_TRUE(runs.has_value()) << body;
    return runs.value_or(LogRuns{});
}

// Whatever is read is text the view can take: UTF-8 without NUL.
void ExpectWellFormed(const std::optional<LogRuns>& runs) {
    for (const LogRun& run : runs.value_or(LogRuns{})) {
        EXPECT_TRUE(IsValidUtf8(run.text));
        EXPECT_EQ(run.text.find('\0'), std::string::npos);
    }
}

TEST(RtfReader, OnlyAnRtfDocumentWhoseGroupsCloseIsRead) {
    EXPECT_FALSE(ReadLogRtf(""));
    EXPECT_FALSE(ReadLogRtf("plain text"));
    EXPECT_FALSE(ReadLogRtf(" {\\rtf1 x}"));
    EXPECT_FALSE(ReadLogRtf("{\\rtf1 x"));
    EXPECT_FALSE(ReadLogRtf("{\\rtf1 {x}"));
    EXPECT_EQ(ReadLogRtf("{\\rtf1 x}"), (LogRuns{Span("x", C::LogDarkGrey)}));
    // Whatever follows the outer group is not part of the document.
    EXPECT_EQ(ReadLogRtf("{\\rtf1 x}y}{z"), (LogRuns{Span("x", C::LogDarkGrey)}));
}

TEST(RtfReader, SkipsTablesAndDestinationsAndMapsColoursOntoThePalette) {
    EXPECT_EQ(Read("\\cf1 red\\cf2 blue\\cf3 black\\cf0 auto\\cf9 none"),
              (LogRuns{Span("red", C::LogRed), Span("blue", C::LogBlue),
                       Span("blackautonone", C::LogDarkGrey)}));
    EXPECT_EQ(Read("a{\\*\\unknown b{c}}d{\\pict\\pngblip 89504e47}e{\\fldinst x}"),
              (LogRuns{Span("ade", C::LogDarkGrey)}));
}

TEST(RtfReader, FormattingBelongsToItsGroup) {
    EXPECT_EQ(Read("\\cf2 a{\\b\\cf1 b{\\ul c}d}e\\i f\\i0\\strike g\\plain h\\ulw i\\ulnone j"),
              (LogRuns{
                  Span("a", C::LogBlue),
                  Span("b", C::LogRed, false, FontStyle::Bold),
                  Span("c", C::LogRed, false, FontStyle(FontStyle::Bold) | FontStyle::Underline),
                  Span("d", C::LogRed, false, FontStyle::Bold),
                  Span("e", C::LogBlue),
                  Span("f", C::LogBlue, false, FontStyle::Italic),
                  Span("g", C::LogBlue, false, FontStyle::StrikeOut),
                  Span("h", C::LogDarkGrey),
                  Span("i", C::LogDarkGrey, false, FontStyle::Underline),
                  Span("j", C::LogDarkGrey),
              }));
    EXPECT_EQ(Read("\\b1 a\\b0 b\\ul1 c\\ul0 d"),
              (LogRuns{Span("a", C::LogDarkGrey, false, FontStyle::Bold), Span("b", C::LogDarkGrey),
                       Span("c", C::LogDarkGrey, false, FontStyle::Underline),
                       Span("d", C::LogDarkGrey)}));
}

TEST(RtfReader, LineEndsTakeTheFormatInForce) {
    EXPECT_EQ(
        Read("a\\par\r\n\\cf1\\par b\\line c\\\r\nd\r\ne"),
        (LogRuns{Span("a", C::LogDarkGrey, true), Span("", C::LogRed, true),
                 Span("b", C::LogRed, true), Span("c", C::LogRed, true), Span("de", C::LogRed)}));
}

TEST(RtfReader, DecodesEscapesAndUnicodeWithItsFallbacks) {
    EXPECT_EQ(Read("\\{\\}\\\\ \\tab\\~\\_\\-\\emdash\\endash\\bullet\\lquote\\rquote"
                   "\\ldblquote\\rdblquote"),
              (LogRuns{Span("{}\\ \t\xC2\xA0\xE2\x80\x91\xE2\x80\x94\xE2\x80\x93\xE2\x80\xA2"
                            "\xE2\x80\x98\xE2\x80\x99\xE2\x80\x9C\xE2\x80\x9D",
                            C::LogDarkGrey)}));
    // \'hh is a Windows-1252 byte, and so is a raw byte above 127.
    EXPECT_EQ(Read("caf\\'e9 \\'80\\'81\\'zz\x93q\x94"),
              (LogRuns{Span("caf\xC3\xA9 \xE2\x82\xAC\xC2\x81zz\xE2\x80\x9Cq\xE2\x80\x9D",
                            C::LogDarkGrey)}));
    // The fallback after \uN is skipped: one character by default, \ucN of them otherwise, a
    // control word or \'hh counting as one.
    EXPECT_EQ(Read("\\u8364?a\\u8364\\'80b{\\uc2\\u233 XYc}{\\uc0\\u233 d}\\u-3?e\\u8364\\par f"),
              (LogRuns{Span("\xE2\x82\xAC"
                            "a\xE2\x82\xAC"
                            "b\xC3\xA9"
                            "c\xC3\xA9"
                            "d\xEF\xBF\xBD"
                            "e\xE2\x82\xAC"
                            "f",
                            C::LogDarkGrey)}));
    // Surrogate pairs join; lone halves and \\u0 become U+FFFD, and an escaped NUL is dropped
    // like a raw one.
    EXPECT_EQ(Read("\\u-10179?\\u-8704?|\\u-10179?x|\\u-8704?|\\u0?|\\'00|"),
              (LogRuns{Span("\xF0\x9F\x98\x80|\xEF\xBF\xBDx|\xEF\xBF\xBD|\xEF\xBF\xBD||",
                            C::LogDarkGrey)}));
    // Raw control characters other than tab carry nothing.
    EXPECT_EQ(Read(std::string("a\0b\x01\tc", 6)), (LogRuns{Span("ab\tc", C::LogDarkGrey)}));
}

TEST(RtfReader, BinaryDataAndOddParametersAreHandled) {
    EXPECT_EQ(Read("a{\\*\\blob\\bin4 }{\\}}b"), (LogRuns{Span("ab", C::LogDarkGrey)}));
    EXPECT_FALSE(ReadLogRtf("{\\rtf1 a\\bin99999999999999999999 }}}}"));
    EXPECT_EQ(Read("\\cf-5 a\\cf99999999999999 b\\u65535?c\\uc-4\\u65?d"),
              (LogRuns{Span("ab\xEF\xBF\xBF"
                            "cA?d",
                            C::LogDarkGrey)}));
}

TEST(RtfReader, MalformedInputNeverFails) {
    const std::string rtf = WriteLogRtf({Span("caf\xC3\xA9 {x}", C::LogRed, true, FontStyle::Bold),
                                         Span("\xF0\x9F\x98\x80", C::LogBlue, true)});
    // Every prefix of a document either reads or is refused, never anything worse.
    for (std::size_t length = 0; length < rtf.size(); ++length) {
        const std::string prefix = rtf.substr(0, length);
        if (length + 2 < rtf.size()) {
            EXPECT_FALSE(ReadLogRtf(prefix)) << length;
        }
        ExpectWellFormed(ReadLogRtf(prefix + "}}}}"));
    }
    std::mt19937 random(12345);
    const std::string alphabet = "{}\\'u0123456789-abcdefrtf; \r\n\x80\xFF?*";
    for (int round = 0; round < 2000; ++round) {
        std::string noise = "{\\rtf";
        const int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i) {
            noise += alphabet[random() % alphabet.size()];
        }
        ExpectWellFormed(ReadLogRtf(noise));
    }
}

TEST(RtfReader, DeepNestingIsRefusedNotFollowed) {
    EXPECT_FALSE(ReadLogRtf("{\\rtf1 " + std::string(100000, '{') + std::string(100001, '}')));
    EXPECT_EQ(ReadLogRtf("{\\rtf1 " + std::string(100, '{') + "x" + std::string(101, '}')),
              (LogRuns{Span("x", C::LogDarkGrey)}));
}

}  // namespace
}  // namespace vantaro
