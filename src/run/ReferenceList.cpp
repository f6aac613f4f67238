#include "run/ReferenceList.h"

#include <algorithm>

#include "engine/ByteText.h"
#include "run/WordSort.h"

namespace vantaro {

std::string FoldForLookup(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
    }
    return folded;
}

std::size_t ReferenceList::Add(std::string_view reference) {
    const auto place = std::upper_bound(
        items_.begin(), items_.end(), reference,
        [](std::string_view a, const std::string& b) { return WordSortLess(a, b); });
    const auto index = static_cast<std::size_t>(place - items_.begin());
    items_.insert(place, std::string(reference));
    ++folded_[FoldForLookup(reference)];
    return index;
}

void ReferenceList::RemoveAt(std::size_t index) {
    const auto found = folded_.find(FoldForLookup(items_[index]));
    if (found != folded_.end() && --found->second == 0) {
        folded_.erase(found);
    }
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

void ReferenceList::Clear() {
    items_.clear();
    folded_.clear();
}

void ReferenceList::Assign(const std::vector<std::string>& references) {
    Clear();
    items_ = references;
    std::stable_sort(items_.begin(), items_.end(),
                     [](const std::string& a, const std::string& b) { return WordSortLess(a, b); });
    for (const std::string& item : items_) {
        ++folded_[FoldForLookup(item)];
    }
}

bool ReferenceList::Contains(std::string_view reference) const {
    return folded_.count(FoldForLookup(reference)) > 0;
}

}  // namespace vantaro
