#include <QGroupBox>
#include <QMouseEvent>
#include <QSplitter>
#include <QToolButton>
#include <QTreeView>

#include "MainWindowFixture.h"
#include "shell/FolderTree.h"
#include "shell/PaneProportions.h"
#include "shell/PaneSplitter.h"
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {
namespace {

using test::MainWindowProbe;
using test::MainWindowTest;

// The sizes the panes should have in the window's current work area.
struct Panes {
    int folders;
    int log;
    int logLists;
};

Panes ExpectedPanes(const MainWindowProbe& ui, double folders, double log, double logLists) {
    const QSize area = ui.Find("WorkPanel")->size();
    return {ProportionalSize(area.width(), 128, 3, folders),
            ProportionalSize(area.height(), 96, 3, log),
            ProportionalSize(area.width(), 266, 3, logLists)};
}

void ExpectPanes(const MainWindowProbe& ui, const Panes& expected) {
    EXPECT_EQ(ui.Find("FoldersPanel")->width(), expected.folders);
    EXPECT_EQ(ui.FilesListView()->width(), ui.Find("WorkPanel")->width() - 3 - expected.folders);
    EXPECT_EQ(ui.Find("LogPanel")->height(), expected.log);
    EXPECT_EQ(ui.Find("LogListsPanel")->width(), expected.logLists);
}

// Drags a splitter's handle so that the pane before it gets the given size.
void DragHandle(QSplitter* splitter, int size) {
    QSplitterHandle* handle = splitter->handle(1);
    const QPoint grip(1, 1);
    QMouseEvent press(QEvent::MouseButtonPress, grip, handle->mapToGlobal(grip), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &press);
    const QPoint at =
        splitter->orientation() == Qt::Horizontal ? QPoint(size + 1, 1) : QPoint(1, size + 1);
    const QPoint to = splitter->mapToGlobal(at);
    QMouseEvent move(QEvent::MouseMove, handle->mapFromGlobal(to), to, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, handle->mapFromGlobal(to), to, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &release);
}

TEST_F(MainWindowTest, WithoutSettingsThePanesHaveTheirDesignedProportions) {
    TMainForm& w = CreateShown(QSize(1000, 700));
    EXPECT_DOUBLE_EQ(w.FoldersWidthPercent, 177.0 / 672 * 100);
    EXPECT_DOUBLE_EQ(w.LogHeightPercent, 122.0 / 232 * 100);
    EXPECT_DOUBLE_EQ(w.LogListsWidthPercent, 266.0 / 672 * 100);
    ExpectPanes(ui, ExpectedPanes(ui, 177.0 / 672 * 100, 122.0 / 232 * 100, 266.0 / 672 * 100));
    EXPECT_GT(ui.Find("FoldersPanel")->width(), 177);  // the window is larger than designed
}

TEST_F(MainWindowTest, StoredSizesAreSharesOfTheDesignedWorkArea) {
    WriteIni("MainForm", "Folders", "336");
    WriteIni("MainForm", "Log", "116");
    WriteIni("MainForm", "Log Lists", "300");
    TMainForm& w = CreateShown(QSize(1100, 760));
    EXPECT_DOUBLE_EQ(w.FoldersWidthPercent, 50.0);
    EXPECT_DOUBLE_EQ(w.LogHeightPercent, 50.0);
    EXPECT_DOUBLE_EQ(w.LogListsWidthPercent, 300.0 / 672 * 100);
    EXPECT_EQ(ui.Find("FoldersPanel")->width(),
              static_cast<int>(RoundHalfEven(ui.Find("WorkPanel")->width() / 2.0)));
    ExpectPanes(ui, ExpectedPanes(ui, 50.0, 50.0, 300.0 / 672 * 100));
}

TEST_F(MainWindowTest, PanesAreClampedSoTheOtherSideKeepsItsMinimum) {
    WriteIni("MainForm", "Folders", "640");
    WriteIni("MainForm", "Log", "225");
    WriteIni("MainForm", "Log Lists", "660");
    CreateShown(QSize(1000, 700));
    const QSize area = ui.Find("WorkPanel")->size();
    ExpectPanes(ui, {area.width() - 128 - 3, area.height() - 96 - 3, area.width() - 266 - 3});
    EXPECT_EQ(ui.LogRichEdit()->width(), 266);
}

TEST_F(MainWindowTest, PanesAreNeverSmallerThanTheirMinimum) {
    WriteIni("MainForm", "Folders", "20");
    WriteIni("MainForm", "Log", "10");
    WriteIni("MainForm", "Log Lists", "50");
    CreateShown(QSize(1000, 700));
    ExpectPanes(ui, {128, 96, 266});
}

TEST_F(MainWindowTest, ADraggedShareIsKeptWhenTheWindowIsResized) {
    TMainForm& w = CreateShown(QSize(1000, 700));
    QWidget* workPanel = ui.Find("WorkPanel");
    const int width = workPanel->width();
    DragHandle(ui.Find<TPaneSplitter>("HorzSplitter"), 400);
    ASSERT_EQ(ui.Find("FoldersPanel")->width(), 400);
    EXPECT_DOUBLE_EQ(w.FoldersWidthPercent, 400.0 / width * 100);
    DragHandle(ui.Find<TPaneSplitter>("VertSplitter"), 300);  // the log below gets the rest
    const double log = w.LogHeightPercent;
    EXPECT_DOUBLE_EQ(log, 100.0 * (workPanel->height() - 300 - 3) / workPanel->height());

    w.resize(1300, 820);
    Settle();
    ASSERT_GT(workPanel->width(), width);
    ExpectPanes(ui, ExpectedPanes(ui, 400.0 / width * 100, log, 266.0 / 672 * 100));
}

TEST_F(MainWindowTest, NothingIsTakenOrAppliedWhileMinimised) {
    TMainForm& w = CreateShown(QSize(900, 650));
    const int folders = ui.Find("FoldersPanel")->width();
    const double percent = w.FoldersWidthPercent;
    w.showMinimized();
    Settle();
    ASSERT_TRUE(w.isMinimized());
    w.resize(1300, 820);
    Settle();
    EXPECT_EQ(ui.Find("FoldersPanel")->width(), folders);
    EXPECT_DOUBLE_EQ(w.FoldersWidthPercent, percent);

    w.showNormal();
    Settle();
    EXPECT_DOUBLE_EQ(w.FoldersWidthPercent, percent);
    ExpectPanes(ui, ExpectedPanes(ui, percent, 122.0 / 232 * 100, 266.0 / 672 * 100));
}

TEST_F(MainWindowTest, ReferenceAreaLaysOutItsListsAndButtonsInProportion) {
    CreateShown(QSize(1000, 700));
    QWidget* logListsPanel = ui.Find("LogListsPanel");
    auto expectLayout = [this, logListsPanel](int boxWidth, int buttonLeft, int ignoredLeft) {
        const int boxHeight = logListsPanel->height() - 4;
        EXPECT_EQ(ui.Find("RefsGroupBox")->geometry(), QRect(2, 4, boxWidth, boxHeight));
        EXPECT_EQ(ui.Find("IgnoreImgSpeedButton")->geometry(), QRect(buttonLeft, 38, 23, 22));
        EXPECT_EQ(ui.Find("StopIgnoreImgSpeedButton")->geometry(), QRect(buttonLeft, 64, 23, 22));
        EXPECT_EQ(ui.Find("RefsIgnoredGroupBox")->geometry(),
                  QRect(ignoredLeft, 4, boxWidth, boxHeight));
    };
    auto* splitter1 = ui.Find<TPaneSplitter>("Splitter1");
    splitter1->SetPaneSize(400);
    ASSERT_EQ(logListsPanel->width(), 400);
    expectLayout(180, 189, 220);
    splitter1->SetPaneSize(266);
    ASSERT_EQ(logListsPanel->width(), 266);
    expectLayout(116, 122, 150);
}

TEST_F(MainWindowTest, ReferenceAreaKeepsItsDesignedLayoutUntilShown) {
    TMainForm& w = Create();
    ui.Find("LogListsPanel")->resize(400, 200);
    w.LogListsPanelResize();  // a hidden panel hears of its new size only when shown
    EXPECT_EQ(ui.Find("RefsGroupBox")->geometry(), QRect(2, 4, 116, 196));
    EXPECT_EQ(ui.Find("IgnoreImgSpeedButton")->geometry(), QRect(122, 38, 23, 22));
    EXPECT_EQ(ui.Find("RefsIgnoredGroupBox")->geometry(), QRect(150, 4, 116, 196));
}

}  // namespace
}  // namespace vantaro
