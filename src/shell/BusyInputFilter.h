#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QEvent;
class QWidget;

namespace vantaro {

// While a run is busy, the controls whose content it reads or fills must not be clicked: this
// filter drops every press, release and double click of the left, middle and right mouse
// buttons to them, and the context menu a right click brings. Hover, wheel, keys, tooltips
// and everything else still reach them.
class TBusyInputFilter : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    // Watches each control and, for a scrolling view, its viewport, which is where a view
    // receives its mouse input.
    void Install(const QList<QWidget*>& controls);
    void Remove();

    // One of the nine mouse-button messages: press, release or double click of the left,
    // middle or right button.
    static bool IsMouseButtonMessage(const QEvent& event);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Watch(QObject* object);

    QList<QPointer<QObject>> watched_;
};

}  // namespace vantaro
