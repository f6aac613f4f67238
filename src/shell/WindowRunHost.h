#pragma once

#include <cstddef>
#include <string>

#include "run/ProcessRunner.h"

namespace vantaro {

class TMainForm;

// The main window as the run's host: its busy state, the questions before and at the start of
// a run, the found-references list, the gauge's maximum and the run's lines in the log.
class TWindowRunHost : public RunHost {
  public:
    explicit TWindowRunHost(TMainForm& window) : window_(window) {}

    void SetProcessingState(bool busy) override;
    bool AskBackupWarning() override;
    void ShowNoReportsWarning() override;
    void ClearFoundReferences() override;
    void SetProgressMaximum(std::uint64_t totalBytes) override;
    // In the file list's short date format, so the window shows one kind of date.
    std::string TimeStamp() override;
    // The number of pages the next run goes through, for "n of N pages" in the status bar.
    void ExpectPages(std::size_t total) {
        pagesExpected_ = total;
        pagesStarted_ = 0;
    }
    void OnPageStart(const std::string& fullPath) override;
    void OnRunStarted(const RunStart& start) override;
    void OnRunEnded(const RunEnd& end) override;
    void OnRecoveryFileFound(const RecoveryNotice& notice) override;
    std::optional<std::vector<std::string>> IgnoredReferences() override;

  private:
    TMainForm& window_;
    std::size_t pagesExpected_ = 0;
    std::size_t pagesStarted_ = 0;
};

}  // namespace vantaro
