#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "run/PageWorkers.h"
#include "run/RunEvents.h"

namespace vantaro {

// What a run needs from the window or runner that drives it, beyond the engine's host.
class RunHost {
  public:
    virtual ~RunHost() = default;
    // Enters (true) or leaves (false) the busy state; always called in pairs.
    virtual void SetProcessingState(bool busy) = 0;
    // The backup warning before a real adding run; true to go on.
    virtual bool AskBackupWarning() = 0;
    // A scan with both report toggles off: "Please select to show ..." with an OK button.
    virtual void ShowNoReportsWarning() = 0;
    // Empties "References Found" (and brings the move buttons up to date).
    virtual void ClearFoundReferences() = 0;
    // The progress gauge's maximum: the total size of the selected pages. A host that shows no
    // progress says so, and the run spares opening every page to measure it.
    virtual void SetProgressMaximum(std::uint64_t totalBytes) = 0;
    virtual bool ShowsProgress() const { return true; }
    virtual std::string TimeStamp();
    // The run's heading and its end, with the totals.
    virtual void OnRunStarted(const RunStart& start) = 0;
    virtual void OnRunEnded(const RunEnd& end) = 0;
    // A page of the run whose old text an interrupted save left in the recovery folder.
    virtual void OnRecoveryFileFound(const RecoveryNotice& notice) = 0;
    // Around each page of the run, for hosts that report per page.
    virtual void OnPageStart(const std::string& /*fullPath*/) {}
    virtual void OnPageEnd(const std::string& /*fullPath*/) {}
    // "References Ignored" as it stands for the whole run, for pages read on other threads; a
    // host without it has its pages read on the run's thread alone.
    virtual std::optional<std::vector<std::string>> IgnoredReferences() { return std::nullopt; }
};

// One folder of a run over several: the folder (a trailing '/' is added when missing) and its
// pages' names in list order.
struct FolderPages {
    std::string Folder;
    std::vector<std::string> PageNames;
};

// The one operation behind Scan, Add alt and Add title: busy state, backup warning, header,
// every selected page through the engine in list order, end stamp and summary.
class ProcessRunner {
  public:
    ProcessRunner(Engine& engine, RunHost& host) : engine_(engine), host_(host) {}

    bool Processing() const { return processing_; }
    bool ShowBackupDlg = true;
    // Threads reading pages ahead of the one being reported; the log, the references and every
    // question come out as with one.
    int Jobs = 1;

    // folderPath is the folder of the pages (a trailing '/' is added when missing); pageNames
    // are the selected pages' names in list order.
    void RunProcess(ScanMode mode, const std::string& folderPath,
                    const std::vector<std::string>& pageNames);
    // Several folders in one busy state, with one backup warning and one progress total; each
    // folder has its own heading and summary. A stop ends the whole run.
    void RunProcess(ScanMode mode, const std::vector<FolderPages>& folders);

    // Says which runs come next, in order, so that with several threads the pages of later
    // runs are read while earlier ones are told. Only runs that change no page read ahead; a
    // run other than the next one said, or EndReadAhead, drops what was read ahead.
    void ReadAheadAcross(ScanMode mode, std::vector<FolderPages> runs);
    void EndReadAhead();

  private:
    // One folder's heading, pages and summary; false when the run was stopped.
    bool RunFolder(ScanMode mode, const FolderPages& folder);
    // The pages one by one on this thread; false when the run was stopped.
    bool RunPages(ScanMode mode, const std::string& folder, const std::vector<std::string>& names);
    // The same, pages read ahead on other threads.
    bool RunPagesInParallel(ScanMode mode, const std::string& folder,
                            const std::vector<std::string>& names);
    // The pages of the next run said to ReadAheadAcross, read ahead with the runs before.
    bool RunPagesReadAhead(const std::string& folder, const std::vector<std::string>& names);
    bool IsNextRunReadAhead(ScanMode mode, const FolderPages& pages) const;
    // Takes the outcome of page `index` of the workers' batch and tells it; false when the
    // run was stopped.
    bool TakeAndTellPage(ScanMode mode, std::size_t index, const std::string& fullPath);
    void ReplayPage(PageOutcome& outcome, const std::string& fullPath);
    void ReportRecoveryFiles(const std::string& folder, const std::vector<std::string>& pageNames);

    Engine& engine_;
    RunHost& host_;
    bool processing_ = false;
    std::optional<IgnoredSnapshot> ignored_;  // while a run reads pages on several threads
    struct ReadAhead {
        ScanMode mode;
        std::vector<FolderPages> runs;  // in order; those before nextRun are done
        std::size_t nextRun = 0;
        std::size_t nextPage = 0;  // the batch index of the next run's first page
        IgnoredSnapshot ignored;
    };
    std::optional<ReadAhead> readAhead_;
    std::unique_ptr<PageWorkers> workers_;  // kept from run to run
};

// The total size in bytes of the pages that can be opened.
std::uint64_t TotalPageSize(const std::string& folderPath,
                            const std::vector<std::string>& pageNames);

}  // namespace vantaro
