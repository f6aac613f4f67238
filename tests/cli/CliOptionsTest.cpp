#include <gtest/gtest.h>

#include "cli/CliOptions.h"
#include "cli/Terminal.h"

namespace vantaro::cli {
namespace {

ParseResult Parse(std::vector<std::string> args) {
    return ParseCommandLine(args);
}

TEST(CliOptions, ReadsCommandOptionsAndPaths) {
    const ParseResult r =
        Parse({"add-title", "-r", "--tags=img,input", "--report", "alt", "--ignore", "a.gif",
               "--ignore=b c.gif", "--preview", "--yes", "--color=never", "--format", "jsonl",
               "--list-refs", "--settings", "my.ini", "site", "--", "--odd name"});
    ASSERT_EQ(r.Error, "");
    const CliOptions& o = r.Options;
    EXPECT_EQ(o.Mode, ScanMode::AddTitle);
    EXPECT_TRUE(o.Recursive);
    EXPECT_EQ(*o.Tags, (std::vector<std::string>{"img", "input"}));
    EXPECT_EQ(*o.Reports, (std::vector<std::string>{"alt"}));
    EXPECT_EQ(o.Ignore, (std::vector<std::string>{"a.gif", "b c.gif"}));
    EXPECT_TRUE(o.Preview && o.Yes && o.ListRefs);
    EXPECT_EQ(o.Color, ColorChoice::Never);
    EXPECT_EQ(o.Format, OutputFormat::Jsonl);
    EXPECT_EQ(*o.SettingsFile, "my.ini");
    EXPECT_EQ(o.Paths, (std::vector<std::string>{"site", "--odd name"}));
}

TEST(CliOptions, RefusesWhatItDoesNotKnow) {
    EXPECT_NE(Parse({}).Error, "");
    EXPECT_NE(Parse({"scan"}).Error, "");
    EXPECT_NE(Parse({"clean", "x"}).Error, "");
    EXPECT_NE(Parse({"scan", "--tags=img,svg", "x"}).Error, "");
    EXPECT_NE(Parse({"scan", "--report=", "x"}).Error, "");
    EXPECT_NE(Parse({"scan", "--color=sometimes", "x"}).Error, "");
    EXPECT_NE(Parse({"scan", "--format=xml", "x"}).Error, "");
    EXPECT_NE(Parse({"scan", "--bogus", "x"}).Error, "");
    EXPECT_NE(Parse({"scan", "x", "--ignore"}).Error, "");
    EXPECT_NE(Parse({"scan", "--no-settings", "--settings=a", "x"}).Error, "");
    EXPECT_EQ(Parse({"--help"}).Error, "");
    EXPECT_TRUE(Parse({"--version"}).Options.Version);
}

}  // namespace
}  // namespace vantaro::cli

namespace vantaro::cli {
namespace {

TEST(Output, LineBreaksAsTheLogShowsThemAndNoControlsOnATerminal) {
    EXPECT_EQ(ForOutput("a\r\nb\rc\nd", false), "a\nb\nc\nd");
    EXPECT_EQ(ForOutput("x\033[2Jy\tz", false), "x\033[2Jy\tz");
    EXPECT_EQ(ForOutput("x\033[2Jy\tz", true), "x\xEF\xBF\xBD[2Jy\tz");
    EXPECT_EQ(ForOutput("\xC2\x9B"
                        "1m \xC2\xA0",
                        true),
              "\xEF\xBF\xBD"
              "1m \xC2\xA0");
    EXPECT_EQ(JsonEscaped("q\"\\\n\x01"), "q\\\"\\\\\\n\\u0001");
}

}  // namespace
}  // namespace vantaro::cli
