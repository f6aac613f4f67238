#include "run/ReferenceList.h"

#include <algorithm>
#include <numeric>

#include "engine/ByteText.h"
#include "run/WordSort.h"

namespace vantaro {

namespace {

// The texts' places in word-sort order, equal texts in their given order.
std::vector<std::size_t> SortedOrder(const std::vector<std::string>& texts) {
    std::vector<std::string> keys;
    keys.reserve(texts.size());
    for (const std::string& text : texts) {
        keys.push_back(WordSortBytes(text));
    }
    std::vector<std::size_t> order(texts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

}  // namespace

std::string FoldForLookup(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        c = static_cast<char>(FoldAscii(static_cast<unsigned char>(c)));
    }
    return folded;
}

void ReferenceList::Add(std::string_view reference) {
    queued_.emplace_back(reference);
    ++folded_[FoldForLookup(reference)];
}

std::size_t ReferenceList::Insert(std::string_view reference) {
    TakeQueued();
    const std::string key = WordSortBytes(reference);
    const auto place = std::upper_bound(
        items_.begin(), items_.end(), key,
        [](const std::string& k, const std::string& b) { return k < WordSortBytes(b); });
    const auto index = static_cast<std::size_t>(place - items_.begin());
    items_.insert(place, std::string(reference));
    ++folded_[FoldForLookup(reference)];
    return index;
}

std::vector<std::size_t> ReferenceList::TakeQueued() {
    if (queued_.empty()) {
        return {};
    }
    std::vector<std::string> queued;
    queued.swap(queued_);
    const std::vector<std::size_t> order = SortedOrder(queued);

    // Where each queued reference goes among the listed ones (after those sorting equal): a
    // binary search each when few are queued, one merge by keys when many are.
    std::vector<std::size_t> before(queued.size());  // listed entries before each, sorted order
    const bool mergeByKeys = queued.size() * 16 > items_.size();
    if (mergeByKeys) {
        std::size_t listed = 0;
        std::string listedKey = listed < items_.size() ? WordSortBytes(items_[listed]) : "";
        for (std::size_t i = 0; i < order.size(); ++i) {
            const std::string key = WordSortBytes(queued[order[i]]);
            while (listed < items_.size() && !(key < listedKey)) {
                ++listed;
                listedKey = listed < items_.size() ? WordSortBytes(items_[listed]) : "";
            }
            before[i] = listed;
        }
    } else {
        for (std::size_t i = 0; i < order.size(); ++i) {
            const std::string key = WordSortBytes(queued[order[i]]);
            const auto place = std::upper_bound(
                items_.begin(), items_.end(), key,
                [](const std::string& k, const std::string& b) { return k < WordSortBytes(b); });
            before[i] = static_cast<std::size_t>(place - items_.begin());
        }
    }

    std::vector<std::string> merged;
    merged.reserve(items_.size() + queued.size());
    std::vector<std::size_t> places;
    places.reserve(queued.size());
    std::size_t listed = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        while (listed < before[i]) {
            merged.push_back(std::move(items_[listed++]));
        }
        places.push_back(merged.size());
        merged.push_back(std::move(queued[order[i]]));
    }
    while (listed < items_.size()) {
        merged.push_back(std::move(items_[listed++]));
    }
    items_.swap(merged);
    return places;
}

const std::vector<std::string>& ReferenceList::Items() {
    TakeQueued();
    return items_;
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
    queued_.clear();
    folded_.clear();
}

void ReferenceList::Assign(const std::vector<std::string>& references) {
    Clear();
    queued_ = references;
    for (const std::string& item : queued_) {
        ++folded_[FoldForLookup(item)];
    }
    TakeQueued();
}

bool ReferenceList::Contains(std::string_view reference) const {
    return folded_.count(FoldForLookup(reference)) > 0;
}

}  // namespace vantaro
