#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ByteText.h"
#include "engine/TagKinds.h"

namespace vantaro {

// One language row: the scan is Inside a region of it between its open and close delimiters.
class TTagToIgnore {
  public:
    TTagToIgnore(std::string openTag, std::string closeTag)
        : CloseTag(std::move(closeTag)), OpenTag(std::move(openTag)) {}

    std::string CloseTag;
    bool Inside = false;
    std::string OpenTag;
};

// The language regions to skip (`IgnoreTags`), one entry per language row, tried in row order.
// A region of one row may open inside a region of another row, never inside its own.
class IgnoreTagList {
  public:
    // Rebuilds the rows from the flat description/open/close list, every region closed. An
    // incomplete last row and rows with an empty delimiter (both only possible in a hand-edited
    // settings file) are left out: they could never be matched sensibly.
    void BuildIgnoreTagList(const std::vector<std::string>& languageTags);
    void ClearIgnoreTags();
    // Closes every region without rebuilding the rows; the same effect as a rebuild.
    void CloseAllRegions();

    bool InIgnoredRegion() const { return insideCount_ > 0; }

    // Tries every row at `at` (at most `available` bytes of data there): a row that is inside
    // tries its close delimiter, any other its open delimiter; the first match toggles its row
    // and its length is returned. 0 means no delimiter starts here. Delimiters longer than
    // `maxLength` never match.
    std::size_t CheckIgnoreDelimiter(const unsigned char* at, std::size_t available,
                                     std::size_t maxLength = SIZE_MAX);

    // Whether a delimiter that could match now (the close delimiter of a row that is inside,
    // the open delimiter of any other) begins with byte c, or with the bytes at `at`. Quick
    // tests to spare most calls of CheckIgnoreDelimiter; they change as regions open and close.
    bool MayStartDelimiter(unsigned char c) const { return firstBytes_[c]; }
    // The bytes at `at` are tried up to the third; a third byte is tried against every
    // delimiter with that second byte, whatever its first.
    bool MayStartDelimiterAt(const unsigned char* at, std::size_t available) const {
        if (!firstBytes_[at[0]]) {
            return false;
        }
        if (available < 2) {
            return true;
        }
        if (!HasBit(secondBytes_[at[0]], at[1])) {
            return false;
        }
        return available < 3 || HasBit(thirdBytes_[at[1]], at[2]);
    }
    // The same bytes as a list, each once.
    const std::vector<unsigned char>& FirstByteList() const { return firstByteList_; }
    // Changes whenever the quick tests change.
    unsigned Version() const { return version_; }
    // Changes whenever the rows change (not as regions open and close).
    unsigned RowsVersion() const { return rowsVersion_; }
    // Adds the two bytes after '<' with which an open delimiter can begin (every pair for a
    // delimiter of "<" alone, and every second byte for one of two bytes).
    void AddOpenDelimiterPairsAfterBracket(TagStartPairs& pairs) const;
    // The length of the longest delimiter of any row.
    std::size_t LongestDelimiter() const { return longest_; }

    std::size_t Count() const { return rows_.size(); }
    const TTagToIgnore& Row(std::size_t i) const { return rows_[i].tag; }
    const std::string& Description(std::size_t i) const { return rows_[i].description; }

  private:
    struct Entry {
        std::string description;
        TTagToIgnore tag;
    };

    void RefreshQuickTests();
    void AllowThirdBytes(unsigned char second, std::optional<char> third);
    static bool HasBit(const std::array<std::uint64_t, 4>& bits, unsigned char c) {
        return ((bits[c >> 6] >> (c & 63)) & 1) != 0;
    }

    std::vector<Entry> rows_;
    std::size_t insideCount_ = 0;
    std::size_t longest_ = 0;

    // The first bytes, each case, of the delimiters that could match now; for each of them, the
    // bytes that can follow it in one (every byte after a one-byte delimiter).
    std::array<bool, 256> firstBytes_{};
    std::array<std::array<std::uint64_t, 4>, 256> secondBytes_{};
    std::vector<unsigned char> firstByteList_;
    // For each second byte, the bytes that can follow it (every byte after a delimiter of two
    // bytes or fewer); a link's "<a" or a "<span" is told from "<script" by them.
    std::array<std::array<std::uint64_t, 4>, 256> thirdBytes_{};
    std::vector<unsigned char> secondByteList_;
    unsigned version_ = 0;
    unsigned rowsVersion_ = 0;
};

// True when the `length` bytes at `at` equal the delimiter with ASCII letters folded.
bool MatchDelimiterAt(std::string_view delimiter, const unsigned char* at, std::size_t available);

}  // namespace vantaro
