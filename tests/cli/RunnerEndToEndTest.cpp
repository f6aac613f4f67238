#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <regex>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/FileSizeLimit.h"

extern char** environ;
#endif

#include "engine/RecoveryFiles.h"
#include "platform/Paths.h"
#include "platform/SystemFolders.h"
#include "support/CacheFolder.h"
#include "support/TempDir.h"

namespace vantaro::cli {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Where the runner's standard output goes.
enum class Output {
    Pipe,  // a pipe the test reads
#ifndef _WIN32
    DevFull,  // /dev/full: every write fails with "No space left on device"
#endif
    ClosedPipe,  // a pipe whose reading end is closed: every write fails with EPIPE
};

#ifndef _WIN32
using ProcessId = pid_t;

// The runner as a child process, with standard input from /dev/null (so it is no terminal).
class CliProcess {
  public:
    CliProcess(const std::vector<std::string>& args, Output output = Output::Pipe,
               int pipeSize = 0) {
        int out[2];
        int err[2];
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(err, O_CLOEXEC), 0);
        if (pipeSize > 0) {
            EXPECT_EQ(::fcntl(out[0], F_SETPIPE_SZ, pipeSize), pipeSize);
        }
        if (output == Output::ClosedPipe) {
            ::close(out[0]);
            out[0] = -1;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        if (output == Output::DevFull) {
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
        } else {
            posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        }
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        std::vector<std::string> argv = {VANTARO_CLI_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> raw;
        for (std::string& arg : argv) {
            raw.push_back(arg.data());
        }
        raw.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&pid_, raw[0], &actions, nullptr, raw.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        if (output != Output::Pipe && out[0] >= 0) {
            ::close(out[0]);
            out[0] = -1;
        }
        out_ = out[0];
        err_ = err[0];
    }
    ~CliProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        for (int fd : {out_, err_}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    pid_t Pid() const { return pid_; }

    // Reads both outputs to their end and waits for the runner; onOutput may act on the
    // standard output seen so far (e.g. interrupt the runner).
    CliResult Finish(const std::function<void(ProcessId, const std::string&)>& onOutput = {}) {
        CliResult result;
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        int open = (out_ >= 0 ? 1 : 0) + 1;
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
                    onOutput(pid_, result.out);
                }
            }
        }
        out_ = err_ = -1;
        result.status = Wait();
        return result;
    }

    // Waits, without reading any output, until the runner is stuck writing to the full pipe
    // of its standard output (the only thing it can sleep on).
    void WaitUntilBlockedOnOutput() const {
        while (true) {
            int queued = 0;
            ASSERT_EQ(::ioctl(out_, FIONREAD, &queued), 0);
            const char state = ProcState();
            ASSERT_NE(state, 'Z') << "the runner ended before filling its output";
            const std::string wchan = ProcFile("wchan");
            const bool known = !wchan.empty() && wchan != "0";
            if (queued > 0 && state == 'S' &&
                (!known || wchan.find("pipe_write") != std::string::npos)) {
                return;
            }
            ::sched_yield();
        }
    }

    // Sends SIGINT and returns once the runner has taken it, so that a second one is not
    // merged with it.
    void Interrupt() const {
        ASSERT_EQ(::kill(pid_, SIGINT), 0);
        while (Pending(SIGINT)) {
            ::sched_yield();
        }
    }

    // The exit status when the runner ends within the time given without anyone reading its
    // output, else -1 (and it is killed).
    int StatusWithoutReading(std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return Decode(status);
            }
            ::usleep(10000);
        }
        return -1;
    }

  private:
    static int Decode(int status) {
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    int Wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return Decode(status);
    }

    std::string ProcFile(const char* name) const {
        return test::ReadWholeFile("/proc/" + std::to_string(pid_) + "/" + name);
    }

    char ProcState() const {
        const std::string stat = ProcFile("stat");
        const std::size_t paren = stat.rfind(')');
        return paren != std::string::npos && paren + 2 < stat.size() ? stat[paren + 2] : 'Z';
    }

    bool Pending(int signal) const {
        const std::string status = ProcFile("status");
        for (const char* field : {"SigPnd:", "ShdPnd:"}) {
            const std::size_t at = status.find(field);
            if (at != std::string::npos &&
                (std::stoull(status.substr(at + std::strlen(field)), nullptr, 16) >> (signal - 1)) &
                    1) {
                return true;
            }
        }
        return false;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
};
#else
using ProcessId = DWORD;

std::wstring Wide(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end())).wstring();
}

// One argument as the C runtime splits a command line: quoted, with the backslashes before a
// quote doubled.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
        } else {
            quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
            backslashes = 0;
        }
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

// The runner as a child process, with standard input from NUL (so it is no console).
class CliProcess {
  public:
    CliProcess(const std::vector<std::string>& args, Output output = Output::Pipe) {
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE outWrite = nullptr;
        HANDLE errWrite = nullptr;
        EXPECT_TRUE(::CreatePipe(&out_, &outWrite, &inherited, 0));
        EXPECT_TRUE(::CreatePipe(&err_, &errWrite, &inherited, 0));
        ::SetHandleInformation(out_, HANDLE_FLAG_INHERIT, 0);
        ::SetHandleInformation(err_, HANDLE_FLAG_INHERIT, 0);
        if (output == Output::ClosedPipe) {
            ::CloseHandle(out_);
            out_ = nullptr;
        }
        const HANDLE nul = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         &inherited, OPEN_EXISTING, 0, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nul;
        startup.hStdOutput = outWrite;
        startup.hStdError = errWrite;
        const std::wstring program = Wide(ExecutableFolder()) + L"vantaro-cli.exe";
        std::wstring command = Quoted(program);
        for (const std::string& arg : args) {
            command += L" " + Quoted(Wide(arg));
        }
        PROCESS_INFORMATION process{};
        EXPECT_TRUE(::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE,
                                     CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process));
        process_ = process.hProcess;
        if (process.hThread != nullptr) {
            ::CloseHandle(process.hThread);
        }
        for (HANDLE handle : {outWrite, errWrite, nul}) {
            ::CloseHandle(handle);
        }
    }
    ~CliProcess() {
        if (process_ != nullptr) {
            ::TerminateProcess(process_, 1);
            ::WaitForSingleObject(process_, INFINITE);
            ::CloseHandle(process_);
        }
        for (HANDLE handle : {out_, err_}) {
            if (handle != nullptr) {
                ::CloseHandle(handle);
            }
        }
    }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // Reads both outputs to their end and waits for the runner; onOutput may act on the
    // standard output seen so far.
    CliResult Finish(const std::function<void(ProcessId, const std::string&)>& onOutput = {}) {
        CliResult result;
        std::thread errors([&] { ReadAll(err_, result.err, {}); });
        if (out_ != nullptr) {
            ReadAll(out_, result.out, [&](const std::string& out) {
                if (onOutput) {
                    onOutput(::GetProcessId(process_), out);
                }
            });
        }
        errors.join();
        ::WaitForSingleObject(process_, INFINITE);
        DWORD status = 0;
        ::GetExitCodeProcess(process_, &status);
        ::CloseHandle(process_);
        process_ = nullptr;
        result.status = static_cast<int>(status);
        return result;
    }

  private:
    static void ReadAll(HANDLE& from, std::string& into,
                        const std::function<void(const std::string&)>& onRead) {
        char buffer[4096];
        DWORD read = 0;
        while (::ReadFile(from, buffer, sizeof buffer, &read, nullptr) && read > 0) {
            into.append(buffer, read);
            if (onRead) {
                onRead(into);
            }
        }
        ::CloseHandle(from);
        from = nullptr;
    }

    HANDLE process_ = nullptr;
    HANDLE out_ = nullptr;
    HANDLE err_ = nullptr;
};
#endif

CliResult RunCli(const std::vector<std::string>& args,
                 const std::function<void(ProcessId, const std::string&)>& onOutput = {}) {
    return CliProcess(args).Finish(onOutput);
}

std::string MaskStamps(const std::string& text) {
    return std::regex_replace(text, std::regex("(Process (started|ended)) [^\n]*"), "$1 STAMP");
}

// A path as the runner shows it: with the system's own separators.
std::string Shown(const std::string& path) {
    return WithNativeSeparators(path);
}

// The same in a JSON string.
std::string JsonShown(const std::string& path) {
    return std::regex_replace(Shown(path), std::regex(R"(\\)"), R"(\\)");
}

#ifndef _WIN32
// Sets an environment variable for the runners started in its lifetime (POSIX: Windows keeps
// the settings in the common application-data folder whatever the environment says).
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* before = std::getenv(name)) {
            before_ = before;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (before_) {
            ::setenv(name_, before_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* name_;
    std::optional<std::string> before_;
};
#endif

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
                  Shown(site.path + "/") +
                  "\n"
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

#ifndef _WIN32
TEST(RunnerEndToEnd, ReadsTheSettingsFileAtItsUsualPlace) {
    Site site;
    fs::create_directories(site.dir.File("config/Corvell/Vantaro"));
    site.dir.Write("config/Corvell/Vantaro/App.ini", "[MainForm]\r\nTag Img=0\r\n");
    const ScopedEnvironment config("XDG_CONFIG_HOME", site.dir.File("config"));
    const CliResult r = RunCli({"scan", "--color=never", site.path});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.find("alt missing"), std::string::npos);
    EXPECT_EQ(site.dir.Read("config/Corvell/Vantaro/App.ini"), "[MainForm]\r\nTag Img=0\r\n");
}
#endif

TEST(RunnerEndToEnd, JsonLinesDescribeFindingsPagesAndRuns) {
    Site site;
    const CliResult r = RunCli({"scan", "--no-settings", "--format=jsonl", site.path});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(
        r.out.find("{\"type\":\"finding\",\"file\":\"" + JsonShown(site.path + "/index.htm") +
                   "\",\"line\":1,\"tag\":\"img\",\"reference\":\"logo.gif\","
                   "\"attribute\":\"alt\",\"action\":\"missing\",\"message\":\"alt missing\"}\n"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"type\":\"file\",\"file\":\"" + JsonShown(site.path + "/index.htm") +
                         "\",\"result\":\"reported\",\"findings\":1,\"unresolved\":1}"),
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

// A file size limit is a POSIX matter.
#ifndef _WIN32
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
#endif

TEST(RunnerEndToEnd, RecoverListsAndRestoresKeptOldTexts) {
    test::CacheFolder cache;  // the runner inherits XDG_CACHE_HOME
    TempDir dir;
    // Named as the system spells paths, whatever spelling the copies were kept under.
    const std::string page = WithSystemSeparators(dir.Write("p.htm", "new text, part written"));
    const std::string gone = WithSystemSeparators(dir.File("gone.htm"));
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
    EXPECT_NE(out.find("Path : " + Shown(site.path + "/sub/") + "\ns.htm : No changes\n"),
              std::string::npos);
    EXPECT_EQ(std::count(out.begin(), out.end(), '.') > 0, true);
    std::size_t runs = 0;
    for (std::size_t at = out.find("Process ended"); at != std::string::npos;
         at = out.find("Process ended", at + 1)) {
        ++runs;
    }
    EXPECT_EQ(runs, 2u);
}

// Interrupts are signals sent to the runner, and the slow reader is made from the size of a pipe
// and the runner's state in /proc.
#ifndef _WIN32
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

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

// A site whose log is far longer than a pipe holds: every page gains many alt attributes.
struct TalkativeSite {
    static constexpr int kTags = 60;
    TempDir dir;
    std::vector<std::string> names;
    std::string page;
    std::string added;

    TalkativeSite() {
        // Appended piece by piece: g++ 12 at -O3 misreads "literal" + std::string as an
        // overlapping copy (-Wrestrict).
        for (int i = 0; i < kTags; ++i) {
            const std::string src = std::to_string(i) + ".gif\"";
            page.append("<img src=\"i").append(src).append(" title=\"T\">\n");
            added.append("<img src=\"i").append(src).append(" alt=\"T\" title=\"T\">\n");
        }
        for (int i = 10; i < 50; ++i) {
            names.push_back(std::string("p").append(std::to_string(i)).append(".htm"));
            dir.Write(names.back(), page);
        }
    }

    std::vector<std::string> Arguments() const {
        return {"add-alt", "--no-settings", "--yes", "--color=never", dir.Path()};
    }
};

TEST(RunnerEndToEnd, InterruptWithASlowReaderLosesNoLine) {
    TalkativeSite site;
    CliProcess cli(site.Arguments(), Output::Pipe, 4096);
    cli.WaitUntilBlockedOnOutput();
    cli.Interrupt();
    const CliResult r = cli.Finish();
    EXPECT_EQ(r.status, 130) << r.err;
    int stopped = 0;
    for (const std::string& name : site.names) {
        const std::string text = site.dir.Read(name);
        if (text == site.added) {
            EXPECT_EQ(Count(r.out, name + " : Line "), std::size_t{TalkativeSite::kTags}) << name;
            EXPECT_EQ(Count(r.out, name + " : Updated successfully\n"), 1u) << name;
        } else if (Count(r.out, name + " : Process stopped by user\n" + name +
                                    " : Modifications to " + name + " have not been saved\n") > 0) {
            EXPECT_EQ(text, site.page) << name;
            ++stopped;
        } else {
            EXPECT_EQ(text, site.page) << name;
            EXPECT_EQ(r.out.find(name), std::string::npos) << name;
        }
    }
    EXPECT_EQ(stopped, 1);
    EXPECT_EQ(Count(r.out, "\nProcess ended "), 1u);
    EXPECT_EQ(r.out.substr(r.out.size() - 5), "\n...\n");
}

TEST(RunnerEndToEnd, ASecondInterruptEndsAtOnceLeavingEveryPageWhole) {
    TalkativeSite site;
    CliProcess cli(site.Arguments(), Output::Pipe, 4096);
    cli.WaitUntilBlockedOnOutput();
    cli.Interrupt();
    cli.Interrupt();
    EXPECT_EQ(cli.StatusWithoutReading(std::chrono::seconds(60)), 130);
    for (const std::string& name : site.names) {
        const std::string text = site.dir.Read(name);
        EXPECT_TRUE(text == site.page || text == site.added) << name;
    }
}

#endif

TEST(RunnerEndToEnd, OutputThatCannotBeWrittenStopsTheRunAndExitsTwo) {
    Site site;
    const std::string before = site.dir.Read("site/index.htm");
    const std::vector<std::string> adding = {"add-alt", "--no-settings", "--yes", site.path};
    // A reader that went away (as with "| head") gets no message.
    CliResult r = CliProcess(adding, Output::ClosedPipe).Finish();
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(site.dir.Read("site/index.htm"), before);

#ifndef _WIN32
    r = CliProcess(adding, Output::DevFull).Finish();
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "vantaro-cli: cannot write to standard output: No space left on device; the run "
              "was stopped\n");
    EXPECT_EQ(site.dir.Read("site/index.htm"), before);

    // JSON lines of a single page reach the output only at the final flush.
    r = CliProcess({"scan", "--no-settings", "--format=jsonl", site.path + "/b.php"},
                   Output::DevFull)
            .Finish();
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("vantaro-cli: cannot write to standard output: No space left", 0), 0u);
    EXPECT_EQ(CliProcess({"--help"}, Output::DevFull).Finish().status, 2);
#endif
}

TEST(RunnerEndToEnd, ASettingsFileThatCannotBeUsedIsAnError) {
    Site site;
    fs::create_directory(site.dir.File("folder.ini"));
    std::vector<std::string> unusable = {"none.ini", "folder.ini"};
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(site.dir.File("fifo.ini").c_str(), 0600), 0);
    unusable.push_back("fifo.ini");
#endif
    for (const std::string& name : unusable) {
        const std::string ini = site.dir.File(name);
        const CliResult r = RunCli({"scan", "--settings", ini, site.path});
        EXPECT_EQ(r.status, 2) << name;
        EXPECT_EQ(r.out, "") << name;
        EXPECT_EQ(r.err.rfind("vantaro-cli: cannot use the settings file " + ini + ": ", 0), 0u)
            << r.err;
    }
#ifndef _WIN32
    // The usual settings file may be missing (the defaults apply), but not unusable.
    const ScopedEnvironment config("XDG_CONFIG_HOME", site.dir.File("config"));
    EXPECT_EQ(RunCli({"scan", site.path}).status, 1);
    fs::create_directories(site.dir.File("config/Corvell/Vantaro/App.ini"));
    const CliResult r = RunCli({"scan", site.path});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
#endif
}

TEST(RunnerEndToEnd, PageTextCannotDriveTheTerminal) {
    TempDir dir;
    const std::string hostile =
        "A\x1B]0;owned\x07"
        "B\xE2\x80\xAE"
        "C\xE2\x80\xA8"
        "D\xC2\x9B"
        "E";
    dir.Write("p.htm", "<img src=\"x.gif\" title=\"" + hostile + "\">");
#ifndef _WIN32
    // Control characters are no part of a file name on Windows.
    dir.Write("\x1B[2Jq.htm", "<img src=\"q.gif\">");
#endif
    const std::string r = "\xEF\xBF\xBD";
    const std::string unsafe[] = {"\x07",         "\x1B]",        "\x1B[2J",
                                  "\xE2\x80\xAE", "\xE2\x80\xA8", "\xC2\x9B"};
    for (const char* colour : {"--color=always", "--color=never"}) {
        const CliResult result =
            RunCli({"add-alt", "--no-settings", "--preview", colour, dir.Path()});
        EXPECT_NE(result.out.find("A" + r + "]0;owned" + r + "B" + r + "C" + r + "D" + r + "E"),
                  std::string::npos)
            << colour << result.out;
#ifndef _WIN32
        EXPECT_NE(result.out.find(r + "[2Jq.htm"), std::string::npos) << colour;
#endif
        for (const std::string& bytes : unsafe) {
            EXPECT_EQ(result.out.find(bytes), std::string::npos) << colour;
        }
    }
    const CliResult json = RunCli(
        {"add-alt", "--no-settings", "--preview", "--format=jsonl", "--list-refs", dir.Path()});
    EXPECT_NE(json.out.find("A\\u001b]0;owned\\u0007B\\u202eC\\u2028D\\u009bE"), std::string::npos)
        << json.out;
#ifndef _WIN32
    EXPECT_NE(json.out.find("\\u001b[2Jq.htm"), std::string::npos);
#endif
    EXPECT_EQ(json.out.find('\x1B'), std::string::npos);
    const CliResult missing = RunCli({"scan", "--no-settings", dir.File("\x1B[31mnone.htm")});
    EXPECT_NE(missing.err.find(r + "[31mnone.htm"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.err.find('\x1B'), std::string::npos);
}

}  // namespace
}  // namespace vantaro::cli
