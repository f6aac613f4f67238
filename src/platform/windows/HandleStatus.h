#pragma once

#include <windows.h>

#include <optional>

#include "platform/FileStatus.h"

namespace vantaro {

// The status of an open handle (errno set when it cannot be told). reparseIsLink: a reparse
// point opened as itself is a link.
std::optional<FileStatus> StatusOfHandle(HANDLE handle, bool reparseIsLink);

// A Windows file time as seconds and nanoseconds since 1970.
std::int64_t UnixSecondsOf(const FILETIME& time, std::int64_t* nanoseconds = nullptr);

}  // namespace vantaro
