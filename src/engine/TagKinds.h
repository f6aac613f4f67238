#pragma once

#include <array>
#include <string_view>

namespace vantaro {

// The tag prefixes in the order they are tried; each ends in one blank, so a tag name followed
// by '>', '/', a tab or a line break is of no kind.
enum class TagKind { None = -1, EditableStart = 0, EditableEnd = 1, Img = 2, Area = 3, Input = 4 };

inline constexpr std::string_view TagPrefixes[] = {
    "<!-- InstanceBeginEditable ", "<!-- InstanceEndEditable ", "<img ", "<area ", "<input ",
};

TagKind ClassifyTag(std::string_view tagText);
// Which bytes after '<' can begin a tag of some kind: every other tag is of none.
const std::array<bool, 256>& KindStartBytes();
std::string_view TagPrefix(TagKind kind);

}  // namespace vantaro
