#pragma once

#include <QSplitter>

namespace vantaro {

// A splitter between two panes, one of which (the pane) has the size the window keeps in
// proportion while the other takes the rest. Neither pane can be dragged below MinSize.
class TPaneSplitter : public QSplitter {
    Q_OBJECT

  public:
    enum class Pane { First, Second };

    TPaneSplitter(Qt::Orientation orientation, Pane pane, int minSize, QWidget* parent = nullptr);

    // Adds the two panes, first the left (or top) one.
    void SetPanes(QWidget* first, QWidget* second);

    int MinSize() const { return minSize_; }
    int Thickness() const { return handleWidth(); }

    // The pane's size along the splitter: as laid out once the splitter has been shown, and
    // until then the size it will be given.
    int PaneSize() const;
    void SetPaneSize(int size);

  protected:
    void showEvent(QShowEvent* event) override;
    QSplitterHandle* createHandle() override;

  private:
    int PaneIndex() const { return pane_ == Pane::First ? 0 : 1; }
    int Length() const;
    void LayOutPane();

    Pane pane_;
    int minSize_;
    int pendingSize_ = 0;
    bool shown_ = false;
};

}  // namespace vantaro
