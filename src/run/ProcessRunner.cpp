#include "run/ProcessRunner.h"

#include "engine/DocumentFile.h"
#include "engine/FileReplace.h"
#include "engine/RecoveryFiles.h"
#include "run/TimeStamp.h"

namespace vantaro {

namespace {

// Leaves the busy state however the run ends.
class BusyState {
  public:
    BusyState(RunHost& host, bool& processing) : host_(host), processing_(processing) {
        processing_ = true;
        host_.SetProcessingState(true);
    }
    ~BusyState() {
        host_.SetProcessingState(false);
        processing_ = false;
    }
    BusyState(const BusyState&) = delete;
    BusyState& operator=(const BusyState&) = delete;

  private:
    RunHost& host_;
    bool& processing_;
};

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

}  // namespace

std::string RunHost::TimeStamp() {
    return CurrentTimeStamp();
}

std::uint64_t TotalPageSize(const std::string& folderPath,
                            const std::vector<std::string>& pageNames, LogSink& log) {
    std::uint64_t total = 0;
    for (const std::string& name : pageNames) {
        DocumentFile file(log, folderPath + name);
        if (file.OpenDocFile(false, PageAccess::Read)) {
            total += file.FileSize();
            file.CloseDocFile();
        }
    }
    return total;
}

void ProcessRunner::LogLine(const std::string& text, LogColour colour, FontStyle style) {
    log_.AddLogLine(text, colour, true, style);
}

void ProcessRunner::RunProcess(ScanMode mode, const std::string& folderPath,
                               const std::vector<std::string>& pageNames) {
    if (processing_) {
        return;
    }
    BusyState busy(host_, processing_);
    const EngineSettings& settings = engine_.Settings();
    if (mode != ScanMode::Scan && ShowBackupDlg && !settings.PreviewMode &&
        !host_.AskBackupWarning()) {
        return;
    }
    const std::string folder = WithTrailingSlash(folderPath);
    const std::uint64_t totalSize =
        host_.ShowsProgress() ? TotalPageSize(folder, pageNames, log_) : 0;
    host_.ClearFoundReferences();
    if (!WriteHeader(mode)) {
        return;
    }
    LogLine("Process started " + host_.TimeStamp());
    log_.AddLogLine("Path : ", LogColour::LogDarkGrey, false, FontStyle::Plain());
    LogLine(folder, LogColour::LogGrey);
    RemoveStaleTemporaryFiles(folder);
    ReportRecoveryFiles(folder, pageNames);

    RunFlags& flags = engine_.Flags();
    flags.StopRequested.store(false);
    engine_.TotalAltCount = 0;
    engine_.TotalTitleCount = 0;
    host_.SetProgressMaximum(totalSize);
    for (const std::string& name : pageNames) {
        flags.AbortFile.store(false);
        const std::string fullPath = folder + name;
        host_.OnPageStart(fullPath);
        engine_.ProcessFile(fullPath, mode);
        host_.OnPageEnd(fullPath);
        if (flags.StopRequested.load()) {
            break;
        }
    }
    LogLine("Process ended " + host_.TimeStamp());
    if (!flags.AbortFile.load()) {
        WriteSummary(mode);
    }
    LogLine("...", LogColour::LogDarkGrey, FontStyle::Bold);
}

// The folder is listed once per run; pages are compared with it only when it holds anything.
void ProcessRunner::ReportRecoveryFiles(const std::string& folder,
                                        const std::vector<std::string>& pageNames) {
    const std::vector<RecoveryEntry> entries = ListRecoveryFiles();
    if (entries.empty()) {
        return;
    }
    for (const std::string& name : pageNames) {
        const std::string path = folder + name;
        const std::string resolved = ResolvedPath(path);
        for (const RecoveryEntry& entry : entries) {
            if (entry.pagePath == path || entry.pagePath == resolved) {
                LogLine("An earlier run was interrupted while saving " + entry.pagePath +
                            " - its previous text is kept in " + entry.recoveryFile,
                        LogColour::LogDarkRed);
            }
        }
    }
}

bool ProcessRunner::WriteHeader(ScanMode mode) {
    const EngineSettings& settings = engine_.Settings();
    switch (mode) {
        case ScanMode::Scan: {
            const char* what = settings.ShowMissingAltMsgs && settings.ShowMissingTitleMsgs
                                   ? "alt & title"
                               : settings.ShowMissingAltMsgs   ? "alt"
                               : settings.ShowMissingTitleMsgs ? "title"
                                                               : nullptr;
            if (what == nullptr) {
                host_.ShowNoReportsWarning();
                return false;
            }
            LogLine(std::string("Scan for missing ") + what + " attributes");
            return true;
        }
        case ScanMode::AddAlt:
            LogLine(settings.PreviewMode ? "Preview adding alt attributes" : "Add alt attributes");
            return true;
        case ScanMode::AddTitle:
            LogLine(settings.PreviewMode ? "Preview adding title attributes"
                                         : "Add title attributes");
            return true;
    }
    return false;
}

void ProcessRunner::WriteSummary(ScanMode mode) {
    const EngineSettings& settings = engine_.Settings();
    const std::string alt = std::to_string(engine_.TotalAltCount);
    const std::string title = std::to_string(engine_.TotalTitleCount);
    const char* would = settings.PreviewMode ? " would be added" : " added";
    switch (mode) {
        case ScanMode::Scan:
            if (settings.ShowMissingAltMsgs) {
                LogLine("Missing alt attributes: " + alt);
            }
            if (settings.ShowMissingTitleMsgs) {
                LogLine("Missing title attributes: " + title);
            }
            break;
        case ScanMode::AddAlt:
            LogLine(alt + " alt attribute(s)" + would, LogColour::LogGreen);
            break;
        case ScanMode::AddTitle:
            LogLine(title + " title attribute(s)" + would, LogColour::LogGreen);
            break;
    }
}

}  // namespace vantaro
