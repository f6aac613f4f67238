#include "log/LogSink.h"

#include <string>

namespace vantaro {

void AddFilePrefix(LogSink& log, std::string_view fileName) {
    std::string prefix(fileName);
    prefix += kFileNameSeparator;
    log.AddLogLine(prefix, LogColour::LogGrey, false, FontStyle::Plain());
}

}  // namespace vantaro
