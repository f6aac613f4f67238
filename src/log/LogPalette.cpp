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

}  // namespace vantaro
