#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "log/LogFormatter.h"
#include "run/ProcessRunner.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace vantaro {
namespace {

using namespace test;

// Writes the run's lines into the log and lends the run the recording host's ignored list.
class ThreadedRunHost : public RunHost {
  public:
    explicit ThreadedRunHost(RecordingHost& log) : log_(log) {}
    void OnRunStarted(const RunStart& start) override { WriteRunStart(log_, start); }
    void OnRunEnded(const RunEnd& end) override { WriteRunEnd(log_, end); }
    void OnRecoveryFileFound(const RecoveryNotice& notice) override {
        WriteRecoveryNotice(log_, notice);
    }
    void SetProcessingState(bool) override {}
    bool AskBackupWarning() override { return true; }
    void ShowNoReportsWarning() override {}
    void ClearFoundReferences() override { log_.found.clear(); }
    void SetProgressMaximum(std::uint64_t) override {}
    std::string TimeStamp() override { return "STAMP"; }
    void OnPageStart(const std::string& fullPath) override { started.push_back(fullPath); }
    std::optional<std::vector<std::string>> IgnoredReferences() override { return log_.ignored; }

    std::vector<std::string> started;

  private:
    RecordingHost& log_;
};

// Pages of every kind a run meets: findings to report and add, references met again in
// another letter case, an ignored one, template code that asks before it is changed, server
// code, a page too large to be read ahead, and one that cannot be opened.
std::map<std::string, std::string> SitePages() {
    std::map<std::string, std::string> pages;
    for (int i = 0; i < 24; ++i) {
        const std::string n = std::to_string(i);
        pages["p" + n + ".htm"] = "<html>\n<img src=\"a" + n + ".gif\" title=\"T" + n +
                                  "\">\n<IMG SRC=\"A" + std::to_string(i / 2) +
                                  ".GIF\" alt=\"x\">\n<area shape=\"rect\" title=\"r\">\n"
                                  "<% <img src=\"server.gif\"> %>\n<img src=\"skip.gif\">\n";
    }
    pages["p13.htm"] = "<p>no images</p>";
    for (const char* name : {"t1.htm", "t2.htm"}) {
        pages[name] =
            "<img src=\"head.gif\" title=\"H\">\n<!-- InstanceBeginEditable name=\"body\" -->\n"
            "<img src=\"body.gif\" title=\"B\">\n<!-- InstanceEndEditable -->\n"
            "<img src=\"foot.gif\" title=\"F\">\n";
    }
    pages["large.htm"] = std::string(5 << 20, 'x') + "\n<img src=\"large.gif\" title=\"L\">\n";
    return pages;
}

std::vector<std::string> PageNames(const std::map<std::string, std::string>& pages) {
    std::vector<std::string> names;
    for (const auto& [name, content] : pages) {
        names.push_back(name);
        if (name == "p5.htm") {
            names.push_back("missing.htm");
        }
    }
    return names;
}

struct RunResult {
    std::vector<LogSegment> log;
    std::vector<std::string> found;
    std::vector<std::string> warnings;
    std::uint64_t progress = 0;
    std::map<std::string, std::string> pages;
};

RunResult RunOver(const TempDir& dir, ScanMode mode, bool preview, int jobs, std::size_t readChunk,
                  bool yesUnasked = false) {
    const std::map<std::string, std::string> pages = SitePages();
    for (const auto& [name, content] : pages) {
        dir.Write(name, content);
    }
    RecordingHost log;
    log.ignored = {"SKIP.gif"};
    if (!yesUnasked) {
        log.warningAnswers = {TemplateWarningAnswer::No};  // then Yes
    }
    log.yesUnasked = yesUnasked;
    ThreadedRunHost host(log);
    Engine engine(log);
    engine.Settings().PreviewMode = preview;
    if (readChunk != 0) {
        engine.SetReadChunk(readChunk);
    }
    ProcessRunner runner(engine, host);
    runner.Jobs = jobs;
    runner.RunProcess(mode, dir.Path(), PageNames(pages));
    RunResult result{log.segments, log.found, log.warningsShown, log.progress, {}};
    for (const auto& [name, content] : pages) {
        result.pages[name] = dir.Read(name);
    }
    return result;
}

// Everything a run tells and leaves, except the questions, which a threaded run may ask fewer of.
void ExpectSameOutcome(const RunResult& got, const RunResult& expected) {
    EXPECT_EQ(got.log, expected.log);
    EXPECT_EQ(got.found, expected.found);
    EXPECT_EQ(got.progress, expected.progress);
    EXPECT_EQ(got.pages, expected.pages);
}

TEST(ParallelRun, GivesWhatOneThreadGivesAtEveryThreadCountAndReadSize) {
    TempDir dir;
    struct Mode {
        ScanMode mode;
        bool preview;
    };
    for (const Mode m : {Mode{ScanMode::Scan, false}, Mode{ScanMode::AddAlt, true},
                         Mode{ScanMode::AddAlt, false}, Mode{ScanMode::AddTitle, false}}) {
        const RunResult alone = RunOver(dir, m.mode, m.preview, 1, 0);
        ASSERT_FALSE(alone.found.empty());
        if (m.mode == ScanMode::AddAlt && !m.preview) {
            ASSERT_EQ(alone.warnings.size(), 2u);  // the run asks, and is answered No, then Yes
        }
        if (m.mode != ScanMode::Scan && !m.preview) {
            ASSERT_NE(alone.pages.at("p0.htm"), SitePages().at("p0.htm"));
        }
        for (const int jobs : {2, 5}) {
            for (const std::size_t chunk : {std::size_t{0}, std::size_t{4099}}) {
                SCOPED_TRACE(testing::Message()
                             << "mode " << static_cast<int>(m.mode) << " preview " << m.preview
                             << " jobs " << jobs << " chunk " << chunk);
                const RunResult threaded = RunOver(dir, m.mode, m.preview, jobs, chunk);
                ExpectSameOutcome(threaded, alone);
                EXPECT_EQ(threaded.warnings, alone.warnings);
            }
        }
    }
}

// Runs said ahead are read ahead with the runs before them; each run gives what it gives alone
// on one thread, and a run other than the next one said drops what was read ahead. One run
// over several folders gives what it gives on one thread too.
TEST(ParallelRun, RunsSaidAheadGiveWhatEachGivesAlone) {
    TempDir site;
    TempDir one;
    TempDir few;
    const std::map<std::string, std::string> pages = SitePages();
    for (const auto& [name, content] : pages) {
        site.Write(name, content);
    }
    one.Write("b.htm", "<img src=\"b.gif\" title=\"B\">\n");
    std::vector<std::string> fewNames;
    for (const char* name : {"c1.htm", "c2.htm", "c3.htm"}) {
        fewNames.emplace_back(name);
        few.Write(name, "<p>\n<img src=\"a1.gif\">\n<img src=\"c.gif\" alt=\"C\">\n");
    }
    const std::vector<std::string> siteNames = PageNames(pages);
    const std::vector<FolderPages> runs = {
        {site.Path(), siteNames}, {one.Path(), {"b.htm"}}, {few.Path(), fewNames}};
    std::vector<FolderPages> made = runs;  // runs as made: those said, and one of other pages
    made.push_back({site.Path(), {siteNames.begin(), siteNames.begin() + 5}});
    const auto runInOrder = [&](ScanMode mode, int jobs, const std::vector<std::size_t>& order,
                                bool asOneRun = false) {
        RecordingHost log;
        log.ignored = {"SKIP.gif"};
        ThreadedRunHost host(log);
        Engine engine(log);
        engine.Settings().PreviewMode = true;
        ProcessRunner runner(engine, host);
        runner.Jobs = jobs;
        if (asOneRun) {
            std::vector<FolderPages> folders;
            for (std::size_t run : order) {
                folders.push_back(made[run]);
            }
            runner.RunProcess(mode, folders);
        } else {
            if (jobs > 1) {
                runner.ReadAheadAcross(mode, runs);
            }
            for (std::size_t run : order) {
                runner.RunProcess(mode, made[run].Folder, made[run].PageNames);
            }
            runner.EndReadAhead();
        }
        return RunResult{log.segments, log.found, log.warningsShown, log.progress, {}};
    };
    for (const ScanMode mode : {ScanMode::Scan, ScanMode::AddAlt}) {
        for (const std::vector<std::size_t>& order :
             {std::vector<std::size_t>{0, 1, 2}, {0, 2}, {1, 2}, {3, 1, 2}}) {
            SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(mode) << " runs "
                                            << order.size() << " from " << order[0]);
            const RunResult alone = runInOrder(mode, 1, order);
            ASSERT_FALSE(alone.found.empty());
            const RunResult ahead = runInOrder(mode, 2, order);
            ExpectSameOutcome(ahead, alone);
            EXPECT_EQ(ahead.warnings, alone.warnings);
            // One run over several folders reads ahead across them of itself.
            ExpectSameOutcome(runInOrder(mode, 2, order, true), runInOrder(mode, 1, order, true));
        }
    }
}

// A host that updates template code unasked lets other threads prepare and stage those pages
// too, with the same result as one thread asking it page by page.
TEST(ParallelRun, TemplateCodeUpdatedUnaskedNeedsNoTurnOfItsOwn) {
    TempDir dir;
    const RunResult alone = RunOver(dir, ScanMode::AddAlt, false, 1, 0, true);
    ASSERT_EQ(alone.warnings.size(), 2u);
    ASSERT_NE(alone.pages.at("t1.htm"), SitePages().at("t1.htm"));
    const RunResult threaded = RunOver(dir, ScanMode::AddAlt, false, 2, 0, true);
    EXPECT_TRUE(threaded.warnings.empty());  // the run's thread redid none of them
    ExpectSameOutcome(threaded, alone);
}

// A page with one image whose title gives its alt.
constexpr std::string_view kPageToAddTo = "<img src=\"a.gif\" title=\"A\">\n";

// Names that sort as they are numbered: p100.htm, p101.htm and on.
std::vector<std::string> NumberedPageNames(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        std::string name = "p";
        name += std::to_string(100 + i);
        name += ".htm";
        names.push_back(name);
    }
    return names;
}

// Stop confirmed while a page is being told ends the run after it; that page and every page
// after it keep their old text, though other threads had read them already.
TEST(ParallelRun, AStopLeavesThePageBeingReportedAndAllAfterItUnwritten) {
    TempDir dir;
    const std::vector<std::string> names = NumberedPageNames(40);
    const std::string page(kPageToAddTo);
    for (const std::string& name : names) {
        dir.Write(name, page);
    }
    RecordingHost log;
    ThreadedRunHost host(log);
    Engine engine(log);
    engine.Settings().PreviewMode = false;
    log.flags = &engine.Flags();
    log.onPump = [&](RecordingHost& h) {
        if (host.started.size() == 10) {
            h.flags->SetBoth(true);
        }
    };
    ProcessRunner runner(engine, host);
    runner.Jobs = 3;
    runner.RunProcess(ScanMode::AddAlt, dir.Path(), names);

    ASSERT_EQ(host.started.size(), 10u);
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(dir.Read(names[i]) == page, i >= 9) << names[i];
    }
    const std::vector<std::string> lines = log.Lines();
    const auto told = [&](const std::string& name) {
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& line) { return line.starts_with(name); });
    };
    EXPECT_GT(told(names[9]), 0);
    EXPECT_EQ(told(names[10]), 0);
    ASSERT_GE(log.pageEvents.size(), 2u);
    EXPECT_EQ(log.pageEvents[log.pageEvents.size() - 2], PageEventKind::StoppedByUser);
    EXPECT_EQ(log.pageEvents.back(), PageEventKind::NotSaved);
    EXPECT_EQ(engine.TotalAltCount, 9);
    EXPECT_EQ(NamesIn(dir.Path()), names);  // nothing written ahead was left behind

    // The same threads take the next run whole, with nothing left over from the stopped one.
    log.onPump = nullptr;
    log.segments.clear();
    runner.RunProcess(ScanMode::AddAlt, dir.Path(), names);
    EXPECT_EQ(engine.TotalAltCount, 31);
    for (const std::string& name : names) {
        EXPECT_NE(dir.Read(name), page) << name;
    }
    EXPECT_EQ(log.Lines().size(), 3 + 9 + 31 * 2 + 3u);
}

// Pages written ahead are dropped wherever a stop falls, also while threads are writing or
// flushing them, and the run ends rather than waiting for them.
TEST(ParallelRun, AStopAtAnyPageDropsWhatWasWrittenAheadAndEnds) {
    TempDir dir;
    const std::vector<std::string> names = NumberedPageNames(80);
    const std::string page(kPageToAddTo);
    for (std::size_t stopAt = 1; stopAt <= 24; ++stopAt) {
        for (const std::string& name : names) {
            dir.Write(name, page);
        }
        RecordingHost log;
        ThreadedRunHost host(log);
        Engine engine(log);
        engine.Settings().PreviewMode = false;
        log.flags = &engine.Flags();
        log.onPump = [&](RecordingHost& h) {
            if (host.started.size() == stopAt) {
                h.flags->SetBoth(true);
            }
        };
        ProcessRunner runner(engine, host);
        runner.Jobs = 2;
        runner.RunProcess(ScanMode::AddAlt, dir.Path(), names);
        ASSERT_EQ(host.started.size(), stopAt);
        for (std::size_t i = 0; i < names.size(); ++i) {
            ASSERT_EQ(dir.Read(names[i]) == page, i + 1 >= stopAt) << stopAt << " " << names[i];
        }
        ASSERT_EQ(NamesIn(dir.Path()), names) << stopAt;
    }
}

}  // namespace
}  // namespace vantaro
