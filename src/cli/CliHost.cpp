#include "cli/CliHost.h"

#include <cerrno>
#include <cstdio>

#include "engine/ByteText.h"
#include "log/LogFormatter.h"
#include "log/Messages.h"
#include "log/PageText.h"
#include "platform/Console.h"
#include "platform/Paths.h"
#include "platform/SystemFolders.h"

namespace vantaro::cli {

namespace {

const char* ModeName(ScanMode mode) {
    switch (mode) {
        case ScanMode::AddAlt:
            return "add-alt";
        case ScanMode::AddTitle:
            return "add-title";
        default:
            return "scan";
    }
}

std::string Quoted(std::string_view bytes) {
    return JsonString(DecodeForDisplay(bytes));
}

const char* TagName(TagKind kind) {
    switch (kind) {
        case TagKind::Area:
            return "area";
        case TagKind::Input:
            return "input";
        default:
            return "img";
    }
}

const char* ActionName(FindingKind kind) {
    switch (kind) {
        case FindingKind::Missing:
            return "missing";
        case FindingKind::WouldBeAdded:
            return "would-add";
        case FindingKind::Added:
            return "added";
        case FindingKind::AddFailed:
            return "add-failed";
        case FindingKind::NotQuoted:
            return "not-quoted";
        case FindingKind::NoSource:
            return "no-source";
        case FindingKind::Multiple:
            return "multiple";
    }
    return "";
}

bool CarriesValue(FindingKind kind) {
    return kind == FindingKind::WouldBeAdded || kind == FindingKind::Added ||
           kind == FindingKind::AddFailed;
}

// The tag still lacks the attribute after this run (if the page is saved at all).
bool Unresolved(FindingKind kind) {
    return kind != FindingKind::WouldBeAdded && kind != FindingKind::Added;
}

// A page's outcomes, most telling first; a page's result is the most telling one it got.
struct PageResultName {
    PageEventKind kind;
    const char* name;
};
constexpr PageResultName kPageResults[] = {
    {PageEventKind::OpenFailed, "open-failed"},   {PageEventKind::ReadFailed, "read-failed"},
    {PageEventKind::SeekFailed, "seek-failed"},   {PageEventKind::CloseFailed, "close-failed"},
    {PageEventKind::WriteFailed, "write-failed"}, {PageEventKind::ChangedOnDisk, "changed-on-disk"},
    {PageEventKind::StoppedByUser, "stopped"},    {PageEventKind::UpdateAborted, "aborted"},
    {PageEventKind::NotSaved, "not-saved"},       {PageEventKind::Updated, "updated"},
    {PageEventKind::NoChanges, "no-changes"},
};
constexpr int kNoResult = static_cast<int>(std::size(kPageResults));

int RankOf(PageEventKind kind) {
    for (int i = 0; i < kNoResult; ++i) {
        if (kPageResults[i].kind == kind) {
            return i;
        }
    }
    return kNoResult;
}

bool IsFailure(PageEventKind kind) {
    return RankOf(kind) <= RankOf(PageEventKind::ChangedOnDisk);
}

// Why a page's save failed, for its JSON record.
std::string_view ReasonOf(const PageEvent& event) {
    return event.Kind == PageEventKind::ChangedOnDisk ? "the file changed on disk during the run"
                                                      : event.Reason;
}

// Nothing of the page was saved: its insertions did not happen.
bool NothingSaved(int rank) {
    return rank <= RankOf(PageEventKind::NotSaved);
}

}  // namespace

CliHost::CliHost(const CliOptions& options, bool colour, bool progress, QuestionPolicy questions,
                 std::FILE* out)
    : options_(options),
      colour_(colour),
      progress_(progress),
      questions_(questions),
      out_(out),
      sarif_(WorkingFolder()) {}

// Standard output is buffered as the C library chooses (by line on a terminal); it is flushed
// before every page a run may change, before every question and at the end. Once writing it
// has failed nothing more is written, and the run stops as after a confirmed Stop.
void CliHost::WriteOut(const std::string& text) {
    if (outputError_ != 0) {
        return;
    }
    progress_.Clear();
    if (std::fwrite(text.data(), 1, text.size(), out_) != text.size()) {
        OutputFailed();
    }
}

void CliHost::FlushOut() {
    if (outputError_ == 0 && std::fflush(out_) != 0) {
        OutputFailed();
    }
}

void CliHost::OutputFailed() {
    outputError_ = LastOutputError();
    ConfirmStopIfNeeded();
}

void CliHost::CloseOutput() {
    FlushOut();
    const bool closed = std::fclose(out_) == 0;
    if (!closed && outputError_ == 0) {
        outputError_ = LastOutputError();
    }
}

// A Ctrl-C takes effect where the window's Stop would: while a page is being examined, or
// before the next page starts. A failed output stops the run at once, and again at every page,
// since the run clears the flags as it starts.
void CliHost::ConfirmStopIfNeeded() {
    if (flags_ == nullptr || !busy_) {
        return;
    }
    if (outputError_ != 0) {
        stoppedByOutput_ = true;
        flags_->SetBoth(true);
    } else if (Interrupted()) {
        flags_->SetBoth(true);
    }
}

void CliHost::PumpEvents() {
    ConfirmStopIfNeeded();
}

void CliHost::LineSink::AddLogLine(std::string_view text, LogColour colour, bool endLine,
                                   FontStyle style) {
    // A run prints tens of thousands of lines: the pieces' room is used again line after line.
    if (!text.empty()) {
        if (used_ == pending_.size()) {
            pending_.emplace_back();
        }
        Piece& piece = pending_[used_++];
        piece.text.assign(text);
        piece.colour = colour;
        piece.style = style;
    }
    if (endLine) {
        const std::size_t count = used_;
        used_ = 0;
        host_.PrintLine(std::span<const Piece>(pending_.data(), count));
    }
}

void CliHost::PrintLine(std::span<const LineSink::Piece> pieces) {
    if (Sarif()) {
        return;  // the SARIF log holds findings only
    }
    if (Jsonl()) {
        std::string text;
        for (const LineSink::Piece& piece : pieces) {
            text += piece.text;
        }
        runLines_.push_back(DecodeForDisplay(text));
        return;
    }
    std::string& text = lineText_;
    text.clear();
    for (const LineSink::Piece& piece : pieces) {
        // The common case, printable ASCII, has nothing to decode or replace.
        if (IsPlainPrintable(piece.text) && !colour_) {
            text += piece.text;
            continue;
        }
        const std::string shown =
            IsPlainPrintable(piece.text) ? piece.text : ForOutput(DecodeForDisplay(piece.text));
        text += colour_ ? AnsiStyled(shown, piece.colour, piece.style) : shown;
    }
    text += '\n';
    WriteOut(text);
}

void CliHost::OnFinding(const Finding& finding) {
    ++pageFindings_;
    if (Unresolved(finding.Kind)) {
        ++pageUnresolved_;
    }
    if (Sarif()) {
        sarif_.Add(finding);
    } else if (Jsonl()) {
        EmitFinding(finding);
    } else {
        WriteFinding(lines_, finding);
    }
}

void CliHost::OnPageEvent(const PageEvent& event) {
    if (IsFailure(event.Kind)) {
        ++failures_;
    }
    if (event.Kind == PageEventKind::StoppedByUser) {
        stopped_ = true;
    }
    const int rank = RankOf(event.Kind);
    if (rank < pageResultRank_) {
        pageResultRank_ = rank;
        pageReason_ = ReasonOf(event);
    }
    if (options_.Format == OutputFormat::Text) {
        WritePageEvent(lines_, event);
    }
}

void CliHost::EmitFinding(const Finding& finding) {
    std::string json = "{\"type\":\"finding\",\"file\":" + Quoted(page_) +
                       ",\"line\":" + std::to_string(finding.Line) +
                       ",\"tag\":" + Quoted(TagName(finding.Tag)) +
                       ",\"reference\":" + Quoted(finding.Reference) +
                       ",\"attribute\":" + Quoted(AttributeText(finding.Attribute)) +
                       ",\"action\":" + Quoted(ActionName(finding.Kind));
    if (CarriesValue(finding.Kind) && !finding.Value.empty()) {
        json += ",\"value\":" + Quoted(finding.Value);
    }
    json += ",\"message\":" + Quoted(FindingMessage(finding)) + "}\n";
    WriteOut(json);
}

void CliHost::OnPageStart(const std::string& fullPath) {
    // Before a page can be changed, the lines so far are out and a failing output has stopped
    // the run. A run that changes nothing leaves them to the buffering.
    if (options_.Mode != ScanMode::Scan && !options_.Preview) {
        FlushOut();
    }
    page_ = fullPath;
    pageResultRank_ = kNoResult;
    pageReason_.clear();
    pageFindings_ = 0;
    pageUnresolved_ = 0;
    ConfirmStopIfNeeded();
}

void CliHost::OnPageEnd(const std::string& fullPath) {
    const bool unsaved = NothingSaved(pageResultRank_);
    const int unresolved = unsaved ? pageFindings_ : pageUnresolved_;
    unresolved_ += unresolved;
    if (!Jsonl()) {
        return;
    }
    const std::string result = pageResultRank_ < kNoResult ? kPageResults[pageResultRank_].name
                               : pageFindings_ > 0         ? "reported"
                                                           : "no-changes";
    std::string json =
        "{\"type\":\"file\",\"file\":" + Quoted(fullPath) + ",\"result\":" + Quoted(result);
    if (!pageReason_.empty()) {
        json += ",\"reason\":" + Quoted(pageReason_);
    }
    WriteOut(json + ",\"findings\":" + std::to_string(pageFindings_) +
             ",\"unresolved\":" + std::to_string(unresolved) + "}\n");
}

void CliHost::OnRunStarted(const RunStart& start) {
    WriteRunStart(lines_, start);
}

void CliHost::OnRecoveryFileFound(const RecoveryNotice& notice) {
    WriteRecoveryNotice(lines_, notice);
}

void CliHost::OnRunEnded(const RunEnd& end) {
    WriteRunEnd(lines_, end);
}

void CliHost::BeginRun(const std::string& folder) {
    runFolder_ = folder;
    runLines_.clear();
    page_.clear();
}

// g++ 12 at -O3 reports an impossible overlap inside std::string's operator+ (-Wrestrict) here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
void CliHost::SetProcessingState(bool busy) {
    busy_ = busy;
    if (busy) {
        return;
    }
    progress_.Clear();
    if (options_.Format == OutputFormat::Jsonl && !runLines_.empty()) {
        std::string json = "{\"type\":\"run\",\"mode\":\"" + std::string(ModeName(options_.Mode)) +
                           "\",\"folder\":" + Quoted(runFolder_) + ",\"lines\":[";
        for (std::size_t i = 0; i < runLines_.size(); ++i) {
            json += (i > 0 ? "," : "") + Quoted(runLines_[i]);
        }
        WriteOut(json + "]}\n");
        runLines_.clear();
    }
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

std::optional<std::vector<std::string>> CliHost::IgnoredReferences() {
    return ignored_.Items();
}

bool CliHost::IsIgnoredReference(std::string_view reference) {
    return ignored_.Contains(reference);
}

bool CliHost::IsFoundReference(std::string_view reference) {
    return found_.Contains(reference);
}

void CliHost::AddFoundReference(std::string_view reference) {
    found_.Add(reference);
}

void CliHost::PrintSarifLog() {
    WriteOut(sarif_.Text());
}

void CliHost::PrintFoundReferences() {
    for (const std::string& reference : found_.Items()) {
        if (options_.Format == OutputFormat::Jsonl) {
            WriteOut("{\"type\":\"reference\",\"reference\":" + Quoted(reference) + "}\n");
        } else {
            WriteOut(ForOutput(DecodeForDisplay(reference)) + "\n");
        }
    }
}

bool CliHost::AskBackupWarning() {
    if (backupAnswer_ < 0) {
        if (questions_.yes) {
            backupAnswer_ = 1;
        } else if (questions_.interactive) {
            progress_.Clear();
            FlushOut();
            const std::string question(messages::kBackupWarning);
            std::fprintf(stderr, "%s [Y/n] ", question.c_str());
            std::fflush(stderr);
            const char answer = ReadAnswer();
            backupAnswer_ = answer == 'y' || answer == '\n' ? 1 : 0;
        } else {
            backupAnswer_ = 0;
        }
    }
    return backupAnswer_ == 1;
}

TemplateWarningAnswer CliHost::ShowTemplateWarning(const std::string& fullPath) {
    if (questions_.yes) {
        return TemplateWarningAnswer::Yes;
    }
    const std::string name = ForMessage(FileNameOf(fullPath));
    progress_.Clear();
    FlushOut();
    if (!questions_.interactive) {
        std::fprintf(stderr,
                     "vantaro-cli: %s holds template code; its changes are not saved "
                     "(--yes updates template code)\n",
                     name.c_str());
        return TemplateWarningAnswer::No;
    }
    std::fputs(ForOutput(messages::TemplateWarning(name)).c_str(), stderr);
    std::fprintf(stderr, "[y]es, [N]o or [s]top? ");
    std::fflush(stderr);
    const char answer = ReadAnswer();
    if (answer == 'y') {
        return TemplateWarningAnswer::Yes;
    }
    if (answer == 's' || Interrupted()) {
        if (flags_ != nullptr) {
            flags_->SetBoth(true);
        }
        return TemplateWarningAnswer::CancelByStop;
    }
    return TemplateWarningAnswer::No;
}

void CliHost::ShowNoReportsWarning() {
    noReports_ = true;
    const std::string notice(messages::kNoReportsWarning);
    std::fprintf(stderr, "vantaro-cli: %s (Here: --report=alt,title)\n", notice.c_str());
}

}  // namespace vantaro::cli
