#include "shell/BusyInputFilter.h"

#include <QAbstractScrollArea>
#include <QContextMenuEvent>
#include <QMouseEvent>

namespace vantaro {

void TBusyInputFilter::Install(const QList<QWidget*>& controls) {
    for (QWidget* control : controls) {
        Watch(control);
        if (auto* view = qobject_cast<QAbstractScrollArea*>(control)) {
            Watch(view->viewport());
        }
    }
}

void TBusyInputFilter::Watch(QObject* object) {
    if (object == nullptr) {
        return;
    }
    object->installEventFilter(this);
    watched_.append(object);
}

void TBusyInputFilter::Remove() {
    for (const QPointer<QObject>& object : std::as_const(watched_)) {
        if (object) {
            object->removeEventFilter(this);
        }
    }
    watched_.clear();
}

bool TBusyInputFilter::IsMouseButtonMessage(const QEvent& event) {
    switch (event.type()) {
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            break;
        default:
            return false;
    }
    const Qt::MouseButton button = static_cast<const QMouseEvent&>(event).button();
    return button == Qt::LeftButton || button == Qt::MiddleButton || button == Qt::RightButton;
}

bool TBusyInputFilter::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (IsMouseButtonMessage(*event)) {
        return true;
    }
    // Qt turns a right click into a context-menu request of its own.
    return event->type() == QEvent::ContextMenu &&
           static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse;
}

}  // namespace vantaro
