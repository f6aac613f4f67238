#include "shell/log/LogView.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <algorithm>

#include "shell/log/DisplayText.h"

namespace vantaro {
namespace {

constexpr int kDefaultPointSize = 10;

LogColour ColourOf(const QTextCharFormat& format) {
    if (!format.hasProperty(QTextFormat::ForegroundBrush)) {
        return NearestLogColour(0x000000);
    }
    return static_cast<LogColour>(format.foreground().color().rgb() & 0xFFFFFF);
}

FontStyle StyleOf(const QTextCharFormat& format) {
    return FontStyle()
        .With(FontStyle::Bold, format.fontWeight() >= QFont::Bold)
        .With(FontStyle::Italic, format.fontItalic())
        .With(FontStyle::Underline, format.fontUnderline())
        .With(FontStyle::StrikeOut, format.fontStrikeOut());
}

QTextCharFormat MakeFormat(LogColour colour, FontStyle style) {
    // Every property is set outright, so one run's style never carries into the next.
    QTextCharFormat format;
    format.setForeground(QColor::fromRgb(static_cast<QRgb>(ToRgb(colour) | 0xFF000000u)));
    format.setFontWeight(style.Has(FontStyle::Bold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style.Has(FontStyle::Italic));
    format.setFontUnderline(style.Has(FontStyle::Underline));
    format.setFontStrikeOut(style.Has(FontStyle::StrikeOut));
    return format;
}

// Qt's plain-text layout lays a line out again whenever text is added to it, and after every
// new line it tells the view at once, which then measures the last screenful of lines for its
// scroll bars. For a run writing a line a few segments at a time that is most of the cost, so
// text added at the end is only marked for layout here (Qt lays a line out when it is painted or
// measured), and the view hears of the new size once per turn of the event loop.
class AppendingLayout : public QPlainTextDocumentLayout {
  public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

  protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override {
        QTextDocument* doc = document();
        const bool appended =
            charsRemoved == 0 && charsAdded > 0 && from + charsAdded == doc->characterCount() - 1;
        if (!appended) {
            QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
            blockCount_ = doc->blockCount();
            return;
        }
        QTextBlock last = doc->lastBlock();
        if (doc->blockCount() == blockCount_ && from >= last.position()) {
            last.clearLayout();  // laid out again when painted or measured
        } else {
            const QSignalBlocker quiet(this);
            QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
            blockCount_ = doc->blockCount();
        }
        NotifyLater();
    }

  private:
    void NotifyLater() {
        if (notifyPending_) {
            return;
        }
        notifyPending_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                notifyPending_ = false;
                emit documentSizeChanged(documentSize());
                emit update();
            },
            Qt::QueuedConnection);
    }

    int blockCount_ = 1;
    bool notifyPending_ = false;
};

// What a line of the log reports on, kept with the line itself so that it goes when the line
// goes.
class PageOfLine : public QTextBlockUserData {
  public:
    explicit PageOfLine(PageLocation where) : page(std::move(where)) {}
    PageLocation page;
};

std::string Utf8Of(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

}  // namespace

TLogView::TLogView(QWidget* parent) : QPlainTextEdit(parent) {
    auto* doc = new QTextDocument(this);
    doc->setDocumentLayout(new AppendingLayout(doc));
    setDocument(doc);
    setObjectName(QStringLiteral("LogRichEdit"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (font.pointSize() <= 0) {
        font.setPointSize(kDefaultPointSize);  // point sizes keep printed text readable
    }
    setFont(font);

    // The selection stays visible when the focus moves elsewhere.
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    setPalette(colours);
}

// Outside a run each piece is added at once: gathered, then flushed.
void TLogView::AddLogLine(std::string_view text, LogColour colour, bool endLine, FontStyle style) {
    if (!batching_ && text.empty() && !endLine) {
        TakeFocus();
        PutCaretAtEnd();
        return;
    }
    Gather(text, colour, endLine, style);
    if (!batching_) {
        Flush();
    }
}

namespace {

QString ShownText(std::string_view text, bool endLine) {
    QString shown = DisplayText(text);
    if (shown.contains(u'\r')) {
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        shown.replace(u'\r', u'\n');
    }
    if (endLine) {
        shown += u'\n';
    }
    return shown;
}

constexpr qsizetype kLargestGathering = 1 << 18;  // characters, so no one edit takes long

}  // namespace

// Pieces of one format join up to a line's end; a line's end and a page's line start new runs,
// so each line still gets the place it reports on.
void TLogView::Gather(std::string_view text, LogColour colour, bool endLine, FontStyle style) {
    if (text.empty() && !endLine) {
        return;
    }
    const QTextCharFormat* format = &FormatFor(colour, style);
    const QString shown = ShownText(text, endLine);
    if (gatheredRuns_.empty() || gatheredRuns_.back().endLine ||
        gatheredRuns_.back().format != format || nextPageLine_) {
        gatheredRuns_.push_back(GatheredRun{0, format, false, std::move(nextPageLine_)});
        nextPageLine_.reset();
    }
    gatheredRuns_.back().length += shown.size();
    gatheredRuns_.back().endLine = endLine;
    gatheredText_ += shown;
    if (gatheredText_.size() >= kLargestGathering) {
        Flush();
    }
}

void TLogView::SetBatching(bool on) {
    if (!on) {
        Flush();
    }
    batching_ = on;
}

void TLogView::Flush() {
    if (gatheredRuns_.empty()) {
        return;
    }
    TakeFocus();
    PutCaretAtEnd();
    {
        // The document's own notifications would have the editor re-examine its caret (which
        // the text moves along) for every piece; the one that matters is sent below.
        const QSignalBlocker quiet(QAccessible::isActive() ? nullptr : document());
        // As one edit, so Qt does not lay lines out just to place this cursor.
        QTextCursor end(document());
        end.beginEditBlock();
        end.movePosition(QTextCursor::End);
        qsizetype at = 0;
        for (GatheredRun& run : gatheredRuns_) {
            if (run.pageLine) {
                StartPageLine(std::move(*run.pageLine));
            }
            // '\n' ends a line in the run's format.
            end.insertText(gatheredText_.sliced(at, run.length), *run.format);
            at += run.length;
            if (run.endLine) {
                KeepPendingPage();
            }
        }
        end.endEditBlock();
    }
    gatheredText_.clear();
    gatheredRuns_.clear();
    emit textChanged();
    ScrollToEndLater();
}

void TLogView::BeginPageLine(PageLocation page) {
    nextPageLine_ = std::move(page);  // it starts with the next text gathered
}

void TLogView::StartPageLine(PageLocation page) {
    pendingPage_ = PendingPage{std::move(page), document()->blockCount() - 1};
}

void TLogView::KeepPendingPage() {
    if (!pendingPage_) {
        return;
    }
    const int ended = document()->blockCount() - 1;  // the new last line is not the page's
    for (int line = pendingPage_->firstLine; line < ended; ++line) {
        SetPageOfLine(document()->findBlockByNumber(line), pendingPage_->page);
    }
    pendingPage_.reset();
}

void TLogView::SetPageOfLine(QTextBlock line, PageLocation page) {
    line.setUserData(new PageOfLine(std::move(page)));
}

const PageLocation* TLogView::PageOf(const QTextBlock& line) {
    const auto* data = dynamic_cast<const PageOfLine*>(line.userData());
    return data != nullptr ? &data->page : nullptr;
}

void TLogView::contextMenuEvent(QContextMenuEvent* event) {
    const QTextBlock line = event->reason() == QContextMenuEvent::Mouse
                                ? cursorForPosition(event->pos()).block()
                                : textCursor().block();
    emit contextMenuOpening(PageOf(line));
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("LogPopupMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addActions(actions());
    menu->popup(event->globalPos());
}

void TLogView::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QTextBlock line = cursorForPosition(event->position().toPoint()).block();
    if (const PageLocation* page = PageOf(line)) {
        emit pageLineActivated(PageLocation(*page));  // a copy: the handler may clear the log
    }
}

void TLogView::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const PageLocation* page = PageOf(textCursor().block());
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || page == nullptr) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    emit pageLineActivated(PageLocation(*page));
}

const QTextCharFormat& TLogView::FormatFor(LogColour colour, FontStyle style) {
    const std::uint32_t key = (ToRgb(colour) << 4) | (style.Bits() & 0x0Fu);
    auto found = formats_.find(key);
    if (found == formats_.end()) {
        found = formats_.emplace(key, MakeFormat(colour, style)).first;
    }
    return found->second;
}

void TLogView::TakeFocus() {
    if (window()->focusWidget() != this) {
        setFocus(Qt::OtherFocusReason);
    }
}

void TLogView::PutCaretAtEnd() {
    QTextCursor caret = textCursor();
    if (caret.hasSelection() || !caret.atEnd()) {
        caret.movePosition(QTextCursor::End);
        setTextCursor(caret);
    }
}

// Writes arrive many at a time while a run is busy; one scroll per turn of the event loop is
// enough to keep the end in sight.
void TLogView::ScrollToEndLater() {
    if (scrollPending_) {
        return;
    }
    scrollPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            scrollPending_ = false;
            ensureCursorVisible();
        },
        Qt::QueuedConnection);
}

LogRuns TLogView::Runs() const {
    return RunsBetween(0, document()->characterCount());
}

LogRuns TLogView::SelectedRuns() const {
    const QTextCursor caret = textCursor();
    return RunsBetween(caret.selectionStart(), caret.selectionEnd());
}

// A line end is the separator between two blocks; it carries the format it was written in, which
// Qt reports as the next block's character format.
LogRuns TLogView::RunsBetween(int from, int to) const {
    LogRuns runs;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(from, fragment.position());
            const int end = std::min(to, fragment.position() + fragment.length());
            if (start < end) {
                const QTextCharFormat format = fragment.charFormat();
                AppendRun(runs,
                          Utf8Of(fragment.text().mid(start - fragment.position(), end - start)),
                          ColourOf(format), StyleOf(format), false);
            }
        }
        const int separator = block.position() + block.length() - 1;
        const QTextBlock next = block.next();
        if (next.isValid() && separator >= from && separator < to) {
            const QTextCharFormat format = next.charFormat();
            AppendRun(runs, "", ColourOf(format), StyleOf(format), true);
        }
    }
    return runs;
}

bool TLogView::IsEmpty() const {
    return document()->isEmpty();
}

bool TLogView::HasSelectedText() const {
    return textCursor().hasSelection();
}

RtfFont TLogView::FontForRtf() const {
    const int points = font().pointSize();
    return RtfFont{Utf8Of(font().family()), points > 0 ? points : kDefaultPointSize};
}

QVariant TLogView::inputMethodQuery(Qt::InputMethodQuery query) const {
    return query == Qt::ImEnabled ? QVariant(false) : QVariant();
}

QMimeData* TLogView::createMimeDataFromSelection() const {
    const LogRuns runs = SelectedRuns();
    auto* mime = new QMimeData;
    mime->setText(QString::fromStdString(PlainTextOf(runs)));
    mime->setHtml(QTextDocumentFragment(textCursor()).toHtml());
    const std::string rtf = WriteLogRtf(runs, FontForRtf());
    mime->setData(QStringLiteral("text/rtf"),
                  QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size())));
    return mime;
}

}  // namespace vantaro
