// Draws every picture of the program as vector shapes and writes PNG files at 1x and at 2x
// ("name@2x.png"), so the pictures stay sharp on high-density screens without SVG support.
//
// Usage: make_icons <images folder> [--sheet <overview.png>]
// --sheet also writes an enlarged overview of everything drawn, for a look at the whole set.
// Shapes are laid out on a grid of design units (28 or 16 per image side); one-unit lines sit
// on half units so that they fall on whole pixels at both scales.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <utility>
#include <vector>

namespace {

using Draw = std::function<void(QPainter&)>;

// The palette of the whole set.
const QColor Outline(0x2a, 0x3b, 0x4f);
const QColor Paper(0xff, 0xff, 0xff);
const QColor PaperShade(0xe3, 0xea, 0xf2);
const QColor TextLine(0x9a, 0xa9, 0xba);
const QColor SkyTop(0x4f, 0xa8, 0xec);
const QColor SkyBottom(0xcd, 0xe9, 0xfc);
const QColor Sun(0xff, 0xc1, 0x2e);
const QColor Hill(0x43, 0xa0, 0x47);
const QColor HillFar(0x7f, 0xb8, 0x8a);
const QColor Blue(0x1f, 0x6f, 0xd6);
const QColor BlueDark(0x13, 0x4b, 0x9a);
const QColor Orange(0xee, 0x86, 0x1f);
const QColor OrangeDark(0xb3, 0x5a, 0x07);
const QColor Green(0x2e, 0xa6, 0x4c);
const QColor GreenDark(0x1b, 0x6e, 0x31);
const QColor Red(0xdc, 0x32, 0x2a);
const QColor RedDark(0x8e, 0x17, 0x12);
const QColor Yellow(0xff, 0xd2, 0x3f);
const QColor YellowDark(0xb7, 0x84, 0x00);
const QColor Steel(0x8c, 0x99, 0xa8);
const QColor SteelLight(0xd5, 0xdc, 0xe4);
const QColor Teal(0x14, 0x9c, 0xb2);
const QColor TealDark(0x0a, 0x57, 0x80);

QPen Line(const QColor& colour, qreal width = 1.0) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QLinearGradient Vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// Text as an outline path, so it scales like every other shape.
QPainterPath TextPath(const QString& text, qreal pixelSize, bool condensed = false) {
    QFont font(condensed ? QStringLiteral("DejaVu Sans Condensed") : QStringLiteral("DejaVu Sans"));
    font.setPixelSize(100);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath path;
    path.addText(0, 0, font, text);
    return QTransform::fromScale(pixelSize / 100, pixelSize / 100).map(path);
}

void CenteredText(QPainter& p, const QPointF& centre, const QString& text, qreal pixelSize,
                  const QColor& colour, bool condensed = false) {
    QPainterPath path = TextPath(text, pixelSize, condensed);
    path.translate(centre - path.boundingRect().center());
    p.fillPath(path, colour);
}

// ---- Building blocks ------------------------------------------------------------------------

// A framed landscape: sky, sun, two hills.
void Picture(QPainter& p, const QRectF& r) {
    const qreal radius = r.height() > 10 ? 1.5 : 1.0;
    QPainterPath frame;
    frame.addRoundedRect(r, radius, radius);
    p.fillPath(frame, Vertical(r, SkyTop, SkyBottom));

    p.save();
    p.setClipPath(frame);
    p.setPen(Qt::NoPen);
    p.setBrush(Sun);
    const qreal unit = r.height();
    p.drawEllipse(QPointF(r.left() + r.width() * 0.74, r.top() + unit * 0.3), unit * 0.15,
                  unit * 0.15);
    QPainterPath far;
    far.moveTo(r.left(), r.bottom());
    far.lineTo(r.left() + r.width() * 0.08, r.top() + unit * 0.62);
    far.lineTo(r.left() + r.width() * 0.36, r.top() + unit * 0.3);
    far.lineTo(r.left() + r.width() * 0.66, r.top() + unit * 0.72);
    far.lineTo(r.left() + r.width() * 0.66, r.bottom());
    p.fillPath(far, HillFar);
    QPainterPath near;
    near.moveTo(r.left(), r.bottom());
    near.lineTo(r.left(), r.top() + unit * 0.82);
    near.quadTo(r.left() + r.width() * 0.55, r.top() + unit * 0.42, r.right(),
                r.top() + unit * 0.7);
    near.lineTo(r.right(), r.bottom());
    p.fillPath(near, Hill);
    p.restore();

    p.setPen(Line(Outline));
    p.setBrush(Qt::NoBrush);
    p.drawPath(frame);
}

// A sheet of paper with a folded corner and, optionally, lines of text.
void Page(QPainter& p, const QRectF& r, int lines) {
    const qreal fold = std::min(r.width(), r.height()) * 0.3;
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.fillPath(sheet, Vertical(r, Paper, PaperShade));
    p.setPen(Line(Outline));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.drawPath(corner);

    p.setPen(Line(TextLine));
    const qreal step = r.height() > 12 ? 3 : 2;
    for (int i = 0; i < lines; ++i) {
        const qreal y = r.top() + fold + 2 + i * step;
        const qreal end = (i % 3 == 2) ? r.center().x() : r.right() - 2.5;
        if (y < r.bottom() - 1.5) {
            p.drawLine(QPointF(r.left() + 2.5, y), QPointF(end, y));
        }
    }
}

// The green "add" badge.
void PlusBadge(QPainter& p, const QPointF& centre, qreal radius) {
    QRadialGradient fill(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.4);
    fill.setColorAt(0, Green.lighter(125));
    fill.setColorAt(1, Green);
    p.setPen(QPen(Paper, 1.0));
    p.setBrush(fill);
    p.drawEllipse(centre, radius, radius);
    p.setPen(Line(GreenDark, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius + 0.5, radius + 0.5);
    const qreal arm = radius * 0.55;
    p.setPen(QPen(Paper, radius * 0.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(centre.x() - arm, centre.y()), QPointF(centre.x() + arm, centre.y()));
    p.drawLine(QPointF(centre.x(), centre.y() - arm), QPointF(centre.x(), centre.y() + arm));
}

// A label tag (the attribute being added), with its text when there is room for it.
void AttributeTag(QPainter& p, const QRectF& r, const QColor& fill, const QColor& edge,
                  const QString& text, qreal textSize) {
    QPainterPath tag;
    const qreal point = r.height() / 2;
    tag.moveTo(r.left() + point, r.top());
    tag.lineTo(r.right() - 1, r.top());
    tag.quadTo(r.right(), r.top(), r.right(), r.top() + 1);
    tag.lineTo(r.right(), r.bottom() - 1);
    tag.quadTo(r.right(), r.bottom(), r.right() - 1, r.bottom());
    tag.lineTo(r.left() + point, r.bottom());
    tag.lineTo(r.left(), r.center().y());
    tag.closeSubpath();
    p.fillPath(tag, Vertical(r, fill.lighter(118), fill));
    p.setPen(Line(edge));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tag);
    if (text.isEmpty()) {
        p.setPen(Qt::NoPen);
        p.setBrush(Paper);
        p.drawEllipse(QPointF(r.left() + point * 0.9, r.center().y()), 0.9, 0.9);
        return;
    }
    CenteredText(p, QPointF(r.center().x() + point * 0.4, r.center().y()), text, textSize, Paper,
                 true);
}

void Magnifier(QPainter& p, const QPointF& centre, qreal radius, qreal handle) {
    const QPointF dir(std::numbers::sqrt2 / 2, std::numbers::sqrt2 / 2);
    const QPointF start = centre + dir * (radius + 0.8);
    p.setPen(QPen(QColor(0x5a, 0x3e, 0x2b), radius * 0.55, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(start, start + dir * handle);
    QRadialGradient glass(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.3);
    glass.setColorAt(0, QColor(255, 255, 255, 235));
    glass.setColorAt(1, QColor(0xa9, 0xd6, 0xf7, 200));
    p.setPen(QPen(Steel.darker(140), radius * 0.3));
    p.setBrush(glass);
    p.drawEllipse(centre, radius, radius);
}

void Octagon(QPainter& p, const QPointF& centre, qreal radius) {
    QPolygonF shape;
    for (int i = 0; i < 8; ++i) {
        const double angle = (22.5 + 45.0 * i) * std::numbers::pi / 180.0;
        shape << centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
    }
    const QRectF box(centre - QPointF(radius, radius), centre + QPointF(radius, radius));
    p.setPen(Line(RedDark));
    p.setBrush(Vertical(box, Red.lighter(120), Red.darker(110)));
    p.drawPolygon(shape);
    QPolygonF rim;
    for (const QPointF& corner : shape) {
        rim << centre + (corner - centre) * ((radius - radius * 0.16) / radius);
    }
    p.setPen(QPen(Paper, radius * 0.1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(rim);
    const qreal half = radius * 0.36;
    p.setPen(Qt::NoPen);
    p.setBrush(Paper);
    p.drawRoundedRect(QRectF(centre - QPointF(half, half), centre + QPointF(half, half)),
                      half * 0.25, half * 0.25);
}

void Folder(QPainter& p, const QRectF& r) {
    QPainterPath back;
    back.moveTo(r.left(), r.bottom());
    back.lineTo(r.left(), r.top() + 1);
    back.lineTo(r.left() + r.width() * 0.38, r.top() + 1);
    back.lineTo(r.left() + r.width() * 0.48, r.top() + 2.5);
    back.lineTo(r.right() - 1.5, r.top() + 2.5);
    back.lineTo(r.right() - 1.5, r.bottom());
    back.closeSubpath();
    p.setPen(Line(YellowDark));
    p.setBrush(Vertical(r, Yellow.darker(108), Yellow.darker(125)));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(r.left(), r.bottom());
    front.lineTo(r.left() + 2.5, r.top() + r.height() * 0.42);
    front.lineTo(r.right(), r.top() + r.height() * 0.42);
    front.lineTo(r.right() - 2, r.bottom());
    front.closeSubpath();
    p.setBrush(Vertical(r, Yellow.lighter(125), Yellow));
    p.drawPath(front);
}

void Disk(QPainter& p, const QRectF& r) {
    QPainterPath body;
    body.moveTo(r.topLeft());
    body.lineTo(r.right() - 2, r.top());
    body.lineTo(r.right(), r.top() + 2);
    body.lineTo(r.bottomRight());
    body.lineTo(r.bottomLeft());
    body.closeSubpath();
    p.setPen(Line(BlueDark));
    p.setBrush(Vertical(r, Blue.lighter(125), Blue));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(SteelLight);
    const qreal w = r.width();
    p.drawRect(QRectF(r.left() + w * 0.25, r.top() + 0.5, w * 0.5, r.height() * 0.32));
    p.setBrush(Steel.darker(120));
    p.drawRect(QRectF(r.left() + w * 0.52, r.top() + 1.5, w * 0.12, r.height() * 0.2));
    p.setBrush(Paper);
    p.drawRect(QRectF(r.left() + 2, r.top() + r.height() * 0.55, w - 4, r.height() * 0.45 - 0.5));
    p.setPen(Line(TextLine, 0.6));
    p.drawLine(QPointF(r.left() + 3, r.top() + r.height() * 0.72),
               QPointF(r.right() - 3, r.top() + r.height() * 0.72));
}

void Printer(QPainter& p, const QRectF& r) {
    const qreal w = r.width();
    const qreal h = r.height();
    p.setPen(Line(Outline));
    p.setBrush(Paper);
    p.drawRect(QRectF(r.left() + w * 0.22, r.top(), w * 0.56, h * 0.4));
    p.setBrush(Vertical(r, SteelLight, Steel));
    p.drawRoundedRect(QRectF(r.left(), r.top() + h * 0.35, w, h * 0.4), 1, 1);
    p.setBrush(Paper);
    p.drawRect(QRectF(r.left() + w * 0.22, r.top() + h * 0.62, w * 0.56, h * 0.38));
    p.setPen(Line(TextLine, 0.6));
    p.drawLine(QPointF(r.left() + w * 0.32, r.top() + h * 0.8),
               QPointF(r.right() - w * 0.32, r.top() + h * 0.8));
    p.setPen(Qt::NoPen);
    p.setBrush(Green);
    p.drawEllipse(QPointF(r.right() - w * 0.13, r.top() + h * 0.48), 0.8, 0.8);
}

void Eraser(QPainter& p, const QRectF& r) {
    p.save();
    p.translate(r.center());
    p.rotate(-40);
    const QRectF body(-r.width() * 0.5, -r.height() * 0.22, r.width(), r.height() * 0.44);
    const QRectF tip(body.left(), body.top(), body.width() * 0.4, body.height());
    p.setPen(Line(Outline));
    p.setBrush(Vertical(body, QColor(0x7d, 0xb4, 0xf0), QColor(0x3e, 0x86, 0xd4)));
    p.drawRoundedRect(body, 1, 1);
    p.setBrush(Vertical(body, QColor(0xff, 0xc2, 0xcc), QColor(0xf2, 0x8b, 0x9b)));
    p.drawRoundedRect(tip, 1, 1);
    p.restore();
}

void Copies(QPainter& p, const QRectF& r) {
    const qreal w = r.width() * 0.68;
    const qreal h = r.height() * 0.78;
    Page(p, QRectF(r.left(), r.top(), w, h), 0);
    Page(p, QRectF(r.right() - w, r.bottom() - h, w, h), 3);
}

// ---- Command toolbar pictures (28 units) -----------------------------------------------------

void ToolScan(QPainter& p) {
    Page(p, QRectF(3.5, 2.5, 16, 21), 5);
    Magnifier(p, QPointF(17, 15.5), 5.5, 5);
}

// A picture gaining an attribute: the picture, the attribute's tag below it, the add badge.
void ToolAddAttribute(QPainter& p, const QColor& fill, const QColor& edge, const QString& name) {
    Picture(p, QRectF(2.5, 4.5, 19, 13));
    AttributeTag(p, QRectF(2.5, 18.5, 23, 8), fill, edge, name, 7.5);
    PlusBadge(p, QPointF(22, 6.5), 4.5);
}

void ToolAddAlt(QPainter& p) {
    ToolAddAttribute(p, Blue, BlueDark, QStringLiteral("alt"));
}

void ToolAddTitle(QPainter& p) {
    ToolAddAttribute(p, Orange, OrangeDark, QStringLiteral("title"));
}

void ToolArea(QPainter& p) {
    Picture(p, QRectF(2.5, 4.5, 23, 19));
    const QPolygonF region{QPointF(6.5, 9.5), QPointF(17.5, 7.5), QPointF(21.5, 16.5),
                           QPointF(12.5, 20.5), QPointF(7.5, 16.5)};
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawPolygon(region);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Paper, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(region);
    QPen dashes(Red, 1.2, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
    dashes.setDashPattern({2, 2});
    p.setPen(dashes);
    p.drawPolygon(region);
    p.setPen(Line(RedDark, 0.8));
    p.setBrush(Paper);
    for (const QPointF& corner : region) {
        p.drawRect(QRectF(corner - QPointF(1.2, 1.2), QSizeF(2.4, 2.4)));
    }
}

void ToolImg(QPainter& p) {
    Picture(p, QRectF(2.5, 4.5, 23, 19));
}

void Pointer(QPainter& p, const QPointF& tip, qreal scale) {
    QPolygonF arrow{QPointF(0, 0),      QPointF(0, 10),    QPointF(2.4, 7.8), QPointF(4.2, 11.6),
                    QPointF(5.8, 10.8), QPointF(4.1, 7.2), QPointF(7.2, 7.0)};
    for (QPointF& point : arrow) {
        point = tip + point * scale;
    }
    p.setPen(Line(Outline.darker(150), 0.9));
    p.setBrush(Paper);
    p.drawPolygon(arrow);
}

void ToolInput(QPainter& p) {
    const QRectF button(1.5, 5.5, 24, 16);
    p.setPen(Line(Outline));
    p.setBrush(Vertical(button, Paper, SteelLight));
    p.drawRoundedRect(button, 2.5, 2.5);
    p.setPen(Line(Paper, 1));
    p.drawLine(QPointF(4, 6.5), QPointF(23, 6.5));
    Picture(p, QRectF(5.5, 8.5, 15, 10));
    Pointer(p, QPointF(17.5, 14.5), 1.05);
}

void ToolStop(QPainter& p) {
    Octagon(p, QPointF(14, 14), 12);
}

void ToolPreview(QPainter& p) {
    QPainterPath eye;
    eye.moveTo(1.5, 14);
    eye.cubicTo(6, 5.5, 22, 5.5, 26.5, 14);
    eye.cubicTo(22, 22.5, 6, 22.5, 1.5, 14);
    p.setPen(Line(Outline, 1.2));
    p.setBrush(Vertical(QRectF(0, 6, 28, 16), Paper, PaperShade));
    p.drawPath(eye);
    p.save();
    p.setClipPath(eye);
    QRadialGradient iris(QPointF(13, 12.5), 7);
    iris.setColorAt(0, QColor(0x6c, 0xb8, 0xf5));
    iris.setColorAt(1, BlueDark);
    p.setPen(Line(BlueDark.darker(130), 0.8));
    p.setBrush(iris);
    p.drawEllipse(QPointF(14, 14), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x18, 0x24));
    p.drawEllipse(QPointF(14, 14), 2.6, 2.6);
    p.setBrush(Paper);
    p.drawEllipse(QPointF(12, 12), 1.4, 1.4);
    p.restore();
    p.setPen(Line(Outline, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(eye);
}

// A folder with two folders below it, joined by the tree's lines.
void ToolSubfolders(QPainter& p) {
    p.setPen(Line(Outline, 1.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath branches;
    branches.moveTo(6.5, 11);
    branches.lineTo(6.5, 22.5);
    branches.lineTo(11, 22.5);
    branches.moveTo(6.5, 15);
    branches.lineTo(11, 15);
    p.drawPath(branches);
    Folder(p, QRectF(1.5, 2.5, 14, 9));
    Folder(p, QRectF(11.5, 11, 14, 8.5));
    Folder(p, QRectF(11.5, 19, 14, 8));
}

// ---- Small pictures (16 units): log toolbar and menus -----------------------------------------

void SmallOpen(QPainter& p) {
    Page(p, QRectF(4.5, 1.5, 8, 9), 2);
    Folder(p, QRectF(0.5, 4.5, 15, 10));
}

void SmallSave(QPainter& p) {
    Disk(p, QRectF(1.5, 1.5, 13, 13));
}

void SmallPrint(QPainter& p) {
    Printer(p, QRectF(1.5, 1.5, 13, 13));
}

void SmallClear(QPainter& p) {
    Page(p, QRectF(1.5, 0.5, 10, 13), 3);
    Eraser(p, QRectF(5, 7, 11, 8));
}

void SmallCopy(QPainter& p) {
    Copies(p, QRectF(0.5, 0.5, 15, 15));
}

void CheckRows(QPainter& p, bool checked) {
    for (int row = 0; row < 3; ++row) {
        const qreal top = 1.5 + row * 5;
        const QRectF box(1.5, top, 4, 4);
        p.setPen(Line(Outline));
        p.setBrush(checked ? QBrush(Blue) : QBrush(Paper));
        p.drawRect(box);
        if (checked) {
            p.setPen(QPen(Paper, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(
                QPolygonF{QPointF(2.4, top + 2.1), QPointF(3.3, top + 3), QPointF(4.7, top + 1)});
        }
        p.setPen(Line(TextLine, 1));
        p.drawLine(QPointF(7.5, top + 2), QPointF(14.5, top + 2));
    }
}

void SmallSelectAll(QPainter& p) {
    CheckRows(p, true);
}

void SmallDeselectAll(QPainter& p) {
    CheckRows(p, false);
}

void SmallPreferences(QPainter& p) {
    const QPointF centre(8, 8);
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const double angle = (i * 360.0 / (teeth * 4) - 5.6) * std::numbers::pi / 180.0;
        const qreal radius = (i % 4 < 2) ? 7.2 : 5.4;
        const QPointF point = centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
        if (i == 0) {
            gear.moveTo(point);
        } else {
            gear.lineTo(point);
        }
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(centre, 2.2, 2.2);
    gear = gear.subtracted(hole);
    p.setPen(Line(Outline, 0.9));
    p.setBrush(Vertical(QRectF(0, 0, 16, 16), SteelLight, Steel));
    p.drawPath(gear);
}

void SmallAttribute(QPainter& p, const QColor& fill, const QColor& edge) {
    Picture(p, QRectF(0.5, 0.5, 12, 9));
    AttributeTag(p, QRectF(0.5, 10.5, 9, 5), fill, edge, QString(), 0);
    PlusBadge(p, QPointF(12.5, 12.5), 3);
}

void SmallAddAlt(QPainter& p) {
    SmallAttribute(p, Blue, BlueDark);
}

void SmallAddTitle(QPainter& p) {
    SmallAttribute(p, Orange, OrangeDark);
}

void SmallHelp(QPainter& p) {
    const QRectF cover(2.5, 1.5, 11, 13);
    p.setPen(Line(Outline));
    p.setBrush(Paper);
    p.drawRect(QRectF(3.5, 12.5, 10, 2));
    p.setBrush(Vertical(cover, Blue.lighter(120), BlueDark));
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 11), 1, 1);
    p.setPen(Line(BlueDark));
    p.drawLine(QPointF(2.5, 12.5), QPointF(2.5, 14.5));
    CenteredText(p, QPointF(8, 7), QStringLiteral("?"), 9, Paper);
}

void SmallAbout(QPainter& p) {
    QRadialGradient fill(QPointF(6, 5), 9);
    fill.setColorAt(0, Blue.lighter(135));
    fill.setColorAt(1, Blue);
    p.setPen(Line(BlueDark));
    p.setBrush(fill);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Paper);
    p.drawEllipse(QPointF(8, 4.6), 1.2, 1.2);
    p.drawRoundedRect(QRectF(7, 6.6, 2, 5.6), 0.5, 0.5);
}

void SmallFeedback(QPainter& p) {
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(0.5, 1.5, 15, 10), 2.5, 2.5);
    QPainterPath tail;
    tail.moveTo(3.5, 10);
    tail.lineTo(3.5, 14.5);
    tail.lineTo(8, 10);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    p.setPen(Line(GreenDark));
    p.setBrush(Vertical(QRectF(0, 1, 16, 11), Green.lighter(140), Green));
    p.drawPath(bubble);
    p.setPen(Line(Paper, 1));
    p.drawLine(QPointF(3.5, 4.5), QPointF(12.5, 4.5));
    p.drawLine(QPointF(3.5, 7.5), QPointF(10, 7.5));
}

void Arrowhead(QPainter& p, const QPointF& tip, qreal angleDegrees, qreal size) {
    const double a = angleDegrees * std::numbers::pi / 180.0;
    const QPointF forward(std::cos(a), std::sin(a));
    const QPointF side(-forward.y(), forward.x());
    const QPolygonF head{tip + forward * size * 0.6,
                         tip - forward * size * 0.5 + side * size * 0.75,
                         tip - forward * size * 0.5 - side * size * 0.75};
    p.drawPolygon(head);
}

void SmallUpdates(QPainter& p) {
    const QRectF ring(2.5, 2.5, 11, 11);
    p.setPen(QPen(Green, 2, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 20 * 16, 140 * 16);
    p.drawArc(ring, 200 * 16, 140 * 16);
    p.setPen(Line(Green, 0.5));
    p.setBrush(Green);
    Arrowhead(p, QPointF(2.6, 6.2), 90, 4.2);
    Arrowhead(p, QPointF(13.4, 9.8), 270, 4.2);
}

void SmallOnline(QPainter& p) {
    const QPointF centre(8, 8);
    QRadialGradient sea(QPointF(6, 5.5), 9);
    sea.setColorAt(0, QColor(0x7c, 0xc6, 0xf7));
    sea.setColorAt(1, Blue);
    p.setPen(Qt::NoPen);
    p.setBrush(sea);
    p.drawEllipse(centre, 7, 7);
    p.setPen(Line(QColor(255, 255, 255, 200), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 3, 7);
    p.drawLine(QPointF(8, 1), QPointF(8, 15));
    p.drawLine(QPointF(1, 8), QPointF(15, 8));
    p.drawLine(QPointF(2.2, 4.5), QPointF(13.8, 4.5));
    p.drawLine(QPointF(2.2, 11.5), QPointF(13.8, 11.5));
    p.setPen(Line(BlueDark, 1));
    p.drawEllipse(centre, 7, 7);
}

void SmallScan(QPainter& p) {
    Page(p, QRectF(1.5, 0.5, 10, 13), 3);
    Magnifier(p, QPointF(10, 9), 3.4, 3);
}

void SmallStop(QPainter& p) {
    Octagon(p, QPointF(8, 8), 7);
}

void SmallDelete(QPainter& p) {
    p.setPen(QPen(RedDark, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    p.setPen(QPen(Red.lighter(110), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

// ---- Dialog pictures ------------------------------------------------------------------------

void NoEntry(QPainter& p) {
    QRadialGradient fill(QPointF(6, 5), 9);
    fill.setColorAt(0, Red.lighter(130));
    fill.setColorAt(1, Red);
    p.setPen(Line(RedDark));
    p.setBrush(fill);
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Paper);
    p.drawRoundedRect(QRectF(3.5, 6.7, 9, 2.6), 0.6, 0.6);
}

void WarningTriangle(QPainter& p) {
    QPainterPath triangle;
    triangle.moveTo(14.3, 3.6);
    triangle.quadTo(16, 1, 17.7, 3.6);
    triangle.lineTo(30.3, 26.4);
    triangle.quadTo(31.5, 29.5, 28.5, 29.5);
    triangle.lineTo(3.5, 29.5);
    triangle.quadTo(0.5, 29.5, 1.7, 26.4);
    triangle.closeSubpath();
    p.setPen(Line(YellowDark, 1.2));
    p.setBrush(Vertical(QRectF(0, 1, 32, 29), Yellow.lighter(118), QColor(0xf5, 0xb3, 0x00)));
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1c, 0x1c, 0x1c));
    QPainterPath bar;
    bar.moveTo(14.2, 10.5);
    bar.lineTo(17.8, 10.5);
    bar.lineTo(17, 21);
    bar.lineTo(15, 21);
    bar.closeSubpath();
    p.drawPath(bar);
    p.drawEllipse(QPointF(16, 24.6), 1.9, 1.9);
}

// The program's mark: a picture card with a check badge, on a teal tile (32 units).
void MarkGlyph(QPainter& p) {
    const QRectF card(5.5, 6.5, 19, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawRoundedRect(card.translated(0.8, 1), 2, 2);
    p.setPen(Line(Paper, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(-0.8, -0.8, 0.8, 0.8), 2.4, 2.4);
    Picture(p, card);
    const QPointF centre(23, 22);
    p.setPen(QPen(Paper, 1.4));
    p.setBrush(Vertical(QRectF(16, 15, 14, 14), Orange.lighter(120), OrangeDark));
    p.drawEllipse(centre, 6, 6);
    p.setPen(QPen(Paper, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{centre + QPointF(-3, 0.2), centre + QPointF(-0.8, 2.4),
                             centre + QPointF(3, -2.2)});
}

// The mark drawn bolder for 16 and 24 pixels, where the card's outline and shadow would blur.
void SmallAppTile(QPainter& p) {
    const QRectF tile(0.5, 0.5, 31, 31);
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(tile, Teal, TealDark));
    p.drawRoundedRect(tile, 6, 6);
    const QRectF card(4, 5, 21, 17);
    p.setPen(QPen(Paper, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(-1, -1, 1, 1), 2, 2);
    Picture(p, card);
    const QPointF centre(23.5, 23);
    p.setPen(QPen(Paper, 1.8));
    p.setBrush(Orange);
    p.drawEllipse(centre, 7, 7);
    p.setPen(QPen(Paper, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{centre + QPointF(-3.4, 0.2), centre + QPointF(-0.9, 2.7),
                             centre + QPointF(3.4, -2.4)});
}

void AppTile(QPainter& p) {
    const QRectF tile(1, 1, 30, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(tile, Teal, TealDark));
    p.drawRoundedRect(tile, 6.5, 6.5);
    p.setPen(QPen(QColor(255, 255, 255, 60), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    MarkGlyph(p);
}

void AboutBanner(QPainter& p) {
    const QRectF band(0.5, 0.5, 296, 55);
    QLinearGradient fill(band.topLeft(), band.topRight());
    fill.setColorAt(0, TealDark);
    fill.setColorAt(1, Teal);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(band, 6, 6);

    // Faint markup brackets behind the name.
    p.setPen(QPen(QColor(255, 255, 255, 40), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{QPointF(236, 14), QPointF(222, 28), QPointF(236, 42)});
    p.drawPolyline(QPolygonF{QPointF(266, 14), QPointF(280, 28), QPointF(266, 42)});
    p.drawLine(QPointF(256, 12), QPointF(246, 44));

    p.save();
    p.translate(6, 5);
    p.scale(1.45, 1.45);
    MarkGlyph(p);
    p.restore();

    QPainterPath name = TextPath(QStringLiteral("Vantaro"), 28);
    name.translate(QPointF(58, 31) - QPointF(name.boundingRect().left(), 0));
    p.fillPath(name, Paper);
    QPainterPath tagline = TextPath(QStringLiteral("alt & title for every image"), 10.5);
    tagline.translate(QPointF(59, 46) - QPointF(tagline.boundingRect().left(), 0));
    p.fillPath(tagline, QColor(0xd8, 0xf3, 0xf7));
}

// ---- Rendering and variants -----------------------------------------------------------------

QImage Render(QSize size, qreal scale, const Draw& draw, qreal designUnits = 0) {
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal factor = designUnits > 0 ? scale * size.width() / designUnits : scale;
    painter.scale(factor, factor);
    draw(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage Adjusted(const QImage& source, qreal saturation, qreal value) {
    QImage image = source;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) == 0) {
                continue;
            }
            QColor colour = QColor::fromRgba(row[x]);
            float h = 0;
            float s = 0;
            float v = 0;
            float a = 0;
            colour.getHsvF(&h, &s, &v, &a);
            colour.setHsvF(h, std::clamp(s * static_cast<float>(saturation), 0.0f, 1.0f),
                           std::clamp(v * static_cast<float>(value), 0.0f, 1.0f), a);
            row[x] = colour.rgba();
        }
    }
    return image;
}

QImage Normal(const QImage& image) {
    return Adjusted(image, 0.8, 0.97);
}

QImage Hot(const QImage& image) {
    return Adjusted(image, 1.15, 1.05);
}

QImage Disabled(const QImage& source) {
    QImage image = source;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = row[x];
            const int grey = 118 + qGray(pixel) / 2;
            row[x] = qRgba(grey, grey, grey, qAlpha(pixel) * 3 / 4);
        }
    }
    return image;
}

QImage Same(const QImage& image) {
    return image;
}

struct Output {
    QDir root;
    std::vector<std::pair<QImage, QImage>> sheet;
    bool ok = true;

    void Write(const QString& relative, const QImage& image) {
        const QString path = root.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }

    // Writes name.png and name@2x.png.
    void WriteBoth(const QString& name, QSize size, const Draw& draw,
                   const std::function<QImage(const QImage&)>& variant) {
        const QImage once = variant(Render(size, 1, draw));
        const QImage twice = variant(Render(size, 2, draw));
        Write(name + QStringLiteral(".png"), once);
        Write(name + QStringLiteral("@2x.png"), twice);
        sheet.emplace_back(once, twice);
    }
};

struct Indexed {
    int index;
    void (*draw)(QPainter&);
};

void WriteCommandToolbars(Output& out) {
    const Indexed images[] = {{2, ToolScan}, {3, ToolAddAlt},  {4, ToolAddTitle},
                              {5, ToolArea}, {6, ToolImg},     {7, ToolInput},
                              {8, ToolStop}, {9, ToolPreview}, {10, ToolSubfolders}};
    for (const Indexed& image : images) {
        const QString name = QString::number(image.index);
        out.WriteBoth(QStringLiteral("toolbar/normal/") + name, {28, 28}, image.draw, Normal);
        out.WriteBoth(QStringLiteral("toolbar/hot/") + name, {28, 28}, image.draw, Hot);
        out.WriteBoth(QStringLiteral("toolbar/disabled/") + name, {28, 28}, image.draw,
                      [](const QImage& i) { return Disabled(Normal(i)); });
    }
}

void WriteLogToolbar(Output& out) {
    const Indexed images[] = {
        {0, SmallOpen}, {1, SmallSave}, {2, SmallPrint}, {3, SmallClear}, {4, SmallCopy}};
    for (const Indexed& image : images) {
        const QString name = QString::number(image.index);
        out.WriteBoth(QStringLiteral("log/normal/") + name, {16, 16}, image.draw, Normal);
        out.WriteBoth(QStringLiteral("log/hot/") + name, {16, 16}, image.draw, Hot);
    }
}

void WriteMenu(Output& out) {
    const Indexed images[] = {{0, SmallSelectAll}, {1, SmallDeselectAll}, {2, SmallPreferences},
                              {3, SmallAddAlt},    {4, SmallAddTitle},    {5, SmallOpen},
                              {6, SmallSave},      {7, SmallPrint},       {8, SmallCopy},
                              {9, SmallClear},     {10, SmallHelp},       {11, SmallAbout},
                              {12, SmallFeedback}, {13, SmallUpdates},    {14, SmallOnline},
                              {17, SmallScan},     {18, SmallStop},       {19, SmallDelete}};
    for (const Indexed& image : images) {
        out.WriteBoth(QStringLiteral("menu/") + QString::number(image.index), {16, 16}, image.draw,
                      Same);
    }
}

void WriteDialogPictures(Output& out) {
    out.WriteBoth(QStringLiteral("dialog/no-entry"), {16, 16}, NoEntry, Same);
    out.WriteBoth(QStringLiteral("dialog/warning"), {32, 32}, WarningTriangle, Same);
    out.WriteBoth(QStringLiteral("dialog/about-banner"), {297, 56}, AboutBanner, Same);
}

void WriteAppIcon(Output& out) {
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage image = Render({size, size}, 1, size <= 24 ? SmallAppTile : AppTile, 32);
        out.Write(QStringLiteral("app/vantaro-%1.png").arg(size), image);
        out.sheet.emplace_back(image, image);
    }
}

// Every picture at both scales, enlarged without smoothing to the same size: the 1x image on a
// light strip above, the 2x image on a dark strip below.
QImage Sheet(const std::vector<std::pair<QImage, QImage>>& images) {
    const int columns = 10;
    const int cell = 150;
    const int rows = static_cast<int>((images.size() + columns - 1) / columns);
    QImage sheet(columns * cell, rows * cell * 2, QImage::Format_ARGB32);
    sheet.fill(QColor(0xf0, 0xf0, 0xf0));
    QPainter p(&sheet);
    for (std::size_t i = 0; i < images.size(); ++i) {
        const QPoint corner(static_cast<int>(i % columns) * cell,
                            static_cast<int>(i / columns) * cell * 2);
        p.fillRect(QRect(corner + QPoint(0, cell), QSize(cell, cell)), QColor(0x30, 0x30, 0x30));
        const auto& [once, twice] = images[i];
        const QSize shown = once.size().scaled(cell - 8, cell - 8, Qt::KeepAspectRatio);
        p.drawImage(corner + QPoint(4, 4), once.scaled(shown));
        p.drawImage(corner + QPoint(4, cell + 4), twice.scaled(shown));
    }
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: make_icons <images folder> [--sheet <overview.png>]\n");
        return 2;
    }
    Output out;
    out.root = QDir(args.at(1));
    WriteCommandToolbars(out);
    WriteLogToolbar(out);
    WriteMenu(out);
    WriteDialogPictures(out);
    WriteAppIcon(out);
    const qsizetype sheetArg = args.indexOf(QStringLiteral("--sheet"));
    if (sheetArg > 0 && sheetArg + 1 < args.size()) {
        // Twenty pictures per overview file: name-1.png, name-2.png, ...
        QString base = args.at(sheetArg + 1);
        base.chop(QFileInfo(base).suffix().size() + 1);
        for (std::size_t first = 0, part = 1; first < out.sheet.size(); first += 20, ++part) {
            const auto end = out.sheet.begin() +
                             static_cast<std::ptrdiff_t>(std::min(first + 20, out.sheet.size()));
            Sheet({out.sheet.begin() + static_cast<std::ptrdiff_t>(first), end})
                .save(QStringLiteral("%1-%2.png").arg(base).arg(part), "PNG");
        }
    }
    return out.ok ? 0 : 1;
}
