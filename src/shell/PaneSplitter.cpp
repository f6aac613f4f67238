#include "shell/PaneSplitter.h"

#include <algorithm>

#include <QEvent>
#include <QList>
#include <QPainter>
#include <QSplitterHandle>

namespace vantaro {

namespace {

constexpr int kThickness = 3;
constexpr int kGripLength = 24;

// A thin handle is easy to miss: it is drawn as a shaded line with a darker grip in its middle,
// highlighted under the mouse.
class VisibleHandle : public QSplitterHandle {
  public:
    using QSplitterHandle::QSplitterHandle;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const bool hot = underMouse();
        painter.fillRect(rect(), hot ? palette().highlight() : palette().mid());
        QRect grip = rect();
        if (orientation() == Qt::Horizontal) {
            grip.setHeight(std::min(kGripLength, height()));
            grip.moveTop((height() - grip.height()) / 2);
        } else {
            grip.setWidth(std::min(kGripLength, width()));
            grip.moveLeft((width() - grip.width()) / 2);
        }
        painter.fillRect(grip, palette().dark());
    }
    bool event(QEvent* event) override {
        if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
            update();
        }
        return QSplitterHandle::event(event);
    }
};

}  // namespace

QSplitterHandle* TPaneSplitter::createHandle() {
    return new VisibleHandle(orientation(), this);
}

TPaneSplitter::TPaneSplitter(Qt::Orientation orientation, Pane pane, int minSize, QWidget* parent)
    : QSplitter(orientation, parent), pane_(pane), minSize_(minSize) {
    setHandleWidth(kThickness);
    setChildrenCollapsible(false);
    setOpaqueResize(true);  // the panes follow a drag live
}

void TPaneSplitter::SetPanes(QWidget* first, QWidget* second) {
    for (QWidget* each : {first, second}) {
        addWidget(each);
        if (orientation() == Qt::Horizontal) {
            each->setMinimumWidth(minSize_);
        } else {
            each->setMinimumHeight(minSize_);
        }
    }
    // When the splitter grows or shrinks, the other pane takes the difference.
    setStretchFactor(PaneIndex(), 0);
    setStretchFactor(1 - PaneIndex(), 1);
}

int TPaneSplitter::Length() const {
    return orientation() == Qt::Horizontal ? width() : height();
}

int TPaneSplitter::PaneSize() const {
    if (!shown_ || count() < 2) {
        return pendingSize_;
    }
    return sizes().value(PaneIndex());
}

void TPaneSplitter::SetPaneSize(int size) {
    pendingSize_ = size;
    if (shown_) {
        LayOutPane();
    }
}

void TPaneSplitter::LayOutPane() {
    if (count() < 2) {
        return;
    }
    const int rest = Length() - handleWidth() - pendingSize_;
    setSizes(pane_ == Pane::First ? QList<int>{pendingSize_, rest}
                                  : QList<int>{rest, pendingSize_});
}

void TPaneSplitter::showEvent(QShowEvent* event) {
    QSplitter::showEvent(event);
    if (!shown_) {
        shown_ = true;
        LayOutPane();
    }
}

}  // namespace vantaro
