#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "Version.h"
#include "shell/HelpViewer.h"
#include "shell/dialogs/CAboutDialog.h"

namespace vantaro {
namespace {

QString LabelText(const QDialog& dialog, const char* name) {
    const auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
    return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

QString Facts(int selector) {
    switch (selector) {
        case 0:
            return QStringLiteral("Tom & Jerry");
        case 1:
            return QStringLiteral("2.3.4.5");
        default:
            return QStringLiteral("Copyright (c) R&D");
    }
}

TEST(AboutDialog, ShowsTheBuildsVersionFacts) {
    EXPECT_EQ(TAboutDialog::GetVersionInfoString(0), QStringLiteral("Vantaro"));
    EXPECT_TRUE(TAboutDialog::GetVersionInfoString(1).contains(
        QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"))));
    EXPECT_EQ(TAboutDialog::GetVersionInfoString(2), QString::fromUtf8(version::LegalCopyright));
    EXPECT_TRUE(TAboutDialog::GetVersionInfoString(3).isEmpty());

    TAboutDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" About"));
    EXPECT_EQ(dialog.size(), QSize(314, 236));
    EXPECT_EQ(LabelText(dialog, "ProductNameLabel"), QStringLiteral("Vantaro"));
    EXPECT_EQ(LabelText(dialog, "VersionLabel"),
              QStringLiteral("Build ") + QString::fromUtf8(version::FileVersion));
    EXPECT_EQ(LabelText(dialog, "LegalTrademarksLabel"), QStringLiteral("All rights reserved."));
    EXPECT_EQ(HelpContextOf(dialog), help::About);
}

TEST(AboutDialog, AmpersandsAreShownAsThemselves) {
    TAboutDialog dialog(nullptr, Facts);
    dialog.show();
    for (const char* name : {"ProductNameLabel", "LegalCopyrightLabel"}) {
        SCOPED_TRACE(name);
        const auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(label, nullptr);
        // Taken as a mnemonic, the "&" would vanish and the text would need less room.
        const int full = QFontMetrics(label->font()).horizontalAdvance(label->text());
        EXPECT_GE(label->sizeHint().width(), full);
    }
    EXPECT_EQ(LabelText(dialog, "ProductNameLabel"), QStringLiteral("Tom & Jerry"));
    EXPECT_EQ(LabelText(dialog, "VersionLabel"), QStringLiteral("Build 2.3.4.5"));
}

TEST(AboutDialog, MissingFactsLeaveBuildAlone) {
    TAboutDialog dialog(nullptr, [](int) { return QString(); });
    EXPECT_EQ(LabelText(dialog, "VersionLabel"), QStringLiteral("Build "));
    EXPECT_TRUE(LabelText(dialog, "ProductNameLabel").isEmpty());
}

TEST(AboutDialog, OpensOffsetFromItsOwnerWhereverItIs) {
    QWidget owner;
    for (const QPoint& ownerAt : {QPoint(40, 30), QPoint(210, 120)}) {
        owner.move(ownerAt);
        TAboutDialog dialog(&owner);
        EXPECT_EQ(dialog.pos(), ownerAt + QPoint(32, 48));
    }
}

TEST(AboutDialog, EscAndEnterBothClose) {
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        TAboutDialog dialog(nullptr);
        dialog.show();
        QTest::keyClick(&dialog, key);
        EXPECT_FALSE(dialog.isVisible()) << key;
    }
    TAboutDialog dialog(nullptr);
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("OKButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
}

}  // namespace
}  // namespace vantaro
