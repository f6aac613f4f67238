// The command-line runner end to end over a generated site of many pages: how soon the run
// starts (listing the folder), megabytes per second of the whole scan, and the runner's peak
// memory.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "Corpus.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Outcome {
    double startSeconds = -1;  // until "Process started" was printed
    double totalSeconds = 0;
    double peakMiB = 0;
    int status = -1;
    std::size_t outputBytes = 0;
};

Outcome RunScan(const std::string& cli, const std::string& folder) {
    int out[2];
    if (::pipe(out) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string args[] = {cli, "scan", "--no-settings", "--color=never", folder};
    char* argv[] = {args[0].data(), args[1].data(), args[2].data(),
                    args[3].data(), args[4].data(), nullptr};
    Outcome outcome;
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv, environ) != 0) {
        return outcome;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string seen;
    char buffer[1 << 16];
    ssize_t n = 0;
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0) {
        outcome.outputBytes += static_cast<std::size_t>(n);
        if (outcome.startSeconds < 0) {
            seen.append(buffer, static_cast<std::size_t>(n));
            if (seen.find("Process started") != std::string::npos) {
                outcome.startSeconds = std::chrono::duration<double>(Clock::now() - start).count();
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

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "/tmp/vantaro-bench-100k";
    const std::size_t pages = argc > 2 ? std::stoul(argv[2]) : 100000;
    const std::size_t pageBytes = argc > 3 ? std::stoul(argv[3]) : 6144;
    const vantaro::bench::CorpusInfo corpus = vantaro::bench::MakeCorpus(folder, pages, pageBytes);
    std::printf("corpus: %zu pages, %.1f MB in %s\n", corpus.pages,
                static_cast<double>(corpus.bytes) / 1e6, folder.c_str());
    for (const char* label : {"first run", "second run"}) {
        const Outcome o = RunScan(VANTARO_CLI_PATH, folder);
        std::printf(
            "vantaro-cli scan --color=never (%s): listing and start %.3f s, total %.2f s, "
            "%.1f MB/s end to end, %.1f MB of log, peak memory %.1f MiB, exit %d\n",
            label, o.startSeconds, o.totalSeconds,
            static_cast<double>(corpus.bytes) / 1e6 / o.totalSeconds,
            static_cast<double>(o.outputBytes) / 1e6, o.peakMiB, o.status);
    }
    return 0;
}
