#include "shell/KeyboardUse.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>

namespace vantaro {

namespace {

class FirstItemOnFocus : public QObject {
  public:
    explicit FirstItemOnFocus(QAbstractItemView& view) : QObject(&view), view_(view) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && !view_.currentIndex().isValid() &&
            view_.model() != nullptr && view_.model()->rowCount(view_.rootIndex()) > 0) {
            view_.selectionModel()->setCurrentIndex(view_.model()->index(0, 0, view_.rootIndex()),
                                                    QItemSelectionModel::NoUpdate);
        }
        return false;
    }

  private:
    QAbstractItemView& view_;
};

}  // namespace

void ShowFocusOnFirstItem(QAbstractItemView& view) {
    view.installEventFilter(new FirstItemOnFocus(view));
}

void OpenMenuBarWithF10(QMainWindow& window) {
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    QObject::connect(f10, &QShortcut::activated, &window, [&window] {
        QMenuBar* bar = window.menuBar();
        if (!bar->actions().isEmpty()) {
            bar->setFocus(Qt::MenuBarFocusReason);
            bar->setActiveAction(bar->actions().first());
        }
    });
}

}  // namespace vantaro
