#pragma once

#include <string>
#include <string_view>

namespace vantaro {

// A log file's text as it is appended to the log when it is not one of our RTF log files: read
// up to the first NUL, split into lines at CR LF, CR or LF, and joined again with CR LF after
// every line, the last one included. A final line break ends the last line rather than starting
// an empty one. The bytes are otherwise taken as they are.
std::string JoinLogFileLines(std::string_view bytes);

}  // namespace vantaro
