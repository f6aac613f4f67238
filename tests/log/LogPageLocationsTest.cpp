#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "log/LogFormatter.h"
#include "log/LogPageLocations.h"

namespace vantaro {
namespace {

// The log's lines as text, as a saved log gives them back.
class LineCollector : public LogSink {
  public:
    void AddLogLine(std::string_view text, LogColour /*colour*/, bool endLine,
                    FontStyle /*style*/) override {
        current_ += text;
        if (endLine) {
            lines.push_back(std::move(current_));
            current_.clear();
        }
    }
    std::vector<std::string> lines;

  private:
    std::string current_;
};

Finding MakeFinding(std::string_view path, std::uint64_t line, TagKind tag,
                    std::string_view reference = "pic.gif") {
    Finding f;
    f.FullPath = path;
    f.Line = line;
    f.Tag = tag;
    f.Reference = reference;
    return f;
}

void WriteRun(LogSink& log, std::string_view folder, const std::vector<Finding>& findings) {
    RunStart start;
    start.TimeStamp = "01/02/2024 10:00";
    start.Folder = folder;
    WriteRunStart(log, start);
    for (const Finding& finding : findings) {
        WriteFinding(log, finding);
        WritePageEvent(log, PageEvent{finding.FullPath, PageEventKind::NoChanges, {}});
    }
    RunEnd end;
    end.TimeStamp = "01/02/2024 10:01";
    WriteRunEnd(log, end);
}

std::vector<std::optional<PageLocation>> ReadBack(const std::vector<std::string>& lines) {
    LogPageLocationReader reader;
    std::vector<std::optional<PageLocation>> locations;
    for (const std::string& line : lines) {
        locations.push_back(reader.Next(line));
    }
    return locations;
}

// The pages named by the lines that name one, with the text of those lines.
std::vector<std::pair<std::string, PageLocation>> Named(const std::vector<std::string>& lines) {
    const std::vector<std::optional<PageLocation>> locations = ReadBack(lines);
    std::vector<std::pair<std::string, PageLocation>> named;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (locations[i]) {
            named.emplace_back(lines[i], *locations[i]);
        }
    }
    return named;
}

TEST(LogPageLocations, FindingsOfEachRunAreFoundInThatRunsFolder) {
    LineCollector log;
    Finding templateCode = MakeFinding("/site/a b.htm", 7, TagKind::Area, "rect");
    templateCode.InTemplateCode = true;
    WriteRun(log, "/site/",
             {MakeFinding("/site/index.htm", 12, TagKind::Img), templateCode,
              MakeFinding("/site/form.php", 3, TagKind::Input, "go.png : b.png")});
    WriteRun(log, "/other/", {MakeFinding("/other/index.htm", 40, TagKind::Img)});
    // Text after a run is no finding of it, even when it reads like one.
    log.lines.push_back("index.htm : Line 5 : <img : pic.gif : alt missing");

    using P = PageLocation;
    EXPECT_EQ(
        Named(log.lines),
        (std::vector<std::pair<std::string, PageLocation>>{
            {"index.htm : Line 12 : <img : pic.gif : alt missing",
             P{"/site/index.htm", 12, TagKind::Img}},
            {"a b.htm : Line 7 : <area : rect : alt missing", P{"/site/a b.htm", 7, TagKind::Area}},
            {"form.php : Line 3 : <input : go.png : b.png : alt missing",
             P{"/site/form.php", 3, TagKind::Input}},
            {"index.htm : Line 40 : <img : pic.gif : alt missing",
             P{"/other/index.htm", 40, TagKind::Img}},
        }));
}

TEST(LogPageLocations, OnlyTextThatReadsOneWayNamesAPage) {
    const std::string start = "Process started 01/02/2024 10:00";
    const auto named = [&](std::vector<std::string> lines) { return Named(lines).size(); };
    const std::string finding = "a.htm : Line 2 : <img : p.gif : alt missing";
    ASSERT_EQ(named({"Scan", start, "Path : /site/", finding}), 1u);

    // The file name or the reference holds the words that follow a file name.
    EXPECT_EQ(named({start, "Path : /site/", "a : Line 1 : <img : b.htm : Line 2 : <img : x"}), 0u);
    EXPECT_EQ(named({start, "Path : /site/", "a.htm : Line 2 : <img : b : Line 3 : <area : c"}),
              0u);
    // A "Path : " line that is no run's heading, or a folder that is not one.
    EXPECT_EQ(named({"Path : /site/", finding}), 0u);
    EXPECT_EQ(named({start, "Path : /site", finding}), 0u);
    // A name with a folder in it, no line number, or a tag that no finding reports.
    EXPECT_EQ(named({start, "Path : /site/", "sub/a.htm : Line 2 : <img : p.gif : x"}), 0u);
    EXPECT_EQ(named({start, "Path : /site/", "a.htm : Line 0 : <img : p.gif : x"}), 0u);
    EXPECT_EQ(named({start, "Path : /site/", "a.htm : Line : <img : p.gif : x"}), 0u);
    EXPECT_EQ(named({start, "Path : /site/", "a.htm : Line 99999999999999999999 : <img : x"}), 0u);
    EXPECT_EQ(named({start, "Path : /site/", "a.htm : Line 2 : <form : p.gif : x"}), 0u);
    EXPECT_EQ(named({start, "Path : /site/", "a.htm : Line 2 : <imgx : p.gif : x"}), 0u);
}

}  // namespace
}  // namespace vantaro
