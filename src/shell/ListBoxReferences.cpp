#include "shell/ListBoxReferences.h"

#include <QListWidget>

#include "engine/ByteText.h"
#include "log/DisplayText.h"
#include "run/WordSort.h"

namespace vantaro {

namespace {

constexpr int kReferenceRole = Qt::UserRole;

std::string_view BytesOf(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QByteArray BytesOfItem(const QListWidgetItem& item) {
    return item.data(kReferenceRole).toByteArray();
}

// After the items that sort before or equal to the reference.
int SortedPosition(const QListWidget& list, std::string_view reference) {
    int low = 0;
    int high = list.count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (CompareWordSort(BytesOf(BytesOfItem(*list.item(middle))), reference) <= 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

}  // namespace

void AddReferenceItem(QListWidget& list, std::string_view reference) {
    const QString shown = DisplayText(reference);
    auto* item = new QListWidgetItem(shown);
    item->setData(kReferenceRole,
                  QByteArray(reference.data(), static_cast<qsizetype>(reference.size())));
    item->setToolTip(shown);  // the list is narrow; the tooltip shows the whole reference
    list.insertItem(SortedPosition(list, reference), item);
}

void SetReferenceItems(QListWidget& list, const std::vector<std::string>& references) {
    list.clear();
    for (const std::string& reference : references) {
        AddReferenceItem(list, reference);
    }
}

std::string ReferenceOf(const QListWidgetItem& item) {
    return std::string(BytesOf(BytesOfItem(item)));
}

std::vector<std::string> ReferenceItems(const QListWidget& list) {
    std::vector<std::string> references;
    references.reserve(static_cast<std::size_t>(list.count()));
    for (int row = 0; row < list.count(); ++row) {
        references.push_back(ReferenceOf(*list.item(row)));
    }
    return references;
}

bool HasReferenceItem(const QListWidget& list, std::string_view reference) {
    for (int row = 0; row < list.count(); ++row) {
        if (EqualsIgnoreAsciiCase(BytesOf(BytesOfItem(*list.item(row))), reference)) {
            return true;
        }
    }
    return false;
}

}  // namespace vantaro
