#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include "shell/HelpViewer.h"

namespace vantaro {
namespace {

const int AllContexts[] = {
    help::Contents,           help::MainWindow,      help::About,
    help::Preferences,        help::TagEditorAdd,    help::TagEditorEdit,
    help::DeleteLanguageTags, help::TemplateWarning, help::BackupWarning,
    help::ClearLog,
};

QString PageText(int context) {
    QFile page(QStringLiteral(":/help/%1.html").arg(context));
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

QUrl PageUrl(int context) {
    return QUrl(QStringLiteral("qrc:/help/%1.html").arg(context));
}

TEST(HelpPages, EveryContextHasItsOwnTitledPage) {
    for (int context : AllContexts) {
        SCOPED_TRACE(context);
        EXPECT_TRUE(HasHelpPage(context));
        EXPECT_EQ(HelpPageUrl(context), PageUrl(context));
        EXPECT_TRUE(
            PageText(context).contains(QRegularExpression(QStringLiteral("<title>.+</title>"))));
    }
}

TEST(HelpPages, LinksLeadToExistingPagesAndBackToTheContents) {
    const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)"));
    for (int context : AllContexts) {
        SCOPED_TRACE(context);
        const QString text = PageText(context);
        for (const QRegularExpressionMatch& match : link.globalMatch(text)) {
            EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + match.captured(1)))
                << match.captured(1).toStdString();
        }
        if (context != help::Contents) {
            EXPECT_TRUE(text.contains(QStringLiteral("href=\"10000010.html\"")));
        }
    }
}

TEST(HelpPages, UnknownContextFallsBackToTheContents) {
    EXPECT_FALSE(HasHelpPage(12345));
    EXPECT_EQ(HelpPageUrl(12345), PageUrl(help::Contents));
}

TEST(HelpViewer, ShowsTheRequestedPageInOneReusedWindow) {
    ShowHelp(nullptr, help::Preferences);
    HelpViewer* viewer = HelpViewer::Existing();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(viewer->isModal());
    EXPECT_EQ(viewer->CurrentPage(), PageUrl(help::Preferences));
    EXPECT_TRUE(viewer->windowTitle().contains(QStringLiteral("Preferences")));

    ShowHelp(nullptr, help::ClearLog);
    EXPECT_EQ(HelpViewer::Existing(), viewer);
    EXPECT_EQ(viewer->CurrentPage(), PageUrl(help::ClearLog));

    viewer->Browser().backward();
    EXPECT_EQ(viewer->CurrentPage(), PageUrl(help::Preferences));

    auto* contents = viewer->findChild<QToolButton*>(QStringLiteral("ContentsButton"));
    ASSERT_NE(contents, nullptr);
    contents->click();
    EXPECT_EQ(viewer->CurrentPage(), PageUrl(help::Contents));
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Vantaro Help"));

    viewer->close();
    ShowHelp(nullptr, help::About);
    EXPECT_EQ(HelpViewer::Existing(), viewer);
    EXPECT_TRUE(viewer->isVisible());
}

TEST(HelpViewer, F1ShowsTheHelpOfTheWindowItWasPressedIn) {
    QDialog window;
    SetHelpContext(window, help::BackupWarning);
    EXPECT_EQ(HelpContextOf(window), help::BackupWarning);
    window.show();
    QTest::keyClick(&window, Qt::Key_F1);
    ASSERT_NE(HelpViewer::Existing(), nullptr);
    EXPECT_EQ(HelpViewer::Existing()->CurrentPage(), PageUrl(help::BackupWarning));

    SetHelpContext(window, help::TemplateWarning);
    QTest::keyClick(&window, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(HelpViewer::Existing()->CurrentPage(), PageUrl(help::BackupWarning));
    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_EQ(HelpViewer::Existing()->CurrentPage(), PageUrl(help::TemplateWarning));
}

// A modal dialog blocks windows that are not its own, so help opened from one must belong to it
// while it is open, pass to the dialog below when it closes, and stand alone after the last.
TEST(HelpViewer, StaysUsableWhileModalDialogsAreOpen) {
    QDialog outer;
    bool ownedByInner = false;
    QWidget* ownerInOuter = nullptr;
    QTimer::singleShot(0, &outer, [&] {
        QDialog inner(&outer);
        QTimer::singleShot(0, &inner, [&] {
            ShowHelp(&inner, help::TagEditorAdd);
            ownedByInner = HelpViewer::Existing()->parentWidget() == &inner;
            inner.accept();
        });
        inner.exec();
        ownerInOuter = HelpViewer::Existing()->parentWidget();
        outer.accept();
    });
    outer.exec();

    EXPECT_TRUE(ownedByInner);
    EXPECT_EQ(ownerInOuter, &outer);
    HelpViewer* viewer = HelpViewer::Existing();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->parentWidget(), nullptr);
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->CurrentPage(), PageUrl(help::TagEditorAdd));
}

}  // namespace
}  // namespace vantaro
