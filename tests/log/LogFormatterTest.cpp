#include <gtest/gtest.h>

#include "log/LogFormatter.h"
#include "support/LogExpect.h"
#include "support/RecordingHost.h"

namespace vantaro {
namespace {

using namespace test;
using C = LogColour;

const std::string kPath = "/site/sub/index.htm";

Segments Written(const Finding& finding) {
    RecordingHost log;
    WriteFinding(log, finding);
    return log.segments;
}

Finding Make(FindingKind kind, AttributeName attribute) {
    Finding f;
    f.FullPath = kPath;
    f.Line = 12;
    f.Tag = TagKind::Input;
    f.Reference = "go.png";
    f.Attribute = attribute;
    f.Kind = kind;
    f.Value = "\"Go\"";
    return f;
}

TEST(LogFormatter, EveryFindingIsWordedAndColouredAsTheLogShowsIt) {
    const Segments head = FindingHead("index.htm", 12, "<input ", "go.png");
    using A = AttributeName;
    struct Case {
        Finding finding;
        Segments message;
    };
    Finding repeatedScan = Make(FindingKind::Missing, A::Title);
    repeatedScan.Repeated = A::Alt;
    Finding multiple = Make(FindingKind::Multiple, A::Alt);
    multiple.Repeated = A::Title;
    Finding otherUnquoted = Make(FindingKind::NotQuoted, A::Alt);
    otherUnquoted.Unquoted = A::Title;
    const std::vector<Case> cases = {
        {Make(FindingKind::Missing, A::Alt),
         {Seg("alt missing", C::LogOrange), Seg("", C::LogOrange, true)}},
        {Make(FindingKind::Missing, A::Title),
         {Seg("title missing", C::LogBlue), Seg("", C::LogBlue, true)}},
        {repeatedScan,
         {Seg("title missing", C::LogBlue),
          Seg(" : Multiple alt attributes defined (Unsupported)", C::LogDarkRed, true)}},
        {multiple, {Seg("Multiple title attributes defined (Unsupported)", C::LogDarkRed, true)}},
        {Make(FindingKind::NoSource, A::Alt),
         {Seg("title missing - unable to add alt", C::LogDarkRed, true)}},
        {Make(FindingKind::NoSource, A::Title),
         {Seg("alt missing - unable to add title", C::LogDarkRed, true)}},
        {Make(FindingKind::NotQuoted, A::Alt),
         {Seg("alt not quoted - unable to add alt", C::LogDarkRed, true)}},
        {otherUnquoted, {Seg("title not quoted - unable to add alt", C::LogDarkRed, true)}},
        {Make(FindingKind::AddFailed, A::Title),
         {Seg("title add failed \"Go\"", C::LogDarkRed, true)}},
        {Make(FindingKind::WouldBeAdded, A::Alt),
         {Seg("alt would be added : \"Go\"", C::LogGreen, true)}},
        {Make(FindingKind::Added, A::Title), {Seg("title added : \"Go\"", C::LogGreen, true)}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Written(c.finding), Join({head, c.message}));
    }
    Finding templateCode = Make(FindingKind::Added, A::Alt);
    templateCode.InTemplateCode = true;
    EXPECT_EQ(Written(templateCode)[1], Seg("Line 12", C::LogGrey, false, FontStyle::Underline));
}

TEST(LogFormatter, EveryPageEventIsWordedAndColouredAsTheLogShowsIt) {
    struct Case {
        PageEventKind kind;
        std::string message;
        LogColour colour;
        FontStyle style = FontStyle::Plain();
    };
    const std::vector<Case> cases = {
        {PageEventKind::TemplateStart, "Dreamweaver Template Start", C::LogGrey,
         FontStyle::Underline},
        {PageEventKind::TemplateEnd, "Dreamweaver Template End", C::LogGrey, FontStyle::Underline},
        {PageEventKind::NoChanges, "No changes", C::LogGreen},
        {PageEventKind::Updated, "Updated successfully", C::LogGreen},
        {PageEventKind::OpenFailed, "Failed to open", C::LogDarkRed},
        {PageEventKind::SeekFailed, "Failed to seek", C::LogDarkRed},
        {PageEventKind::ReadFailed, "Failed to read", C::LogDarkRed},
        {PageEventKind::CloseFailed, "Failed to close", C::LogDarkRed},
        {PageEventKind::WriteFailed, "Failed to write to index.htm", C::LogDarkRed},
        {PageEventKind::ChangedOnDisk,
         "Modifications to index.htm have not been saved - the file changed on disk during the "
         "run",
         C::LogRed},
        {PageEventKind::StoppedByUser, "Process stopped by user", C::LogRed},
        {PageEventKind::NotSaved, "Modifications to index.htm have not been saved", C::LogRed},
        {PageEventKind::UpdateAborted, "Update aborted by user", C::LogRed},
    };
    for (const Case& c : cases) {
        RecordingHost log;
        WritePageEvent(log, {kPath, c.kind, {}});
        EXPECT_EQ(log.segments, FileLine("index.htm", c.message, c.colour, c.style));
    }
    RecordingHost log;
    WritePageEvent(log, {kPath, PageEventKind::WriteFailed, "No space left on device"});
    EXPECT_EQ(log.Lines(),
              std::vector<std::string>{
                  "index.htm : Failed to write to index.htm (No space left on device)"});
}

TEST(LogFormatter, RunHeadingsAndSummariesFollowModePreviewAndReports) {
    const auto start = [](ScanMode mode, bool preview, bool alt, bool title) {
        RecordingHost log;
        WriteRunStart(log, {mode, preview, alt, title, "01/02/2026 10:11:12", "/site/"});
        return log.segments;
    };
    EXPECT_EQ(start(ScanMode::Scan, false, true, true),
              (Segments{Seg("Scan for missing alt & title attributes", C::LogDarkGrey, true),
                        Seg("Process started 01/02/2026 10:11:12", C::LogDarkGrey, true),
                        Seg("Path : ", C::LogDarkGrey), Seg("/site/", C::LogGrey, true)}));
    EXPECT_EQ(start(ScanMode::Scan, false, false, true)[0].text,
              "Scan for missing title attributes");
    EXPECT_EQ(start(ScanMode::Scan, false, true, false)[0].text, "Scan for missing alt attributes");
    EXPECT_EQ(start(ScanMode::AddAlt, true, true, true)[0].text, "Preview adding alt attributes");
    EXPECT_EQ(start(ScanMode::AddTitle, false, true, true)[0].text, "Add title attributes");

    const auto end = [](ScanMode mode, bool preview, bool summary) {
        RecordingHost log;
        WriteRunEnd(log, {mode, preview, true, true, "STAMP", summary, 3, 4});
        return log.segments;
    };
    EXPECT_EQ(end(ScanMode::Scan, false, true),
              (Segments{Seg("Process ended STAMP", C::LogDarkGrey, true),
                        Seg("Missing alt attributes: 3", C::LogDarkGrey, true),
                        Seg("Missing title attributes: 4", C::LogDarkGrey, true),
                        Seg("...", C::LogDarkGrey, true, FontStyle::Bold)}));
    EXPECT_EQ(end(ScanMode::AddAlt, true, true)[1],
              Seg("3 alt attribute(s) would be added", C::LogGreen, true));
    EXPECT_EQ(end(ScanMode::AddTitle, false, true)[1],
              Seg("4 title attribute(s) added", C::LogGreen, true));
    EXPECT_EQ(end(ScanMode::AddAlt, false, false).size(), 2u);  // stopped: no summary

    RecordingHost recovery;
    WriteRecoveryNotice(recovery, {"/site/a.htm", "/cache/%2Fsite%2Fa.htm"});
    EXPECT_EQ(recovery.segments,
              (Segments{Seg("An earlier run was interrupted while saving /site/a.htm - its "
                            "previous text is kept in /cache/%2Fsite%2Fa.htm",
                            C::LogDarkRed, true)}));
}

}  // namespace
}  // namespace vantaro
