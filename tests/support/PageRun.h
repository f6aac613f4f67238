#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

namespace vantaro::test {

// The observable result of processing one page.
struct PageResult {
    std::vector<LogSegment> segments;
    std::vector<std::string> lines;
    std::vector<std::string> found;
    std::string fileAfter;  // the page's bytes after the run
    std::string output;     // OutputText as the second pass left it
    std::uint64_t progress = 0;
    std::int64_t totalAlt = 0;
    std::int64_t totalTitle = 0;
    std::size_t warnings = 0;
};

using SettingsEdit = std::function<void(EngineSettings&)>;
using HostEdit = std::function<void(RecordingHost&)>;

// Writes `page` as `name` in a fresh folder and processes it once.
PageResult RunPage(const std::string& page, ScanMode mode, const SettingsEdit& edit = {},
                   const HostEdit& hostEdit = {}, std::size_t readChunk = 0,
                   const std::string& name = "page.htm");

// The read sizes every exactness test is repeated with: block boundaries fall everywhere.
const std::vector<std::size_t>& ReadChunks();

// Processes the page with every read size and checks the results agree; returns the first.
PageResult RunPageEverySize(const std::string& page, ScanMode mode, const SettingsEdit& edit = {},
                            const HostEdit& hostEdit = {});

// Settings edits used throughout the tests.
void Real(EngineSettings& settings);  // Preview off

}  // namespace vantaro::test
