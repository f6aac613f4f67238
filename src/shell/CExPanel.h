#pragma once

#include <QFlags>
#include <QWidget>

namespace vantaro {

// A plain container with a bevelled border. The bevel takes room inside the panel's rectangle
// (its contents margins), so children and layouts sit inside it.
class TExPanel : public QWidget {
    Q_OBJECT

  public:
    enum class TBevelKind { None, Tile, Soft, Flat };
    enum class TBevelCut { None, Lowered, Raised, Space };
    enum class TBevelEdge { Left = 0x1, Top = 0x2, Right = 0x4, Bottom = 0x8 };
    Q_DECLARE_FLAGS(TBevelEdges, TBevelEdge)
    Q_ENUM(TBevelKind)
    Q_ENUM(TBevelCut)
    Q_FLAG(TBevelEdges)

    Q_PROPERTY(TBevelKind BevelKind READ BevelKind WRITE SetBevelKind)
    Q_PROPERTY(TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(TBevelEdges BevelEdges READ BevelEdges WRITE SetBevelEdges)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)

    static constexpr TBevelEdges AllEdges{TBevelEdge::Left, TBevelEdge::Top, TBevelEdge::Right,
                                          TBevelEdge::Bottom};

    explicit TExPanel(QWidget* parent = nullptr);

    TBevelKind BevelKind() const { return kind_; }
    TBevelCut BevelInner() const { return inner_; }
    TBevelCut BevelOuter() const { return outer_; }
    TBevelEdges BevelEdges() const { return edges_; }
    int BevelWidth() const { return width_; }

    void SetBevelKind(TBevelKind kind);
    void SetBevelInner(TBevelCut cut);
    void SetBevelOuter(TBevelCut cut);
    void SetBevelEdges(TBevelEdges edges);
    void SetBevelWidth(int width);

    // Thickness of the bevel on each edge it is drawn on.
    int EdgeSize() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void BevelChanged();
    void DrawCut(QPainter& painter, QRect& band, TBevelCut cut, bool outer) const;

    TBevelKind kind_ = TBevelKind::Soft;
    TBevelCut inner_ = TBevelCut::None;
    TBevelCut outer_ = TBevelCut::Raised;
    TBevelEdges edges_ = AllEdges;
    int width_ = 1;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TExPanel::TBevelEdges)

}  // namespace vantaro
