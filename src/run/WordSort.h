#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantaro {

// The order of file names and references in the window's sorted lists: letters compare
// alphabetically first (accented Latin letters beside their base letter), letter case decides
// only between texts that differ in case alone (lower case first), punctuation comes before
// digits and digits before letters, and hyphens and apostrophes are passed over as in a word
// sort. Texts are UTF-8; other bytes compare by value. Equal texts, and only they, compare 0.
int CompareWordSort(std::string_view a, std::string_view b);

// A text's weights, worked out once, for sorting many texts.
class WordSortKey {
  public:
    explicit WordSortKey(std::string_view text);
    friend int Compare(const WordSortKey& a, const WordSortKey& b);

  private:
    struct Weights {
        std::uint32_t primary;    // 0: passed over (hyphen, apostrophe)
        std::uint32_t secondary;  // accent
        std::uint32_t tertiary;   // letter case: 0 lower, 1 upper
    };
    friend Weights WeighCharacter(std::uint32_t c);
    friend std::string WordSortBytes(std::string_view text);
    std::string text_;
    std::vector<Weights> weights_;
};

// The same order as bytes: texts compare by CompareWordSort exactly as their keys compare by
// bytes (memcmp, shorter first). Worked out once per text, it makes sorting many texts cheap.
std::string WordSortBytes(std::string_view text);

inline bool WordSortLess(std::string_view a, std::string_view b) {
    return CompareWordSort(a, b) < 0;
}

}  // namespace vantaro
