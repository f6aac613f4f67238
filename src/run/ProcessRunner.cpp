#include "run/ProcessRunner.h"

#include "engine/RecoveryFiles.h"
#include "platform/FileReplace.h"
#include "platform/Paths.h"
#include "run/FolderListing.h"
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

}  // namespace

std::string RunHost::TimeStamp() {
    return CurrentTimeStamp();
}

// Asked of the file system rather than by opening each page, which cost a second before the
// first page of a large folder.
std::uint64_t TotalPageSize(const std::string& folderPath,
                            const std::vector<std::string>& pageNames) {
    std::uint64_t total = 0;
    for (const std::string& name : pageNames) {
        total += ReadablePageSize(folderPath + name).value_or(0);
    }
    return total;
}

void ProcessRunner::RunProcess(ScanMode mode, const std::string& folderPath,
                               const std::vector<std::string>& pageNames) {
    RunProcess(mode, {FolderPages{folderPath, pageNames}});
}

void ProcessRunner::RunProcess(ScanMode mode, const std::vector<FolderPages>& folders) {
    if (processing_) {
        return;
    }
    BusyState busy(host_, processing_);
    const EngineSettings& settings = engine_.Settings();
    if (mode != ScanMode::Scan && ShowBackupDlg && !settings.PreviewMode &&
        !host_.AskBackupWarning()) {
        return;
    }
    std::uint64_t totalSize = 0;
    if (host_.ShowsProgress()) {
        for (const FolderPages& folder : folders) {
            totalSize += TotalPageSize(WithTrailingSeparator(folder.Folder), folder.PageNames);
        }
    }
    host_.ClearFoundReferences();
    if (mode == ScanMode::Scan && !settings.ShowMissingAltMsgs && !settings.ShowMissingTitleMsgs) {
        host_.ShowNoReportsWarning();
        return;
    }
    host_.SetProgressMaximum(totalSize);
    ignored_.reset();
    if (Jobs > 1) {
        if (const std::optional<std::vector<std::string>> ignored = host_.IgnoredReferences()) {
            ignored_.emplace(*ignored);
        }
    }
    // The pages of later folders are read while earlier ones are told, unless the caller has
    // said runs ahead itself.
    const bool readAheadHere = folders.size() > 1 && !readAhead_;
    if (readAheadHere) {
        ReadAheadAcross(mode, folders);
    }
    for (const FolderPages& folder : folders) {
        if (!RunFolder(mode, folder)) {
            break;
        }
    }
    if (readAheadHere) {
        EndReadAhead();
    }
    ignored_.reset();
}

bool ProcessRunner::RunFolder(ScanMode mode, const FolderPages& pages) {
    const EngineSettings& settings = engine_.Settings();
    const bool preview = mode != ScanMode::Scan && settings.PreviewMode;
    const bool reportAlt = settings.ShowMissingAltMsgs;
    const bool reportTitle = settings.ShowMissingTitleMsgs;
    const std::string folder = WithTrailingSeparator(pages.Folder);
    const std::string started = host_.TimeStamp();
    host_.OnRunStarted({mode, preview, reportAlt, reportTitle, started, folder});
    RemoveStaleTemporaryFiles(folder);
    ReportRecoveryFiles(folder, pages.PageNames);

    RunFlags& flags = engine_.Flags();
    flags.StopRequested.store(false);
    engine_.TotalAltCount = 0;
    engine_.TotalTitleCount = 0;
    if (IsNextRunReadAhead(mode, pages)) {
        RunPagesReadAhead(folder, pages.PageNames);
    } else {
        EndReadAhead();  // the runs are not those said: what was read ahead is of no use
        if (ignored_ && pages.PageNames.size() > 1) {
            RunPagesInParallel(mode, folder, pages.PageNames);
        } else {
            RunPages(mode, folder, pages.PageNames);
        }
    }
    engine_.SyncSavedPages();
    const std::string ended = host_.TimeStamp();
    host_.OnRunEnded({mode, preview, reportAlt, reportTitle, ended, !flags.AbortFile.load(),
                      engine_.TotalAltCount, engine_.TotalTitleCount});
    return !flags.StopRequested.load();
}

bool ProcessRunner::RunPages(ScanMode mode, const std::string& folder,
                             const std::vector<std::string>& names) {
    RunFlags& flags = engine_.Flags();
    for (const std::string& name : names) {
        flags.AbortFile.store(false);
        const std::string fullPath = folder + name;
        host_.OnPageStart(fullPath);
        engine_.ProcessFile(fullPath, mode);
        host_.OnPageEnd(fullPath);
        if (flags.StopRequested.load()) {
            return false;
        }
    }
    return true;
}

void ProcessRunner::ReadAheadAcross(ScanMode mode, std::vector<FolderPages> runs) {
    EndReadAhead();
    // One run reads its own pages ahead as it is; only several gain from this.
    const bool changesPages = mode != ScanMode::Scan && !engine_.Settings().PreviewMode;
    if (Jobs <= 1 || changesPages || runs.size() < 2) {
        return;
    }
    const std::optional<std::vector<std::string>> ignored = host_.IgnoredReferences();
    if (!ignored) {
        return;
    }
    std::vector<std::string> paths;
    for (const FolderPages& run : runs) {
        const std::string folder = WithTrailingSeparator(run.Folder);
        for (const std::string& name : run.PageNames) {
            paths.push_back(folder + name);
        }
    }
    readAhead_.emplace(ReadAhead{mode, std::move(runs), 0, 0, IgnoredSnapshot(*ignored)});
    if (!workers_ || workers_->Threads() != Jobs) {
        workers_ = std::make_unique<PageWorkers>(Jobs);
    }
    workers_->BeginBatch(engine_, readAhead_->ignored, mode, std::move(paths));
}

void ProcessRunner::EndReadAhead() {
    if (!readAhead_) {
        return;
    }
    workers_->EndBatch();
    readAhead_.reset();
}

bool ProcessRunner::IsNextRunReadAhead(ScanMode mode, const FolderPages& pages) const {
    if (!readAhead_ || readAhead_->mode != mode || readAhead_->nextRun >= readAhead_->runs.size()) {
        return false;
    }
    const FolderPages& next = readAhead_->runs[readAhead_->nextRun];
    return next.Folder == pages.Folder && next.PageNames == pages.PageNames;
}

bool ProcessRunner::RunPagesReadAhead(const std::string& folder,
                                      const std::vector<std::string>& names) {
    ReadAhead& ahead = *readAhead_;
    const std::size_t first = ahead.nextPage;
    ahead.nextPage += names.size();
    ++ahead.nextRun;
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (!TakeAndTellPage(ahead.mode, first + index, folder + names[index])) {
            EndReadAhead();  // nothing after a stop is read on
            return false;
        }
    }
    return true;
}

// Pages are taken in list order, each told and written in its turn, so a Stop leaves every
// page after the one being reported unwritten, as on one thread.
bool ProcessRunner::RunPagesInParallel(ScanMode mode, const std::string& folder,
                                       const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names) {
        paths.push_back(folder + name);
    }
    if (!workers_ || workers_->Threads() != Jobs) {
        workers_ = std::make_unique<PageWorkers>(Jobs);
    }
    PageWorkers& workers = *workers_;
    workers.BeginBatch(engine_, *ignored_, mode, std::move(paths), &engine_.RetiredPageFiles(),
                       engine_.Host().UpdatesTemplateCodeUnasked());
    // Pages read ahead of a stop are dropped unwritten.
    struct BatchEnd {
        PageWorkers& workers;
        ~BatchEnd() { workers.EndBatch(); }
    } batchEnd{workers};
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (!TakeAndTellPage(mode, index, folder + names[index])) {
            return false;
        }
    }
    return true;
}

bool ProcessRunner::TakeAndTellPage(ScanMode mode, std::size_t index, const std::string& fullPath) {
    RunFlags& flags = engine_.Flags();
    PageWorkers& workers = *workers_;
    flags.AbortFile.store(false);
    host_.OnPageStart(fullPath);
    PageOutcome outcome = workers.Take(index, [&] {
        engine_.Host().PumpEvents();
        if (flags.AbortFile.load()) {
            workers.AbandonPage(index, flags.StopRequested.load());
        }
    });
    if (outcome.NeedsRunThread) {
        outcome.Page = PreparedPage();  // what a question or a large page needs is redone
        engine_.ProcessFile(fullPath, mode);
    } else {
        ReplayPage(outcome, fullPath);
    }
    host_.OnPageEnd(fullPath);
    return !flags.StopRequested.load();
}

// Tells the page's events to the engine's host as if its passes ran here. A Stop confirmed
// meanwhile cuts the page where it is being told, as it would have cut the passes.
void ProcessRunner::ReplayPage(PageOutcome& outcome, const std::string& fullPath) {
    RunFlags& flags = engine_.Flags();
    EngineHost& events = engine_.Host();
    bool cut = false;
    for (RecordedEvent& event : outcome.Events) {
        if (!outcome.Aborted && flags.AbortFile.load()) {
            cut = true;
            break;
        }
        switch (event.What) {
            case RecordedEvent::Kind::Finding: {
                Finding finding = event.Found;
                finding.FullPath = fullPath;
                finding.Reference = event.Text;
                finding.Value = event.Value;
                events.OnFinding(finding);
                break;
            }
            case RecordedEvent::Kind::Page:
                events.OnPageEvent({fullPath, event.Page, event.Text});
                break;
            case RecordedEvent::Kind::Progress:
                events.AdvanceProgress(event.Bytes);
                break;
            case RecordedEvent::Kind::FoundReference:
                if (!events.IsFoundReference(event.Text)) {
                    events.AddFoundReference(event.Text);
                }
                break;
        }
        events.PumpEvents();
    }
    if (cut) {
        if (flags.StopRequested.load()) {
            events.OnPageEvent({fullPath, PageEventKind::StoppedByUser, {}});
        }
        events.OnPageEvent({fullPath, PageEventKind::NotSaved, {}});
    }
    engine_.FinishPage(outcome.Page);
}

// The folder is listed once per run; pages are compared with it only when it holds anything.
void ProcessRunner::ReportRecoveryFiles(const std::string& folder,
                                        const std::vector<std::string>& pageNames) {
    const std::vector<RecoveryEntry> entries = ListRecoveryFiles();
    if (entries.empty()) {
        return;
    }
    for (const std::string& name : pageNames) {
        const std::string path = WithSystemSeparators(folder + name);
        const std::string resolved = WithSystemSeparators(ResolvedPath(folder + name));
        for (const RecoveryEntry& entry : entries) {
            if (entry.pagePath == path || entry.pagePath == resolved) {
                host_.OnRecoveryFileFound({entry.pagePath, entry.recoveryFile});
            }
        }
    }
}

}  // namespace vantaro
