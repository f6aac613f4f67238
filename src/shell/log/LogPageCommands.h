#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

#include "log/LogPageLocations.h"

class QAction;

namespace vantaro {

class TLogView;
class TPageView;

// What the log offers on a line that reports on a page: double-click or Enter on it, or "Show
// Page" in its context menu, shows the page in the page viewer at the line; "Copy Page Path"
// puts the page's path on the clipboard. Like the other log commands, nothing happens while a
// run is in progress.
class TLogPageCommands : public QObject {
    Q_OBJECT

  public:
    TLogPageCommands(TLogView& view, std::function<bool()> isProcessing, QObject* parent = nullptr);

    // A page that cannot be read is reported instead.
    void ShowPage(const PageLocation& page);
    void CopyPagePath(const PageLocation& page);

    // The context-menu items; enabled when the menu opens on a line with a page.
    QAction* ShowPage1() const { return showPage1_; }
    QAction* CopyPagePath1() const { return copyPagePath1_; }

  private:
    bool Processing() const;
    void MenuOpening(const PageLocation* page);
    TPageView& Viewer();

    TLogView& view_;
    std::function<bool()> isProcessing_;
    QAction* showPage1_;
    QAction* copyPagePath1_;
    std::optional<PageLocation> menuPage_;  // the line the context menu opened on
    QPointer<TPageView> viewer_;            // one viewer, made when first needed
};

}  // namespace vantaro
