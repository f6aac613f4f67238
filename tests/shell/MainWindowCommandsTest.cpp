#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include "MainWindowFixture.h"
#include "shell/FolderTree.h"
#include "shell/HelpViewer.h"
#include "shell/PaneSplitter.h"
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {
namespace {

using test::MainWindowProbe;
using test::MainWindowTest;

// Records which run each command asked for.
class RunRecordingForm : public TMainForm {
  public:
    std::vector<ScanMode> runs;

  protected:
    void RunProcess(ScanMode mode) override { runs.push_back(mode); }
};

// Catches the pages the web commands open, instead of a browser.
class PageCatcher : public QObject {
    Q_OBJECT

  public:
    PageCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open"); }
    ~PageCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QList<QUrl> pages;

  public slots:
    void Open(const QUrl& url) { pages.append(url); }
};

void OpenAndCloseFileListMenu(const MainWindowProbe& ui) {
    auto* menu = ui.Find<QMenu>("FileListViewPopupMenu");
    menu->popup(ui.FilesListView()->mapToGlobal(QPoint(10, 10)));
    menu->hide();
}

struct Toggle {
    const char* name;
    QAction* button;
    QAction* menuItem;
    QAction* popupItem;
    bool EngineSettings::*field;
};

std::vector<Toggle> Toggles(const MainWindowProbe& ui) {
    auto toggle = [&ui](const char* name, const char* button, const char* menuItem,
                        const char* popupItem, bool EngineSettings::*field) {
        return Toggle{name, ui.Action(button), ui.Action(menuItem), ui.Action(popupItem), field};
    };
    return {toggle("area", "AreaToolButton", "area1", "area2", &EngineSettings::TagArea),
            toggle("img", "ImgToolButton", "img1", "img2", &EngineSettings::TagImg),
            toggle("input", "InputToolButton", "input1", "inputimage1", &EngineSettings::TagInput),
            toggle("preview", "PreviewToolButton", "Preview1", "Preview2",
                   &EngineSettings::PreviewMode)};
}

// The button, the main-menu item, the field and (once the menu has opened) the context-menu
// item all agree.
void ExpectToggle(TMainForm& w, const Toggle& toggle, bool on) {
    const MainWindowProbe ui(w);
    EXPECT_EQ(toggle.button->isChecked(), on);
    EXPECT_EQ(toggle.menuItem->isChecked(), on);
    EXPECT_EQ(w.Settings().*toggle.field, on);
    OpenAndCloseFileListMenu(ui);
    EXPECT_EQ(toggle.popupItem->isChecked(), on);
}

TEST_F(MainWindowTest, TogglesAgreeInAllThreePlaces) {
    TMainForm& w = CreateShown();
    for (const Toggle& toggle : Toggles(ui)) {
        SCOPED_TRACE(toggle.name);
        ExpectToggle(w, toggle, true);  // every toggle starts on
        QToolBar* bar = qobject_cast<QToolBar*>(toggle.button->associatedObjects().value(0));
        ASSERT_NE(bar, nullptr);
        QTest::mouseClick(bar->widgetForAction(toggle.button), Qt::LeftButton);
        ExpectToggle(w, toggle, false);
        toggle.menuItem->trigger();  // back to where it started
        ExpectToggle(w, toggle, true);
        toggle.popupItem->trigger();
        ExpectToggle(w, toggle, false);
        toggle.popupItem->trigger();
        toggle.menuItem->trigger();
        QTest::mouseClick(bar->widgetForAction(toggle.button), Qt::LeftButton);
        ExpectToggle(w, toggle, true);
    }
}

TEST_F(MainWindowTest, PreviewChangesTheSixCaptionsOfTheAddingCommands) {
    CreateShown();
    QToolBar* bar = ui.Find<QToolBar>("ProcessToolBar");
    auto expectCaptions = [this, bar](const QString& alt, const QString& title) {
        for (QAction* item : ui.Actions({"AddAlt1", "Addalt2", "AddAltToolButton"})) {
            EXPECT_EQ(item->text(), alt) << item->objectName().toStdString();
        }
        for (QAction* item : ui.Actions({"AddTitle1", "Addtitle2", "AddTitleToolButton"})) {
            EXPECT_EQ(item->text(), title) << item->objectName().toStdString();
        }
        auto* altButton =
            qobject_cast<QToolButton*>(bar->widgetForAction(ui.Action("AddAltToolButton")));
        auto* titleButton =
            qobject_cast<QToolButton*>(bar->widgetForAction(ui.Action("AddTitleToolButton")));
        EXPECT_EQ(altButton->text(), alt);
        EXPECT_EQ(titleButton->text(), title);
    };
    expectCaptions("+alt (Preview)", "+title (Preview)");
    ui.Action("Preview1")->trigger();
    expectCaptions("+alt", "+title");
    ui.Action("PreviewToolButton")->trigger();
    expectCaptions("+alt (Preview)", "+title (Preview)");
}

TEST_F(MainWindowTest, ReportTogglesFlipTheirFieldAndCheckMark) {
    TMainForm& w = Create();
    EXPECT_TRUE(ui.Action("ShowmissingAlts1")->isChecked());
    ui.Action("ShowmissingAlts1")->trigger();
    EXPECT_FALSE(w.Settings().ShowMissingAltMsgs);
    EXPECT_FALSE(ui.Action("ShowmissingAlts1")->isChecked());
    EXPECT_TRUE(w.Settings().ShowMissingTitleMsgs);
    ui.Action("ShowmissingTitles1")->trigger();
    ui.Action("ShowmissingAlts1")->trigger();
    EXPECT_TRUE(w.Settings().ShowMissingAltMsgs);
    EXPECT_TRUE(ui.Action("ShowmissingAlts1")->isChecked());
    EXPECT_FALSE(w.Settings().ShowMissingTitleMsgs);
    EXPECT_FALSE(ui.Action("ShowmissingTitles1")->isChecked());
}

TEST_F(MainWindowTest, FileCommandsFollowTheSelectionAndRunInEveryPlace) {
    auto& w = CreateShown<RunRecordingForm>();
    const QList<QAction*> runItems =
        ui.Actions({"Scan1", "ScanSpeedButton", "AddAlt1", "AddAltToolButton", "AddTitle1",
                    "AddTitleToolButton"});
    // An empty list: nothing to select or run, and the menu offers only the toggles.
    EXPECT_FALSE(ui.Action("SelectAll1")->isEnabled());
    EXPECT_FALSE(ui.Action("DeselectAll1")->isEnabled());
    for (QAction* item : runItems) {
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    }
    OpenAndCloseFileListMenu(ui);
    for (QAction* item :
         ui.Actions({"SelectAll2", "DeselectAll2", "Scan2", "Addalt2", "Addtitle2"})) {
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    }
    for (QAction* item : ui.Actions({"area2", "img2", "inputimage1", "Preview2"})) {
        EXPECT_TRUE(item->isEnabled());
    }

    ListPages(w, {"a.htm", "b.htm"});
    EXPECT_TRUE(ui.Action("SelectAll1")->isEnabled());
    EXPECT_FALSE(ui.Action("Scan1")->isEnabled());
    ui.Action("SelectAll1")->trigger();
    EXPECT_FALSE(ui.Action("SelectAll1")->isEnabled());
    EXPECT_TRUE(ui.Action("DeselectAll1")->isEnabled());
    for (QAction* item : runItems) {
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    }
    EXPECT_FALSE(ui.Action("Stop1")->isEnabled());
    OpenAndCloseFileListMenu(ui);
    EXPECT_FALSE(ui.Action("SelectAll2")->isEnabled());
    for (QAction* item : ui.Actions({"DeselectAll2", "Scan2", "Addalt2", "Addtitle2"})) {
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    }

    for (QAction* item :
         ui.Actions({"Scan1", "ScanSpeedButton", "Scan2", "AddAlt1", "AddAltToolButton", "Addalt2",
                     "AddTitle1", "AddTitleToolButton", "Addtitle2"})) {
        item->trigger();
    }
    const std::vector<ScanMode> expected = {
        ScanMode::Scan,     ScanMode::Scan,     ScanMode::Scan,
        ScanMode::AddAlt,   ScanMode::AddAlt,   ScanMode::AddAlt,
        ScanMode::AddTitle, ScanMode::AddTitle, ScanMode::AddTitle};
    EXPECT_EQ(w.runs, expected);

    ui.Action("DeselectAll2")->trigger();
    EXPECT_FALSE(ui.Action("Scan1")->isEnabled());
    // While busy the selection commands refuse, even from the context menu, which does not
    // look at the busy state.
    w.SetProcessingState(true);
    OpenAndCloseFileListMenu(ui);
    ASSERT_TRUE(ui.Action("SelectAll2")->isEnabled());
    ui.Action("SelectAll2")->trigger();
    EXPECT_TRUE(ui.FilesListView()->selectionModel()->selectedRows().isEmpty());
    w.SetProcessingState(false);
    ui.Action("SelectAll2")->trigger();
    EXPECT_EQ(ui.FilesListView()->selectionModel()->selectedRows().size(), 2);
}

TEST_F(MainWindowTest, StopAsksAndSetsBothFlagsToTheAnswer) {
    TMainForm& w = Create();
    w.SetProcessingState(true);
    prompter.answers = {Prompter::Yes};
    ui.Action("StopToolButton")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    const Prompter::Message& asked = prompter.messages[0];
    EXPECT_EQ(asked.text, "Stop process ? Are you sure ?");
    EXPECT_EQ(asked.kind, Prompter::Kind::Confirmation);
    EXPECT_EQ(asked.buttons, unsigned(Prompter::Yes | Prompter::No));
    EXPECT_EQ(asked.defaultButton, Prompter::Yes);
    EXPECT_EQ(asked.escapeButton, Prompter::No);
    EXPECT_EQ(asked.helpContext, 0);
    EXPECT_TRUE(w.Flags().StopRequested);
    EXPECT_TRUE(w.Flags().AbortFile);

    prompter.answers = {Prompter::No};
    ui.Action("Stop1")->trigger();
    EXPECT_EQ(prompter.messages.size(), 2u);
    EXPECT_FALSE(w.Flags().StopRequested);
    EXPECT_FALSE(w.Flags().AbortFile);

    // Idle, Stop cannot be reached.
    w.SetProcessingState(false);
    ui.Action("Stop1")->trigger();
    ui.Action("StopToolButton")->trigger();
    EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(MainWindowTest, EscapeStopsOnlyWhileBusy) {
    TMainForm& w = CreateShown();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(ui.LogRichEdit(), Qt::Key_Escape);
    EXPECT_TRUE(prompter.messages.empty());
    w.SetProcessingState(true);
    prompter.answers = {Prompter::Yes};
    QTest::keyClick(ui.LogRichEdit(), Qt::Key_Escape);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(w.Flags().StopRequested);
    w.SetProcessingState(false);
}

TEST_F(MainWindowTest, CtrlASelectsTheFilesEvenWithTheLogFocused) {
    TMainForm& w = CreateShown();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ListPages(w, {"a.htm", "b.htm", "c.htm"});
    ui.LogRichEdit()->AddLogLine("some log text", LogColour::LogGrey, true, FontStyle::Plain());
    ASSERT_EQ(w.focusWidget(), ui.LogRichEdit());
    QTest::keyClick(ui.LogRichEdit(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(ui.FilesListView()->selectionModel()->selectedRows().size(), 3);
    EXPECT_FALSE(ui.LogRichEdit()->HasSelectedText());
    // With Select All disabled (everything is selected) the log has the key.
    QTest::keyClick(ui.LogRichEdit(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(ui.LogRichEdit()->HasSelectedText());
}

TEST_F(MainWindowTest, ClosingWhileBusyIsAStop) {
    TMainForm& w = CreateShown();
    w.SetProcessingState(true);
    prompter.answers = {Prompter::No};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.Flags().StopRequested);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Stop process ? Are you sure ?");

    prompter.answers = {Prompter::Yes};
    ui.Action("Exit1")->trigger();  // Exit takes the same way as the close box
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.Flags().StopRequested);
    EXPECT_TRUE(w.Flags().AbortFile);
    EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(MainWindowTest, ClosingWhileIdleAsksNothing) {
    TMainForm& w = CreateShown();
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainWindowTest, WebCommandsOpenTheMakersPages) {
    Create();
    PageCatcher catcher;
    ui.Action("CorvellOnline1")->trigger();
    ui.Action("Update1")->trigger();
    ui.Action("Feedback1")->trigger();
    EXPECT_EQ(catcher.pages,
              (QList<QUrl>{QUrl("https://corvell.example/"),
                           QUrl("https://corvell.example/downloads/downloads.asp"),
                           QUrl("https://corvell.example/support/feedback.asp?id=45")}));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainWindowTest, AboutRunsItsDialogThroughThePrompter) {
    Create();
    ui.Action("About1")->trigger();
    EXPECT_EQ(prompter.dialogs, std::vector<QString>{"vantaro::TAboutDialog"});
}

TEST_F(MainWindowTest, HelpTopicsOpensTheContentsPage) {
    CreateShown();
    ui.Action("Help2")->trigger();
    HelpViewer* viewer = HelpViewer::Existing();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->CurrentPage(), HelpPageUrl(help::Contents));
    viewer->close();
}

TEST_F(MainWindowTest, TheKeyboardReachesEveryPaneAndShowsWhereItIs) {
    TMainForm& w = CreateShown();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ListPages(w, {"a.htm", "b.htm"});
    w.ReferenceLists().SetIgnoredItems({"a.gif", "b.gif"});

    QWidget* tree = ui.Find<QWidget>("FoldersShellTreeView");
    const QList<QWidget*> order = {tree, ui.FilesListView(), ui.LogRichEdit(),
                                   ui.RefImagesListBox(), ui.IgnoreImagesListBox()};
    tree->setFocus();
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << i;
        if (i == 1) {
            // The file list shows its focus on the first row without selecting it.
            EXPECT_EQ(ui.FilesListView()->currentIndex().row(), 0);
            EXPECT_EQ(ui.FilesListView()->SelectedCount(), 0);
        }
    }

    // Delete in "References Ignored" moves the selected reference back.
    ui.IgnoreImagesListBox()->item(1)->setSelected(true);
    QTest::keyClick(ui.IgnoreImagesListBox(), Qt::Key_Delete);
    EXPECT_EQ(ui.IgnoreImagesListBox()->References(), std::vector<std::string>{"a.gif"});
    EXPECT_EQ(ui.RefImagesListBox()->References(), std::vector<std::string>{"b.gif"});

    // F10 opens the first menu; each menu has its letter.
    QTest::keyClick(&w, Qt::Key_F10);
    EXPECT_EQ(w.menuBar()->activeAction(), ui.Find<QMenu>("File1")->menuAction());
    QStringList titles;
    for (const char* menu : {"File1", "Tools1", "Log1", "Help1"}) {
        titles.append(ui.Find<QMenu>(menu)->title());
    }
    EXPECT_EQ(titles, (QStringList{"&File", "&Tools", "&Log", "&Help"}));
}

}  // namespace
}  // namespace vantaro

#include "MainWindowCommandsTest.moc"
