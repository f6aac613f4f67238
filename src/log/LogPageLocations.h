#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/EngineEvents.h"
#include "engine/TagKinds.h"

namespace vantaro {

// The place in a page that a line of the log reports on.
struct PageLocation {
    std::string FullPath;  // as the file system spells it
    std::uint64_t Line = 0;
    TagKind Tag = TagKind::None;

    bool operator==(const PageLocation&) const = default;
};

PageLocation LocationOf(const Finding& finding);

// Finds the pages again in a log read back from a file, where only the text is left: a finding's
// line names the page's file name and line, and the "Path : " line of its run's heading names
// the folder. Fed the log's lines in order, it answers for each line the place it reports on,
// and nothing where the text cannot be read back one way only.
class LogPageLocationReader {
  public:
    std::optional<PageLocation> Next(std::string_view line);

  private:
    std::optional<std::string> folder_;  // of the run the lines belong to
    bool afterRunStarted_ = false;       // the previous line was "Process started ..."
};

}  // namespace vantaro
