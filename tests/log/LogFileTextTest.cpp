#include <gtest/gtest.h>

#include <string>

#include "log/LogFileText.h"

namespace vantaro {
namespace {

TEST(LogFileText, EveryLineEndsWithCrLfWhateverBreakTheFileUsed) {
    EXPECT_EQ(JoinLogFileLines(""), "");
    EXPECT_EQ(JoinLogFileLines("one"), "one\r\n");
    EXPECT_EQ(JoinLogFileLines("one\r\n"), "one\r\n");
    EXPECT_EQ(JoinLogFileLines("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(JoinLogFileLines("a\n\nb\r\r"), "a\r\n\r\nb\r\n\r\n");
    EXPECT_EQ(JoinLogFileLines("\n\r\n"), "\r\n\r\n");
    EXPECT_EQ(JoinLogFileLines("a\n\rb"), "a\r\n\r\nb\r\n");  // LF CR is two breaks
}

TEST(LogFileText, ReadingStopsAtNulAndKeepsEveryOtherByte) {
    EXPECT_EQ(JoinLogFileLines(std::string("a\nb\0c\nd", 7)), "a\r\nb\r\n");
    EXPECT_EQ(JoinLogFileLines(std::string("\0a", 2)), "");
    EXPECT_EQ(JoinLogFileLines("caf\xE9\t\x01\xFF"), "caf\xE9\t\x01\xFF\r\n");
}

}  // namespace
}  // namespace vantaro
