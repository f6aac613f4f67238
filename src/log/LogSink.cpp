#include "log/LogSink.h"

#include <string>

namespace vantaro {

void AddFilePrefix(LogSink& log, std::string_view fileName) {
    std::string prefix(fileName);
    prefix += " : ";
    log.AddLogLine(prefix, LogColour::LogGrey, false, FontStyle::Plain());
}

}  // namespace vantaro
