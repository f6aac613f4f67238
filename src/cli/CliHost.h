#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "cli/CliOptions.h"
#include "cli/SarifLog.h"
#include "cli/Terminal.h"
#include "engine/EngineHost.h"
#include "log/LogSink.h"
#include "run/ProcessRunner.h"
#include "run/ReferenceList.h"

namespace vantaro::cli {

// How the runner answers the two questions of a run.
struct QuestionPolicy {
    bool interactive = false;  // standard input is a terminal
    bool yes = false;          // --yes
};

// The command-line runner as host of the engine and of the run: prints the log (text or JSON
// lines), answers the questions, shows progress, keeps the reference lists and tallies the
// outcome for the exit status.
class CliHost : public EngineHost, public RunHost {
  public:
    CliHost(const CliOptions& options, bool colour, bool progress, QuestionPolicy questions,
            std::FILE* out = stdout);

    // EngineHost
    void OnFinding(const Finding& finding) override;
    void OnPageEvent(const PageEvent& event) override;
    void AdvanceProgress(std::uint64_t bytes) override { progress_.Advance(bytes); }
    void PumpEvents() override;
    std::optional<std::vector<std::string>> IgnoredReferences() override;
    bool IsIgnoredReference(std::string_view reference) override;
    bool IsFoundReference(std::string_view reference) override;
    void AddFoundReference(std::string_view reference) override;
    TemplateWarningAnswer ShowTemplateWarning(const std::string& fullPath) override;
    bool UpdatesTemplateCodeUnasked() override { return questions_.yes; }

    // RunHost
    void SetProcessingState(bool busy) override;
    bool AskBackupWarning() override;
    void ShowNoReportsWarning() override;
    void ClearFoundReferences() override {}  // the runner lists what all its runs found
    void SetProgressMaximum(std::uint64_t totalBytes) override { progress_.AddToTotal(totalBytes); }
    bool ShowsProgress() const override { return progress_.Enabled(); }
    void OnRunStarted(const RunStart& start) override;
    void OnRunEnded(const RunEnd& end) override;
    void OnRecoveryFileFound(const RecoveryNotice& notice) override;
    void OnPageStart(const std::string& fullPath) override;
    void OnPageEnd(const std::string& fullPath) override;

    void SetRunFlags(RunFlags* flags) { flags_ = flags; }
    void BeginRun(const std::string& folder);
    void PrintFoundReferences();
    // With --format=sarif: the log of every finding, written once all runs are over.
    void PrintSarifLog();

    ReferenceList& Ignored() { return ignored_; }
    ReferenceList& Found() { return found_; }

    bool HadFailures() const { return failures_ > 0; }
    bool HadUnresolvedFindings() const { return unresolved_ > 0; }
    bool WasStopped() const { return stopped_; }
    bool RefusedToReport() const { return noReports_; }

    // Flushes and closes the output. Afterwards OutputError() tells whether any of it failed:
    // the errno of the first failure, else 0.
    void CloseOutput();
    int OutputError() const { return outputError_; }
    // The output failed while a run was going on, which stopped it.
    bool StoppedByOutputError() const { return stoppedByOutput_; }

  private:
    // Takes the formatter's segments and prints each ended line (text form), or keeps the
    // run's lines for its JSON record.
    class LineSink : public LogSink {
      public:
        struct Piece {
            std::string text;
            LogColour colour;
            FontStyle style;
        };

        explicit LineSink(CliHost& host) : host_(host) {}
        void AddLogLine(std::string_view text, LogColour colour, bool endLine,
                        FontStyle style) override;

      private:
        CliHost& host_;
        // The line's pieces so far: the first `used_`, the rest kept only for their room.
        std::vector<Piece> pending_;
        std::size_t used_ = 0;
    };

    void PrintLine(std::span<const LineSink::Piece> pieces);
    void EmitFinding(const Finding& finding);
    void WriteOut(const std::string& text);
    bool Jsonl() const { return options_.Format == OutputFormat::Jsonl; }
    bool Sarif() const { return options_.Format == OutputFormat::Sarif; }
    void FlushOut();
    void OutputFailed();
    void ConfirmStopIfNeeded();

    const CliOptions& options_;
    bool colour_;
    ProgressBar progress_;
    QuestionPolicy questions_;
    std::FILE* out_;
    RunFlags* flags_ = nullptr;
    LineSink lines_{*this};

    SarifLog sarif_;

    ReferenceList ignored_;
    ReferenceList found_;

    // Per page and per run, for JSON lines and the exit status.
    std::string page_;
    int pageResultRank_ = 0;  // of the most telling page event so far; 0 when none
    std::string pageReason_;
    int pageFindings_ = 0;
    int pageUnresolved_ = 0;
    std::string runFolder_;
    std::vector<std::string> runLines_;
    std::string lineText_;  // the line being printed, its room used again

    int failures_ = 0;
    int unresolved_ = 0;
    bool stopped_ = false;
    bool noReports_ = false;
    bool busy_ = false;
    int outputError_ = 0;
    bool stoppedByOutput_ = false;
    int backupAnswer_ = -1;  // asked once per invocation: -1 not yet, 0 no, 1 yes
};

}  // namespace vantaro::cli
