#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "engine/Engine.h"
#include "platform/FileStatus.h"
#include "support/FileAccess.h"
#include "support/LogExpect.h"
#include "support/PageRun.h"

namespace vantaro {
namespace {

using namespace test;
using C = LogColour;

TEST(ProcessFile, APageWithoutTagsPassesThroughUnchanged) {
    std::string page;
    for (int c = 0; c < 256; ++c) {
        if (c != '<' && c != '"') {
            page += static_cast<char>(c);
        }
    }
    page += "\r\n\r\xE2\x82\xAC tail";
    const PageResult r = RunPageEverySize(page, ScanMode::AddAlt, Real);
    EXPECT_EQ(r.segments, FileLine("page.htm", "No changes", C::LogGreen));
    EXPECT_EQ(r.output, page);
    EXPECT_EQ(r.fileAfter, page);
    EXPECT_EQ(r.progress, page.size());

    const PageResult empty = RunPage("", ScanMode::AddAlt, Real);
    EXPECT_EQ(empty.segments, FileLine("page.htm", "No changes", C::LogGreen));
    EXPECT_EQ(empty.progress, 0u);
}

TEST(ProcessFile, EveryByteSurvivesAnInsertion) {
    std::string page = "<img title=\"t\" src=\"a\">";
    for (int c = 0; c < 256; ++c) {
        page += static_cast<char>(c);
    }
    page += '"';  // closes the quote opened by the byte list
    const PageResult r = RunPage(page, ScanMode::AddAlt, Real);
    EXPECT_EQ(r.fileAfter, "<img alt=\"t\" title=\"t\" src=\"a\">" + page.substr(23));
}

TEST(ProcessFile, PagesThatCannotBeOpenedGetOneLineAndTheRunGoesOn) {
    TempDir dir;
    RecordingHost host;
    Engine engine(host);
    std::filesystem::create_directory(dir.File("folder.htm"));
    engine.ProcessFile(dir.File("missing.htm"), ScanMode::Scan);
    engine.ProcessFile(dir.File("folder.htm"), ScanMode::Scan);
    Segments expected = Join({FileLine("missing.htm", "Failed to open", C::LogDarkRed),
                              FileLine("folder.htm", "Failed to open", C::LogDarkRed)});
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(dir.File("pipe.htm").c_str(), 0644), 0);  // reading it would block
    engine.ProcessFile(dir.File("pipe.htm"), ScanMode::Scan);
    expected = Join({expected, FileLine("pipe.htm", "Failed to open", C::LogDarkRed)});
#endif
    engine.ProcessFile(dir.Write("ok.htm", "x"), ScanMode::Scan);
    EXPECT_EQ(host.segments, Join({expected, FileLine("ok.htm", "No changes", C::LogGreen)}));
}

// Read-only pages (no write permission, the read-only attribute on Windows) in a read-only copy
// of a site can be scanned and previewed; a run that writes leaves them alone, even when the
// process could write them.
TEST(ProcessFile, ReadOnlyPagesAreReadButNeverWritten) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("copy"));
    const std::string page = "<img src=\"a\" title=\"T\">";
    const std::string path = dir.Write("copy/ro.htm", page);
    SetReadOnly(path, true);
    RecordingHost host;
    Engine engine(host);
    {
        const NewFilesRefused refusal(dir.File("copy/"));
        engine.Settings().ShowMissingTitleMsgs = false;
        engine.ProcessFile(path, ScanMode::Scan);
        engine.ProcessFile(path, ScanMode::AddAlt);
        engine.Settings().PreviewMode = false;
        engine.ProcessFile(path, ScanMode::AddAlt);
    }
    SetReadOnly(path, false);
    EXPECT_EQ(host.Lines(),
              (std::vector<std::string>{"ro.htm : Line 1 : <img : a : alt missing",
                                        "ro.htm : Line 1 : <img : a : alt would be added : \"T\"",
                                        "ro.htm : Failed to open"}));
    EXPECT_EQ(ReadWholeFile(path), page);
    EXPECT_EQ(engine.TotalAltCount, 2);
}

TEST(ProcessFile, PreviewAndScanNeverTouchThePage) {
    TempDir dir;
    const std::string page = "<img src=\"a\" title=\"T\">";
    const std::string path = dir.Write("p.htm", page);
    const std::optional<FileStatus> before = StatusOf(path);
    ASSERT_TRUE(before);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    RecordingHost host;
    Engine engine(host);
    engine.ProcessFile(path, ScanMode::AddAlt);  // Preview is on by default
    engine.ProcessFile(path, ScanMode::Scan);
    const std::optional<FileStatus> after = StatusOf(path);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->identity, before->identity);  // same file, size and time to the nanosecond
    EXPECT_EQ(ReadWholeFile(path), page);
}

TEST(ProcessFile, StopAbandonsThePageAndCountsNothing) {
    std::string page;
    while (page.size() < 200000) {
        page += "<img src=\"a.gif\" title=\"A\">\n";
    }
    const PageResult r = RunPage(page, ScanMode::AddAlt, Real, [](RecordingHost& h) {
        h.onPump = [](RecordingHost& host) {
            if (host.progress > 50000) {  // part way through the second pass
                host.flags->SetBoth(true);
            }
        };
    });
    ASSERT_GE(r.lines.size(), 3u);
    EXPECT_EQ(r.lines[r.lines.size() - 2], "page.htm : Process stopped by user");
    EXPECT_EQ(r.lines.back(), "page.htm : Modifications to page.htm have not been saved");
    EXPECT_EQ(r.fileAfter, page);
    EXPECT_EQ(r.totalAlt, 0);
    EXPECT_LT(r.progress, page.size());
}

TEST(ProcessFile, StopDuringTheFirstPassEndsBothPasses) {
    std::string page(100000, 'x');
    page += "<!-- InstanceBeginEditable name=\"x\" --><img src=\"a\" title=\"A\">";
    const PageResult r = RunPage(page, ScanMode::AddAlt, Real, [](RecordingHost& h) {
        h.onPump = [](RecordingHost& host) { host.flags->SetBoth(true); };
    });
    EXPECT_EQ(r.lines, (std::vector<std::string>{
                           "page.htm : Process stopped by user",
                           "page.htm : Modifications to page.htm have not been saved"}));
    EXPECT_EQ(r.progress, 0u);
}

TEST(ProcessFile, TheFirstPassStopsAtTheFirstStartMarker) {
    // The first pass stops at the marker; the second still reads the whole page.
    const std::string page =
        std::string(9000, ' ') +
        "<!-- InstanceBeginEditable name=\"x\" --><img src=\"a\" title=\"A\">" +
        "<!-- InstanceEndEditable -->";
    const PageResult r = RunPageEverySize(page, ScanMode::AddAlt, Real);
    EXPECT_EQ(r.lines[0], "page.htm : Line 1 : <img : a : alt added : \"A\"");
    EXPECT_EQ(r.progress, page.size());
}

TEST(ProcessFile, TotalsAddUpOverPages) {
    TempDir dir;
    RecordingHost host;
    Engine engine(host);
    engine.ProcessFile(dir.Write("a.htm", "<img src=\"a\"><img src=\"b\" alt=\"B\">"),
                       ScanMode::Scan);
    engine.ProcessFile(dir.Write("b.htm", "<area shape=\"c\" title=\"x\">"), ScanMode::Scan);
    EXPECT_EQ(engine.TotalAltCount, 2);
    EXPECT_EQ(engine.TotalTitleCount, 2);
    EXPECT_EQ(host.found, (std::vector<std::string>{"a", "b"}));
}

// Nothing of a page whose second pass was cut short is written back, and nothing counts.
TEST(ProcessFile, APassCutShortByAReadFailureIsNeverWrittenBack) {
    std::string page;
    while (page.size() < 100000) {
        page += "<img src=\"a.gif\" title=\"A\">\n";
    }
    TempDir dir;
    const std::string path = dir.Write("p.htm", page);
    RecordingHost host;
    Engine engine(host);
    engine.Settings().PreviewMode = false;
    engine.SetReadChunk(64);
    engine.SetBeforeRead([&] { return host.progress > 0 ? EIO : 0; });  // part way, pass two
    engine.ProcessFile(path, ScanMode::AddAlt);
    ASSERT_GE(host.Lines().size(), 2u);
    EXPECT_EQ(host.Lines()[0], "p.htm : Line 1 : <img : a.gif : alt added : \"A\"");
    EXPECT_EQ(host.Lines().back(), "p.htm : Failed to read");
    EXPECT_EQ(ReadWholeFile(path), page);
    EXPECT_EQ(engine.TotalAltCount, 0);
}

TEST(ProcessFile, APageThatGrewAfterOpeningIsReadToItsEnd) {
    TempDir dir;
    const std::string path = dir.Write("p.htm", "<p>");
    RecordingHost host;
    Engine engine(host);
    engine.Settings().ShowMissingTitleMsgs = false;
    bool grown = false;
    engine.SetBeforeRead([&] {
        if (!grown) {
            WriteWholeFile(path, "<p>" + std::string(5000, ' ') + "<img src=\"late.gif\">");
            grown = true;
        }
        return 0;
    });
    engine.ProcessFile(path, ScanMode::Scan);
    EXPECT_EQ(host.Lines(),
              (std::vector<std::string>{"p.htm : Line 1 : <img : late.gif : alt missing"}));
}

}  // namespace
}  // namespace vantaro
