#include <QAction>
#include <QDesktopServices>
#include <QMenu>
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

void OpenAndCloseFileListMenu(TMainForm& w) {
    w.FileListViewPopupMenu->popup(w.FilesListView->mapToGlobal(QPoint(10, 10)));
    w.FileListViewPopupMenu->hide();
}

struct Toggle {
    const char* name;
    QAction* button;
    QAction* menuItem;
    QAction* popupItem;
    bool EngineSettings::*field;
};

std::vector<Toggle> Toggles(TMainForm& w) {
    return {{"area", w.AreaToolButton, w.area1, w.area2, &EngineSettings::TagArea},
            {"img", w.ImgToolButton, w.img1, w.img2, &EngineSettings::TagImg},
            {"input", w.InputToolButton, w.input1, w.inputimage1, &EngineSettings::TagInput},
            {"preview", w.PreviewToolButton, w.Preview1, w.Preview2, &EngineSettings::PreviewMode}};
}

// The button, the main-menu item, the field and (once the menu has opened) the context-menu
// item all agree.
void ExpectToggle(TMainForm& w, const Toggle& toggle, bool on) {
    EXPECT_EQ(toggle.button->isChecked(), on);
    EXPECT_EQ(toggle.menuItem->isChecked(), on);
    EXPECT_EQ(w.Settings().*toggle.field, on);
    OpenAndCloseFileListMenu(w);
    EXPECT_EQ(toggle.popupItem->isChecked(), on);
}

TEST_F(MainWindowTest, TogglesAgreeInAllThreePlaces) {
    TMainForm& w = CreateShown();
    for (const Toggle& toggle : Toggles(w)) {
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
    TMainForm& w = CreateShown();
    auto expectCaptions = [&w](const QString& alt, const QString& title) {
        for (QAction* item : {w.AddAlt1, w.Addalt2, w.AddAltToolButton}) {
            EXPECT_EQ(item->text(), alt) << item->objectName().toStdString();
        }
        for (QAction* item : {w.AddTitle1, w.Addtitle2, w.AddTitleToolButton}) {
            EXPECT_EQ(item->text(), title) << item->objectName().toStdString();
        }
        auto* altButton =
            qobject_cast<QToolButton*>(w.ProcessToolBar->widgetForAction(w.AddAltToolButton));
        auto* titleButton =
            qobject_cast<QToolButton*>(w.ProcessToolBar->widgetForAction(w.AddTitleToolButton));
        EXPECT_EQ(altButton->text(), alt);
        EXPECT_EQ(titleButton->text(), title);
    };
    expectCaptions("+alt (Preview)", "+title (Preview)");
    w.Preview1->trigger();
    expectCaptions("+alt", "+title");
    w.PreviewToolButton->trigger();
    expectCaptions("+alt (Preview)", "+title (Preview)");
}

TEST_F(MainWindowTest, ReportTogglesFlipTheirFieldAndCheckMark) {
    TMainForm& w = Create();
    EXPECT_TRUE(w.ShowmissingAlts1->isChecked());
    w.ShowmissingAlts1->trigger();
    EXPECT_FALSE(w.Settings().ShowMissingAltMsgs);
    EXPECT_FALSE(w.ShowmissingAlts1->isChecked());
    EXPECT_TRUE(w.Settings().ShowMissingTitleMsgs);
    w.ShowmissingTitles1->trigger();
    w.ShowmissingAlts1->trigger();
    EXPECT_TRUE(w.Settings().ShowMissingAltMsgs);
    EXPECT_TRUE(w.ShowmissingAlts1->isChecked());
    EXPECT_FALSE(w.Settings().ShowMissingTitleMsgs);
    EXPECT_FALSE(w.ShowmissingTitles1->isChecked());
}

TEST_F(MainWindowTest, FileCommandsFollowTheSelectionAndRunInEveryPlace) {
    auto& w = CreateShown<RunRecordingForm>();
    QAction* const runItems[] = {w.Scan1,     w.ScanSpeedButton,   w.AddAlt1, w.AddAltToolButton,
                                 w.AddTitle1, w.AddTitleToolButton};
    // An empty list: nothing to select or run, and the menu offers only the toggles.
    EXPECT_FALSE(w.SelectAll1->isEnabled());
    EXPECT_FALSE(w.DeselectAll1->isEnabled());
    for (QAction* item : runItems) {
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    }
    OpenAndCloseFileListMenu(w);
    for (QAction* item : {w.SelectAll2, w.DeselectAll2, w.Scan2, w.Addalt2, w.Addtitle2}) {
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    }
    for (QAction* item : {w.area2, w.img2, w.inputimage1, w.Preview2}) {
        EXPECT_TRUE(item->isEnabled());
    }

    ListPages(w, {"a.htm", "b.htm"});
    EXPECT_TRUE(w.SelectAll1->isEnabled());
    EXPECT_FALSE(w.Scan1->isEnabled());
    w.SelectAll1->trigger();
    EXPECT_FALSE(w.SelectAll1->isEnabled());
    EXPECT_TRUE(w.DeselectAll1->isEnabled());
    for (QAction* item : runItems) {
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    }
    EXPECT_FALSE(w.Stop1->isEnabled());
    OpenAndCloseFileListMenu(w);
    EXPECT_FALSE(w.SelectAll2->isEnabled());
    for (QAction* item : {w.DeselectAll2, w.Scan2, w.Addalt2, w.Addtitle2}) {
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    }

    for (QAction* item : {w.Scan1, w.ScanSpeedButton, w.Scan2, w.AddAlt1, w.AddAltToolButton,
                          w.Addalt2, w.AddTitle1, w.AddTitleToolButton, w.Addtitle2}) {
        item->trigger();
    }
    const std::vector<ScanMode> expected = {
        ScanMode::Scan,     ScanMode::Scan,     ScanMode::Scan,
        ScanMode::AddAlt,   ScanMode::AddAlt,   ScanMode::AddAlt,
        ScanMode::AddTitle, ScanMode::AddTitle, ScanMode::AddTitle};
    EXPECT_EQ(w.runs, expected);

    w.DeselectAll2->trigger();
    EXPECT_FALSE(w.Scan1->isEnabled());
    // While busy the selection commands refuse, even from the context menu, which does not
    // look at the busy state.
    w.SetProcessingState(true);
    OpenAndCloseFileListMenu(w);
    ASSERT_TRUE(w.SelectAll2->isEnabled());
    w.SelectAll2->trigger();
    EXPECT_TRUE(w.FilesListView->selectionModel()->selectedRows().isEmpty());
    w.SetProcessingState(false);
    w.SelectAll2->trigger();
    EXPECT_EQ(w.FilesListView->selectionModel()->selectedRows().size(), 2);
}

TEST_F(MainWindowTest, StopAsksAndSetsBothFlagsToTheAnswer) {
    TMainForm& w = Create();
    w.SetProcessingState(true);
    prompter.answers = {Prompter::Yes};
    w.StopToolButton->trigger();
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
    w.Stop1->trigger();
    EXPECT_EQ(prompter.messages.size(), 2u);
    EXPECT_FALSE(w.Flags().StopRequested);
    EXPECT_FALSE(w.Flags().AbortFile);

    // Idle, Stop cannot be reached.
    w.SetProcessingState(false);
    w.Stop1->trigger();
    w.StopToolButton->trigger();
    EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(MainWindowTest, EscapeStopsOnlyWhileBusy) {
    TMainForm& w = CreateShown();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.LogRichEdit, Qt::Key_Escape);
    EXPECT_TRUE(prompter.messages.empty());
    w.SetProcessingState(true);
    prompter.answers = {Prompter::Yes};
    QTest::keyClick(w.LogRichEdit, Qt::Key_Escape);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(w.Flags().StopRequested);
    w.SetProcessingState(false);
}

TEST_F(MainWindowTest, CtrlASelectsTheFilesEvenWithTheLogFocused) {
    TMainForm& w = CreateShown();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ListPages(w, {"a.htm", "b.htm", "c.htm"});
    w.LogRichEdit->AddLogLine("some log text", LogColour::LogGrey, true, FontStyle::Plain());
    ASSERT_EQ(w.focusWidget(), w.LogRichEdit);
    QTest::keyClick(w.LogRichEdit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w.FilesListView->selectionModel()->selectedRows().size(), 3);
    EXPECT_FALSE(w.LogRichEdit->textCursor().hasSelection());
    // With Select All disabled (everything is selected) the log has the key.
    QTest::keyClick(w.LogRichEdit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(w.LogRichEdit->textCursor().hasSelection());
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
    w.Exit1->trigger();  // Exit takes the same way as the close box
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
    TMainForm& w = Create();
    PageCatcher catcher;
    w.CorvellOnline1->trigger();
    w.Update1->trigger();
    w.Feedback1->trigger();
    EXPECT_EQ(catcher.pages,
              (QList<QUrl>{QUrl("https://corvell.example/"),
                           QUrl("https://corvell.example/downloads/downloads.asp"),
                           QUrl("https://corvell.example/support/feedback.asp?id=45")}));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainWindowTest, AboutRunsItsDialogThroughThePrompter) {
    TMainForm& w = Create();
    w.About1->trigger();
    EXPECT_EQ(prompter.dialogs, std::vector<QString>{"vantaro::TAboutDialog"});
}

TEST_F(MainWindowTest, HelpTopicsOpensTheContentsPage) {
    TMainForm& w = CreateShown();
    w.Help2->trigger();
    HelpViewer* viewer = HelpViewer::Existing();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->CurrentPage(), HelpPageUrl(help::Contents));
    viewer->close();
}

}  // namespace
}  // namespace vantaro

#include "MainWindowCommandsTest.moc"
