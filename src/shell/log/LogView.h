#pragma once

#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "log/LogPageLocations.h"
#include "log/LogRun.h"
#include "log/LogSink.h"
#include "log/RtfWriter.h"

namespace vantaro {

// The log pane (LogRichEdit): a read-only view that only grows at its end, one coloured and
// styled run at a time. Repainting is left to the event loop, which a run keeps pumping, so a
// run that writes a great deal is not slowed down by painting every segment.
class TLogView : public QPlainTextEdit, public LogSink {
    Q_OBJECT

  public:
    explicit TLogView(QWidget* parent = nullptr);

    // Appends the text in the colour and style (the style replaces the previous one), ends the
    // line when asked, takes the keyboard focus and leaves the caret at the end. Line breaks
    // inside the text (CR LF, CR, LF) end lines too.
    void AddLogLine(std::string_view text, LogColour colour, bool endLine,
                    FontStyle style) override;

    // While a run writes, its text is gathered and added in one edit at each Flush (the run
    // flushes before it lets the event loop in, and when it ends), which costs a fraction of
    // adding each piece on its own. Turning batching off flushes.
    void SetBatching(bool on);
    void Flush();

    // The whole log and the selected part of it, as saved, printed and copied.
    LogRuns Runs() const;
    LogRuns SelectedRuns() const;

    bool IsEmpty() const;
    bool HasSelectedText() const;
    RtfFont FontForRtf() const;

    // The line about to be written reports on this place of a page; once the line ends, the
    // place is kept with it (and with every line that text holding line breaks made of it).
    void BeginPageLine(PageLocation page);
    // Gives a line already written the place it reports on (a log read back from a file).
    static void SetPageOfLine(QTextBlock line, PageLocation page);
    // The place a line reports on; nullptr when it reports on none.
    static const PageLocation* PageOf(const QTextBlock& line);

  signals:
    // A line that reports on a page was double-clicked, or Enter was pressed on it.
    void pageLineActivated(const vantaro::PageLocation& page);
    // The context menu is about to open on a line; page: what that line reports on, if anything.
    void contextMenuOpening(const vantaro::PageLocation* page);

  protected:
    // The context menu holds the view's actions; it opens on the line under the pointer, or on
    // the caret's line when opened from the keyboard.
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Copying (Ctrl+C and the Copy command alike) puts plain text with CR LF line ends, HTML and
    // RTF on the clipboard.
    QMimeData* createMimeDataFromSelection() const override;
    // Nothing is ever typed into the log, so it tells input methods so and nothing more: each
    // write moves the caret, and answering their full query would lay out the last line
    // every time.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  private:
    const QTextCharFormat& FormatFor(LogColour colour, FontStyle style);
    void TakeFocus();
    void PutCaretAtEnd();
    void ScrollToEndLater();
    LogRuns RunsBetween(int from, int to) const;
    void StartPageLine(PageLocation page);
    void KeepPendingPage();

    void Gather(std::string_view text, LogColour colour, bool endLine, FontStyle style);

    struct PendingPage {
        PageLocation page;
        int firstLine = 0;  // block number
    };
    // Text of one format gathered while batching, up to a line's end.
    struct GatheredRun {
        qsizetype length = 0;
        const QTextCharFormat* format = nullptr;
        bool endLine = false;
        std::optional<PageLocation> pageLine;  // the line this run starts reports on this
    };

    std::unordered_map<std::uint32_t, QTextCharFormat> formats_;  // by colour and style
    bool scrollPending_ = false;
    std::optional<PendingPage> pendingPage_;
    bool batching_ = false;
    QString gatheredText_;
    std::vector<GatheredRun> gatheredRuns_;
    std::optional<PageLocation> nextPageLine_;
};

}  // namespace vantaro
