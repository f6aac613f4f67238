#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/EngineSettings.h"

namespace vantaro::cli {

enum class ColorChoice { Auto, Always, Never };
enum class OutputFormat { Text, Jsonl, Sarif };

// What the command line asks for.
struct CliOptions {
    ScanMode Mode = ScanMode::Scan;
    bool Recover = false;  // the recover command: recovery files instead of a run
    bool Restore = false;  // recover --restore
    std::vector<std::string> Paths;
    bool Recursive = false;
    std::optional<std::string> SettingsFile;  // --settings FILE
    bool NoSettings = false;
    std::optional<std::vector<std::string>> Tags;     // --tags=img,area,input
    std::optional<std::vector<std::string>> Reports;  // --report=alt,title
    std::vector<std::string> Ignore;                  // --ignore REF, repeatable
    bool Preview = false;
    bool Yes = false;
    ColorChoice Color = ColorChoice::Auto;
    OutputFormat Format = OutputFormat::Text;
    bool ListRefs = false;
    std::optional<int> Jobs;  // --jobs N: threads reading pages; by default one per processor
    bool Help = false;
    bool Version = false;
};

struct ParseResult {
    CliOptions Options;
    std::string Error;  // empty when the command line is valid
};

ParseResult ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();

}  // namespace vantaro::cli
