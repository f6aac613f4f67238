#pragma once

#include <string>
#include <vector>

#include "support/RecordingHost.h"

namespace vantaro::test {

using Segments = std::vector<LogSegment>;

// The head of a finding line: "file : Line n : <kind : reference : ".
Segments FindingHead(const std::string& file, int line, const std::string& prefix,
                     const std::string& reference, bool templateCode = false);
// "file : " followed by one ended message segment.
Segments FileLine(const std::string& file, const std::string& message, LogColour colour,
                  FontStyle style = FontStyle::Plain());
Segments Join(std::initializer_list<Segments> parts);

}  // namespace vantaro::test
