#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QTextCharFormat>
#include <QTextLayout>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

#include "log/LogLineStore.h"
#include "log/LogPageLocations.h"
#include "log/LogRun.h"
#include "log/LogSink.h"
#include "log/RtfWriter.h"

namespace vantaro {

// The log pane (LogRichEdit): a read-only view that only grows at its end, one coloured and
// styled run at a time. The lines live in a compact store and only the lines in sight are laid
// out, so a log of hundreds of thousands of lines costs little more than its text. The caret and
// the selection are places in that store; the keyboard and the mouse move them as in any
// read-only text view.
class TLogView : public QAbstractScrollArea, public LogSink {
    Q_OBJECT

  public:
    explicit TLogView(QWidget* parent = nullptr);
    ~TLogView() override;

    // Appends the text in the colour and style (the style replaces the previous one), ends the
    // line when asked, takes the keyboard focus and leaves the caret at the end. Line breaks
    // inside the text (CR LF, CR, LF) end lines too.
    void AddLogLine(std::string_view text, LogColour colour, bool endLine,
                    FontStyle style) override;

    // While a run writes, the view catches up with the text (caret, scroll bars, painting) once
    // at each Flush (the run flushes before it lets the event loop in, and when it ends) instead
    // of after every piece. Turning batching off flushes.
    void SetBatching(bool on);
    void Flush();

    // The whole log and the selected part of it, as saved, printed and copied.
    LogRuns Runs() const;
    LogRuns SelectedRuns() const;

    bool IsEmpty() const;
    bool HasSelectedText() const;
    RtfFont FontForRtf() const;

    int LineCount() const;
    QString LineText(int line) const;
    QString toPlainText() const;  // lines joined by LF

    LogPosition Caret() const { return caret_; }
    bool CaretAtEnd() const { return caret_ == store_.End(); }
    // Selects from anchor to caret (both clamped to the log) and brings the caret into sight.
    void SetSelection(LogPosition anchor, LogPosition caret);
    void EnsureCaretVisible();
    // Where a line is shown, in the viewport's coordinates.
    QRect LineRect(int line) const;

    // The line about to be written reports on this place of a page; once the line ends, the
    // place is kept with it (and with every line that text holding line breaks made of it).
    void BeginPageLine(PageLocation page);
    // Gives a line already written the place it reports on (a log read back from a file).
    void SetPageOfLine(int line, PageLocation page);
    // The place a line reports on, if any.
    std::optional<PageLocation> PageOfLine(int line) const;

  public slots:
    void copy();
    void clear();
    void selectAll();

  signals:
    void textChanged();
    void selectionChanged();
    // A line that reports on a page was double-clicked, or Enter was pressed on it.
    void pageLineActivated(const vantaro::PageLocation& page);
    // The context menu is about to open on a line; page: what that line reports on, if anything.
    void contextMenuOpening(const vantaro::PageLocation* page);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    // The context menu holds the view's actions; it opens on the line under the pointer, or on
    // the caret's line when opened from the keyboard.
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  private:
    // One line as shown: its text, laid out in its runs' formats.
    struct ShownLine {
        QString text;
        std::unique_ptr<QTextLayout> layout;
    };
    ShownLine LayOut(std::size_t line) const;

    const QTextCharFormat& FormatFor(LogColour colour, FontStyle style) const;
    void UpdateMetrics();
    void UpdateScrollBars();
    void MeasureWidth(qreal width);
    int VisibleLines() const;
    int FirstVisibleLine() const;

    LogPosition PositionAt(QPoint point) const;
    qreal CaretX(LogPosition position) const;
    LogPosition MovedBy(const QKeyEvent& event) const;
    void MoveCaret(LogPosition to, bool keepAnchor);
    void SelectWordAt(LogPosition position);
    void SelectionChanged(LogPosition oldAnchor, LogPosition oldCaret);
    void ShareSelection();
    QMimeData* MimeDataOfSelection() const;

    void TakeFocus();
    void PutCaretAtEnd();
    void ScrollToEndLater();
    void KeepPendingPage();

    struct PendingPage {
        PageLocation page;
        std::size_t firstLine = 0;
    };

    LogLineStore store_;
    LogPosition anchor_;
    LogPosition caret_;
    std::optional<qreal> caretColumnX_;  // kept while the caret moves up and down
    mutable std::unordered_map<std::uint32_t, QTextCharFormat> formats_;  // by colour and style
    int lineHeight_ = 1;
    qreal widest_ = 0;                            // the widest line measured so far
    std::optional<LogPosition> measuredLongest_;  // the longest line when last measured
    bool batching_ = false;
    bool written_ = false;  // since the last flush
    bool scrollPending_ = false;
    bool selecting_ = false;  // a drag with the left button
    QPoint lastDragPoint_;
    QBasicTimer dragScroll_;
    QElapsedTimer doubleClicked_;  // a click soon after, in the same place, selects the line
    QPoint doubleClickPoint_;
    std::optional<PendingPage> pendingPage_;
};

}  // namespace vantaro
