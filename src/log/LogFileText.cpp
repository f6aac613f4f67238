#include "log/LogFileText.h"

namespace vantaro {

std::string JoinLogFileLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::string joined;
    joined.reserve(bytes.size() + 2);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", pos);
        joined += bytes.substr(pos, end - pos);
        joined += "\r\n";
        if (end == std::string_view::npos) {
            break;
        }
        pos = end +
              ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
    }
    return joined;
}

}  // namespace vantaro
