#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/Unprivileged.h"
#endif

#include "engine/RecoveryFiles.h"
#include "log/LogFormatter.h"
#include "platform/Process.h"
#include "platform/SystemFolders.h"
#include "run/ProcessRunner.h"
#include "run/TimeStamp.h"
#include "support/CacheFolder.h"
#include "support/LogExpect.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using namespace test;
using C = LogColour;

// Writes the run's lines into the recording host's log, as the front ends do.
class FakeRunHost : public RunHost {
  public:
    explicit FakeRunHost(RecordingHost& log) : log_(log) {}
    void OnRunStarted(const RunStart& start) override { WriteRunStart(log_, start); }
    void OnRunEnded(const RunEnd& end) override { WriteRunEnd(log_, end); }
    void OnRecoveryFileFound(const RecoveryNotice& notice) override {
        WriteRecoveryNotice(log_, notice);
    }
    void SetProcessingState(bool busy) override { states.push_back(busy); }
    bool AskBackupWarning() override {
        ++backupQuestions;
        return backupAnswer;
    }
    void ShowNoReportsWarning() override { ++noReportWarnings; }
    void ClearFoundReferences() override { ++foundCleared; }
    void SetProgressMaximum(std::uint64_t total) override { maximum = total; }
    std::string TimeStamp() override { return "STAMP"; }

    std::vector<bool> states;
    bool backupAnswer = true;
    int backupQuestions = 0;
    int noReportWarnings = 0;
    int foundCleared = 0;
    std::uint64_t maximum = 0;

  private:
    RecordingHost& log_;
};

// A process that lives as long as this object: init on POSIX systems, a suspended child on
// Windows (whose process ids are never 1).
class LiveProcess {
  public:
#ifdef _WIN32
    LiveProcess() {
        wchar_t command[] = L"cmd.exe";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE,
                             CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                             &process_)) {
            ::CloseHandle(process_.hThread);
        }
    }
    ~LiveProcess() {
        if (process_.hProcess != nullptr) {
            ::TerminateProcess(process_.hProcess, 0);
            ::CloseHandle(process_.hProcess);
        }
    }
    LiveProcess(const LiveProcess&) = delete;
    LiveProcess& operator=(const LiveProcess&) = delete;
    std::uint64_t Id() const {
        return process_.dwProcessId;
    }

  private:
    PROCESS_INFORMATION process_{};
#else
    std::uint64_t Id() const {
        return 1;
    }
#endif
};

// The id of a process of this system's that has ended.
std::uint64_t EndedProcessId() {
#ifdef _WIN32
    wchar_t command[] = L"cmd.exe /c exit";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &process)) {
        return 0;
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return process.dwProcessId;
#else
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    return static_cast<std::uint64_t>(ended);
#endif
}

struct RunFixture : ::testing::Test {
    TempDir dir;
    // The folder as the front ends give it, with the system's own separators.
    const std::string site = WithNativeSeparators(dir.Path());
    RecordingHost log;
    FakeRunHost host{log};
    Engine engine{log};
    ProcessRunner runner{engine, host};

    Segments Header(const std::string& heading) {
        return {Seg(heading, C::LogDarkGrey, true),
                Seg("Process started STAMP", C::LogDarkGrey, true), Seg("Path : ", C::LogDarkGrey),
                Seg(site, C::LogGrey, true)};
    }
    Segments Footer(std::initializer_list<LogSegment> summary) {
        Segments footer = {Seg("Process ended STAMP", C::LogDarkGrey, true)};
        footer.insert(footer.end(), summary);
        footer.push_back(Seg("...", C::LogDarkGrey, true, FontStyle::Bold));
        return footer;
    }
};

TEST_F(RunFixture, AScanOfTwoPagesWritesHeaderFindingsAndSummary) {
    dir.Write("a.htm", "<img src=\"a.gif\" title=\"A\">");
    dir.Write("b.htm", "<p>plain</p>");
    std::string folder = site;
    folder.pop_back();  // the trailing separator is added by the run
    runner.RunProcess(ScanMode::Scan, folder, {"a.htm", "b.htm"});
    EXPECT_EQ(log.segments,
              Join({Header("Scan for missing alt & title attributes"),
                    FindingHead("a.htm", 1, "<img ", "a.gif"),
                    {Seg("alt missing", C::LogOrange), Seg("", C::LogOrange, true)},
                    FileLine("b.htm", "No changes", C::LogGreen),
                    Footer({Seg("Missing alt attributes: 1", C::LogDarkGrey, true),
                            Seg("Missing title attributes: 0", C::LogDarkGrey, true)})}));
    EXPECT_EQ(host.states, (std::vector<bool>{true, false}));
    EXPECT_FALSE(runner.Processing());
    EXPECT_EQ(host.foundCleared, 1);
    EXPECT_EQ(host.backupQuestions, 0);
    EXPECT_EQ(host.maximum, 27u + 12u);
    EXPECT_EQ(log.progress, 27u + 12u);
}

TEST_F(RunFixture, HeadingsAndSummariesFollowTheModeAndToggles) {
    dir.Write("a.htm", "<img src=\"a.gif\" title=\"A\">");
    engine.Settings().ShowMissingTitleMsgs = false;
    runner.RunProcess(ScanMode::Scan, site, {"a.htm"});
    EXPECT_EQ(log.Lines().front(), "Scan for missing alt attributes");
    EXPECT_EQ(log.Lines()[log.Lines().size() - 2], "Missing alt attributes: 1");

    log.segments.clear();
    runner.RunProcess(ScanMode::AddAlt, site, {"a.htm"});  // Preview is on by default
    EXPECT_EQ(log.Lines().front(), "Preview adding alt attributes");
    EXPECT_EQ(log.segments[log.segments.size() - 2],
              Seg("1 alt attribute(s) would be added", C::LogGreen, true));

    log.segments.clear();
    engine.Settings().PreviewMode = false;
    runner.RunProcess(ScanMode::AddTitle, site, {"a.htm"});
    EXPECT_EQ(log.Lines().front(), "Add title attributes");
    EXPECT_EQ(log.segments[log.segments.size() - 2],
              Seg("0 title attribute(s) added", C::LogGreen, true));
    EXPECT_EQ(host.backupQuestions, 1);
}

TEST_F(RunFixture, DecliningTheBackupWarningDoesNothingButTheBusyState) {
    dir.Write("a.htm", "<img src=\"a.gif\" title=\"A\">");
    engine.Settings().PreviewMode = false;
    host.backupAnswer = false;
    runner.RunProcess(ScanMode::AddAlt, site, {"a.htm"});
    EXPECT_TRUE(log.segments.empty());
    EXPECT_EQ(host.foundCleared, 0);
    EXPECT_EQ(host.states, (std::vector<bool>{true, false}));
    EXPECT_EQ(dir.Read("a.htm"), "<img src=\"a.gif\" title=\"A\">");

    runner.ShowBackupDlg = false;
    runner.RunProcess(ScanMode::AddAlt, site, {"a.htm"});
    EXPECT_EQ(host.backupQuestions, 1);
    EXPECT_EQ(dir.Read("a.htm"), "<img src=\"a.gif\" alt=\"A\" title=\"A\">");
}

TEST_F(RunFixture, AScanWithBothReportsOffOnlyWarnsAndEmptiesTheFoundList) {
    engine.Settings().ShowMissingAltMsgs = false;
    engine.Settings().ShowMissingTitleMsgs = false;
    runner.RunProcess(ScanMode::Scan, site, {"a.htm"});
    EXPECT_TRUE(log.segments.empty());
    EXPECT_EQ(host.noReportWarnings, 1);
    EXPECT_EQ(host.foundCleared, 1);
    EXPECT_EQ(host.states, (std::vector<bool>{true, false}));
}

TEST_F(RunFixture, StopEndsTheRunAfterThePageWithoutASummary) {
    std::string big;
    while (big.size() < 100000) {
        big += "<img src=\"a.gif\">\n";
    }
    dir.Write("a.htm", big);
    dir.Write("b.htm", "<img src=\"b.gif\">");
    log.flags = &engine.Flags();
    log.onPump = [](RecordingHost& h) { h.flags->SetBoth(true); };
    runner.RunProcess(ScanMode::Scan, site, {"a.htm", "b.htm"});
    const std::vector<std::string> lines = log.Lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 4], "a.htm : Process stopped by user");
    EXPECT_EQ(lines[lines.size() - 3], "a.htm : Modifications to a.htm have not been saved");
    EXPECT_EQ(lines[lines.size() - 2], "Process ended STAMP");
    EXPECT_EQ(lines.back(), "...");
    EXPECT_EQ(log.Text().find("b.htm"), std::string::npos);
}

TEST_F(RunFixture, ARunAfterAStoppedOneGoesThroughEveryPage) {
    dir.Write("a.htm", "<img src=\"a.gif\" title=\"A\">");
    dir.Write("b.htm", "<img src=\"b.gif\" title=\"B\">");
    engine.Flags().SetBoth(true);  // as the last run's Stop left them
    runner.RunProcess(ScanMode::Scan, site, {"a.htm", "b.htm"});
    EXPECT_NE(log.Text().find("b.htm"), std::string::npos);
    EXPECT_EQ(log.Text().find("stopped"), std::string::npos);
    EXPECT_EQ(log.Lines()[log.Lines().size() - 3], "Missing alt attributes: 2");
}

TEST_F(RunFixture, ARunOverSeveralFoldersIsOneRunWithAHeadingAndSummaryPerFolder) {
    dir.Write("a.htm", "<img src=\"a.gif\" title=\"A\">");
    std::filesystem::create_directory(dir.File("sub"));
    dir.Write("sub/b.htm", "<img src=\"b.gif\" title=\"B\"><img src=\"c.gif\" title=\"C\">");
    engine.Settings().PreviewMode = false;
    runner.RunProcess(ScanMode::AddAlt,
                      {FolderPages{site, {"a.htm"}},
                       FolderPages{WithNativeSeparators(dir.File("sub")), {"b.htm"}}});
    EXPECT_EQ(host.states, (std::vector<bool>{true, false}));
    EXPECT_EQ(host.backupQuestions, 1);
    EXPECT_EQ(host.foundCleared, 1);
    EXPECT_EQ(host.maximum, 27u + 54u);
    std::vector<std::string> paths;
    std::vector<std::string> summaries;
    for (const std::string& line : log.Lines()) {
        if (line.rfind("Path : ", 0) == 0) {
            paths.push_back(line);
        } else if (line.find("alt attribute(s) added") != std::string::npos) {
            summaries.push_back(line);
        }
    }
    EXPECT_EQ(paths, (std::vector<std::string>{
                         "Path : " + site, "Path : " + WithNativeSeparators(dir.File("sub/"))}));
    // Each folder's summary counts its own pages.
    EXPECT_EQ(summaries,
              (std::vector<std::string>{"1 alt attribute(s) added", "2 alt attribute(s) added"}));

    // A stop in the first folder ends the whole run.
    log.segments.clear();
    std::string big;
    while (big.size() < 100000) {
        big += "<img src=\"a.gif\">\n";
    }
    dir.Write("a.htm", big);
    log.flags = &engine.Flags();
    log.onPump = [](RecordingHost& h) { h.flags->SetBoth(true); };
    runner.RunProcess(ScanMode::Scan,
                      {FolderPages{site, {"a.htm"}},
                       FolderPages{WithNativeSeparators(dir.File("sub")), {"b.htm"}}});
    EXPECT_EQ(log.Text().find("b.htm"), std::string::npos);
    EXPECT_EQ(log.Text().find(WithNativeSeparators(dir.File("sub"))), std::string::npos);
}

TEST(TimeStamp, ShowsTheDateAndTheTimeToTheSecond) {
    std::tm moment{};
    moment.tm_year = 2025 - 1900;
    moment.tm_mon = 11;
    moment.tm_mday = 8;
    moment.tm_hour = 14;
    moment.tm_min = 5;
    moment.tm_sec = 9;
    moment.tm_isdst = -1;
    const std::time_t when = std::mktime(&moment);
    const std::string stamp = FormatTimeStamp(when);
    EXPECT_EQ(stamp.substr(stamp.size() - 9), " 14:05:09") << stamp;
    EXPECT_NE(stamp.find("08"), std::string::npos) << stamp;
}

TEST_F(RunFixture, PagesThatCannotBeOpenedAddNothingToTheTotal) {
    dir.Write("b.htm", "0123456789");
#ifdef _WIN32
    const std::string unopenable = "folder.htm";
    std::filesystem::create_directory(dir.File(unopenable));
#else
    const std::string unopenable = "pipe.htm";
    ASSERT_EQ(::mkfifo(dir.File(unopenable).c_str(), 0644), 0);  // measuring must not block on it
#endif
    runner.RunProcess(ScanMode::Scan, site, {"missing.htm", "b.htm", unopenable});
    EXPECT_EQ(host.maximum, 10u);
    EXPECT_EQ(log.Lines()[3], "missing.htm : Failed to open");
    EXPECT_EQ(log.Lines()[4], "b.htm : No changes");
    EXPECT_EQ(log.Lines()[5], unopenable + " : Failed to open");
}

// An unreadable page (no read permission) is a POSIX matter.
#ifndef _WIN32
TEST_F(RunFixture, ReadOnlyPagesCountTowardsTheProgressMaximum) {
    VANTARO_SKIP_AS_SUPERUSER("root opens read-only pages for writing too");
    ::chmod(dir.Write("a.htm", "0123456789").c_str(), 0444);
    ::chmod(dir.Write("unreadable.htm", "0123").c_str(), 0);
    runner.RunProcess(ScanMode::Scan, site, {"a.htm", "unreadable.htm"});
    EXPECT_EQ(host.maximum, 10u);
    EXPECT_EQ(log.Lines()[3], "a.htm : No changes");
    EXPECT_EQ(log.Lines()[4], "unreadable.htm : Failed to open");
}
#endif

TEST_F(RunFixture, AnInterruptedSaveOfAPageInTheRunIsNamed) {
    CacheFolder cache;
    dir.Write("a.htm", "<p>");
    const std::string page = site + "a.htm";  // as the run names it
    for (const std::string& path : {page, site + "not-in-the-run.htm"}) {
        std::filesystem::create_directories(RecoveryFolder());
        WriteWholeFile(RecoveryFolder() + RecoveryNameOf(path), "old");
    }
    runner.RunProcess(ScanMode::Scan, site, {"a.htm", "b.htm"});
    ASSERT_GE(log.segments.size(), 5u);
    EXPECT_EQ(log.segments[4],
              Seg("An earlier run was interrupted while saving " + page +
                      " - its previous text is kept in " + RecoveryFolder() + RecoveryNameOf(page),
                  C::LogDarkRed, true));
    EXPECT_EQ(log.Lines()[4], "a.htm : No changes");
}

#ifdef _WIN32
// A page saved by a run given "C:/site" is found again by a run given "C:\\site".
TEST_F(RunFixture, AnInterruptedSaveIsNamedWhateverSeparatorsTheFolderWasGivenWith) {
    CacheFolder cache;
    dir.Write("a.htm", "<p>");
    std::string slashed = site + "a.htm";
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    std::filesystem::create_directories(RecoveryFolder());
    WriteWholeFile(RecoveryFolder() + RecoveryNameOf(slashed), "old");
    runner.RunProcess(ScanMode::Scan, site, {"a.htm"});
    ASSERT_GE(log.segments.size(), 5u);
    EXPECT_EQ(log.segments[4].text, "An earlier run was interrupted while saving " + site +
                                        "a.htm - its previous text is kept in " + RecoveryFolder() +
                                        RecoveryNameOf(site + "a.htm"));
}
#endif

// A killed run's temporary file holds a copy of the page, server code and all, under a name a
// web server would serve. Only ours, and only those of processes that are gone, are removed.
TEST_F(RunFixture, TemporaryFilesLeftByEndedProcessesAreRemoved) {
    const std::uint64_t ended = EndedProcessId();
    ASSERT_NE(ended, 0u);
    const LiveProcess live;
    ASSERT_NE(live.Id(), 0u);
    const std::string gone = std::to_string(ended);
    const std::string stale = ".a.htm.vantaro-" + gone + "-0";
    const std::vector<std::string> kept = {
        ".a.htm.vantaro-" + std::to_string(CurrentProcessId()) + "-3",  // this process: alive
        ".a.htm.vantaro-" + std::to_string(live.Id()) + "-0",           // alive
        "a.htm.vantaro-" + gone + "-0",                                 // not hidden
        ".a.htm.vantaro-" + gone + "-0.bak",
        ".a.htm.vantaro-" + gone,
    };
    dir.Write(stale, "<?php secret ?>");
    for (const std::string& name : kept) {
        dir.Write(name, "x");
    }
    std::filesystem::create_directory(dir.File(".d.vantaro-" + gone + "-1"));
    runner.RunProcess(ScanMode::Scan, site, {});
    EXPECT_FALSE(std::filesystem::exists(dir.File(stale)));
    for (const std::string& name : kept) {
        EXPECT_TRUE(std::filesystem::exists(dir.File(name))) << name;
    }
    EXPECT_TRUE(std::filesystem::exists(dir.File(".d.vantaro-" + gone + "-1")));
    EXPECT_EQ(log.Lines().size(), 7u);  // nothing said about it
}

TEST_F(RunFixture, APageAbandonedLastLeavesOutTheSummary) {
    const std::string page =
        "<!-- InstanceBeginEditable name=\"a\" --><img src=\"e.gif\" title=\"E\">"
        "<!-- InstanceEndEditable --><img src=\"t.gif\" title=\"T\">";
    dir.Write("a.htm", page);
    dir.Write("b.htm", page);
    engine.Settings().PreviewMode = false;
    runner.ShowBackupDlg = false;
    log.warningAnswers = {TemplateWarningAnswer::Yes, TemplateWarningAnswer::No};
    runner.RunProcess(ScanMode::AddAlt, site, {"a.htm", "b.htm"});
    const std::vector<std::string> lines = log.Lines();
    EXPECT_EQ(lines[lines.size() - 3], "b.htm : Modifications to b.htm have not been saved");
    EXPECT_EQ(lines[lines.size() - 2], "Process ended STAMP");
    EXPECT_NE(dir.Read("a.htm"), page);
    EXPECT_EQ(dir.Read("b.htm"), page);
    EXPECT_EQ(engine.TotalAltCount, 2);  // only the saved page counts
}

TEST_F(RunFixture, ARunDoesNotStartWhileOneIsUnderWay) {
    dir.Write("a.htm", std::string(50000, 'x'));
    int nested = 0;
    log.onPump = [&](RecordingHost&) {
        runner.RunProcess(ScanMode::Scan, site, {"a.htm"});
        ++nested;
    };
    runner.RunProcess(ScanMode::Scan, site, {"a.htm"});
    EXPECT_GT(nested, 0);
    EXPECT_EQ(host.states, (std::vector<bool>{true, false}));
    EXPECT_EQ(log.Lines().front(), "Scan for missing alt & title attributes");
    EXPECT_EQ(log.Lines().size(), 8u);
}

}  // namespace
}  // namespace vantaro
