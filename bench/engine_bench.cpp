// Engine throughput in process: pages and megabytes per second for a scan with each search
// width, an add-alt preview and a real add-alt, one large page, and the peak memory, next to
// reading the same pages and looking for '<' with memchr. Over a generated site, or over a
// folder of real pages given with --corpus=FOLDER (searched recursively for .htm and .html).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Corpus.h"
#include "engine/Engine.h"
#include "engine/StopFinder.h"
#include "log/LogFormatter.h"
#include "run/ReferenceList.h"

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
    bool IsFoundReference(std::string_view reference) override { return found.Contains(reference); }
    void AddFoundReference(std::string_view reference) override { found.Add(reference); }
    TemplateWarningAnswer ShowTemplateWarning(const std::string&) override {
        return TemplateWarningAnswer::Yes;
    }
    std::uint64_t logBytes = 0, lines = 0, progress = 0, pumps = 0;
    ReferenceList found;
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Report(const char* what, std::size_t pages, std::uint64_t bytes, double seconds,
            std::uint64_t lines) {
    std::printf("%-28s %8zu pages %9.1f MB %7.3f s %8.1f MB/s %9.0f pages/s %8llu log lines\n",
                what, pages, static_cast<double>(bytes) / 1e6, seconds,
                static_cast<double>(bytes) / 1e6 / seconds, static_cast<double>(pages) / seconds,
                static_cast<unsigned long long>(lines));
}

// The limit a scan is measured against. Returns the seconds taken.
double ReadAndMemchr(const std::vector<std::string>& pages, std::uint64_t bytes) {
    std::uint64_t brackets = 0;
    const double seconds = bench::ReadAndMemchrSeconds(pages, brackets);
    Report("read + memchr('<')", pages.size(), bytes, seconds, brackets);
    return seconds;
}

const char* WidthName(ScanWidth width) {
    switch (width) {
        case ScanWidth::Bytewise:
            return "scan, byte by byte";
        case ScanWidth::Sse2:
            return "scan, 16 bytes (SSE2)";
        case ScanWidth::Avx2:
            return "scan, 32 bytes (AVX2)";
    }
    return "scan";
}

double Measure(const char* what, const std::vector<std::string>& pages, std::uint64_t bytes,
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
    Report(what, pages.size(), bytes, seconds, host.lines);
    return seconds;
}

// Every search width this processor has, then the scan against the read + memchr limit.
void MeasureScans(const std::vector<std::string>& pages, std::uint64_t bytes) {
    Measure("scan (warm cache)", pages, bytes, ScanMode::Scan, true);
    const ScanWidth chosen = StopFinder::CurrentWidth();
    const ScanWidth widest = StopFinder::WidestAvailable();
    for (ScanWidth width : {ScanWidth::Bytewise, ScanWidth::Sse2, ScanWidth::Avx2}) {
        if (static_cast<int>(width) <= static_cast<int>(widest)) {
            StopFinder::UseWidth(width);
            Measure(WidthName(width), pages, bytes, ScanMode::Scan, true);
        }
    }
    StopFinder::UseWidth(chosen);
    const double limit = ReadAndMemchr(pages, bytes);
    const double scan = Measure("scan", pages, bytes, ScanMode::Scan, true);
    std::printf("scan speed as a share of read + memchr: %.2f\n", limit / scan);
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
    std::vector<std::string> positional;
    std::string corpusFolder;
    bool largePage = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--corpus=", 0) == 0) {
            corpusFolder = argument.substr(9);
        } else if (argument == "--no-large-page") {
            largePage = false;
        } else {
            positional.push_back(argument);
        }
    }
    if (!corpusFolder.empty()) {
        std::uint64_t bytes = 0;
        const std::vector<std::string> pages = bench::PagesUnder(corpusFolder, bytes);
        std::printf("corpus: %zu pages, %.1f MB in %s\n", pages.size(),
                    static_cast<double>(bytes) / 1e6, corpusFolder.c_str());
        MeasureScans(pages, bytes);
        std::printf("peak memory: %.1f MiB\n", bench::PeakMemoryMiB());
        return 0;
    }
    const std::string root = positional.size() > 0 ? positional[0] : "/tmp/vantaro-bench";
    const std::size_t count = positional.size() > 1 ? std::stoul(positional[1]) : 20000;
    const std::string site = root + "/site";
    const bench::CorpusInfo corpus = bench::MakeCorpus(site, count, 8192);
    const std::vector<std::string> pages = PagesOf(site);
    std::printf("corpus: %zu pages, %.1f MB in %s\n", corpus.pages,
                static_cast<double>(corpus.bytes) / 1e6, site.c_str());

    MeasureScans(pages, corpus.bytes);
    Measure("add alt, preview", pages, corpus.bytes, ScanMode::AddAlt, true);

    const std::string copy = root + "/writable";
    fs::remove_all(copy);
    fs::copy(site, copy);
    Measure("add alt, writing", PagesOf(copy), corpus.bytes, ScanMode::AddAlt, false);
    fs::remove_all(copy);

    if (!largePage) {
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
