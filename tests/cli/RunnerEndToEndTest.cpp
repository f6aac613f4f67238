#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "engine/RecoveryFiles.h"
#include "support/CacheFolder.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

extern char** environ;

namespace vantaro::cli {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Starts the runner with standard input from /dev/null (so it is no terminal) and collects its
// output; onOutput may act on the output seen so far (e.g. interrupt the runner).
CliResult RunCli(const std::vector<std::string>& args,
                 const std::function<void(pid_t, const std::string&)>& onOutput = {}) {
    int out[2];
    int err[2];
    EXPECT_EQ(::pipe(out), 0);
    EXPECT_EQ(::pipe(err), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    std::vector<std::string> argv = {VANTARO_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (std::string& arg : argv) {
        raw.push_back(arg.data());
    }
    raw.push_back(nullptr);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    CliResult result;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    int open = 2;
    while (open > 0 && ::poll(fds, 2, -1) > 0) {
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
                continue;
            }
            (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
            if (i == 0 && onOutput) {
                onOutput(pid, result.out);
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

std::string MaskStamps(const std::string& text) {
    return std::regex_replace(text, std::regex("(Process (started|ended)) [^\n]*"), "$1 STAMP");
}

struct Site {
    TempDir dir;
    std::string path;
    Site() {
        path = dir.File("site");
        fs::create_directory(path);
        dir.Write(
            "site/index.htm",
            "<img src=\"img/logo.gif\" title=\"Logo\">\n<img src=\"x.gif\" alt=\"X\" title=\"X\">");
        dir.Write("site/b.php", "<p>fine</p>");
        dir.Write("site/notes.txt", "<img src=\"n.gif\">");
    }
};

TEST(RunnerEndToEnd, AScanPrintsTheLogAndExitsOneOnFindings) {
    Site site;
    const CliResult r = RunCli({"scan", "--no-settings", "--color=never", site.path});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(MaskStamps(r.out),
              "Scan for missing alt & title attributes\n"
              "Process started STAMP\n"
              "Path : " +
                  site.path +
                  "/\n"
                  "b.php : No changes\n"
                  "index.htm : Line 1 : <img : logo.gif : alt missing\n"
                  "Process ended STAMP\n"
                  "Missing alt attributes: 1\n"
                  "Missing title attributes: 0\n"
                  "...\n");
    EXPECT_EQ(RunCli({"scan", "--no-settings", site.path + "/b.php"}).status, 0);
}

TEST(RunnerEndToEnd, WritingNeedsATerminalOrYes) {
    Site site;
    const std::string before = site.dir.Read("site/index.htm");
    const CliResult refused = RunCli({"add-alt", "--no-settings", site.path});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("--yes"), std::string::npos);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(site.dir.Read("site/index.htm"), before);

    const CliResult preview = RunCli({"add-alt", "--no-settings", "--preview", site.path});
    EXPECT_EQ(preview.status, 0) << preview.out;
    EXPECT_NE(preview.out.find("alt would be added : \"Logo\""), std::string::npos);
    EXPECT_EQ(site.dir.Read("site/index.htm"), before);

    const CliResult written = RunCli({"add-alt", "--no-settings", "--yes", site.path});
    EXPECT_EQ(written.status, 0) << written.out;
    EXPECT_NE(written.out.find("index.htm : Updated successfully"), std::string::npos);
    EXPECT_EQ(site.dir.Read("site/index.htm"),
              "<img src=\"img/logo.gif\" alt=\"Logo\" title=\"Logo\">\n"
              "<img src=\"x.gif\" alt=\"X\" title=\"X\">");
}

TEST(RunnerEndToEnd, SettingsAndOptionsChooseWhatIsExamined) {
    Site site;
    const std::string ini = site.dir.Write(
        "App.ini", "[MainForm]\nTag Img=0\nOther File Formats=txt\nReferences Ignored=q.gif\n");
    CliResult r = RunCli({"scan", "--settings", ini, "--color=never", site.path});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("notes.txt : No changes"), std::string::npos);
    r = RunCli({"scan", "--settings", ini, "--tags=img", "--color=never", site.path});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("notes.txt : Line 1 : <img : n.gif : alt missing"), std::string::npos);
    r = RunCli({"scan", "--no-settings", "--ignore", "LOGO.GIF", site.path});
    EXPECT_EQ(r.status, 0);
    // A tag that lacks only alt is not listed when alt is not reported.
    r = RunCli(
        {"scan", "--no-settings", "--report=title", "--list-refs", "--color=never", site.path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("alt missing"), std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.size() - 4), "...\n");
    r = RunCli(
        {"scan", "--no-settings", "--report=alt", "--list-refs", "--color=never", site.path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.substr(r.out.size() - 13), "...\nlogo.gif\n");
}

TEST(RunnerEndToEnd, ReadsTheSettingsFileAtItsUsualPlace) {
    Site site;
    fs::create_directories(site.dir.File("config/Corvell/Vantaro"));
    site.dir.Write("config/Corvell/Vantaro/App.ini", "[MainForm]\r\nTag Img=0\r\n");
    const char* before = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("XDG_CONFIG_HOME", site.dir.File("config").c_str(), 1);
    const CliResult r = RunCli({"scan", "--color=never", site.path});
    if (before != nullptr) {
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.find("alt missing"), std::string::npos);
    EXPECT_EQ(site.dir.Read("config/Corvell/Vantaro/App.ini"), "[MainForm]\r\nTag Img=0\r\n");
}

TEST(RunnerEndToEnd, JsonLinesDescribeFindingsPagesAndRuns) {
    Site site;
    const CliResult r = RunCli({"scan", "--no-settings", "--format=jsonl", site.path});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(
        r.out.find("{\"type\":\"finding\",\"file\":\"" + site.path +
                   "/index.htm\",\"line\":1,\"tag\":\"img\",\"reference\":\"logo.gif\","
                   "\"attribute\":\"alt\",\"action\":\"missing\",\"message\":\"alt missing\"}\n"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"type\":\"file\",\"file\":\"" + site.path +
                         "/index.htm\",\"result\":\"reported\",\"findings\":1,\"unresolved\":1}"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"result\":\"no-changes\""), std::string::npos);
    EXPECT_NE(r.out.find("{\"type\":\"run\",\"mode\":\"scan\""), std::string::npos);
    for (std::size_t start = 0; start < r.out.size();) {
        const std::size_t end = r.out.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(r.out[start], '{');
        EXPECT_EQ(r.out[end - 1], '}');
        start = end + 1;
    }
}

TEST(RunnerEndToEnd, ColoursFollowThePalette) {
    Site site;
    const CliResult r = RunCli({"scan", "--no-settings", "--color=always", site.path});
    EXPECT_NE(r.out.find("\033[38;2;255;153;0malt missing\033[0m"), std::string::npos);
    EXPECT_NE(r.out.find("\033[1;38;2;51;51;51m...\033[0m"), std::string::npos);
}

TEST(RunnerEndToEnd, ProblemsAndFailuresExitTwo) {
    Site site;
    CliResult r = RunCli({"scan", "--no-settings", site.dir.File("nowhere")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("nowhere"), std::string::npos);
    fs::create_directory(site.dir.File("dir.htm"));
    r = RunCli({"scan", "--no-settings", "--color=never", site.dir.File("dir.htm/")});
    EXPECT_EQ(r.status, 0);
    r = RunCli({"scan", "--bogus"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--help"), std::string::npos);
    r = RunCli({"scan", "--no-settings", "--report=alt", "--report=title", site.path});
    EXPECT_EQ(r.status, 0);
}

TEST(RunnerEndToEnd, AFailedSaveExitsTwoSaysWhyAndAddsNothing) {
    Site site;
    const std::string index = site.dir.Read("site/index.htm");
    CliResult r;
    {
        const test::FileSizeLimit limit(index.size() + 4);  // the new text does not fit
        r = RunCli({"add-alt", "--no-settings", "--yes", "--format=jsonl", site.path});
    }
    EXPECT_EQ(r.status, 2) << r.out << r.err;
    EXPECT_NE(r.out.find("{\"type\":\"file\",\"file\":\"" + site.path +
                         "/index.htm\",\"result\":\"write-failed\",\"reason\":\"File too "
                         "large\",\"findings\":1,\"unresolved\":1}"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"0 alt attribute(s) added\""), std::string::npos) << r.out;
    EXPECT_EQ(site.dir.Read("site/index.htm"), index);
}

TEST(RunnerEndToEnd, RecoverListsAndRestoresKeptOldTexts) {
    test::CacheFolder cache;  // the runner inherits XDG_CACHE_HOME
    TempDir dir;
    const std::string page = dir.Write("p.htm", "new text, part written");
    const std::string gone = dir.File("gone.htm");
    std::filesystem::create_directories(RecoveryFolder());
    const std::string pageCopy = RecoveryFolder() + RecoveryNameOf(page);
    const std::string goneCopy = RecoveryFolder() + RecoveryNameOf(gone);
    test::WriteWholeFile(pageCopy, "old text");
    test::WriteWholeFile(goneCopy, "old text of a page since deleted");

    CliResult r = RunCli({"recover"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, gone + "\t" + goneCopy + "\n" + page + "\t" + pageCopy + "\n");
    EXPECT_EQ(dir.Read("p.htm"), "new text, part written");

    r = RunCli({"recover", "--restore"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "restored " + page + "\n");
    EXPECT_NE(r.err.find(gone +
                         " could not be restored (No such file or directory); its old "
                         "text stays in " +
                         goneCopy),
              std::string::npos)
        << r.err;
    EXPECT_EQ(dir.Read("p.htm"), "old text");
    EXPECT_FALSE(fs::exists(pageCopy));
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_TRUE(fs::exists(goneCopy));
}

TEST(RunnerEndToEnd, RecursionMakesOneRunPerFolder) {
    Site site;
    fs::create_directory(site.path + "/sub");
    site.dir.Write("site/sub/s.htm", "<img src=\"s.gif\" alt=\"S\" title=\"S\">");
    const CliResult r = RunCli({"scan", "--no-settings", "--color=never", "-r", site.path});
    const std::string out = MaskStamps(r.out);
    EXPECT_NE(out.find("Path : " + site.path + "/sub/\ns.htm : No changes\n"), std::string::npos);
    EXPECT_EQ(std::count(out.begin(), out.end(), '.') > 0, true);
    std::size_t runs = 0;
    for (std::size_t at = out.find("Process ended"); at != std::string::npos;
         at = out.find("Process ended", at + 1)) {
        ++runs;
    }
    EXPECT_EQ(runs, 2u);
}

TEST(RunnerEndToEnd, InterruptStopsLikeAConfirmedStop) {
    TempDir dir;
    std::string page;
    while (page.size() < 40'000'000) {
        page += "<img src=\"a.gif\" title=\"A\"><img src=\"b.gif\" title=\"B\">\n";
    }
    dir.Write("big.htm", page);
    dir.Write("next.htm", "<img src=\"n.gif\" title=\"N\">");
    bool sent = false;
    const CliResult r = RunCli({"add-alt", "--no-settings", "--yes", "--color=never", dir.Path()},
                               [&](pid_t pid, const std::string& out) {
                                   if (!sent && out.find("Path : ") != std::string::npos) {
                                       ::kill(pid, SIGINT);
                                       sent = true;
                                   }
                               });
    EXPECT_EQ(r.status, 130) << r.err;
    EXPECT_NE(r.out.find("big.htm : Process stopped by user\n"
                         "big.htm : Modifications to big.htm have not been saved\n"),
              std::string::npos);
    EXPECT_EQ(r.out.find("next.htm"), std::string::npos);
    EXPECT_EQ(r.out.find("attribute(s) added"), std::string::npos);
    EXPECT_EQ(dir.Read("big.htm"), page);
    EXPECT_EQ(dir.Read("next.htm"), "<img src=\"n.gif\" title=\"N\">");
}

}  // namespace
}  // namespace vantaro::cli
