// Engine throughput over a generated site, in process: pages and megabytes per second for a
// scan, an add-alt preview and a real add-alt, one large page, and the peak memory.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Corpus.h"
#include "engine/Engine.h"
#include "log/LogFormatter.h"

namespace {

using namespace vantaro;
namespace fs = std::filesystem;

// Words every event as the log would, and counts what it would show.
class CountingHost : public EngineHost, public LogSink {
  public:
    void OnFinding(const Finding& finding) override { WriteFinding(*this, finding); }
    void OnPageEvent(const PageEvent& event) override { WritePageEvent(*this, event); }
    void AddLogLine(std::string_view text, LogColour, bool endLine, FontStyle) override {
        logBytes += text.size();
        lines += endLine ? 1 : 0;
    }
    void AdvanceProgress(std::uint64_t bytes) override { progress += bytes; }
    void PumpEvents() override { ++pumps; }
    bool IsIgnoredReference(std::string_view) override { return false; }
    bool IsFoundReference(std::string_view) override { return true; }
    void AddFoundReference(std::string_view) override {}
    TemplateWarningAnswer ShowTemplateWarning(const std::string&) override {
        return TemplateWarningAnswer::Yes;
    }
    std::uint64_t logBytes = 0, lines = 0, progress = 0, pumps = 0;
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Measure(const char* what, const std::vector<std::string>& pages, std::uint64_t bytes,
             ScanMode mode, bool preview) {
    CountingHost host;
    Engine engine(host);
    engine.Settings().PreviewMode = preview;
    engine.Settings().ShowDWTDlg = false;
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& page : pages) {
        engine.Flags().AbortFile = false;
        engine.ProcessFile(page, mode);
    }
    const double seconds = Seconds(start);
    std::printf("%-28s %8zu pages %9.1f MB %7.3f s %8.1f MB/s %9.0f pages/s %8llu log lines\n",
                what, pages.size(), static_cast<double>(bytes) / 1e6, seconds,
                static_cast<double>(bytes) / 1e6 / seconds,
                static_cast<double>(pages.size()) / seconds,
                static_cast<unsigned long long>(host.lines));
}

std::vector<std::string> PagesOf(const std::string& folder) {
    std::vector<std::string> pages;
    for (const auto& entry : fs::directory_iterator(folder)) {
        pages.push_back(entry.path().string());
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = argc > 1 ? argv[1] : "/tmp/vantaro-bench";
    const std::size_t count = argc > 2 ? std::stoul(argv[2]) : 20000;
    const std::string site = root + "/site";
    const bench::CorpusInfo corpus = bench::MakeCorpus(site, count, 8192);
    const std::vector<std::string> pages = PagesOf(site);
    std::printf("corpus: %zu pages, %.1f MB in %s\n", corpus.pages,
                static_cast<double>(corpus.bytes) / 1e6, site.c_str());

    Measure("scan (warm cache)", pages, corpus.bytes, ScanMode::Scan, true);
    Measure("scan", pages, corpus.bytes, ScanMode::Scan, true);
    Measure("add alt, preview", pages, corpus.bytes, ScanMode::AddAlt, true);

    const std::string copy = root + "/writable";
    fs::remove_all(copy);
    fs::copy(site, copy);
    Measure("add alt, writing", PagesOf(copy), corpus.bytes, ScanMode::AddAlt, false);
    fs::remove_all(copy);

    if (argc > 3 && std::string(argv[3]) == "--no-large-page") {
        std::printf("peak memory: %.1f MiB\n", bench::PeakMemoryMiB());
        return 0;
    }
    const std::string big = root + "/big.htm";
    {
        std::ofstream out(big, std::ios::binary | std::ios::trunc);
        for (std::uint32_t i = 0; i < 64; ++i) {
            const std::string part = bench::MakePage(i, 4 << 20);
            out.write(part.data(), static_cast<std::streamsize>(part.size()));
        }
    }
    const std::uint64_t bigSize = fs::file_size(big);
    Measure("one large page, scan", {big}, bigSize, ScanMode::Scan, true);
    Measure("one large page, preview", {big}, bigSize, ScanMode::AddAlt, true);
    fs::remove(big);

    std::printf("peak memory: %.1f MiB\n", bench::PeakMemoryMiB());
    return 0;
}
