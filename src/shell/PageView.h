#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>
#include <string_view>

#include "log/LogPageLocations.h"

class QLabel;
class QPushButton;

namespace vantaro {

class TPageTextView;
struct PageListing;

// The page viewer (PageView): a window of its own, not modal, that shows a page's text read-only
// with line numbers, scrolled to the line a finding reports on, that line marked and the tags it
// reports marked more strongly. "Open in Default Program" hands the page to the desktop.
class TPageView : public QWidget {
    Q_OBJECT

  public:
    // Opens a file with the desktop's handler; false when that failed.
    using FileOpener = std::function<bool(const QUrl&)>;

    explicit TPageView(QWidget* parent = nullptr);

    // Shows the page's bytes at the place and brings the window up.
    void ShowPage(const PageLocation& page, std::string_view bytes);
    const PageLocation& Page() const { return page_; }

    void OpenInDefaultProgram();
    void SetFileOpener(FileOpener opener);

    TPageTextView& TextView() { return *text_; }

  private:
    void MarkPlace(const PageLocation& page, const PageListing& listing);

    PageLocation page_;
    QLabel* pathLabel_;
    QPushButton* openButton_;
    TPageTextView* text_;
    FileOpener opener_;
};

}  // namespace vantaro
