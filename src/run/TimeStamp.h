#pragma once

#include <ctime>
#include <string>

namespace vantaro {

// The run's time stamp: the locale's short date, a blank, and 24-hour hours, minutes and
// seconds, e.g. "08/12/2025 14:05:09" where the short date is day/month/year.
std::string FormatTimeStamp(std::time_t when);
std::string CurrentTimeStamp();

}  // namespace vantaro
