#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/IgnoredRegions.h"

namespace vantaro {

// A tag's text with every byte between a pair of double quotes, and every byte of a language
// region (delimiters included), replaced by '?', and ASCII letters folded to upper case. Only
// what the mask leaves can be an attribute name. Masking walks the tag with every region closed at
// its start and leaves the regions as the walk ends (a tag is only read when no region is open, so
// that is normally all closed).
class TagMask {
  public:
    TagMask(std::string_view tagText, IgnoreTagList& regions) : TagMask(tagText, regions, own_) {}
    // Keeps the mask in storage, which a caller masking tag after tag reuses.
    TagMask(std::string_view tagText, IgnoreTagList& regions, std::string& storage);

    std::string_view Text() const { return text_; }
    std::string_view Masked() const { return masked_; }

  private:
    std::string own_;
    std::string_view text_;
    std::string_view masked_;
};

// Reads the values of every place where `name` occurs (letter case aside) outside quotes and
// regions: each value is the next double-quoted string after the name, wherever it stands.
// Returns the 1-based position of the first place in the tag, or -1. With fileNames each value
// is cut down to the text after its last '/', '\' or ':'; without keepQuotes the enclosing
// double quotes are dropped.
std::int64_t GetAttributeValues(const TagMask& tag, std::string_view name, std::string& joined,
                                bool fileNames, std::vector<std::string>& list, bool keepQuotes);

// The items in order, with " : " before every item that follows non-empty text.
std::string JoinValues(const std::vector<std::string>& list);

}  // namespace vantaro
