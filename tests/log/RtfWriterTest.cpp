#include <gtest/gtest.h>

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

// The document body: what follows the header, up to the closing brace.
std::string Body(const std::string& rtf) {
    const std::string start = "\\fs20 ";
    const std::size_t from = rtf.find(start) + start.size();
    return rtf.substr(from, rtf.rfind('}') - from);
}

bool IsPrintableAscii(const std::string& text) {
    for (char c : text) {
        const bool printable = c >= 0x20 && c < 0x7F;
        if (!printable && c != '\r' && c != '\n') {
            return false;
        }
    }
    return true;
}

TEST(RtfWriter, AnEmptyLogIsAWholeDocumentWithoutText) {
    const std::string rtf = WriteLogRtf({});
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi", 0), 0u);
    EXPECT_EQ(Body(rtf), "");
    EXPECT_EQ(rtf.find("\\par\r"), std::string::npos);
    const auto runs = ReadLogRtf(rtf);
    ASSERT_TRUE(runs.has_value());
    EXPECT_TRUE(runs->empty());
}

TEST(RtfWriter, TheColourTableHoldsThePaletteAndAnyOtherColourUsed) {
    const std::string palette =
        "{\\colortbl ;\\red51\\green51\\blue51;\\red102\\green102\\blue102;\\red255\\green0\\blue0;"
        "\\red204\\green0\\blue0;\\red51\\green153\\blue0;\\red255\\green153\\blue0;"
        "\\red0\\green51\\blue153;}";
    EXPECT_NE(WriteLogRtf({}).find(palette), std::string::npos);

    const std::string rtf =
        WriteLogRtf({Span("a", C::LogBlue), Span("b", static_cast<C>(0x102030))});
    EXPECT_NE(rtf.find("\\red0\\green51\\blue153;\\red16\\green32\\blue48;}"), std::string::npos);
    EXPECT_EQ(Body(rtf), "\\cf7 a\\cf8 b");
}

TEST(RtfWriter, FontIsTheViewsFont) {
    const std::string rtf = WriteLogRtf({}, RtfFont{"Deja{Vu};Sans", 9});
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil\\fcharset0 Deja\\{Vu\\} Sans;}}"), std::string::npos);
    EXPECT_NE(rtf.find("\\f0\\fs18 "), std::string::npos);
}

TEST(RtfWriter, WritesOnlyTheFormattingThatChanges) {
    const std::string rtf = WriteLogRtf({
        Span("a", C::LogGrey),
        Span("b", C::LogGrey, false, FontStyle::Bold),
        Span("c", C::LogGrey, true, FontStyle::Underline),
        Span("d", C::LogRed, false, FontStyle::Underline),
        Span("e", C::LogRed, false, FontStyle(FontStyle::Italic) | FontStyle::StrikeOut),
        Span("f", C::LogRed),
    });
    EXPECT_EQ(Body(rtf),
              "\\cf2 a\\b b\\b0\\ul c\\par\r\n\\cf3 d\\i\\ulnone\\strike e\\i0\\strike0 f");
}

TEST(RtfWriter, EscapesSpecialAndNonAsciiCharacters) {
    const auto body = [](const std::string& text) {
        return Body(WriteLogRtf({Span(text, C::LogGrey)})).substr(5);  // past "\cf2 "
    };
    EXPECT_EQ(body("a\\b{c}d"), "a\\\\b\\{c\\}d");
    EXPECT_EQ(body("\t"), "\\tab ");
    EXPECT_EQ(body("\x01\x1F\x7F"), "\\u1?\\u31?\\u127?");
    EXPECT_EQ(body("\r\n"), "\\u13?\\u10?");
    EXPECT_EQ(body("caf\xC3\xA9"), "caf\\u233?");
    EXPECT_EQ(body("\xE2\x82\xAC"), "\\u8364?");
    EXPECT_EQ(body("\xEF\xBF\xBF"), "\\u-1?");
    EXPECT_EQ(body("\xF0\x9F\x98\x80"), "\\u-10179?\\u-8704?");
    // A NUL and bytes that are not UTF-8 become U+FFFD.
    EXPECT_EQ(body(std::string("x\0y", 3)), "x\\u-3?y");
    EXPECT_EQ(body("\xE9\xC3"), "\\u-3?\\u-3?");
}

TEST(RtfWriter, EveryByteValueIsWrittenSafelyAndReadsBack) {
    for (int value = 0; value < 256; ++value) {
        const std::string text(1, static_cast<char>(value));
        const std::string rtf = WriteLogRtf({Span("<" + text + ">", C::LogGreen, true)});
        ASSERT_TRUE(IsPrintableAscii(rtf)) << value;
        const auto runs = ReadLogRtf(rtf);
        ASSERT_TRUE(runs.has_value()) << value;
        const std::string expected = (value == 0 || value >= 0x80) ? "\xEF\xBF\xBD" : text;
        EXPECT_EQ(*runs, (LogRuns{Span("<" + expected + ">", C::LogGreen, true)})) << value;
    }
}

TEST(RtfWriter, EveryCodePointRoundTrips) {
    std::string text;
    for (char32_t c = 1; c < 0x3000; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            AppendUtf8(text, c);
        }
    }
    for (char32_t c : {0xFFFDu, 0xFFFEu, 0xFFFFu, 0x10000u, 0x1F600u, 0x10FFFFu}) {
        AppendUtf8(text, c);
    }
    const LogRuns runs = {Span(text, C::LogOrange, false, FontStyle::Bold)};
    const std::string rtf = WriteLogRtf(runs);
    EXPECT_TRUE(IsPrintableAscii(rtf));
    EXPECT_EQ(ReadLogRtf(rtf), runs);
}

TEST(RtfWriter, ALogRoundTripsExactly) {
    const LogRuns log = {
        Span("", C::LogGrey, true),
        Span("Log loaded from file : ", C::LogGrey, false, FontStyle::Underline),
        Span("/tmp/a.vtl", C::LogGrey, true),
        Span("...", C::LogDarkGrey, true, FontStyle::Bold),
        Span("page.htm : Line 12 : ", C::LogGrey),
        Span("<img", C::LogDarkGrey),
        Span(" : missing alt", C::LogOrange, true),
        Span("", C::LogBlue, true),
        Span("  leading and trailing  ", C::LogDarkRed),
        Span("", C::LogGreen, true, FontStyle::Underline),
        Span("1x", C::LogRed),
    };
    EXPECT_EQ(ReadLogRtf(WriteLogRtf(log)), log);
}

TEST(RtfWriter, ReadingGivesTheCanonicalFormOfWhatWasWritten) {
    const LogRuns written = {
        Span("ab", C::LogGrey),     Span("", C::LogGrey),       Span("c", C::LogGrey),
        Span("", C::LogGrey, true), Span("d", C::LogRed, true),
    };
    EXPECT_EQ(ReadLogRtf(WriteLogRtf(written)),
              (LogRuns{Span("abc", C::LogGrey, true), Span("d", C::LogRed, true)}));
}

}  // namespace
}  // namespace vantaro
