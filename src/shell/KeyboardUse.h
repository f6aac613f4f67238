#pragma once

#include <QObject>

class QAbstractItemView;
class QMainWindow;

namespace vantaro {

// An item view that takes the focus with no current item shows no focus at all: its first item
// becomes the current one (the selection stays as it was), so the focus rectangle shows where
// the keyboard is.
void ShowFocusOnFirstItem(QAbstractItemView& view);

// F10 opens the menu bar's first menu, as desktops expect.
void OpenMenuBarWithF10(QMainWindow& window);

}  // namespace vantaro
