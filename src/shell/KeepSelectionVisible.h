#pragma once

#include <QAbstractItemView>
#include <QPalette>

namespace vantaro {

// The selection of a view is what the next command works on, so it keeps its full colour when
// the focus moves elsewhere.
inline void KeepSelectionVisible(QAbstractItemView& view) {
    QPalette palette = view.palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    view.setPalette(palette);
}

}  // namespace vantaro
