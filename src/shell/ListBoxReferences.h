#pragma once

#include <string>
#include <string_view>
#include <vector>

class QListWidget;
class QListWidgetItem;

namespace vantaro {

// The items of the two reference list boxes. Each item keeps the reference's bytes, as read
// from a page or from the settings, beside the text it shows, so look-ups and saving never
// depend on how the bytes decode. Items are kept in word-sort order.

void AddReferenceItem(QListWidget& list, std::string_view reference);
void SetReferenceItems(QListWidget& list, const std::vector<std::string>& references);
std::string ReferenceOf(const QListWidgetItem& item);
// In list order.
std::vector<std::string> ReferenceItems(const QListWidget& list);
// Whether an item holds the reference, letter case aside (ASCII letters only).
bool HasReferenceItem(const QListWidget& list, std::string_view reference);

}  // namespace vantaro
