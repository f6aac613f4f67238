#include "shell/PaneProportions.h"

#include <cmath>
#include <limits>

namespace vantaro {

namespace {

constexpr int kDesignedAreaWidth = 266;
constexpr int kDesignedButtonLeft = 122;
constexpr int kDesignedButtonWidth = 23;
constexpr int kDesignedBoxWidth = 116;
constexpr int kDesignedIgnoredBoxLeft = 150;

// A share of a width, rounded as pane sizes are.
double Share(int total, double percent) {
    return RoundHalfEven(total / 100.0 * percent);
}

// Shares are only ever a little outside the int range when a settings file was edited by hand.
int ToInt(double value) {
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    return value <= kLow    ? std::numeric_limits<int>::min()
           : value >= kHigh ? std::numeric_limits<int>::max()
                            : static_cast<int>(value);
}

}  // namespace

double RoundHalfEven(double value) {
    const double nearest = std::round(value);  // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        return 2.0 * std::round(value / 2.0);
    }
    return nearest;
}

int ProportionalSize(int total, int minSize, int thickness, double percent) {
    const double value = Share(total, percent);
    // A share that is no number (a broken percentage) is treated as the smallest pane.
    if (std::isnan(value) || value < minSize) {
        return minSize;
    }
    if (total - value < minSize) {
        return total - minSize - thickness;
    }
    return ToInt(value);
}

double PercentOf(int size, int total) {
    return total > 0 ? static_cast<double>(size) / total * 100.0 : 0.0;
}

RefsAreaPercents RefsAreaPercents::FromDesign() {
    RefsAreaPercents percents;
    percents.ButtonLeft = PercentOf(kDesignedButtonLeft, kDesignedAreaWidth);
    percents.ButtonWidth = PercentOf(kDesignedButtonWidth, kDesignedAreaWidth);
    percents.BoxWidth = PercentOf(kDesignedBoxWidth, kDesignedAreaWidth);
    percents.IgnoredBoxLeft = PercentOf(kDesignedIgnoredBoxLeft, kDesignedAreaWidth);
    return percents;
}

RefsAreaLayout LayoutRefsArea(int clientWidth, int buttonWidth, const RefsAreaPercents& percents) {
    // Integer division truncates toward zero, also for a narrowing area.
    const int d = (ToInt(Share(clientWidth, percents.ButtonWidth)) - buttonWidth) / 2;
    RefsAreaLayout layout;
    layout.BoxWidth = ToInt(Share(clientWidth, percents.BoxWidth)) + d;
    layout.ButtonLeft = ToInt(Share(clientWidth, percents.ButtonLeft)) + d;
    layout.IgnoredBoxLeft = ToInt(Share(clientWidth, percents.IgnoredBoxLeft)) - d;
    return layout;
}

}  // namespace vantaro
