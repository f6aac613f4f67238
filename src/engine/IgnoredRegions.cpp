#include "engine/IgnoredRegions.h"

#include <algorithm>

#include "engine/ByteText.h"

namespace vantaro {

namespace {

void MarkFirstByte(std::array<bool, 256>& table, const std::string& delimiter) {
    const auto first = static_cast<unsigned char>(delimiter.front());
    table[first] = true;
    table[FoldAscii(first)] = true;
    if (first >= 'A' && first <= 'Z') {
        table[first - 'A' + 'a'] = true;
    }
}

}  // namespace

bool MatchDelimiterAt(std::string_view delimiter, const unsigned char* at, std::size_t available) {
    if (delimiter.size() > available) {
        return false;
    }
    for (std::size_t i = 0; i < delimiter.size(); ++i) {
        if (FoldAscii(at[i]) != FoldAscii(static_cast<unsigned char>(delimiter[i]))) {
            return false;
        }
    }
    return true;
}

void IgnoreTagList::BuildIgnoreTagList(const std::vector<std::string>& languageTags) {
    ClearIgnoreTags();
    for (std::size_t i = 0; i + 2 < languageTags.size(); i += 3) {
        const std::string& openTag = languageTags[i + 1];
        const std::string& closeTag = languageTags[i + 2];
        if (openTag.empty() || closeTag.empty()) {
            continue;
        }
        rows_.push_back(Entry{languageTags[i], TTagToIgnore(openTag, closeTag)});
        MarkFirstByte(startsDelimiter_, openTag);
        MarkFirstByte(startsDelimiter_, closeTag);
        longest_ = std::max({longest_, openTag.size(), closeTag.size()});
    }
}

void IgnoreTagList::ClearIgnoreTags() {
    rows_.clear();
    insideCount_ = 0;
    longest_ = 0;
    startsDelimiter_.fill(false);
}

void IgnoreTagList::CloseAllRegions() {
    for (Entry& row : rows_) {
        row.tag.Inside = false;
    }
    insideCount_ = 0;
}

std::size_t IgnoreTagList::CheckIgnoreDelimiter(const unsigned char* at, std::size_t available,
                                                std::size_t maxLength) {
    for (Entry& row : rows_) {
        TTagToIgnore& tag = row.tag;
        const std::string& delimiter = tag.Inside ? tag.CloseTag : tag.OpenTag;
        if (delimiter.size() > maxLength || !MatchDelimiterAt(delimiter, at, available)) {
            continue;
        }
        tag.Inside = !tag.Inside;
        insideCount_ += tag.Inside ? 1 : static_cast<std::size_t>(-1);
        return delimiter.size();
    }
    return 0;
}

}  // namespace vantaro
