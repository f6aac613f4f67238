#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/TagKinds.h"

namespace vantaro {

// A stretch of a listed page: lines count from 0, columns are byte offsets into the listed
// (UTF-8) lines, and the stretch ends just before (LastLine, EndColumn).
struct PageSpan {
    std::size_t FirstLine = 0;
    std::size_t FirstColumn = 0;
    std::size_t LastLine = 0;
    std::size_t EndColumn = 0;

    bool operator==(const PageSpan&) const = default;
};

// A page as the page viewer shows it: its lines decoded as the log decodes page text, and the
// tags that a finding on one of them reports.
struct PageListing {
    // Split at line feeds only, as the engine counts lines, so that a finding's line number is
    // the same line here; a CR before a line feed is dropped.
    std::vector<std::string> Lines;
    // The tags of the finding's kind (TagKind::None: img, area or input) whose closing '>' lies
    // on the finding's line, in page order.
    std::vector<PageSpan> Tags;
};

// line counts from 1, as findings count it.
PageListing ListPage(std::string_view bytes, std::uint64_t line, TagKind tag);

}  // namespace vantaro
