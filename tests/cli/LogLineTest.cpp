#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "cli/CliHost.h"
#include "cli/LogLine.h"
#include "engine/Engine.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace vantaro::cli {
namespace {

// Runs the real engine over a page and classifies every line it logged, so the wording the
// runner reads stays the wording the engine writes.
std::vector<ClassifiedLine> Classified(
    const std::string& page, ScanMode mode, bool preview = true,
    const std::function<void(const std::string&, test::RecordingHost&)>& prepare = {}) {
    test::TempDir dir;
    test::RecordingHost host;
    Engine engine(host);
    engine.Settings().PreviewMode = preview;
    const std::string path = dir.Write("p.htm", page);
    if (prepare) {
        prepare(path, host);
    }
    engine.ProcessFile(path, mode);
    std::vector<ClassifiedLine> lines;
    LogLine line;
    for (const test::LogSegment& segment : host.segments) {
        if (!segment.text.empty()) {
            line.pieces.push_back(LogPiece{segment.text, segment.colour, segment.style});
        }
        if (segment.endLine) {
            lines.push_back(ClassifyLine(line));
            line = LogLine();
        }
    }
    return lines;
}

TEST(LogLine, ReadsFindingsWithTheirReferenceAndAction) {
    const auto lines = Classified("\n<img lowsrc=\"a.gif\" src=\"b.gif\">", ScanMode::Scan);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].kind, LineKind::Finding);
    EXPECT_EQ(lines[0].fileName, "p.htm");
    EXPECT_EQ(lines[0].line, 2u);
    EXPECT_EQ(lines[0].tag, "img");
    EXPECT_EQ(lines[0].reference, "a.gif : b.gif");
    EXPECT_EQ(lines[0].attribute, "alt");
    EXPECT_EQ(lines[0].action, "missing");
    EXPECT_TRUE(lines[0].unresolved);
    EXPECT_EQ(lines[1].attribute, "title");
}

TEST(LogLine, ReadsEveryAddingOutcome) {
    struct Case {
        std::string page;
        ScanMode mode;
        bool preview;
        std::string attribute, action, value;
        bool unresolved;
    };
    const std::vector<Case> cases = {
        {"<img title=\"T\">", ScanMode::AddAlt, true, "alt", "would-add", "\"T\"", false},
        {"<img title=\"T\">", ScanMode::AddAlt, false, "alt", "added", "\"T\"", false},
        {"<img data-title=\"T\">", ScanMode::AddAlt, true, "alt", "add-failed", "\"T\"", true},
        {"<img title>", ScanMode::AddAlt, true, "alt", "not-quoted", "", true},
        {"<img src=\"x\">", ScanMode::AddTitle, true, "title", "no-source", "", true},
        {"<area shape=\"\" alt=\"a\" alt=\"b\">", ScanMode::AddTitle, true, "title", "multiple", "",
         true},
    };
    for (const Case& c : cases) {
        const auto lines = Classified(c.page, c.mode, c.preview);
        ASSERT_FALSE(lines.empty()) << c.page;
        EXPECT_EQ(lines[0].kind, LineKind::Finding) << c.page;
        if (c.action != "multiple") {
            EXPECT_EQ(lines[0].attribute, c.attribute) << c.page;
        }
        EXPECT_EQ(lines[0].action, c.action) << c.page;
        EXPECT_EQ(lines[0].value, c.value) << c.page;
        EXPECT_EQ(lines[0].unresolved, c.unresolved) << c.page;
    }
}

TEST(LogLine, ReadsPageMessages) {
    auto lines = Classified("<p>", ScanMode::Scan);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].kind, LineKind::PageMessage);
    EXPECT_EQ(lines[0].event, PageEvent::NoChanges);
    lines = Classified("<img title=\"T\">", ScanMode::AddAlt, false);
    EXPECT_EQ(lines.back().event, PageEvent::Updated);
    LogLine heading;
    heading.pieces = {{"Path : ", LogColour::LogDarkGrey, FontStyle()},
                      {"/a/", LogColour::LogGrey, FontStyle()}};
    EXPECT_EQ(ClassifyLine(heading).kind, LineKind::RunMessage);
}

TEST(LogLine, SavesThatFailedOrWereRefusedAreFailuresWithTheirReason) {
    std::vector<ClassifiedLine> lines;
    {
        const test::FileSizeLimit limit(20);
        lines = Classified("<img title=\"T\">", ScanMode::AddAlt, false);
    }
    EXPECT_EQ(lines.back().event, PageEvent::WriteFailed);
    EXPECT_EQ(lines.back().reason, "File too large");
    EXPECT_TRUE(IsFailure(lines.back().event));

    std::string page;
    while (page.size() < 40000) {
        page += "<img title=\"T\">\n";
    }
    lines = Classified(
        page, ScanMode::AddAlt, false, [](const std::string& path, test::RecordingHost& host) {
            host.onPump = [path](test::RecordingHost&) { std::filesystem::remove(path); };
        });
    EXPECT_EQ(lines.back().event, PageEvent::ChangedOnDisk);
    EXPECT_EQ(lines.back().reason, "the file changed on disk during the run");
    EXPECT_TRUE(IsFailure(lines.back().event));
}

// A refused save is a failure; its file record names the outcome and the reason.
TEST(CliHost, ASaveRefusedBecauseThePageChangedIsAFailure) {
    CliOptions options;
    options.Mode = ScanMode::AddAlt;
    options.Format = OutputFormat::Jsonl;
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    bool failed = false;
    {
        CliHost host(options, false, false, QuestionPolicy{false, true}, out);
        host.OnPageStart("/s/a.htm");
        host.AddLogLine("a.htm : ", LogColour::LogGrey, false, FontStyle());
        host.AddLogLine(
            "Modifications to a.htm have not been saved - the file changed on disk during the run",
            LogColour::LogRed, true, FontStyle());
        host.OnPageEnd("/s/a.htm");
        failed = host.HadFailures();
    }
    std::rewind(out);
    std::string text(4096, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), out));
    std::fclose(out);
    EXPECT_TRUE(failed);  // exit status 2
    EXPECT_EQ(text,
              "{\"type\":\"file\",\"file\":\"/s/a.htm\",\"result\":\"changed-on-disk\","
              "\"reason\":\"the file changed on disk during the run\",\"findings\":0,"
              "\"unresolved\":0}\n");
}

}  // namespace
}  // namespace vantaro::cli
