#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "MainWindowFixture.h"
#include "shell/CExPanel.h"
#include "shell/HelpViewer.h"

namespace vantaro {
namespace {

using test::MainWindowTest;

template <typename T>
bool Has(const QWidget& window, const char* name) {
    return window.findChild<T*>(QLatin1String(name)) != nullptr;
}

// One row of a menu as the user sees it: separators included, an image or not.
struct Item {
    const char* name;
    const char* caption;  // nullptr: a separator
    QKeySequence shortcut = {};
    bool image = false;
    bool checkable = false;
};

void ExpectMenu(const QMenu& menu, const std::vector<Item>& expected) {
    const QList<QAction*> items = menu.actions();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(expected.size())) << menu.objectName().toStdString();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const QAction& item = *items[static_cast<qsizetype>(i)];
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(item.objectName(), QLatin1String(expected[i].name));
        EXPECT_EQ(item.isSeparator(), expected[i].caption == nullptr);
        if (expected[i].caption != nullptr) {
            EXPECT_EQ(item.text(), QString::fromUtf8(expected[i].caption));
            EXPECT_EQ(item.shortcut(), expected[i].shortcut);
            EXPECT_EQ(!item.icon().isNull(), expected[i].image);
            EXPECT_EQ(item.isCheckable(), expected[i].checkable);
        }
    }
}

QKeySequence Ctrl(Qt::Key key) {
    return QKeySequence(Qt::CTRL | key);
}

TEST_F(MainWindowTest, ComponentsAreNamedAndNestedAsOnTheForm) {
    TMainForm& w = Create();
    EXPECT_EQ(w.objectName(), "MainForm");
    EXPECT_EQ(w.windowTitle(), "Vantaro");
    EXPECT_EQ(w.minimumSize(), QSize(681, 388));

    EXPECT_TRUE(Has<TExPanel>(w, "MainFormPanel"));
    EXPECT_TRUE(Has<TExPanel>(w, "ExPanel1"));
    for (const char* name : {"TagsToolBar", "ProcessToolBar", "StopToolBar", "LogToolBar"}) {
        EXPECT_TRUE(Has<QToolBar>(w, name)) << name;
    }
    for (const char* name : {"HorzSplitter", "VertSplitter", "Splitter1"}) {
        EXPECT_TRUE(Has<QSplitter>(w, name)) << name;
    }
    for (const char* name : {"FoldersShellTreeView", "FilesListView"}) {
        EXPECT_TRUE(Has<QTreeView>(w, name)) << name;
    }
    for (const char* name : {"RefImagesListBox", "IgnoreImagesListBox"}) {
        EXPECT_TRUE(Has<QListWidget>(w, name)) << name;
    }
    for (const char* name : {"LogToolBarPanel", "WorkPanel", "LogPanel", "LogListsPanel",
                             "FoldersPanel", "SpacerPanel", "RefsGroupBox",
                             "RefsIgnoredGroupBox"}) {
        EXPECT_TRUE(Has<QWidget>(w, name)) << name;
    }
    EXPECT_TRUE(Has<QPlainTextEdit>(w, "LogRichEdit"));
    EXPECT_TRUE(Has<QProgressBar>(w, "ProgressGauge"));
    EXPECT_TRUE(Has<QStatusBar>(w, "StatusBar"));
    EXPECT_TRUE(Has<QMenuBar>(w, "MainMenu1"));

    // The tree and the files above, the log across the whole width below; the reference lists
    // beside the log.
    EXPECT_EQ(w.VertSplitter->widget(0), w.HorzSplitter);
    EXPECT_EQ(w.VertSplitter->widget(1), w.LogPanel);
    EXPECT_EQ(w.HorzSplitter->widget(0), w.FoldersPanel);
    EXPECT_EQ(w.HorzSplitter->widget(1), w.FilesListView);
    EXPECT_EQ(w.Splitter1->widget(0), static_cast<QWidget*>(w.LogRichEdit));
    EXPECT_EQ(w.Splitter1->widget(1), w.LogListsPanel);
    for (QSplitter* splitter : {static_cast<QSplitter*>(w.HorzSplitter),
                                static_cast<QSplitter*>(w.VertSplitter),
                                static_cast<QSplitter*>(w.Splitter1)}) {
        EXPECT_EQ(splitter->handleWidth(), 3);
    }
    EXPECT_EQ(w.FoldersHeaderPanel->text(), " Folders");
    EXPECT_EQ(w.RefsGroupBox->title(), " References Found ");
    EXPECT_EQ(w.RefsIgnoredGroupBox->title(), " References Ignored ");
    EXPECT_EQ(w.IgnoreImgSpeedButton->text(), ">");
    EXPECT_EQ(w.StopIgnoreImgSpeedButton->text(), "<");
    EXPECT_EQ(w.IgnoreImgSpeedButton->toolTip(), " Ignore selected references");
    EXPECT_EQ(w.StopIgnoreImgSpeedButton->toolTip(), "Stop ignoring selected references");
    EXPECT_EQ(w.IgnoreImgSpeedButton->size(), QSize(23, 22));
    EXPECT_EQ(w.ProgressLabel->text(), " Progress : ");
    EXPECT_FALSE(w.ProgressLabel->isEnabled());
    EXPECT_EQ(w.RefImagesListBox->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(w.IgnoreImagesListBox->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(HelpContextOf(w), help::MainWindow);
}

TEST_F(MainWindowTest, CommandToolbarsShowCaptionsUnderTheirImages) {
    TMainForm& w = CreateShown();
    struct Button {
        QToolBar* bar;
        QAction* action;
        const char* name;
        const char* caption;
        const char* hint;
        bool check;
    };
    const Button buttons[] = {
        {w.TagsToolBar, w.AreaToolButton, "AreaToolButton", "area",
         " Scan/update area tags (On/Off)", true},
        {w.TagsToolBar, w.ImgToolButton, "ImgToolButton", "img", " Scan/update img tags (On/Off)",
         true},
        {w.TagsToolBar, w.InputToolButton, "InputToolButton", "  input (image)  ",
         " Scan/update input (image) tags (On/Off)", true},
        {w.ProcessToolBar, w.ScanSpeedButton, "ScanSpeedButton", "        Scan        ", " Scan",
         false},
        {w.ProcessToolBar, w.PreviewToolButton, "PreviewToolButton", "Preview",
         " Preview (On/Off)", true},
        {w.ProcessToolBar, w.AddAltToolButton, "AddAltToolButton", "+alt (Preview)",
         " Add alt attributes", false},
        {w.ProcessToolBar, w.AddTitleToolButton, "AddTitleToolButton", "+title (Preview)",
         " Add title attributes", false},
        {w.StopToolBar, w.StopToolButton, "StopToolButton", "        Stop         ",
         " Stop process", false},
    };
    for (const Button& each : buttons) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(each.action->objectName(), each.name);
        auto* button = qobject_cast<QToolButton*>(each.bar->widgetForAction(each.action));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), each.caption);  // blanks kept
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_EQ(button->toolTip(), each.hint);
        EXPECT_EQ(each.action->statusTip(), each.hint);
        EXPECT_EQ(button->isCheckable(), each.check);
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_GE(button->width(), each.bar == w.TagsToolBar ? 79 : 80);
        EXPECT_GE(button->height(), 48);
    }
    EXPECT_EQ(w.TagsToolBar->iconSize(), QSize(28, 28));
    // Side by side in the top panel.
    EXPECT_EQ(w.TagsToolBar->parentWidget(), w.MainFormPanel);
    EXPECT_LT(w.TagsToolBar->x(), w.ProcessToolBar->x());
    EXPECT_LT(w.ProcessToolBar->x(), w.StopToolBar->x());

    const std::pair<QAction*, const char*> logButtons[] = {
        {w.OpenLogToolButton, " Open Log"},          {w.SaveLogToolButton, " Save Log"},
        {w.PrintLogToolButton, " Print Log"},        {w.CopyToolButton, " Copy To Clipboard"},
        {w.ClearLogToolButton, " Clear Log"},
    };
    for (const auto& [action, hint] : logButtons) {
        EXPECT_EQ(action->toolTip(), hint);
        EXPECT_FALSE(action->icon().isNull()) << hint;
    }
    EXPECT_EQ(w.LogToolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_EQ(w.LogToolBar->iconSize(), QSize(16, 16));
}

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrder) {
    TMainForm& w = Create();
    const QList<QAction*> menus = w.MainMenu1->actions();
    ASSERT_EQ(menus.size(), 4);
    const char* const titles[] = {"File", "Tools", "Log", "Help"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(menus[i]->text(), titles[i]);
    }
    ExpectMenu(*w.File1, {{"SelectAll1", "Select All", Ctrl(Qt::Key_A), true},
                          {"DeselectAll1", "Deselect All", {}, true},
                          {"N1", nullptr},
                          {"Preferences1", "Preferences...", {}, true},
                          {"N2", nullptr},
                          {"Exit1", "Exit"}});
    ExpectMenu(*w.Tools1, {{"area1", "area", {}, false, true},
                           {"img1", "img", {}, false, true},
                           {"input1", "input (image)", {}, false, true},
                           {"N3", nullptr},
                           {"Scan1", "Scan", QKeySequence(Qt::Key_F2), true},
                           {"N14", nullptr},
                           {"Preview1", "Preview", {}, false, true},
                           {"AddAlt1", "+alt (Preview)", QKeySequence(Qt::Key_F3), true},
                           {"AddTitle1", "+title (Preview)", QKeySequence(Qt::Key_F4), true},
                           {"N9", nullptr},
                           {"Stop1", "Stop", QKeySequence(Qt::Key_Escape), true}});
    ExpectMenu(*w.Log1, {{"Open1", "Open...", Ctrl(Qt::Key_O), true},
                         {"Save1", "Save...", Ctrl(Qt::Key_S), true},
                         {"Print1", "Print...", Ctrl(Qt::Key_P), true},
                         {"Copy1", "Copy To Clipboard", Ctrl(Qt::Key_C), true},
                         {"Clear1", "Clear", {}, true},
                         {"N5", nullptr},
                         {"ShowmissingAlts1", "Show Missing alt Attributes in Scan", {}, false,
                          true},
                         {"ShowmissingTitles1", "Show Missing title Attributes in Scan", {},
                          false, true}});
    ExpectMenu(*w.Help1, {{"Help2", "Help Topics...", QKeySequence(Qt::Key_F1), true},
                          {"N6", nullptr},
                          {"About1", "About Vantaro...", {}, true},
                          {"Feedback1", "Leave Feedback", {}, true},
                          {"N7", nullptr},
                          {"Update1", "Updates...", {}, true},
                          {"CorvellOnline1", "Corvell Online", {}, true}});
    ExpectMenu(*w.FileListViewPopupMenu, {{"SelectAll2", "Select All", {}, true},
                                          {"DeselectAll2", "Deselect All", {}, true},
                                          {"N10", nullptr},
                                          {"area2", "area", {}, false, true},
                                          {"img2", "img", {}, false, true},
                                          {"inputimage1", "input (image)", {}, false, true},
                                          {"N11", nullptr},
                                          {"Scan2", "Scan", {}, true},
                                          {"N4", nullptr},
                                          {"Preview2", "Preview", {}, false, true},
                                          {"Addalt2", "+alt (Preview)", {}, true},
                                          {"Addtitle2", "+title (Preview)", {}, true}});
    ExpectMenu(*w.IgnoreImgsListBoxPopupMenu, {{"Delete1", "Delete", {}, true},
                                               {"N13", nullptr},
                                               {"SelectAll3", "Select All", {}, true}});
    ASSERT_NE(w.CopyToClipboard1, nullptr);
    EXPECT_EQ(w.CopyToClipboard1->text(), "Copy To Clipboard");
    EXPECT_FALSE(w.CopyToClipboard1->icon().isNull());
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
    EXPECT_EQ(w.FilesListView->model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole),
              QVariant(int(Qt::AlignRight | Qt::AlignVCenter)));
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
