#include "log/LogPalette.h"

namespace vantaro {

std::string_view LogColourName(LogColour colour) {
    switch (colour) {
        case LogColour::LogDarkGrey:
            return "LogDarkGrey";
        case LogColour::LogGrey:
            return "LogGrey";
        case LogColour::LogRed:
            return "LogRed";
        case LogColour::LogDarkRed:
            return "LogDarkRed";
        case LogColour::LogGreen:
            return "LogGreen";
        case LogColour::LogOrange:
            return "LogOrange";
        case LogColour::LogBlue:
            return "LogBlue";
    }
    return "LogColour?";
}

LogColour NearestLogColour(std::uint32_t rgb) {
    const auto channel = [](std::uint32_t value, int shift) {
        return static_cast<int>((value >> shift) & 0xFF);
    };
    const auto distance = [&](LogColour colour) {
        int sum = 0;
        for (int shift : {16, 8, 0}) {
            const int difference = channel(rgb, shift) - channel(ToRgb(colour), shift);
            sum += difference * difference;
        }
        return sum;
    };
    LogColour nearest = kLogPalette[0];
    for (LogColour colour : kLogPalette) {
        if (distance(colour) < distance(nearest)) {
            nearest = colour;
        }
    }
    return nearest;
}

}  // namespace vantaro
