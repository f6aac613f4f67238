#include "shell/CExPanel.h"

#include <QPainter>
#include <algorithm>

namespace vantaro {

TExPanel::TExPanel(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    resize(185, 41);
    BevelChanged();
}

void TExPanel::SetBevelKind(TBevelKind kind) {
    kind_ = kind;
    BevelChanged();
}

void TExPanel::SetBevelInner(TBevelCut cut) {
    inner_ = cut;
    BevelChanged();
}

void TExPanel::SetBevelOuter(TBevelCut cut) {
    outer_ = cut;
    BevelChanged();
}

void TExPanel::SetBevelEdges(TBevelEdges edges) {
    edges_ = edges;
    BevelChanged();
}

void TExPanel::SetBevelWidth(int width) {
    width_ = std::max(1, width);
    BevelChanged();
}

int TExPanel::EdgeSize() const {
    if (kind_ == TBevelKind::None) {
        return 0;
    }
    return (inner_ != TBevelCut::None ? width_ : 0) + (outer_ != TBevelCut::None ? width_ : 0);
}

void TExPanel::BevelChanged() {
    const int size = EdgeSize();
    setContentsMargins(edges_.testFlag(TBevelEdge::Left) ? size : 0,
                       edges_.testFlag(TBevelEdge::Top) ? size : 0,
                       edges_.testFlag(TBevelEdge::Right) ? size : 0,
                       edges_.testFlag(TBevelEdge::Bottom) ? size : 0);
    update();
}

void TExPanel::paintEvent(QPaintEvent* /*event*/) {
    if (kind_ == TBevelKind::None) {
        return;
    }
    QPainter painter(this);
    QRect band = rect();
    DrawCut(painter, band, outer_, true);
    DrawCut(painter, band, inner_, false);
}

// Draws one cut of the bevel as lines along the chosen edges and shrinks band past it.
void TExPanel::DrawCut(QPainter& painter, QRect& band, TBevelCut cut, bool outer) const {
    if (cut == TBevelCut::None) {
        return;
    }
    const QPalette& colours = palette();
    QColor light = outer ? colours.color(QPalette::Light) : colours.color(QPalette::Midlight);
    QColor dark = outer && kind_ != TBevelKind::Soft ? colours.color(QPalette::Shadow)
                                                     : colours.color(QPalette::Dark);
    if (kind_ == TBevelKind::Flat) {
        light = dark = colours.color(QPalette::Dark);
    }
    if (cut == TBevelCut::Lowered) {
        std::swap(light, dark);
    }
    const bool left = edges_.testFlag(TBevelEdge::Left);
    const bool top = edges_.testFlag(TBevelEdge::Top);
    const bool right = edges_.testFlag(TBevelEdge::Right);
    const bool bottom = edges_.testFlag(TBevelEdge::Bottom);
    for (int line = 0; line < width_; ++line) {
        if (cut != TBevelCut::Space) {
            if (top) {
                painter.fillRect(band.left(), band.top(), band.width(), 1, light);
            }
            if (left) {
                painter.fillRect(band.left(), band.top(), 1, band.height(), light);
            }
            if (bottom) {
                painter.fillRect(band.left(), band.bottom(), band.width(), 1, dark);
            }
            if (right) {
                painter.fillRect(band.right(), band.top(), 1, band.height(), dark);
            }
        }
        band.adjust(left ? 1 : 0, top ? 1 : 0, right ? -1 : 0, bottom ? -1 : 0);
    }
}

}  // namespace vantaro
