#include "shell/PageTextView.h"

#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <algorithm>

namespace vantaro {

class LineNumberMargin : public QWidget {
  public:
    explicit LineNumberMargin(TPageTextView& view) : QWidget(&view), view_(view) {}

    QSize sizeHint() const override { return {view_.LineNumberWidth(), 0}; }

  protected:
    void paintEvent(QPaintEvent* event) override { view_.PaintLineNumbers(event); }

  private:
    TPageTextView& view_;
};

TPageTextView::TPageTextView(QWidget* parent)
    : QPlainTextEdit(parent), margin_(new LineNumberMargin(*this)) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(this, &QPlainTextEdit::blockCountChanged, this, &TPageTextView::FitMargin);
    connect(this, &QPlainTextEdit::updateRequest, this, &TPageTextView::FollowScrolling);
    FitMargin();
}

int TPageTextView::LineNumberWidth() const {
    int digits = 1;
    for (int count = std::max(1, blockCount()); count >= 10; count /= 10) {
        ++digits;
    }
    constexpr int kPadding = 8;
    return kPadding * 2 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void TPageTextView::FitMargin() {
    setViewportMargins(LineNumberWidth(), 0, 0, 0);
    const QRect area = contentsRect();
    margin_->setGeometry(area.left(), area.top(), LineNumberWidth(), area.height());
}

void TPageTextView::FollowScrolling(const QRect& rect, int dy) {
    if (dy != 0) {
        margin_->scroll(0, dy);
    } else {
        margin_->update(0, rect.y(), margin_->width(), rect.height());
    }
}

void TPageTextView::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    FitMargin();
}

void TPageTextView::PaintLineNumbers(QPaintEvent* event) {
    QPainter painter(margin_);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.setFont(font());
    const int right = margin_->width() - 8;
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top()) {
            painter.drawText(0, top, right, fontMetrics().height(), Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        top += height;
        block = block.next();
    }
}

}  // namespace vantaro
