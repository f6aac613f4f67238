#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "MainWindowFixture.h"
#include "shell/CExPanel.h"
#include "shell/FolderTree.h"
#include "shell/PaneSplitter.h"
#include "shell/ProgressGauge.h"
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {
namespace {

using test::MainWindowTest;

TEST_F(MainWindowTest, PanesAreNestedAsOnTheForm) {
    Create();
    auto* vert = ui.Find<TPaneSplitter>("VertSplitter");
    auto* horz = ui.Find<TPaneSplitter>("HorzSplitter");
    auto* splitter1 = ui.Find<TPaneSplitter>("Splitter1");
    // The tree and the files above, the log across the whole width below, the reference lists
    // beside the log.
    EXPECT_EQ(vert->widget(0), horz);
    EXPECT_EQ(vert->widget(1), ui.Find("LogPanel"));
    EXPECT_EQ(horz->widget(0), ui.Find("FoldersPanel"));
    EXPECT_EQ(horz->widget(1), ui.FilesListView());
    EXPECT_EQ(splitter1->widget(0), ui.LogRichEdit());
    EXPECT_EQ(splitter1->widget(1), ui.Find("LogListsPanel"));
    EXPECT_EQ(vert->parentWidget(), ui.Find("WorkPanel"));
    EXPECT_EQ(ui.RefImagesListBox()->parentWidget(), ui.Find<QGroupBox>("RefsGroupBox"));
    EXPECT_EQ(ui.IgnoreImagesListBox()->parentWidget(), ui.Find<QGroupBox>("RefsIgnoredGroupBox"));
    EXPECT_EQ(ui.ProgressGauge()->parentWidget(), ui.Find<TExPanel>("ExPanel1"));
    for (TPaneSplitter* splitter : {horz, vert, splitter1}) {
        EXPECT_EQ(splitter->Thickness(), 3);
    }
}

// The designer's names are how the components are found; each names exactly one of them.
TEST_F(MainWindowTest, EveryComponentCarriesItsDesignerName) {
    Create();
    for (const char* name : {"MainFormPanel",
                             "TagsToolBar",
                             "ProcessToolBar",
                             "StopToolBar",
                             "StatusBar",
                             "LogToolBarPanel",
                             "LogToolBar",
                             "ProgressLabel",
                             "ExPanel1",
                             "ProgressGauge",
                             "WorkPanel",
                             "HorzSplitter",
                             "VertSplitter",
                             "LogPanel",
                             "Splitter1",
                             "LogRichEdit",
                             "LogListsPanel",
                             "IgnoreImgSpeedButton",
                             "StopIgnoreImgSpeedButton",
                             "RefsGroupBox",
                             "RefImagesListBox",
                             "RefsIgnoredGroupBox",
                             "IgnoreImagesListBox",
                             "FoldersPanel",
                             "FoldersHeaderPanel",
                             "FoldersShellTreeView",
                             "FilesListView",
                             "SpacerPanel",
                             "MainMenu1",
                             "File1",
                             "Tools1",
                             "Log1",
                             "Help1",
                             "FileListViewPopupMenu",
                             "IgnoreImgsListBoxPopupMenu"}) {
        EXPECT_NO_THROW(ui.Find(name)) << name;
    }
    for (const char* name : {"AreaToolButton",
                             "ImgToolButton",
                             "InputToolButton",
                             "ToolButton4",
                             "ScanSpeedButton",
                             "ToolButton3",
                             "PreviewToolButton",
                             "AddAltToolButton",
                             "AddTitleToolButton",
                             "StopToolButton",
                             "OpenLogToolButton",
                             "SaveLogToolButton",
                             "ToolButton1",
                             "PrintLogToolButton",
                             "CopyToolButton",
                             "ToolButton2",
                             "ClearLogToolButton",
                             "ToolButton6",
                             "ToolButton7",
                             "SelectAll1",
                             "DeselectAll1",
                             "N1",
                             "Preferences1",
                             "N2",
                             "Exit1",
                             "area1",
                             "img1",
                             "input1",
                             "N3",
                             "Scan1",
                             "N14",
                             "Preview1",
                             "AddAlt1",
                             "AddTitle1",
                             "N9",
                             "Stop1",
                             "Open1",
                             "Save1",
                             "Print1",
                             "Copy1",
                             "Clear1",
                             "N5",
                             "ShowmissingAlts1",
                             "ShowmissingTitles1",
                             "Help2",
                             "N6",
                             "About1",
                             "Feedback1",
                             "N7",
                             "Update1",
                             "CorvellOnline1",
                             "SelectAll2",
                             "DeselectAll2",
                             "N10",
                             "area2",
                             "img2",
                             "inputimage1",
                             "N11",
                             "Scan2",
                             "N4",
                             "Preview2",
                             "Addalt2",
                             "Addtitle2",
                             "Delete1",
                             "N13",
                             "SelectAll3",
                             "CopyToClipboard1"}) {
        EXPECT_NO_THROW(ui.Action(name)) << name;
    }
}

TEST_F(MainWindowTest, ToolbarButtonsShowTheirCaptionsWithTheirBlanks) {
    CreateShown();
    const struct {
        QToolBar* bar;
        QAction* action;
        const char* caption;
        const char* hint;
    } buttons[] = {
        {ui.Find<QToolBar>("TagsToolBar"), ui.Action("InputToolButton"), "  input (image)  ",
         " Scan/update input (image) tags (On/Off)"},
        {ui.Find<QToolBar>("ProcessToolBar"), ui.Action("ScanSpeedButton"), "        Scan        ",
         " Scan"},
        {ui.Find<QToolBar>("StopToolBar"), ui.Action("StopToolButton"), "        Stop         ",
         " Stop process"},
    };
    for (const auto& each : buttons) {
        auto* button = qobject_cast<QToolButton*>(each.bar->widgetForAction(each.action));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->objectName(), each.action->objectName());
        EXPECT_EQ(button->text(), each.caption);
        EXPECT_EQ(button->toolTip(), each.hint);
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_FALSE(button->icon().isNull());
    }
    EXPECT_LT(buttons[0].bar->x(), buttons[1].bar->x());
    EXPECT_LT(buttons[1].bar->x(), buttons[2].bar->x());

    // At its smallest the window still shows every command.
    window->resize(window->minimumSize());
    Settle();
    for (const char* name : {"AddTitleToolButton", "StopToolButton", "SubfoldersToolButton"}) {
        QWidget* button = nullptr;
        for (QToolBar* bar : window->findChildren<QToolBar*>()) {
            button = button != nullptr ? button : bar->widgetForAction(ui.Action(name));
        }
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->isVisible()) << name;
        EXPECT_LE(button->mapTo(window.get(), QPoint(button->width(), 0)).x(), window->width())
            << name;
    }
    window->resize(1000, 700);
    Settle();

    // Preview lengthens two captions; nothing moves.
    QWidget* stop = buttons[2].bar->widgetForAction(buttons[2].action);
    const QPoint stopAt = stop->mapTo(window.get(), QPoint(0, 0));
    ui.Action("Preview1")->trigger();
    Settle();
    EXPECT_EQ(stop->mapTo(window.get(), QPoint(0, 0)), stopAt);
}

TEST_F(MainWindowTest, MenuItemsHaveTheirShortcuts) {
    Create();
    const std::pair<QAction*, QKeySequence> shortcuts[] = {
        {ui.Action("SelectAll1"), QKeySequence(Qt::CTRL | Qt::Key_A)},
        {ui.Action("Scan1"), QKeySequence(Qt::Key_F2)},
        {ui.Action("AddAlt1"), QKeySequence(Qt::Key_F3)},
        {ui.Action("AddTitle1"), QKeySequence(Qt::Key_F4)},
        {ui.Action("Stop1"), QKeySequence(Qt::Key_Escape)},
        {ui.Action("Open1"), QKeySequence(Qt::CTRL | Qt::Key_O)},
        {ui.Action("Save1"), QKeySequence(Qt::CTRL | Qt::Key_S)},
        {ui.Action("Print1"), QKeySequence(Qt::CTRL | Qt::Key_P)},
        {ui.Action("Copy1"), QKeySequence(Qt::CTRL | Qt::Key_C)},
        {ui.Action("Help2"), QKeySequence(Qt::Key_F1)},
    };
    for (const auto& [item, key] : shortcuts) {
        EXPECT_EQ(item->shortcut(), key) << item->objectName().toStdString();
    }
    EXPECT_EQ(ui.Find<QMenu>("File1")->actions().size(), 8);  // three separators, one submenu
    EXPECT_EQ(ui.Find<QMenu>("FileListViewPopupMenu")->actions().size(), 12);
    EXPECT_TRUE(ui.LogRichEdit()->actions().contains(ui.Action("CopyToClipboard1")));
}

TEST_F(MainWindowTest, FileListIsAReportWithFourColumnsThatKeepTheirMinimumWidth) {
    CreateShown();
    TFileListView* files = ui.FilesListView();
    QHeaderView* header = files->header();
    const char* const captions[] = {"Name ", "Size ", "Type ", "Date Modified"};
    const int widths[] = {128, 48, 64, 84};
    ASSERT_EQ(header->count(), 4);
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(files->model()->headerData(column, Qt::Horizontal).toString(), captions[column]);
        // At the first start no caption is cut.
        EXPECT_GE(header->sectionSize(column),
                  std::max(widths[column], header->sectionSizeHint(column)));
        header->resizeSection(column, widths[column] - 20);
        EXPECT_EQ(header->sectionSize(column), widths[column]) << "column " << column;
        header->resizeSection(column, widths[column] + 20);
        EXPECT_EQ(header->sectionSize(column), widths[column] + 20);
    }
    EXPECT_EQ(
        files->model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
        Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_FALSE(header->sectionsClickable());
    EXPECT_EQ(files->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(MainWindowTest, StatusBarShowsTheHintUnderThePointer) {
    CreateShown();
    auto* statusBar = ui.Find<QStatusBar>("StatusBar");
    QWidget* scan = ui.Find<QToolButton>("ScanSpeedButton");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(scan, &enter);
    EXPECT_EQ(statusBar->currentMessage(), " Scan");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(scan, &leave);
    EXPECT_EQ(statusBar->currentMessage(), "");
    QApplication::sendEvent(ui.Find<QToolButton>("IgnoreImgSpeedButton"), &enter);
    EXPECT_EQ(statusBar->currentMessage(), " Ignore selected references");
}

}  // namespace
}  // namespace vantaro
