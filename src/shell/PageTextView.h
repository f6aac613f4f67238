#pragma once

#include <QPlainTextEdit>

namespace vantaro {

// A read-only text view with the line numbers in a margin at its left.
class TPageTextView : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit TPageTextView(QWidget* parent = nullptr);

    int LineNumberWidth() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend class LineNumberMargin;
    void PaintLineNumbers(QPaintEvent* event);
    void FitMargin();
    void FollowScrolling(const QRect& rect, int dy);

    QWidget* margin_;
};

}  // namespace vantaro
