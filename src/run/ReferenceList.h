#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantaro {

// A list of image references kept in word-sort order, answering letter-case-blind look-ups
// quickly. Equal texts may occur more than once (a move between lists does not look).
class ReferenceList {
  public:
    // Inserts in sorted place (after entries that sort equal) and returns the position.
    std::size_t Add(std::string_view reference);
    void RemoveAt(std::size_t index);
    void Clear();
    // Replaces the content; the list sorts it.
    void Assign(const std::vector<std::string>& references);

    bool Contains(std::string_view reference) const;
    const std::vector<std::string>& Items() const { return items_; }
    std::size_t Size() const { return items_.size(); }
    const std::string& operator[](std::size_t index) const { return items_[index]; }

  private:
    std::vector<std::string> items_;
    std::unordered_map<std::string, std::size_t> folded_;  // folded text -> occurrences
};

// The text with ASCII letters folded to upper case: the key of letter-case-blind look-ups.
std::string FoldForLookup(std::string_view text);

}  // namespace vantaro
