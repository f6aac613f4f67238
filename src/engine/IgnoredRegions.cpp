#include "engine/IgnoredRegions.h"

#include <algorithm>
#include <optional>

#include "engine/ByteText.h"

namespace vantaro {

namespace {

// Both letter cases of a byte (once when it is no letter).
std::array<unsigned char, 2> BothCases(char c) {
    const unsigned char upper = FoldAscii(static_cast<unsigned char>(c));
    const unsigned char lower =
        upper >= 'A' && upper <= 'Z' ? static_cast<unsigned char>(upper - 'A' + 'a') : upper;
    return {upper, lower};
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
        longest_ = std::max({longest_, openTag.size(), closeTag.size()});
    }
    ++rowsVersion_;
    RefreshQuickTests();
}

void IgnoreTagList::AddOpenDelimiterPairsAfterBracket(TagStartPairs& pairs) const {
    for (const Entry& row : rows_) {
        const std::string& open = row.tag.OpenTag;
        if (open[0] != '<') {
            continue;
        }
        for (unsigned first = 0; first < 256; ++first) {
            const auto byte = static_cast<unsigned char>(first);
            if (open.size() > 1 &&
                FoldAscii(byte) != FoldAscii(static_cast<unsigned char>(open[1]))) {
                continue;
            }
            for (unsigned second = 0; second < 256; ++second) {
                const auto next = static_cast<unsigned char>(second);
                if (open.size() <= 2 ||
                    FoldAscii(next) == FoldAscii(static_cast<unsigned char>(open[2]))) {
                    pairs.Add(byte, next);
                }
            }
        }
    }
}

void IgnoreTagList::RefreshQuickTests() {
    for (unsigned char first : firstByteList_) {
        firstBytes_[first] = false;
        secondBytes_[first] = {};
    }
    firstByteList_.clear();
    for (unsigned char second : secondByteList_) {
        thirdBytes_[second] = {};
    }
    secondByteList_.clear();
    for (const Entry& row : rows_) {
        const std::string& delimiter = row.tag.Inside ? row.tag.CloseTag : row.tag.OpenTag;
        for (unsigned char first : BothCases(delimiter[0])) {
            if (!firstBytes_[first]) {
                firstBytes_[first] = true;
                firstByteList_.push_back(first);
            }
            std::array<std::uint64_t, 4>& seconds = secondBytes_[first];
            if (delimiter.size() == 1) {
                seconds.fill(~std::uint64_t{0});
                for (unsigned second = 0; second < 256; ++second) {
                    AllowThirdBytes(static_cast<unsigned char>(second), std::nullopt);
                }
                continue;
            }
            for (unsigned char second : BothCases(delimiter[1])) {
                seconds[second >> 6] |= std::uint64_t{1} << (second & 63);
                AllowThirdBytes(second, delimiter.size() == 2 ? std::nullopt
                                                              : std::optional<char>(delimiter[2]));
            }
        }
    }
    ++version_;
}

// Lets the third byte (each case), or any byte when there is none, follow the second.
void IgnoreTagList::AllowThirdBytes(unsigned char second, std::optional<char> third) {
    std::array<std::uint64_t, 4>& thirds = thirdBytes_[second];
    if (thirds == std::array<std::uint64_t, 4>{}) {
        secondByteList_.push_back(second);
    }
    if (!third) {
        thirds.fill(~std::uint64_t{0});
        return;
    }
    for (unsigned char c : BothCases(*third)) {
        thirds[c >> 6] |= std::uint64_t{1} << (c & 63);
    }
}

void IgnoreTagList::ClearIgnoreTags() {
    rows_.clear();
    ++rowsVersion_;
    insideCount_ = 0;
    longest_ = 0;
    RefreshQuickTests();
}

void IgnoreTagList::CloseAllRegions() {
    if (insideCount_ == 0) {
        return;
    }
    for (Entry& row : rows_) {
        row.tag.Inside = false;
    }
    insideCount_ = 0;
    RefreshQuickTests();
}

std::size_t IgnoreTagList::CheckIgnoreDelimiter(const unsigned char* at, std::size_t available,
                                                std::size_t maxLength) {
    for (Entry& row : rows_) {
        TTagToIgnore& tag = row.tag;
        const std::string& delimiter = tag.Inside ? tag.CloseTag : tag.OpenTag;
        if (delimiter.size() > maxLength || !MatchDelimiterAt(delimiter, at, available)) {
            continue;
        }
        const std::size_t length = delimiter.size();
        tag.Inside = !tag.Inside;
        insideCount_ += tag.Inside ? 1 : static_cast<std::size_t>(-1);
        RefreshQuickTests();
        return length;
    }
    return 0;
}

}  // namespace vantaro
