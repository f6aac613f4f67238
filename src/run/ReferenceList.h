#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantaro {

// A list of image references kept in word-sort order, answering letter-case-blind look-ups
// quickly. Equal texts may occur more than once (a move between lists does not look).
//
// A run adds up to hundreds of thousands of references, so Add only queues them: the queue is
// sorted once and merged in when the list is next read, each text weighed for the sort once.
class ReferenceList {
  public:
    // Queues a reference; it takes its sorted place (after entries that sort equal, and after
    // those queued before it) when the list is next read.
    void Add(std::string_view reference);
    // Puts one reference in its sorted place at once and returns that place.
    std::size_t Insert(std::string_view reference);
    // Removes a listed (not queued) reference.
    void RemoveAt(std::size_t index);
    void Clear();
    // Replaces the content; the list sorts it.
    void Assign(const std::vector<std::string>& references);

    // Sorts the queue into the list; returns, in ascending order, the places the queued
    // references took.
    std::vector<std::size_t> TakeQueued();
    bool HasQueued() const { return !queued_.empty(); }

    bool Contains(std::string_view reference) const;
    const std::vector<std::string>& Items();
    // The listed references, without those still queued.
    const std::vector<std::string>& Listed() const { return items_; }
    std::size_t Size() const { return items_.size() + queued_.size(); }
    const std::string& operator[](std::size_t index) { return Items()[index]; }

  private:
    std::vector<std::string> items_;
    std::vector<std::string> queued_;
    std::unordered_map<std::string, std::size_t> folded_;  // folded text -> occurrences
};

// The text with ASCII letters folded to upper case: the key of letter-case-blind look-ups.
std::string FoldForLookup(std::string_view text);

}  // namespace vantaro
