#pragma once

#include <cstdint>
#include <string_view>

#include "engine/EngineSettings.h"

namespace vantaro {

// The beginning of a run, once its heading can be written: what it does and where.
struct RunStart {
    ScanMode Mode = ScanMode::Scan;
    bool Preview = false;
    bool ReportAlt = true;  // what a scan reports
    bool ReportTitle = true;
    std::string_view TimeStamp;
    std::string_view Folder;  // ending in '/'
};

// A page of the run whose earlier save was interrupted: its old text is still kept.
struct RecoveryNotice {
    std::string_view PagePath;
    std::string_view RecoveryFile;
};

// The end of a run that started.
struct RunEnd {
    ScanMode Mode = ScanMode::Scan;
    bool Preview = false;
    bool ReportAlt = true;
    bool ReportTitle = true;
    std::string_view TimeStamp;
    // The totals are told only when the last page was not abandoned (by Stop or the
    // template-code warning).
    bool WithSummary = true;
    std::int64_t TotalAlt = 0;
    std::int64_t TotalTitle = 0;
};

}  // namespace vantaro
