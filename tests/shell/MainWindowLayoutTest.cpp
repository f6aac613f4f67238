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
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"
#include "shell/CExPanel.h"
#include "shell/FolderTree.h"
#include "shell/PaneSplitter.h"
#include "shell/ProgressGauge.h"

namespace vantaro {
namespace {

using test::MainWindowTest;

TEST_F(MainWindowTest, PanesAreNestedAsOnTheForm) {
    TMainForm& w = Create();
    // The tree and the files above, the log across the whole width below, the reference lists
    // beside the log.
    EXPECT_EQ(w.VertSplitter->widget(0), w.HorzSplitter);
    EXPECT_EQ(w.VertSplitter->widget(1), w.LogPanel);
    EXPECT_EQ(w.HorzSplitter->widget(0), w.FoldersPanel);
    EXPECT_EQ(w.HorzSplitter->widget(1), w.FilesListView);
    EXPECT_EQ(w.Splitter1->widget(0), w.LogRichEdit);
    EXPECT_EQ(w.Splitter1->widget(1), w.LogListsPanel);
    EXPECT_EQ(w.VertSplitter->parentWidget(), w.WorkPanel);
    EXPECT_EQ(w.RefImagesListBox->parentWidget(), w.RefsGroupBox);
    EXPECT_EQ(w.IgnoreImagesListBox->parentWidget(), w.RefsIgnoredGroupBox);
    EXPECT_EQ(w.ProgressGauge->parentWidget(), w.ExPanel1);
    for (TPaneSplitter* splitter : {w.HorzSplitter, w.VertSplitter, w.Splitter1}) {
        EXPECT_EQ(splitter->Thickness(), 3);
    }
}

TEST_F(MainWindowTest, ToolbarButtonsShowTheirCaptionsWithTheirBlanks) {
    TMainForm& w = CreateShown();
    const struct {
        QToolBar* bar;
        QAction* action;
        const char* caption;
        const char* hint;
    } buttons[] = {
        {w.TagsToolBar, w.InputToolButton, "  input (image)  ",
         " Scan/update input (image) tags (On/Off)"},
        {w.ProcessToolBar, w.ScanSpeedButton, "        Scan        ", " Scan"},
        {w.StopToolBar, w.StopToolButton, "        Stop         ", " Stop process"},
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
    EXPECT_LT(w.TagsToolBar->x(), w.ProcessToolBar->x());
    EXPECT_LT(w.ProcessToolBar->x(), w.StopToolBar->x());
}

TEST_F(MainWindowTest, MenuItemsHaveTheirShortcuts) {
    TMainForm& w = Create();
    const std::pair<QAction*, QKeySequence> shortcuts[] = {
        {w.SelectAll1, QKeySequence(Qt::CTRL | Qt::Key_A)},
        {w.Scan1, QKeySequence(Qt::Key_F2)},
        {w.AddAlt1, QKeySequence(Qt::Key_F3)},
        {w.AddTitle1, QKeySequence(Qt::Key_F4)},
        {w.Stop1, QKeySequence(Qt::Key_Escape)},
        {w.Open1, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {w.Save1, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {w.Print1, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {w.Copy1, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {w.Help2, QKeySequence(Qt::Key_F1)},
    };
    for (const auto& [item, key] : shortcuts) {
        EXPECT_EQ(item->shortcut(), key) << item->objectName().toStdString();
    }
    EXPECT_EQ(w.File1->actions().size(), 6);  // two separators
    EXPECT_EQ(w.FileListViewPopupMenu->actions().size(), 12);
    EXPECT_TRUE(w.LogRichEdit->actions().contains(w.CopyToClipboard1));
}

TEST_F(MainWindowTest, FileListIsAReportWithFourColumnsThatKeepTheirMinimumWidth) {
    TMainForm& w = CreateShown();
    QHeaderView* header = w.FilesListView->header();
    const char* const captions[] = {"Name ", "Size ", "Type ", "Date Modified"};
    const int widths[] = {128, 48, 64, 84};
    ASSERT_EQ(header->count(), 4);
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(w.FilesListView->model()->headerData(column, Qt::Horizontal).toString(),
                  captions[column]);
        EXPECT_EQ(header->sectionSize(column), widths[column]);
        header->resizeSection(column, widths[column] - 20);
        EXPECT_EQ(header->sectionSize(column), widths[column]) << "column " << column;
        header->resizeSection(column, widths[column] + 20);
        EXPECT_EQ(header->sectionSize(column), widths[column] + 20);
    }
    EXPECT_EQ(w.FilesListView->model()
                  ->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole)
                  .value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_FALSE(header->sectionsClickable());
    EXPECT_EQ(w.FilesListView->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(MainWindowTest, StatusBarShowsTheHintUnderThePointer) {
    TMainForm& w = CreateShown();
    QWidget* scan = w.ProcessToolBar->widgetForAction(w.ScanSpeedButton);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(scan, &enter);
    EXPECT_EQ(w.StatusBar->currentMessage(), " Scan");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(scan, &leave);
    EXPECT_EQ(w.StatusBar->currentMessage(), "");
    QApplication::sendEvent(w.IgnoreImgSpeedButton, &enter);
    EXPECT_EQ(w.StatusBar->currentMessage(), " Ignore selected references");
}

}  // namespace
}  // namespace vantaro
