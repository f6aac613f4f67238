#pragma once

namespace vantaro {

// Rounds to the nearest integer, an exact half to the even neighbour.
double RoundHalfEven(double value);

// The size of a pane from its share of the work area, clamped for the splitter beside it: never
// below minSize, and unless the share itself is below it, the pane on the other side of the
// splitter keeps minSize too. The share is taken as total / 100 * percent, the division first.
int ProportionalSize(int total, int minSize, int thickness, double percent);

// size as a percentage of total; 0 when total is not positive.
double PercentOf(int size, int total);

// The reference area beside the log: two group boxes with the > and < buttons between them,
// each placed by its share of the area's width.
struct RefsAreaPercents {
    double ButtonLeft = 0;
    double ButtonWidth = 0;
    double BoxWidth = 0;
    double IgnoredBoxLeft = 0;

    // The shares of the designed layout: area 266 wide, buttons at 122 and 23 wide, boxes 116
    // wide, the ignored box at 150.
    static RefsAreaPercents FromDesign();
};

struct RefsAreaLayout {
    int BoxWidth = 0;  // of both boxes
    int ButtonLeft = 0;
    int IgnoredBoxLeft = 0;
};

// The buttons keep their width: half of what they would gain goes to each box.
RefsAreaLayout LayoutRefsArea(int clientWidth, int buttonWidth, const RefsAreaPercents& percents);

}  // namespace vantaro
