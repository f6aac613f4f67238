// The command-line runner end to end over a generated site of many pages: how soon the run
// starts (listing the folder) and reports its first page, megabytes per second of the whole
// scan, and the runner's peak memory; then an adding run over small pages next to a scan of
// the same pages, which shows what writing pages safely costs. With --corpus=FOLDER, the scan
// of a folder of real pages next to reading them with memchr instead.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Corpus.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Outcome {
    double startSeconds = -1;      // until "Process started" was printed
    double firstPageSeconds = -1;  // until the first page's name was printed
    double totalSeconds = 0;
    double peakMiB = 0;
    int status = -1;
    std::size_t outputBytes = 0;
};

enum class Output { Read, Discarded };

// Runs the runner with the arguments, its output read as it comes, or discarded so that only
// the run itself is measured.
Outcome RunCli(const std::string& cli, std::vector<std::string> args,
               Output output = Output::Read) {
    int out[2];
    if (::pipe(out) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (output == Output::Discarded) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addclose(&actions, out[1]);
    } else {
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    }
    posix_spawn_file_actions_addclose(&actions, out[0]);
    args.insert(args.begin(), cli);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    Outcome outcome;
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        return outcome;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string seen;
    char buffer[1 << 16];
    ssize_t n = 0;
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0) {
        outcome.outputBytes += static_cast<std::size_t>(n);
        if (outcome.firstPageSeconds < 0) {
            seen.append(buffer, static_cast<std::size_t>(n));
            const double now = std::chrono::duration<double>(Clock::now() - start).count();
            const std::size_t started = seen.find("Process started");
            if (started != std::string::npos && outcome.startSeconds < 0) {
                outcome.startSeconds = now;
            }
            if (started != std::string::npos &&
                seen.find(".htm : ", started) != std::string::npos) {
                outcome.firstPageSeconds = now;
            }
        }
    }
    ::close(out[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    outcome.totalSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    outcome.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
}

// The runner's scan of a folder of real pages and its subfolders, on one thread and on one
// per processor, next to reading the same pages and finding each '<' with memchr. Rounds
// alternate, so a busy moment of the machine touches all three alike; the best of each counts.
// The log goes to /dev/null: on two processors, a reader of it would take time from the run.
int MeasureCorpus(const std::string& folder) {
    std::uint64_t bytes = 0;
    const std::vector<std::string> pages = vantaro::bench::PagesUnder(folder, bytes);
    std::printf("corpus: %zu pages, %.1f MB in %s\n", pages.size(),
                static_cast<double>(bytes) / 1e6, folder.c_str());
    const std::vector<std::string> oneThread = {
        "scan", "--no-settings", "--color=never", "-r", "--jobs", "1", folder};
    const std::vector<std::string> everyCore = {"scan", "--no-settings", "--color=never", "-r",
                                                folder};
    double reference = 1e9;
    double single = 1e9;
    double multiple = 1e9;
    std::uint64_t brackets = 0;
    for (int round = 0; round < 5; ++round) {
        reference = std::min(reference, vantaro::bench::ReadAndMemchrSeconds(pages, brackets));
        const Outcome one = RunCli(VANTARO_CLI_PATH, oneThread, Output::Discarded);
        const Outcome all = RunCli(VANTARO_CLI_PATH, everyCore, Output::Discarded);
        if (one.status > 1 || all.status > 1) {  // 1 only says findings remain
            std::printf("scans of %s failed (exit %d, %d)\n", folder.c_str(), one.status,
                        all.status);
            return 1;
        }
        single = std::min(single, one.totalSeconds);
        multiple = std::min(multiple, all.totalSeconds);
    }
    const auto report = [&](const char* what, double seconds) {
        std::printf("%-36s %7.3f s %8.1f MB/s  share of read + memchr %.2f\n", what, seconds,
                    static_cast<double>(bytes) / 1e6 / seconds, reference / seconds);
    };
    std::printf("best of 5 rounds:\n");
    report("read + memchr('<')", reference);
    report("vantaro-cli scan -r --jobs 1", single);
    report("vantaro-cli scan -r (every processor)", multiple);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]).rfind("--corpus=", 0) == 0) {
        return MeasureCorpus(std::string(argv[1]).substr(9));
    }
    if (argc > 1 && argv[1][0] == '-') {  // the folder is made and filled: never take an option
        std::fprintf(stderr, "usage: %s [FOLDER [PAGES [PAGE_BYTES]]] | --corpus=FOLDER\n",
                     argv[0]);
        return 2;
    }
    const std::string folder = argc > 1 ? argv[1] : "/tmp/vantaro-bench-100k";
    const std::size_t pages = argc > 2 ? std::stoul(argv[2]) : 100000;
    const std::size_t pageBytes = argc > 3 ? std::stoul(argv[3]) : 6144;
    const vantaro::bench::CorpusInfo corpus = vantaro::bench::MakeCorpus(folder, pages, pageBytes);
    std::printf("corpus: %zu pages, %.1f MB in %s\n", corpus.pages,
                static_cast<double>(corpus.bytes) / 1e6, folder.c_str());
    for (const char* label : {"first run", "second run"}) {
        const Outcome o =
            RunCli(VANTARO_CLI_PATH, {"scan", "--no-settings", "--color=never", folder});
        std::printf(
            "vantaro-cli scan --color=never (%s): listing and start %s, first page %s, total "
            "%.2f s, %.1f MB/s end to end, %.1f MB of log, peak memory %.1f MiB, exit %d\n",
            label, Seconds(o.startSeconds).c_str(), Seconds(o.firstPageSeconds).c_str(),
            o.totalSeconds, static_cast<double>(corpus.bytes) / 1e6 / o.totalSeconds,
            static_cast<double>(o.outputBytes) / 1e6, o.peakMiB, o.status);
    }

    // Every adding run starts from freshly made pages, so each has the same tags to write.
    const std::string small = folder + "-writes";
    const std::size_t smallPages = 2000;
    double scanSeconds = 0;
    double addSeconds = 0;
    const int rounds = 3;
    for (int round = 0; round < rounds; ++round) {
        std::filesystem::remove_all(small);
        vantaro::bench::MakeCorpus(small, smallPages, 4096);
        ::sync();  // the new pages' own writing would otherwise be paid by the first flushes
        const Outcome scan =
            RunCli(VANTARO_CLI_PATH, {"scan", "--no-settings", "--color=never", small});
        const Outcome add =
            RunCli(VANTARO_CLI_PATH, {"add-alt", "--no-settings", "--color=never", "--yes", small});
        if (scan.status > 1 || add.status > 1) {  // 1 only says findings remain
            std::printf("runs over %s failed (exit %d, %d)\n", small.c_str(), scan.status,
                        add.status);
            return 1;
        }
        scanSeconds += scan.totalSeconds;
        addSeconds += add.totalSeconds;
    }
    std::filesystem::remove_all(small);
    std::printf(
        "%zu pages of about 4 KB, mean of %d runs: scan %.3f s, add-alt %.3f s, adding "
        "run / scan %.2f\n",
        smallPages, rounds, scanSeconds / rounds, addSeconds / rounds, addSeconds / scanSeconds);
    return 0;
}
