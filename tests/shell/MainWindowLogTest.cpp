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

void WriteSomeLog(TMainForm& w) {
    w.LogRichEdit->AddLogLine("Scan for missing alt & title attributes", C::LogDarkGrey, true, {});
    w.LogRichEdit->AddLogLine("a.htm : ", C::LogGrey, false, {});
    w.LogRichEdit->AddLogLine("img", C::LogDarkGrey, false, FontStyle::Bold);
    w.LogRichEdit->AddLogLine(" missing alt", C::LogOrange, true, {});
    w.LogRichEdit->AddLogLine("", C::LogGrey, true, {});
    w.LogRichEdit->AddLogLine("...", C::LogDarkGrey, true, FontStyle::Bold);
}

TEST_F(MainWindowTest, LogLinesAreWrittenInSegmentsAtTheEnd) {
    TMainForm& w = CreateShown();
    WriteSomeLog(w);
    const LogRuns expected = {
        Span("Scan for missing alt & title attributes", C::LogDarkGrey, true),
        Span("a.htm : ", C::LogGrey),
        Span("img", C::LogDarkGrey, false, FontStyle::Bold),
        Span(" missing alt", C::LogOrange, true),  // plain again after the bold segment
        Span("", C::LogGrey, true),
        Span("...", C::LogDarkGrey, true, FontStyle::Bold),
    };
    EXPECT_EQ(w.LogRichEdit->Runs(), expected);
    const QTextCursor caret = w.LogRichEdit->textCursor();
    EXPECT_TRUE(caret.atEnd());
    EXPECT_FALSE(caret.hasSelection());
    EXPECT_EQ(w.focusWidget(), w.LogRichEdit);

    // A selection made in between does not take the next line elsewhere.
    QTextCursor start = w.LogRichEdit->textCursor();
    start.movePosition(QTextCursor::Start);
    start.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
    w.LogRichEdit->setTextCursor(start);
    w.LogRichEdit->AddLogLine("Process ended", C::LogDarkGrey, true, {});
    EXPECT_EQ(w.LogRichEdit->Runs().back(), Span("Process ended", C::LogDarkGrey, true));
    EXPECT_TRUE(w.LogRichEdit->textCursor().atEnd());
    EXPECT_FALSE(w.LogRichEdit->textCursor().hasSelection());
}

TEST_F(MainWindowTest, CopyAndClearFollowTheLogInEveryPlace) {
    TMainForm& w = CreateShown();
    for (QAction* item :
         {w.Copy1, w.CopyToolButton, w.CopyToClipboard1, w.Clear1, w.ClearLogToolButton}) {
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    }
    WriteSomeLog(w);
    EXPECT_TRUE(w.Clear1->isEnabled());
    EXPECT_TRUE(w.ClearLogToolButton->isEnabled());
    EXPECT_FALSE(w.Copy1->isEnabled());
    w.LogRichEdit->selectAll();
    for (QAction* item : {w.Copy1, w.CopyToolButton, w.CopyToClipboard1}) {
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, SavedLogComesBackThroughOpen) {
    TMainForm& w = CreateShown();
    WriteSomeLog(w);
    const LogRuns log = w.LogRichEdit->Runs();
    const std::string path = dir.File("run.vtl");
    prompter.saveNames = {QString::fromStdString(dir.File("run"))};  // the extension is added
    w.Save1->trigger();
    ASSERT_EQ(dir.Read("run.vtl").rfind("{\\rtf1", 0), 0u);

    w.ShowClearLogPrompt = false;
    w.ClearLogToolButton->trigger();
    ASSERT_TRUE(w.LogRichEdit->Runs().empty());

    prompter.openNames = {QString::fromStdString(path)};
    w.OpenLogToolButton->trigger();
    LogRuns expected = {Span("", C::LogGrey, true),
                        Span("Log loaded from file : ", C::LogGrey, false, FontStyle::Underline),
                        Span(path, C::LogGrey, true),
                        Span("...", C::LogDarkGrey, true, FontStyle::Bold)};
    expected.insert(expected.end(), log.begin(), log.end());
    expected.push_back(Span("", C::LogGrey, true));
    EXPECT_EQ(w.LogRichEdit->Runs(), expected);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(prompter.openRequests.size(), 1u);
    EXPECT_EQ(prompter.openRequests[0].filter, "Log Files (*.vtl)");
}

TEST_F(MainWindowTest, ClearAsksFirstWhenThePreferenceSaysSo) {
    TMainForm& w = CreateShown();
    WriteSomeLog(w);
    w.ProgressLabel->setEnabled(true);
    w.ProgressGauge->SetProgress(50);
    w.ProgressGauge->SetShowText(true);
    const LogRuns log = w.LogRichEdit->Runs();

    prompter.answers = {Prompter::No};
    w.Clear1->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Clear log? Are you sure ?");
    EXPECT_EQ(prompter.messages[0].title, "Confirm");
    EXPECT_EQ(prompter.messages[0].helpContext, help::ClearLog);
    EXPECT_EQ(w.LogRichEdit->Runs(), log);
    EXPECT_TRUE(w.ProgressLabel->isEnabled());
    EXPECT_EQ(w.ProgressGauge->Progress(), 50u);

    prompter.answers = {Prompter::Yes};
    w.ClearLogToolButton->trigger();
    EXPECT_TRUE(w.LogRichEdit->Runs().empty());
    EXPECT_FALSE(w.ProgressLabel->isEnabled());
    EXPECT_EQ(w.ProgressGauge->Progress(), 0u);
    EXPECT_FALSE(w.ProgressGauge->ShowText());
    EXPECT_FALSE(w.Clear1->isEnabled());
    EXPECT_FALSE(w.Copy1->isEnabled());
}

TEST_F(MainWindowTest, ClearWithoutThePromptEmptiesAtOnce) {
    TMainForm& w = CreateShown();
    w.ShowClearLogPrompt = false;
    WriteSomeLog(w);
    w.Clear1->trigger();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(w.LogRichEdit->Runs().empty());
}

TEST_F(MainWindowTest, LogCommandsDoNothingWhileBusy) {
    TMainForm& w = CreateShown();
    WriteSomeLog(w);
    const LogRuns log = w.LogRichEdit->Runs();
    prompter.openNames = {QString::fromStdString(dir.File("any.vtl"))};
    prompter.saveNames = {QString::fromStdString(dir.File("any.vtl"))};
    prompter.answers = {Prompter::Yes};
    w.SetProcessingState(true);
    for (QAction* button : {w.OpenLogToolButton, w.SaveLogToolButton, w.PrintLogToolButton,
                            w.CopyToolButton, w.ClearLogToolButton}) {
        button->trigger();
    }
    w.LogCommands().ClearLogToolButtonClick();
    EXPECT_TRUE(prompter.openRequests.empty());
    EXPECT_TRUE(prompter.saveRequests.empty());
    EXPECT_EQ(prompter.printDialogs, 0);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(w.LogRichEdit->Runs(), log);
    w.SetProcessingState(false);
}

}  // namespace
}  // namespace vantaro
