#pragma once

#include <bitset>
#include <cstddef>
#include <string_view>

namespace vantaro {

// The tag prefixes in the order they are tried; each ends in one blank, so a tag name followed
// by '>', '/', a tab or a line break is of no kind.
enum class TagKind { None = -1, EditableStart = 0, EditableEnd = 1, Img = 2, Area = 3, Input = 4 };

inline constexpr std::string_view TagPrefixes[] = {
    "<!-- InstanceBeginEditable ", "<!-- InstanceEndEditable ", "<img ", "<area ", "<input ",
};

TagKind ClassifyTag(std::string_view tagText);

// Pairs of bytes that can follow '<' in a tag someone acts on.
class TagStartPairs {
  public:
    void Add(unsigned char first, unsigned char second) { pairs_[Index(first, second)] = true; }
    bool Has(unsigned char first, unsigned char second) const {
        return pairs_[Index(first, second)];
    }

  private:
    static std::size_t Index(unsigned char first, unsigned char second) {
        return (std::size_t{first} << 8) | second;
    }
    std::bitset<65536> pairs_;
};

// Which two bytes after '<' can begin a tag of some kind: every other tag is of none. Two
// bytes tell a link ("<a ") from an image map's area ("<ar").
const TagStartPairs& KindStartPairs();
std::string_view TagPrefix(TagKind kind);

}  // namespace vantaro
