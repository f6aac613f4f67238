#include <gtest/gtest.h>

#include "log/LogRun.h"
#include "support/LogRunPrinting.h"

namespace vantaro {
namespace {

using C = LogColour;

TEST(LogRun, AppendingJoinsOnlyWhatLooksTheSame) {
    LogRuns runs;
    AppendRun(runs, "", C::LogGrey, FontStyle::Plain(), false);
    EXPECT_TRUE(runs.empty());
    AppendRun(runs, "a", C::LogGrey, FontStyle::Plain(), false);
    AppendRun(runs, "b", C::LogGrey, FontStyle::Plain(), false);
    AppendRun(runs, "", C::LogGrey, FontStyle::Plain(), true);
    AppendRun(runs, "c", C::LogGrey, FontStyle::Plain(), false);
    AppendRun(runs, "d", C::LogGrey, FontStyle::Bold, false);
    AppendRun(runs, "", C::LogRed, FontStyle::Bold, true);
    AppendRun(runs, "", C::LogRed, FontStyle::Bold, true);
    EXPECT_EQ(runs, (LogRuns{
                        {"ab", C::LogGrey, FontStyle::Plain(), true},
                        {"c", C::LogGrey, FontStyle::Plain(), false},
                        {"d", C::LogGrey, FontStyle::Bold, false},
                        {"", C::LogRed, FontStyle::Bold, true},
                        {"", C::LogRed, FontStyle::Bold, true},
                    }));
    EXPECT_EQ(PlainTextOf(runs), "ab\r\ncd\r\n\r\n");
}

TEST(LogPalette, NearestColourKeepsPaletteColoursAndSnapsOthers) {
    for (LogColour colour : kLogPalette) {
        EXPECT_EQ(NearestLogColour(ToRgb(colour)), colour);
    }
    EXPECT_EQ(NearestLogColour(0x000000), C::LogDarkGrey);
    EXPECT_EQ(NearestLogColour(0xFFFFFF), C::LogGrey);
    EXPECT_EQ(NearestLogColour(0xF00A0A), C::LogRed);
    EXPECT_EQ(NearestLogColour(0xB00000), C::LogDarkRed);
    EXPECT_EQ(NearestLogColour(0x00FF00), C::LogGreen);
    EXPECT_EQ(NearestLogColour(0xFFCC00), C::LogOrange);
    EXPECT_EQ(NearestLogColour(0x0000FF), C::LogBlue);
}

}  // namespace
}  // namespace vantaro
