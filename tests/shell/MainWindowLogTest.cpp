#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>

#include "MainWindowFixture.h"
#include "shell/FolderTree.h"
#include "shell/HelpViewer.h"
#include "shell/ProgressGauge.h"
#include "shell/log/LogCommands.h"
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {
namespace {

using test::MainWindowTest;
using C = LogColour;

LogRun Span(std::string text, C colour, bool endLine = false, FontStyle style = {}) {
    return LogRun{std::move(text), colour, style, endLine};
}

void WriteSomeLog(TLogView& view) {
    view.AddLogLine("Scan for missing alt & title attributes", C::LogDarkGrey, true, {});
    view.AddLogLine("a.htm : ", C::LogGrey, false, {});
    view.AddLogLine("img", C::LogDarkGrey, false, FontStyle::Bold);
    view.AddLogLine(" missing alt", C::LogOrange, true, {});
    view.AddLogLine("", C::LogGrey, true, {});
    view.AddLogLine("...", C::LogDarkGrey, true, FontStyle::Bold);
}

TEST_F(MainWindowTest, LogLinesAreWrittenInSegmentsAtTheEnd) {
    TMainForm& w = CreateShown();
    TLogView* view = ui.LogRichEdit();
    WriteSomeLog(*view);
    const LogRuns expected = {
        Span("Scan for missing alt & title attributes", C::LogDarkGrey, true),
        Span("a.htm : ", C::LogGrey),
        Span("img", C::LogDarkGrey, false, FontStyle::Bold),
        Span(" missing alt", C::LogOrange, true),  // plain again after the bold segment
        Span("", C::LogGrey, true),
        Span("...", C::LogDarkGrey, true, FontStyle::Bold),
    };
    EXPECT_EQ(view->Runs(), expected);
    EXPECT_TRUE(view->CaretAtEnd());
    EXPECT_FALSE(view->HasSelectedText());
    EXPECT_EQ(w.focusWidget(), view);

    // A selection made in between does not take the next line elsewhere.
    view->SetSelection({0, 0}, {0, 4});
    view->AddLogLine("Process ended", C::LogDarkGrey, true, {});
    EXPECT_EQ(view->Runs().back(), Span("Process ended", C::LogDarkGrey, true));
    EXPECT_TRUE(view->CaretAtEnd());
    EXPECT_FALSE(view->HasSelectedText());
}

TEST_F(MainWindowTest, CopyAndClearFollowTheLogInEveryPlace) {
    CreateShown();
    TLogView* view = ui.LogRichEdit();
    for (QAction* item : ui.Actions(
             {"Copy1", "CopyToolButton", "CopyToClipboard1", "Clear1", "ClearLogToolButton"})) {
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    }
    WriteSomeLog(*view);
    EXPECT_TRUE(ui.Action("Clear1")->isEnabled());
    EXPECT_TRUE(ui.Action("ClearLogToolButton")->isEnabled());
    EXPECT_FALSE(ui.Action("Copy1")->isEnabled());
    view->selectAll();
    for (QAction* item : ui.Actions({"Copy1", "CopyToolButton", "CopyToClipboard1"})) {
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, SavedLogComesBackThroughOpen) {
    TMainForm& w = CreateShown();
    TLogView* view = ui.LogRichEdit();
    WriteSomeLog(*view);
    const LogRuns log = view->Runs();
    const std::string path = dir.File("run.vtl");
    prompter.saveNames = {QString::fromStdString(dir.File("run"))};  // the extension is added
    ui.Action("Save1")->trigger();
    ASSERT_EQ(dir.Read("run.vtl").rfind("{\\rtf1", 0), 0u);

    w.ShowClearLogPrompt = false;
    ui.Action("ClearLogToolButton")->trigger();
    ASSERT_TRUE(view->Runs().empty());

    prompter.openNames = {QString::fromStdString(path)};
    ui.Action("OpenLogToolButton")->trigger();
    LogRuns expected = {Span("", C::LogGrey, true),
                        Span("Log loaded from file : ", C::LogGrey, false, FontStyle::Underline),
                        Span(path, C::LogGrey, true),
                        Span("...", C::LogDarkGrey, true, FontStyle::Bold)};
    expected.insert(expected.end(), log.begin(), log.end());
    expected.push_back(Span("", C::LogGrey, true));
    EXPECT_EQ(view->Runs(), expected);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(prompter.openRequests.size(), 1u);
    EXPECT_EQ(prompter.openRequests[0].filter, "Log Files (*.vtl)");
}

TEST_F(MainWindowTest, ClearAsksFirstWhenThePreferenceSaysSo) {
    CreateShown();
    TLogView* view = ui.LogRichEdit();
    auto* progressLabel = ui.Find<QLabel>("ProgressLabel");
    TProgressGauge* gauge = ui.ProgressGauge();
    WriteSomeLog(*view);
    progressLabel->setEnabled(true);
    gauge->SetProgress(50);
    gauge->SetShowText(true);
    const LogRuns log = view->Runs();

    prompter.answers = {Prompter::No};
    ui.Action("Clear1")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Clear log? Are you sure ?");
    EXPECT_EQ(prompter.messages[0].title, "Confirm");
    EXPECT_EQ(prompter.messages[0].helpContext, help::ClearLog);
    EXPECT_EQ(view->Runs(), log);
    EXPECT_TRUE(progressLabel->isEnabled());
    EXPECT_EQ(gauge->Progress(), 50u);

    prompter.answers = {Prompter::Yes};
    ui.Action("ClearLogToolButton")->trigger();
    EXPECT_TRUE(view->Runs().empty());
    EXPECT_FALSE(progressLabel->isEnabled());
    EXPECT_EQ(gauge->Progress(), 0u);
    EXPECT_FALSE(gauge->ShowText());
    EXPECT_FALSE(ui.Action("Clear1")->isEnabled());
    EXPECT_FALSE(ui.Action("Copy1")->isEnabled());
}

TEST_F(MainWindowTest, ClearWithoutThePromptEmptiesAtOnce) {
    TMainForm& w = CreateShown();
    w.ShowClearLogPrompt = false;
    TLogView* view = ui.LogRichEdit();
    WriteSomeLog(*view);
    ui.Action("Clear1")->trigger();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(view->Runs().empty());
}

TEST_F(MainWindowTest, LogCommandsDoNothingWhileBusy) {
    TMainForm& w = CreateShown();
    TLogView* view = ui.LogRichEdit();
    WriteSomeLog(*view);
    const LogRuns log = view->Runs();
    prompter.openNames = {QString::fromStdString(dir.File("any.vtl"))};
    prompter.saveNames = {QString::fromStdString(dir.File("any.vtl"))};
    prompter.answers = {Prompter::Yes};
    w.SetProcessingState(true);
    for (QAction* button :
         ui.Actions({"OpenLogToolButton", "SaveLogToolButton", "PrintLogToolButton",
                     "CopyToolButton", "ClearLogToolButton"})) {
        button->trigger();
    }
    w.LogCommands().ClearLogToolButtonClick();
    EXPECT_TRUE(prompter.openRequests.empty());
    EXPECT_TRUE(prompter.saveRequests.empty());
    EXPECT_EQ(prompter.printDialogs, 0);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(view->Runs(), log);
    w.SetProcessingState(false);
}

}  // namespace
}  // namespace vantaro
