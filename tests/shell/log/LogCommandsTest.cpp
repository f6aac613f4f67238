#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "ScriptedPrompter.h"
#include "log/LogPageLocations.h"
#include "log/RtfReader.h"
#include "log/RtfWriter.h"
#include "shell/log/LogCommands.h"
#include "shell/log/LogView.h"
#include "support/FileSizeLimit.h"
#include "support/LogRunPrinting.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using C = LogColour;
using test::ScriptedPrompter;
using test::TempDir;

LogRun Span(std::string text, C colour, bool endLine = false, FontStyle style = {}) {
    return LogRun{std::move(text), colour, style, endLine};
}

// The notice Open writes before a file's text.
LogRuns Notice(const std::string& path) {
    return {Span("", C::LogGrey, true),
            Span("Log loaded from file : ", C::LogGrey, false, FontStyle::Underline),
            Span(path, C::LogGrey, true), Span("...", C::LogDarkGrey, true, FontStyle::Bold)};
}

LogRuns Join(std::initializer_list<LogRuns> parts) {
    LogRuns all;
    for (const LogRuns& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

QString Q(const std::string& path) {
    return QString::fromStdString(path);
}

class LogCommandsTest : public testing::Test {
  protected:
    LogCommandsTest() {
        (new QVBoxLayout(&window))->addWidget(view);
        window.show();
        commands.AddCopyTarget(&copyButton);
        commands.AddCopyTarget(&copyItem);
        commands.AddClearTarget(&clearButton);
        commands.AddClearTarget(&clearItem);
    }

    // A log with a little of everything.
    void WriteSomeLog() {
        view->AddLogLine("Scan", C::LogDarkGrey, true, FontStyle::Plain());
        view->AddLogLine("a.htm : ", C::LogGrey, false, FontStyle::Plain());
        view->AddLogLine("caf\xE9 <missing alt>", C::LogOrange, true, FontStyle::Plain());
        view->AddLogLine("{\\template}", C::LogGrey, true, FontStyle::Underline);
        view->AddLogLine("...", C::LogDarkGrey, true, FontStyle::Bold);
    }

    void SelectAll() { view->selectAll(); }

    bool processing = false;
    bool showClearLogPrompt = true;
    int progressResets = 0;
    QWidget window;
    TLogView* view = new TLogView;
    TLogCommands commands{*view, TLogCommands::Hooks{[this] { return processing; },
                                                     [this] { return showClearLogPrompt; },
                                                     [this] { ++progressResets; },
                                                     {}}};
    QAction copyButton{"CopyToolButton"}, copyItem{"Copy1"};
    QAction clearButton{"ClearLogToolButton"}, clearItem{"Clear1"};
    ScriptedPrompter prompter;
    TempDir dir;
};

TEST_F(LogCommandsTest, SaveWritesTheLogAsRtfAndOpenAppendsItFormatted) {
    WriteSomeLog();
    const LogRuns log = view->Runs();
    prompter.saveNames = {Q(dir.File("saved"))};
    commands.SaveLogToolButtonClick();
    ASSERT_EQ(prompter.saveRequests.size(), 1u);
    EXPECT_EQ(prompter.saveRequests[0].filter, "Log Files (*.vtl)");
    EXPECT_EQ(prompter.saveRequests[0].defaultSuffix, "vtl");
    const std::string saved = dir.Read("saved.vtl");  // the extension was added
    EXPECT_EQ(saved.rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(ReadLogRtf(saved), log);

    const std::string path = dir.File("saved.vtl");
    prompter.openNames = {Q(path)};
    commands.OpenLogToolButtonClick();
    EXPECT_EQ(view->Runs(), Join({log, Notice(path), log, {Span("", C::LogGrey, true)}}));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(view->CaretAtEnd());
    EXPECT_FALSE(commands.CopyEnabled());
    EXPECT_TRUE(commands.ClearEnabled());

    // Each dialog starts from its own last choice.
    prompter.saveNames = {QString()};
    prompter.openNames = {QString()};
    commands.SaveLogToolButtonClick();
    commands.OpenLogToolButtonClick();
    EXPECT_EQ(prompter.saveRequests.back().initialPath, Q(path));
    EXPECT_EQ(prompter.openRequests.back().initialPath, Q(path));
}

TEST_F(LogCommandsTest, AnEmptyLogSavesAsAnRtfDocumentWithoutText) {
    prompter.saveNames = {Q(dir.File("empty.vtl"))};
    commands.SaveLogToolButtonClick();
    const auto runs = ReadLogRtf(dir.Read("empty.vtl"));
    ASSERT_TRUE(runs.has_value());
    EXPECT_TRUE(runs->empty());
}

TEST_F(LogCommandsTest, SaveReportsAFileItCannotCreate) {
    view->AddLogLine("kept", C::LogGrey, true, FontStyle::Plain());
    const std::string missing = dir.File("no/such/folder/log.vtl");
    prompter.saveNames = {Q(missing)};
    commands.SaveLogToolButtonClick();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, Q("Cannot create file " + missing));
    EXPECT_EQ(prompter.messages[0].title, "Error");
    EXPECT_EQ(prompter.messages[0].kind, Prompter::Kind::Error);
    EXPECT_EQ(prompter.messages[0].buttons, unsigned{Prompter::Ok});
    EXPECT_EQ(view->Runs(), (LogRuns{Span("kept", C::LogGrey, true)}));
}

TEST_F(LogCommandsTest, AFailedWriteIsReportedAndLeavesThePreviousFileWhole) {
    for (int line = 0; line < 100; ++line) {
        view->AddLogLine("a line of the log", C::LogGrey, true, FontStyle::Plain());
    }
    const std::string path = dir.Write("old.vtl", "previous log");
    prompter.saveNames = {Q(path)};
    {
        const test::FileSizeLimit limit(512);
        commands.SaveLogToolButtonClick();
    }
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Failed to Save Stream");
    EXPECT_EQ(test::ReadWholeFile(path), "previous log");
    EXPECT_EQ(QDir(Q(dir.Path())).entryList(QDir::Files), QStringList{"old.vtl"});
}

TEST_F(LogCommandsTest, AFileThatIsNotOurRtfIsAppendedAsGreyLines) {
    view->AddLogLine("before", C::LogGreen, true, FontStyle::Plain());
    const std::string path = dir.Write("plain.txt", "one\ntwo\rthree\r\ncaf\xE9");
    prompter.openNames = {Q(path)};
    commands.OpenLogToolButtonClick();
    EXPECT_EQ(view->Runs(),
              Join({{Span("before", C::LogGreen, true)},
                    Notice(path),
                    {Span("one", C::LogGrey, true), Span("two", C::LogGrey, true),
                     Span("three", C::LogGrey, true), Span("caf\xC3\xA9", C::LogGrey, true),
                     Span("", C::LogGrey, true)}}));

    view->clear();
    const std::string broken =
        dir.Write("broken.vtl", std::string("{\\rtf1 {\\b x}\nmore\0hidden", 25));
    prompter.openNames = {Q(broken)};
    commands.OpenLogToolButtonClick();
    EXPECT_EQ(view->Runs(), Join({Notice(broken),
                                  {Span("{\\rtf1 {\\b x}", C::LogGrey, true),
                                   Span("more", C::LogGrey, true), Span("", C::LogGrey, true)}}));
}

TEST_F(LogCommandsTest, ALongLogComesInInPartsSayingHowFar) {
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    std::vector<int> linesShownAtEachPart;
    TLogCommands reporting{
        *view, TLogCommands::Hooks{{}, {}, {}, [&](std::size_t done, std::size_t total) {
                                       progress.emplace_back(done, total);
                                       linesShownAtEachPart.push_back(view->LineCount());
                                   }}};
    LogRuns log = {Span("Process started 01/02/2024 10:00", C::LogDarkGrey, true),
                   Span("Path : /site/", C::LogGrey, true)};
    for (int line = 1; line <= 10000; ++line) {
        log.push_back(Span("a.htm : Line " + std::to_string(line) + " : ", C::LogGrey));
        log.push_back(Span("<img : p.gif : alt missing", C::LogOrange, true));
    }
    const std::string path = dir.Write("long.vtl", WriteLogRtf(log));
    prompter.openNames = {Q(path)};
    reporting.OpenLogToolButtonClick();

    EXPECT_EQ(view->Runs(), Join({Notice(path), log, {Span("", C::LogGrey, true)}}));
    // Two full parts of 8192 runs each, then the end.
    const std::size_t total = log.size();
    EXPECT_EQ(progress, (std::vector<std::pair<std::size_t, std::size_t>>{
                            {8192, total}, {16384, total}, {0, 0}}));
    // Each part was in the view when its progress was told.
    ASSERT_EQ(linesShownAtEachPart.size(), 3u);
    EXPECT_GT(linesShownAtEachPart[0], 4000);
    EXPECT_GT(linesShownAtEachPart[1], linesShownAtEachPart[0] + 4000);
    // The lines of every part still name their pages.
    EXPECT_EQ(view->PageOfLine(3 + 2 + 9999), (PageLocation{"/site/a.htm", 10000, TagKind::Img}));

    // A short log says nothing.
    progress.clear();
    prompter.openNames = {Q(dir.Write("short.vtl", WriteLogRtf({Span("one", C::LogGrey, true)})))};
    reporting.OpenLogToolButtonClick();
    EXPECT_TRUE(progress.empty());
}

TEST_F(LogCommandsTest, OtherRtfIsAppendedWithItsFormatting) {
    const std::string path =
        dir.Write("word.rtf",
                  "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                  "\\cf1\\b Red\\b0  text\\par plain\\cf0  end}");
    prompter.openNames = {Q(path)};
    commands.OpenLogToolButtonClick();
    EXPECT_EQ(view->Runs(),
              Join({Notice(path),
                    {Span("Red", C::LogRed, false, FontStyle::Bold), Span(" text", C::LogRed, true),
                     Span("plain", C::LogRed), Span(" end", C::LogDarkGrey, true),
                     Span("", C::LogGrey, true)}}));
}

TEST_F(LogCommandsTest, AnEmptyFileGivesTheNoticeAndOneEmptyLine) {
    const std::string path = dir.Write("empty.vtl", "");
    prompter.openNames = {Q(path)};
    commands.OpenLogToolButtonClick();
    EXPECT_EQ(view->Runs(), Join({Notice(path), {Span("", C::LogGrey, true)}}));
}

TEST_F(LogCommandsTest, AFileThatCannotBeReadLeavesOnlyTheNoticeAndAnError) {
    const std::string path = dir.File("gone.vtl");
    prompter.openNames = {Q(path)};
    commands.OpenLogToolButtonClick();
    EXPECT_EQ(view->Runs(), Notice(path));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, Q("Cannot open file " + path));
    EXPECT_EQ(prompter.messages[0].title, "Error");

    prompter.openNames = {QString()};  // cancelled
    commands.OpenLogToolButtonClick();
    EXPECT_EQ(view->Runs(), Notice(path));
}

TEST_F(LogCommandsTest, PrintsTheWholeLogToAPdf) {
    for (int line = 0; line < 300; ++line) {
        view->AddLogLine("line " + std::to_string(line) + " : ", C::LogGrey, false,
                         FontStyle::Plain());
        view->AddLogLine("missing alt", C::LogOrange, true, FontStyle::Bold);
    }
    const QString pdf = Q(dir.File("log.pdf"));
    prompter.onChoosePrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    commands.PrintLogToolButtonClick();
    EXPECT_EQ(prompter.printDialogs, 1);
    EXPECT_TRUE(prompter.messages.empty());
    const std::string content = dir.Read("log.pdf");
    EXPECT_EQ(content.rfind("%PDF", 0), 0u);
    std::size_t pages = 0;
    for (std::size_t at = content.find("/Type /Page\n"); at != std::string::npos;
         at = content.find("/Type /Page\n", at + 1)) {
        ++pages;
    }
    EXPECT_GE(pages, 2u);
    // The job's title is the document's title, written as UTF-16.
    const std::u16string title = u"Vantaro Log";
    std::string utf16be;
    for (char16_t c : title) {
        utf16be += '\0';
        utf16be += static_cast<char>(c);
    }
    EXPECT_NE(content.find(utf16be), std::string::npos);
}

TEST_F(LogCommandsTest, ACancelledPrintDialogPrintsNothing) {
    view->AddLogLine("x", C::LogGrey, true, FontStyle::Plain());
    commands.PrintLogToolButtonClick();
    EXPECT_EQ(prompter.printDialogs, 1);
    EXPECT_TRUE(QDir(Q(dir.Path())).isEmpty());
}

TEST_F(LogCommandsTest, CopyPutsTheSelectionOnTheClipboard) {
    WriteSomeLog();
    SelectAll();
    QApplication::clipboard()->clear();
    commands.CopyToolButtonClick();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text().toStdString(), PlainTextOf(view->Runs()));
    EXPECT_TRUE(data->text().contains("<missing alt>\r\n{\\template}"));
    EXPECT_TRUE(data->hasHtml());
    EXPECT_TRUE(data->hasFormat("text/rtf"));
}

TEST_F(LogCommandsTest, ClearAsksFirstWhenThePromptIsOn) {
    WriteSomeLog();
    const LogRuns log = view->Runs();
    prompter.answers = {Prompter::No};
    commands.ClearLogToolButtonClick();
    EXPECT_EQ(view->Runs(), log);
    EXPECT_EQ(progressResets, 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    const Prompter::Message& asked = prompter.messages[0];
    EXPECT_EQ(asked.kind, Prompter::Kind::Confirmation);
    EXPECT_EQ(asked.title, "Confirm");
    EXPECT_EQ(asked.text, "Clear log? Are you sure ?");
    EXPECT_EQ(asked.buttons, unsigned{Prompter::Yes | Prompter::No});
    EXPECT_EQ(asked.defaultButton, Prompter::Yes);
    EXPECT_EQ(asked.escapeButton, Prompter::No);
    EXPECT_EQ(asked.helpContext, 10000130);

    prompter.answers = {Prompter::Yes};
    commands.ClearLogToolButtonClick();
    EXPECT_TRUE(view->IsEmpty());
    EXPECT_EQ(progressResets, 1);
    EXPECT_FALSE(commands.CopyEnabled());
    EXPECT_FALSE(commands.ClearEnabled());
    EXPECT_FALSE(clearButton.isEnabled());
    EXPECT_FALSE(clearItem.isEnabled());
}

TEST_F(LogCommandsTest, ClearWithoutThePromptEmptiesAtOnce) {
    showClearLogPrompt = false;
    WriteSomeLog();
    commands.ClearLogToolButtonClick();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(view->IsEmpty());
    EXPECT_EQ(progressResets, 1);
}

TEST_F(LogCommandsTest, CopyFollowsTheSelectionAndClearTheContent) {
    QSignalSpy updates(&commands, &TLogCommands::logCommandsUpdated);
    EXPECT_FALSE(copyButton.isEnabled());
    EXPECT_FALSE(clearButton.isEnabled());
    WriteSomeLog();
    EXPECT_FALSE(copyButton.isEnabled());
    EXPECT_FALSE(copyItem.isEnabled());
    EXPECT_FALSE(commands.CopyToClipboard1()->isEnabled());
    EXPECT_TRUE(clearButton.isEnabled());
    EXPECT_TRUE(clearItem.isEnabled());

    SelectAll();
    EXPECT_TRUE(copyButton.isEnabled());
    EXPECT_TRUE(copyItem.isEnabled());
    EXPECT_TRUE(commands.CopyToClipboard1()->isEnabled());
    ASSERT_FALSE(updates.isEmpty());
    EXPECT_EQ(updates.last(), (QVariantList{true, true}));

    view->SetSelection(view->Caret(), view->Caret());
    EXPECT_FALSE(copyButton.isEnabled());
    EXPECT_FALSE(commands.CopyToClipboard1()->isEnabled());
}

TEST_F(LogCommandsTest, SelectingWithTheMouseEnablesCopyDuringTheDrag) {
    view->AddLogLine("some text to select with the mouse", C::LogGrey, true, FontStyle::Plain());
    QWidget* area = view->viewport();
    const QPoint start(4, view->LineRect(0).center().y());
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, start);
    EXPECT_FALSE(copyButton.isEnabled());
    QTest::mouseMove(area, start + QPoint(60, 0));
    EXPECT_TRUE(copyButton.isEnabled());
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, start + QPoint(60, 0));
    EXPECT_TRUE(copyButton.isEnabled());
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, start + QPoint(10, 0));
    EXPECT_FALSE(copyButton.isEnabled());
}

TEST_F(LogCommandsTest, DuringARunTheEnablingIsFrozen) {
    processing = true;
    WriteSomeLog();
    SelectAll();
    EXPECT_FALSE(copyButton.isEnabled());
    EXPECT_FALSE(clearButton.isEnabled());
    processing = false;
    commands.UpdateLogCommands();
    EXPECT_TRUE(copyButton.isEnabled());
    EXPECT_TRUE(clearButton.isEnabled());
}

TEST_F(LogCommandsTest, DuringARunTheCommandsDoNothing) {
    WriteSomeLog();
    SelectAll();
    const LogRuns log = view->Runs();
    QApplication::clipboard()->setText("unchanged");
    processing = true;
    prompter.openNames = {Q(dir.Write("x.txt", "x"))};
    prompter.saveNames = {Q(dir.File("y.vtl"))};
    prompter.answers = {Prompter::Yes};
    prompter.onChoosePrinter = [](QPrinter&) { return true; };
    commands.OpenLogToolButtonClick();
    commands.SaveLogToolButtonClick();
    commands.PrintLogToolButtonClick();
    commands.CopyToolButtonClick();
    commands.ClearLogToolButtonClick();
    commands.CopyToClipboard1()->trigger();
    EXPECT_TRUE(prompter.openRequests.empty());
    EXPECT_TRUE(prompter.saveRequests.empty());
    EXPECT_EQ(prompter.printDialogs, 0);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(view->Runs(), log);
    EXPECT_EQ(QApplication::clipboard()->text(), "unchanged");
    EXPECT_EQ(progressResets, 0);
}

}  // namespace
}  // namespace vantaro
