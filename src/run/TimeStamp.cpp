#include "run/TimeStamp.h"

namespace vantaro {

std::string FormatTimeStamp(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, "%x %H:%M:%S", &local);
    return std::string(text, length);
}

std::string CurrentTimeStamp() {
    return FormatTimeStamp(std::time(nullptr));
}

}  // namespace vantaro
