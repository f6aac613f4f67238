#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QVBoxLayout>

#include "shell/CExPanel.h"

namespace vantaro {
namespace {

using Cut = TExPanel::TBevelCut;
using Edge = TExPanel::TBevelEdge;
using Kind = TExPanel::TBevelKind;

QMargins MarginsOf(const TExPanel& panel) {
    return panel.contentsMargins();
}

TEST(ExPanel, StartsAsASoftRaisedPanelOfItsDesignedSize) {
    TExPanel panel;
    EXPECT_EQ(panel.BevelKind(), Kind::Soft);
    EXPECT_EQ(panel.BevelOuter(), Cut::Raised);
    EXPECT_EQ(panel.BevelInner(), Cut::None);
    EXPECT_EQ(panel.BevelWidth(), 1);
    EXPECT_EQ(panel.BevelEdges(), TExPanel::AllEdges);
    EXPECT_EQ(panel.size(), QSize(185, 41));
    EXPECT_TRUE(panel.autoFillBackground());
    EXPECT_EQ(MarginsOf(panel), QMargins(1, 1, 1, 1));
}

TEST(ExPanel, BevelTakesRoomOnlyOnItsEdges) {
    TExPanel panel;
    panel.SetBevelKind(Kind::Tile);
    panel.SetBevelInner(Cut::Lowered);
    panel.SetBevelWidth(2);
    panel.SetBevelEdges({Edge::Top, Edge::Bottom});
    EXPECT_EQ(MarginsOf(panel), QMargins(0, 4, 0, 4));

    panel.SetBevelEdges({});
    EXPECT_EQ(MarginsOf(panel), QMargins(0, 0, 0, 0));

    panel.SetBevelEdges(TExPanel::AllEdges);
    panel.SetBevelKind(Kind::None);
    EXPECT_EQ(MarginsOf(panel), QMargins(0, 0, 0, 0));
}

// The progress panel: a tile bevel of two spaces leaves its gauge 2 pixels inside each edge.
TEST(ExPanel, ChildrenFillTheRoomInsideASpacedTileBevel) {
    TExPanel panel;
    panel.SetBevelKind(Kind::Tile);
    panel.SetBevelInner(Cut::Space);
    panel.SetBevelOuter(Cut::Space);
    auto* gauge = new QWidget;
    auto* layout = new QVBoxLayout(&panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(gauge);
    panel.resize(128, 22);
    panel.show();
    layout->activate();
    EXPECT_EQ(gauge->geometry(), QRect(2, 2, 124, 18));
}

TEST(ExPanel, RaisedBevelIsLightAboveAndDarkBelowAndLoweredTheReverse) {
    TExPanel panel;
    panel.resize(40, 20);
    const QRgb light = panel.palette().color(QPalette::Light).rgb();
    const QRgb dark = panel.palette().color(QPalette::Dark).rgb();
    ASSERT_NE(light, dark);

    QImage raised = panel.grab().toImage();
    EXPECT_EQ(raised.pixel(5, 0), light);
    EXPECT_EQ(raised.pixel(0, 5), light);
    EXPECT_EQ(raised.pixel(5, 19), dark);
    EXPECT_EQ(raised.pixel(39, 5), dark);

    panel.SetBevelOuter(Cut::Lowered);
    QImage lowered = panel.grab().toImage();
    EXPECT_EQ(lowered.pixel(5, 0), dark);
    EXPECT_EQ(lowered.pixel(5, 19), light);
}

TEST(ExPanel, NoEdgesMeansNoBevelIsPainted) {
    TExPanel panel;
    panel.resize(40, 20);
    panel.SetBevelKind(Kind::Flat);
    panel.SetBevelEdges({});
    const QRgb face = panel.palette().color(QPalette::Button).rgb();
    QImage image = panel.grab().toImage();
    EXPECT_EQ(image.pixel(0, 0), face);
    EXPECT_EQ(image.pixel(39, 19), face);
}

}  // namespace
}  // namespace vantaro
