#pragma once

#include <cstdint>
#include <ctime>

namespace vantaro {

std::uint64_t CurrentProcessId();

// Whether no process with that id exists any more (a process that may exist, or whose state
// cannot be told, counts as running).
bool ProcessHasEnded(std::uint64_t id);

// The broken-down local time of a moment.
std::tm LocalTime(std::time_t when);

}  // namespace vantaro
