#include "shell/log/LogView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

#include "log/PageText.h"
#include "log/TextDecoding.h"
#include "shell/log/LogDocument.h"

namespace vantaro {
namespace {

constexpr int kDefaultPointSize = 10;
constexpr int kMargin = 4;  // around the text, in pixels
constexpr int kDragScrollMs = 50;

// The store keeps UTF-8 while Qt counts UTF-16 units; the text is always well-formed UTF-8.
int Utf16Length(std::string_view text) {
    int units = 0;
    for (const char byte : text) {
        if (!IsUtf8Continuation(byte)) {
            units += static_cast<unsigned char>(byte) >= 0xF0u ? 2 : 1;
        }
    }
    return units;
}

std::size_t ByteOffsetOf(std::string_view text, int utf16Index) {
    std::size_t offset = 0;
    int units = 0;
    while (offset < text.size() && units < utf16Index) {
        units += static_cast<unsigned char>(text[offset]) >= 0xF0u ? 2 : 1;
        ++offset;
        while (offset < text.size() && IsUtf8Continuation(text[offset])) {
            ++offset;
        }
    }
    return offset;
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What assistive tools read of the log: a read-only text whose value is the caret's line, so
// that moving through the log reads it line by line.
class LogViewAccessible : public QAccessibleWidget {
  public:
    explicit LogViewAccessible(TLogView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) {}

    QString text(QAccessible::Text kind) const override {
        const auto* view = static_cast<const TLogView*>(widget());
        if (kind == QAccessible::Value) {
            return view->LineText(static_cast<int>(view->Caret().line));
        }
        if (kind == QAccessible::Name) {
            return QStringLiteral("Log");
        }
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }
};

QAccessibleInterface* LogViewAccessibleFactory(const QString& /*className*/, QObject* object) {
    auto* view = qobject_cast<TLogView*>(object);
    return view != nullptr ? new LogViewAccessible(view) : nullptr;
}

}  // namespace

TLogView::TLogView(QWidget* parent) : QAbstractScrollArea(parent) {
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(LogViewAccessibleFactory);
        return true;
    }();
    (void)accessibleInstalled;
    setObjectName(QStringLiteral("LogRichEdit"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);

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
    UpdateMetrics();
}

TLogView::~TLogView() = default;

void TLogView::AddLogLine(std::string_view text, LogColour colour, bool endLine, FontStyle style) {
    if (text.empty() && !endLine) {
        if (!batching_) {
            TakeFocus();
            PutCaretAtEnd();
        }
        return;
    }
    store_.Write(DecodeForDisplay(text), colour, style, endLine);
    if (endLine) {
        KeepPendingPage();
    }
    written_ = true;
    if (!batching_) {
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
    if (!written_) {
        return;
    }
    written_ = false;
    TakeFocus();
    PutCaretAtEnd();
    UpdateScrollBars();
    emit textChanged();
    ScrollToEndLater();
    viewport()->update();
}

void TLogView::BeginPageLine(PageLocation page) {
    pendingPage_ = PendingPage{std::move(page), store_.LineCount() - 1};
}

// Every line the finding's text made, up to the line its end opened, reports on its page.
void TLogView::KeepPendingPage() {
    if (!pendingPage_) {
        return;
    }
    const std::size_t ended = store_.LineCount() - 1;
    for (std::size_t line = pendingPage_->firstLine; line < ended; ++line) {
        store_.SetPage(line, pendingPage_->page);
    }
    pendingPage_.reset();
}

void TLogView::SetPageOfLine(int line, PageLocation page) {
    if (line >= 0 && static_cast<std::size_t>(line) < store_.LineCount()) {
        store_.SetPage(static_cast<std::size_t>(line), std::move(page));
    }
}

std::optional<PageLocation> TLogView::PageOfLine(int line) const {
    if (line < 0 || static_cast<std::size_t>(line) >= store_.LineCount()) {
        return std::nullopt;
    }
    return store_.PageOf(static_cast<std::size_t>(line));
}

LogRuns TLogView::Runs() const {
    return store_.Runs();
}

LogRuns TLogView::SelectedRuns() const {
    return store_.RunsBetween(std::min(anchor_, caret_), std::max(anchor_, caret_));
}

bool TLogView::IsEmpty() const {
    return store_.IsEmpty();
}

bool TLogView::HasSelectedText() const {
    return anchor_ != caret_;
}

RtfFont TLogView::FontForRtf() const {
    const int points = font().pointSize();
    return RtfFont{font().family().toStdString(), points > 0 ? points : kDefaultPointSize};
}

int TLogView::LineCount() const {
    return static_cast<int>(store_.LineCount());
}

QString TLogView::LineText(int line) const {
    if (line < 0 || line >= LineCount()) {
        return {};
    }
    return ToQString(store_.Text(static_cast<std::size_t>(line)));
}

QString TLogView::toPlainText() const {
    return ToQString(store_.PlainText());
}

void TLogView::clear() {
    store_.Clear();
    pendingPage_.reset();
    const bool hadSelection = HasSelectedText();
    anchor_ = caret_ = LogPosition{};
    caretColumnX_.reset();
    widest_ = 0;
    measuredLongest_.reset();
    UpdateScrollBars();
    viewport()->update();
    emit textChanged();
    if (hadSelection) {
        emit selectionChanged();
    }
}

void TLogView::selectAll() {
    SetSelection(LogPosition{}, store_.End());
}

void TLogView::copy() {
    if (HasSelectedText()) {
        QApplication::clipboard()->setMimeData(MimeDataOfSelection());
    }
}

// Copying puts plain text with CR LF line ends, HTML and RTF on the clipboard.
QMimeData* TLogView::MimeDataOfSelection() const {
    const LogRuns runs = SelectedRuns();
    auto* mime = new QMimeData;
    mime->setText(QString::fromStdString(PlainTextOf(runs)));
    mime->setHtml(LogDocument(runs, font())->toHtml());
    const std::string rtf = WriteLogRtf(runs, FontForRtf());
    mime->setData(QStringLiteral("text/rtf"),
                  QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size())));
    return mime;
}

// Where the system has a selection clipboard, the selection goes there as it does from any
// other text view.
void TLogView::ShareSelection() {
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard->supportsSelection() && HasSelectedText()) {
        clipboard->setMimeData(MimeDataOfSelection(), QClipboard::Selection);
    }
}

const QTextCharFormat& TLogView::FormatFor(LogColour colour, FontStyle style) const {
    const std::uint32_t key = (ToRgb(colour) << 4) | (style.Bits() & 0x0Fu);
    auto found = formats_.find(key);
    if (found == formats_.end()) {
        found = formats_.emplace(key, LogCharFormat(colour, style)).first;
    }
    return found->second;
}

TLogView::ShownLine TLogView::LayOut(std::size_t line) const {
    const std::string_view bytes = store_.Text(line);
    ShownLine shown;
    QList<QTextLayout::FormatRange> formats;
    for (const LogLineStore::Span& span : store_.Spans(line)) {
        const QString piece = ToQString(bytes.substr(span.begin, span.end - span.begin));
        formats.append(QTextLayout::FormatRange{static_cast<int>(shown.text.size()),
                                                static_cast<int>(piece.size()),
                                                FormatFor(span.colour, span.style)});
        shown.text += piece;
    }
    shown.layout = std::make_unique<QTextLayout>(shown.text, font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    shown.layout->setTextOption(option);
    shown.layout->setFormats(formats);
    shown.layout->beginLayout();
    QTextLine textLine = shown.layout->createLine();
    if (textLine.isValid()) {
        textLine.setPosition(QPointF(0, 0));
    }
    shown.layout->endLayout();
    return shown;
}

void TLogView::UpdateMetrics() {
    QFont bold = font();
    bold.setBold(true);
    const qreal spacing =
        std::max(QFontMetricsF(font()).lineSpacing(), QFontMetricsF(bold).lineSpacing());
    lineHeight_ = std::max(1, static_cast<int>(std::ceil(spacing)));
    formats_.clear();
    widest_ = 0;
    measuredLongest_.reset();
    UpdateScrollBars();
}

int TLogView::VisibleLines() const {
    return std::max(1, (viewport()->height() - kMargin) / lineHeight_);
}

int TLogView::FirstVisibleLine() const {
    return verticalScrollBar()->value();
}

void TLogView::MeasureWidth(qreal width) {
    if (width > widest_) {
        widest_ = width;
        const int total = static_cast<int>(std::ceil(widest_)) + 2 * kMargin;
        horizontalScrollBar()->setRange(0, std::max(0, total - viewport()->width()));
    }
}

// The widest line is not known without laying every line out; the one holding the most bytes
// is measured, and every line shown widens the range further when it needs to.
void TLogView::UpdateScrollBars() {
    const int lines = LineCount();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setSingleStep(1);
    vertical->setPageStep(VisibleLines());
    vertical->setRange(0, std::max(0, lines - VisibleLines()));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setSingleStep(std::max(1, QFontMetrics(font()).averageCharWidth() * 2));
    horizontal->setPageStep(std::max(1, viewport()->width()));
    const LogPosition longest{store_.LongestLine(), store_.Text(store_.LongestLine()).size()};
    if (longest != measuredLongest_) {  // laying a line out costs more than the rest together
        measuredLongest_ = longest;
        widest_ = std::max(widest_, LayOut(longest.line).layout->lineAt(0).naturalTextWidth());
    }
    const int total = static_cast<int>(std::ceil(widest_)) + 2 * kMargin;
    horizontal->setRange(0, std::max(0, total - viewport()->width()));
}

void TLogView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    const int first = FirstVisibleLine();
    const int last = std::min(LineCount(), first + VisibleLines() + 2);
    const LogPosition selectionStart = std::min(anchor_, caret_);
    const LogPosition selectionEnd = std::max(anchor_, caret_);
    const QPalette& colours = palette();
    QTextCharFormat selected;
    selected.setBackground(colours.brush(QPalette::Highlight));
    selected.setForeground(colours.brush(QPalette::HighlightedText));
    const qreal x = kMargin - horizontalScrollBar()->value();
    qreal widestShown = 0;
    for (int line = first; line < last; ++line) {
        const auto index = static_cast<std::size_t>(line);
        const ShownLine shown = LayOut(index);
        const qreal y = kMargin + static_cast<qreal>(line - first) * lineHeight_;
        const qreal width = shown.layout->lineAt(0).naturalTextWidth();
        widestShown = std::max(widestShown, width);

        QList<QTextLayout::FormatRange> selections;
        if (selectionStart != selectionEnd && index >= selectionStart.line &&
            index <= selectionEnd.line) {
            const std::string_view bytes = store_.Text(index);
            const int from = index == selectionStart.line
                                 ? Utf16Length(bytes.substr(0, selectionStart.offset))
                                 : 0;
            const int to = index == selectionEnd.line
                               ? Utf16Length(bytes.substr(0, selectionEnd.offset))
                               : static_cast<int>(shown.text.size());
            if (from < to) {
                selections.append(QTextLayout::FormatRange{from, to - from, selected});
            }
            if (index < selectionEnd.line) {  // the line end is selected too
                const qreal space = QFontMetricsF(font()).horizontalAdvance(u' ');
                painter.fillRect(QRectF(x + width, y, space, lineHeight_),
                                 colours.brush(QPalette::Highlight));
            }
        }
        shown.layout->draw(&painter, QPointF(x, y), selections);
        if (hasFocus() && index == caret_.line) {
            const int column = Utf16Length(store_.Text(index).substr(0, caret_.offset));
            shown.layout->drawCursor(&painter, QPointF(x, y), column, 1);
        }
    }
    MeasureWidth(widestShown);
}

void TLogView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TLogView::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
}

void TLogView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateMetrics();
        viewport()->update();
    }
}

void TLogView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TLogView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

QRect TLogView::LineRect(int line) const {
    const int top = kMargin + (line - FirstVisibleLine()) * lineHeight_;
    return QRect(0, top, viewport()->width(), lineHeight_);
}

LogPosition TLogView::PositionAt(QPoint point) const {
    const int row = (point.y() - kMargin) / lineHeight_ - (point.y() < kMargin ? 1 : 0);
    const int line = FirstVisibleLine() + row;
    if (line < 0) {
        return LogPosition{};
    }
    if (line >= LineCount()) {
        return store_.End();
    }
    const auto index = static_cast<std::size_t>(line);
    const ShownLine shown = LayOut(index);
    const qreal x = point.x() - kMargin + horizontalScrollBar()->value();
    const int column = shown.layout->lineAt(0).xToCursor(x);
    return LogPosition{index, ByteOffsetOf(store_.Text(index), column)};
}

qreal TLogView::CaretX(LogPosition position) const {
    const ShownLine shown = LayOut(position.line);
    const int column = Utf16Length(store_.Text(position.line).substr(0, position.offset));
    return shown.layout->lineAt(0).cursorToX(column);
}

void TLogView::SetSelection(LogPosition anchor, LogPosition caret) {
    const LogPosition end = store_.End();
    const auto clamp = [&](LogPosition position) {
        if (position.line >= store_.LineCount()) {
            return end;
        }
        position.offset = std::min(position.offset, store_.Text(position.line).size());
        return position;
    };
    const LogPosition oldAnchor = anchor_;
    const LogPosition oldCaret = caret_;
    anchor_ = clamp(anchor);
    caret_ = clamp(caret);
    caretColumnX_.reset();
    EnsureCaretVisible();
    SelectionChanged(oldAnchor, oldCaret);
}

void TLogView::MoveCaret(LogPosition to, bool keepAnchor) {
    const LogPosition oldAnchor = anchor_;
    const LogPosition oldCaret = caret_;
    caret_ = to;
    if (!keepAnchor) {
        anchor_ = to;
    }
    EnsureCaretVisible();
    SelectionChanged(oldAnchor, oldCaret);
}

void TLogView::SelectionChanged(LogPosition oldAnchor, LogPosition oldCaret) {
    if (oldAnchor == anchor_ && oldCaret == caret_) {
        return;
    }
    viewport()->update();
    if (oldCaret.line != caret_.line && QAccessible::isActive()) {
        QAccessibleValueChangeEvent change(this, LineText(static_cast<int>(caret_.line)));
        QAccessible::updateAccessibility(&change);
    }
    const bool hadSelection = oldAnchor != oldCaret;
    if (hadSelection || HasSelectedText()) {
        emit selectionChanged();
    }
}

void TLogView::EnsureCaretVisible() {
    QScrollBar* vertical = verticalScrollBar();
    const int line = static_cast<int>(caret_.line);
    if (line < vertical->value()) {
        vertical->setValue(line);
    } else if (line >= vertical->value() + VisibleLines()) {
        vertical->setValue(line - VisibleLines() + 1);
    }
    QScrollBar* horizontal = horizontalScrollBar();
    const int x = static_cast<int>(CaretX(caret_)) + kMargin;
    const int shownWidth = viewport()->width();
    if (x - kMargin < horizontal->value()) {
        horizontal->setValue(std::max(0, x - kMargin - shownWidth / 3));
    } else if (x + kMargin > horizontal->value() + shownWidth) {
        MeasureWidth(x);
        horizontal->setValue(x + kMargin - shownWidth + shownWidth / 3);
    }
}

void TLogView::SelectWordAt(LogPosition position) {
    const QString text = LineText(static_cast<int>(position.line));
    const std::string_view bytes = store_.Text(position.line);
    const int column = Utf16Length(bytes.substr(0, position.offset));
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
    words.setPosition(column);
    const bool atWordStart =
        words.isAtBoundary() && (words.boundaryReasons() & QTextBoundaryFinder::StartOfItem);
    const int start =
        atWordStart ? column : static_cast<int>(std::max<qsizetype>(0, words.toPreviousBoundary()));
    words.setPosition(start);
    const qsizetype next = words.toNextBoundary();
    const int end = next < 0 ? static_cast<int>(text.size()) : static_cast<int>(next);
    SetSelection(LogPosition{position.line, ByteOffsetOf(bytes, start)},
                 LogPosition{position.line, ByteOffsetOf(bytes, end)});
}

void TLogView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const bool tripleClick =
        doubleClicked_.isValid() &&
        doubleClicked_.elapsed() < QApplication::doubleClickInterval() &&
        (point - doubleClickPoint_).manhattanLength() < QApplication::startDragDistance();
    doubleClicked_.invalidate();
    if (tripleClick) {  // the whole line
        const std::size_t line = PositionAt(point).line;
        SetSelection(LogPosition{line, 0}, LogPosition{line, store_.Text(line).size()});
        ShareSelection();
        return;
    }
    const bool extend = (event->modifiers() & Qt::ShiftModifier) != 0;
    caretColumnX_.reset();
    MoveCaret(PositionAt(event->position().toPoint()), extend);
    selecting_ = true;
    lastDragPoint_ = event->position().toPoint();
}

void TLogView::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting_ || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    lastDragPoint_ = event->position().toPoint();
    MoveCaret(PositionAt(lastDragPoint_), true);
    const bool outside = !viewport()->rect().contains(lastDragPoint_);
    if (outside && !dragScroll_.isActive()) {
        dragScroll_.start(kDragScrollMs, this);
    } else if (!outside) {
        dragScroll_.stop();
    }
}

// Holding the button outside the view keeps scrolling it, and the selection follows.
void TLogView::timerEvent(QTimerEvent* event) {
    if (event->timerId() != dragScroll_.timerId()) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    QScrollBar* vertical = verticalScrollBar();
    if (lastDragPoint_.y() < 0) {
        vertical->setValue(vertical->value() - 1);
    } else if (lastDragPoint_.y() > viewport()->height()) {
        vertical->setValue(vertical->value() + 1);
    }
    MoveCaret(PositionAt(lastDragPoint_), true);
}

void TLogView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && selecting_) {
        selecting_ = false;
        dragScroll_.stop();
        ShareSelection();
    }
}

void TLogView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const LogPosition at = PositionAt(event->position().toPoint());
    doubleClicked_.start();
    doubleClickPoint_ = event->position().toPoint();
    SelectWordAt(at);
    selecting_ = false;
    ShareSelection();
    if (std::optional<PageLocation> page = store_.PageOf(at.line)) {
        emit pageLineActivated(*page);
    }
}

void TLogView::contextMenuEvent(QContextMenuEvent* event) {
    const std::size_t line =
        event->reason() == QContextMenuEvent::Mouse ? PositionAt(event->pos()).line : caret_.line;
    const std::optional<PageLocation> page = store_.PageOf(line);
    emit contextMenuOpening(page ? &*page : nullptr);
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("LogPopupMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addActions(actions());
    menu->popup(event->globalPos());
}

// Where a movement key takes the caret; the caret's own place when the key moves nothing.
LogPosition TLogView::MovedBy(const QKeyEvent& event) const {
    const bool words = (event.modifiers() & Qt::ControlModifier) != 0;
    const std::string_view text = store_.Text(caret_.line);
    const std::size_t lastLine = store_.LineCount() - 1;
    LogPosition to = caret_;
    switch (event.key()) {
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const ShownLine shown = LayOut(caret_.line);
            const int column = Utf16Length(text.substr(0, caret_.offset));
            const auto mode = words ? QTextLayout::SkipWords : QTextLayout::SkipCharacters;
            if (event.key() == Qt::Key_Left) {
                if (column == 0 && caret_.line > 0) {
                    return LogPosition{caret_.line - 1, store_.Text(caret_.line - 1).size()};
                }
                to.offset = ByteOffsetOf(text, shown.layout->previousCursorPosition(column, mode));
            } else {
                if (caret_.offset == text.size() && caret_.line < lastLine) {
                    return LogPosition{caret_.line + 1, 0};
                }
                to.offset = ByteOffsetOf(text, shown.layout->nextCursorPosition(column, mode));
            }
            return to;
        }
        case Qt::Key_Home:
            return words ? LogPosition{} : LogPosition{caret_.line, 0};
        case Qt::Key_End:
            return words ? store_.End() : LogPosition{caret_.line, text.size()};
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: {
            const bool page = event.key() == Qt::Key_PageUp || event.key() == Qt::Key_PageDown;
            const auto step = static_cast<std::size_t>(page ? VisibleLines() : 1);
            const bool up = event.key() == Qt::Key_Up || event.key() == Qt::Key_PageUp;
            to.line = up ? caret_.line - std::min(caret_.line, step)
                         : std::min(lastLine, caret_.line + step);
            const ShownLine shown = LayOut(to.line);
            const int column = shown.layout->lineAt(0).xToCursor(caretColumnX_.value_or(0));
            to.offset = ByteOffsetOf(store_.Text(to.line), column);
            return to;
        }
        default:
            return caret_;
    }
}

void TLogView::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (std::optional<PageLocation> page = store_.PageOf(caret_.line)) {
            event->accept();
            emit pageLineActivated(*page);
            return;
        }
    }
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    const int key = event->key();
    const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                          key == Qt::Key_PageDown;
    const bool movement = vertical || key == Qt::Key_Left || key == Qt::Key_Right ||
                          key == Qt::Key_Home || key == Qt::Key_End;
    if (!movement) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (vertical && !caretColumnX_) {
        caretColumnX_ = CaretX(caret_);
    }
    const std::optional<qreal> keptX = vertical ? caretColumnX_ : std::nullopt;
    MoveCaret(MovedBy(*event), (event->modifiers() & Qt::ShiftModifier) != 0);
    caretColumnX_ = keptX;
    event->accept();
}

QVariant TLogView::inputMethodQuery(Qt::InputMethodQuery query) const {
    return query == Qt::ImEnabled ? QVariant(false) : QVariant();
}

void TLogView::TakeFocus() {
    if (window()->focusWidget() != this) {
        setFocus(Qt::OtherFocusReason);
    }
}

void TLogView::PutCaretAtEnd() {
    const LogPosition end = store_.End();
    if (anchor_ != end || caret_ != end) {
        const LogPosition oldAnchor = anchor_;
        const LogPosition oldCaret = caret_;
        anchor_ = caret_ = end;
        caretColumnX_.reset();
        SelectionChanged(oldAnchor, oldCaret);
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
            EnsureCaretVisible();
        },
        Qt::QueuedConnection);
}

}  // namespace vantaro
