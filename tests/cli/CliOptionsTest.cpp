#include <gtest/gtest.h>

#include "cli/CliOptions.h"
#include "cli/Terminal.h"

namespace vantaro::cli {
namespace {

ParseResult Parse(std::vector<std::string> args) {
    return ParseCommandLine(args);
}

TEST(CliOptions, ReadsCommandOptionsAndPaths) {
    const ParseResult r = Parse({"add-title",
                                 "-r",
                                 "--tags=img,input",
                                 "--report",
                                 "alt",
                                 "--ignore",
                                 "a.gif",
                                 "--ignore=b c.gif",
                                 "--preview",
                                 "--yes",
                                 "--color=never",
                                 "--format",
                                 "jsonl",
                                 "--list-refs",
                                 "--settings",
                                 "my.ini",
                                 "-j",
                                 "3",
                                 "site",
                                 "--",
                                 "--odd name"});
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
    EXPECT_EQ(o.Jobs, 3);
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
    for (const char* jobs : {"--jobs=0", "--jobs=257", "--jobs=2x", "--jobs=-1", "--jobs="}) {
        EXPECT_NE(Parse({"scan", jobs, "x"}).Error, "") << jobs;
    }
    EXPECT_NE(Parse({"scan", "--no-settings", "--settings=a", "x"}).Error, "");
    EXPECT_EQ(Parse({"--help"}).Error, "");
    EXPECT_TRUE(Parse({"--version"}).Options.Version);
}

// The help names the program, its folders and its example paths the way this system does, and
// nothing of the other system.
TEST(CliOptions, HelpSpeaksOfThisSystem) {
    const std::string help = UsageText();
#ifdef _WIN32
    const std::vector<std::string> ours = {
        "Usage: vantaro-cli.exe scan|add-alt|add-title [options] PATH...\n"
        "       vantaro-cli.exe recover [--restore] [--format=FORMAT]\n",
        "%LOCALAPPDATA%\\Corvell\\Vantaro\\recovery\\", "%ProgramData%\\Corvell\\Vantaro\\App.ini",
        "\nExamples:\n  vantaro-cli.exe scan -r C:\\Sites\\example\n"};
    const std::vector<std::string> theirs = {"$XDG", "~/", "man vantaro-cli", "vantaro-cli "};
#else
    const std::vector<std::string> ours = {
        "Usage: vantaro-cli scan|add-alt|add-title [options] PATH...\n"
        "       vantaro-cli recover [--restore] [--format=FORMAT]\n",
        "$XDG_CACHE_HOME or ~/.cache", "$XDG_CONFIG_HOME/Corvell/Vantaro/App.ini",
        "man vantaro-cli\n"};
    const std::vector<std::string> theirs = {".exe", "C:\\", "%", "\\"};
#endif
    EXPECT_TRUE(help.starts_with(ours[0])) << help;
    for (const std::string& text : ours) {
        EXPECT_NE(help.find(text), std::string::npos) << text;
    }
    for (const std::string& text : theirs) {
        EXPECT_EQ(help.find(text), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace vantaro::cli

namespace vantaro::cli {
namespace {

TEST(Output, LineBreaksAsTheLogShowsThemAndNothingThatCouldDriveATerminal) {
    EXPECT_EQ(ForOutput("a\r\nb\rc\nd\te"), "a\nb\nc\nd\te");
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(ForOutput("x\033[2Jy\a\b\x7F"), "x" + r + "[2Jy" + r + r + r);
    // C1 controls, bidirectional overrides and isolates, line and paragraph separators; the
    // characters around them (no-break space, U+2027, U+202F, U+2065, U+206A) stay.
    EXPECT_EQ(ForOutput("\xC2\x9B"
                        "1m \xC2\xA0\xE2\x80\xAE\xE2\x80\xAA\xE2\x81\xA6\xE2\x81\xA9"
                        "\xE2\x80\xA8\xE2\x80\xA9"
                        "\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA"),
              r + "1m \xC2\xA0" + r + r + r + r + r + r +
                  "\xE2\x80\xA7\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA");
    // In a one-line message a file name cannot start a line of its own either.
    EXPECT_EQ(ForMessage("a\nb\r\033c.htm"), "a" + r + "b" + r + r + "c.htm");
    // JSON keeps the exact characters, escaped.
    EXPECT_EQ(JsonEscaped("q\"\\\n\x01\x7F\xC2\x9B\xE2\x80\xAE\xE2\x81\xA9\xE2\x80\xA8\xC2\xA0"),
              "q\\\"\\\\\\n\\u0001\\u007f\\u009b\\u202e\\u2069\\u2028\xC2\xA0");
}

}  // namespace
}  // namespace vantaro::cli
