#include "run/TimeStamp.h"

#include "platform/Process.h"

namespace vantaro {

std::string FormatTimeStamp(std::time_t when) {
    const std::tm local = LocalTime(when);
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, "%x %H:%M:%S", &local);
    return std::string(text, length);
}

std::string CurrentTimeStamp() {
    return FormatTimeStamp(std::time(nullptr));
}

}  // namespace vantaro
