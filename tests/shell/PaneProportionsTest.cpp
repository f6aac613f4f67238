#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "shell/PaneProportions.h"

namespace vantaro {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(1.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
    EXPECT_EQ(RoundHalfEven(2.4999), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5001), 3.0);
}

TEST(ProportionalSize, RoundsTheShareHalfToEven) {
    EXPECT_EQ(ProportionalSize(200, 10, 3, 25.25), 50);  // 50.5
    EXPECT_EQ(ProportionalSize(200, 10, 3, 25.75), 52);  // 51.5
    EXPECT_EQ(ProportionalSize(200, 10, 3, 26.25), 52);  // 52.5
    EXPECT_EQ(ProportionalSize(672, 128, 3, 177.0 / 672 * 100), 177);
}

TEST(ProportionalSize, DividesBeforeMultiplying) {
    // 140 / 100 * 22.5 is a hair below 31.5; 140 * 22.5 / 100 would be 31.5 exactly.
    EXPECT_EQ(ProportionalSize(140, 10, 3, 22.5), 31);
    // 220 / 100 * 87.5 is a hair above 192.5.
    EXPECT_EQ(ProportionalSize(220, 10, 3, 87.5), 193);
}

TEST(ProportionalSize, NeverBelowTheMinimumEvenWhenTheOtherSideIsThenTooSmall) {
    EXPECT_EQ(ProportionalSize(1000, 128, 3, 5.0), 128);
    EXPECT_EQ(ProportionalSize(1000, 128, 3, -20.0), 128);
    // 12.7 % of 1000 is 127: the minimum wins.
    EXPECT_EQ(ProportionalSize(1000, 128, 3, 12.7), 128);
    // The area is too small for both sides; the first test decides.
    EXPECT_EQ(ProportionalSize(200, 128, 3, 10.0), 128);
}

TEST(ProportionalSize, LeavesTheOtherSideItsMinimum) {
    EXPECT_EQ(ProportionalSize(1000, 128, 3, 90.0), 1000 - 128 - 3);
    EXPECT_EQ(ProportionalSize(1000, 266, 3, 80.0), 1000 - 266 - 3);
    EXPECT_EQ(ProportionalSize(600, 96, 3, 100.0), 600 - 96 - 3);
    // Exactly the minimum left over is enough.
    EXPECT_EQ(ProportionalSize(1000, 128, 3, 87.2), 872);
    EXPECT_EQ(ProportionalSize(1000, 128, 3, 87.3), 1000 - 128 - 3);
}

TEST(ProportionalSize, BrokenPercentagesGiveSafeSizes) {
    EXPECT_EQ(ProportionalSize(1000, 128, 3, std::numeric_limits<double>::quiet_NaN()), 128);
    EXPECT_EQ(ProportionalSize(1000, 128, 3, std::numeric_limits<double>::infinity()), 869);
    EXPECT_EQ(ProportionalSize(1000, 128, 3, -std::numeric_limits<double>::infinity()), 128);
    EXPECT_EQ(ProportionalSize(1000, 128, 3, 1e300), 869);
}

TEST(PercentOf, IsAShareOfAPositiveTotal) {
    EXPECT_DOUBLE_EQ(PercentOf(336, 672), 50.0);
    EXPECT_DOUBLE_EQ(PercentOf(122, 232), 122.0 / 232 * 100);
    EXPECT_EQ(PercentOf(10, 0), 0.0);
}

TEST(RefsArea, DesignedSharesOfTheReferenceArea) {
    const RefsAreaPercents percents = RefsAreaPercents::FromDesign();
    EXPECT_NEAR(percents.ButtonLeft, 45.86, 0.005);
    EXPECT_NEAR(percents.ButtonWidth, 8.65, 0.005);
    EXPECT_NEAR(percents.BoxWidth, 43.61, 0.005);
    EXPECT_NEAR(percents.IgnoredBoxLeft, 56.39, 0.005);
}

TEST(RefsArea, AtTheDesignedWidthTheLayoutIsTheDesignedOne) {
    const RefsAreaLayout layout = LayoutRefsArea(266, 23, RefsAreaPercents::FromDesign());
    EXPECT_EQ(layout.BoxWidth, 116);
    EXPECT_EQ(layout.ButtonLeft, 122);
    EXPECT_EQ(layout.IgnoredBoxLeft, 150);
}

TEST(RefsArea, TheButtonsKeepTheirWidthAndTheBoxesShareWhatTheyWouldGain) {
    const RefsAreaPercents percents = RefsAreaPercents::FromDesign();
    // At 400 the buttons would be 35 wide: d = 6.
    RefsAreaLayout layout = LayoutRefsArea(400, 23, percents);
    EXPECT_EQ(layout.BoxWidth, 180);
    EXPECT_EQ(layout.ButtonLeft, 189);
    EXPECT_EQ(layout.IgnoredBoxLeft, 220);
    // Narrower than designed, d is negative and truncated toward zero: at 180 the buttons
    // would be 16 wide, d = (16 - 23) / 2 = -3.
    layout = LayoutRefsArea(180, 23, percents);
    EXPECT_EQ(layout.BoxWidth, 78 - 3);
    EXPECT_EQ(layout.ButtonLeft, 83 - 3);
    EXPECT_EQ(layout.IgnoredBoxLeft, 102 + 3);
}

}  // namespace
}  // namespace vantaro
