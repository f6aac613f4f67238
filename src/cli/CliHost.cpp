#include "cli/CliHost.h"

#include <unistd.h>

#include <cstdio>

#include "engine/ByteText.h"
#include "log/PageText.h"

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

// g++ 12 at -O3 reports an impossible overlap inside std::string's operator+ (-Wrestrict) here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
std::string Quoted(std::string_view bytes) {
    return "\"" + JsonEscaped(DecodeForDisplay(bytes)) + "\"";
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

// The page's outcome from the messages it got, most telling first.
const char* PageResultName(PageEvent event) {
    switch (event) {
        case PageEvent::OpenFailed:
            return "open-failed";
        case PageEvent::ReadFailed:
            return "read-failed";
        case PageEvent::SeekFailed:
            return "seek-failed";
        case PageEvent::CloseFailed:
            return "close-failed";
        case PageEvent::WriteFailed:
            return "write-failed";
        case PageEvent::Stopped:
            return "stopped";
        case PageEvent::Aborted:
            return "aborted";
        case PageEvent::NotSaved:
            return "not-saved";
        case PageEvent::Updated:
            return "updated";
        case PageEvent::NoChanges:
            return "no-changes";
        default:
            return nullptr;
    }
}

int Rank(const std::string& result) {
    static const char* kOrder[] = {"open-failed",  "read-failed", "seek-failed", "close-failed",
                                   "write-failed", "stopped",     "aborted",     "not-saved",
                                   "updated",      "no-changes"};
    for (int i = 0; i < static_cast<int>(std::size(kOrder)); ++i) {
        if (result == kOrder[i]) {
            return i;
        }
    }
    return 100;
}

const char* const kTemplateWarning =
    "Code derived from one or more Dreamweaver templates has been found in %s. You are "
    "therefore advised to perform the following actions...\n\n"
    "1. Use Vantaro to add attributess to the necessary Dreamweaver template(s);\n"
    "2. Use Dreamweaver to update the files that relate to the modified Dreamweaver "
    "template(s);\n"
    "3. Use Vantaro to add attributess to the non-template code within your original files.\n\n"
    "Are you sure you want to continue updating %s?\n";

const char* const kBackupWarning =
    "It is recommended you backup your file(s) before proceeding.\n\n"
    "Making a backup will enable you to revert back to your orginal file(s) if unwanted or "
    "unexpected changes are made.\n\n"
    "Continue with add attribute process?";

}  // namespace

CliHost::CliHost(const CliOptions& options, bool colour, bool progress, QuestionPolicy questions,
                 std::FILE* out)
    : options_(options),
      colour_(colour),
      terminal_(::isatty(::fileno(out)) != 0),
      progress_(progress),
      questions_(questions),
      out_(out) {}

// Standard output is buffered as the C library chooses (by line on a terminal); it is flushed
// before every question and at the end.
void CliHost::WriteOut(const std::string& text) {
    progress_.Clear();
    std::fwrite(text.data(), 1, text.size(), out_);
}

void CliHost::AddLogLine(std::string_view text, LogColour colour, bool endLine, FontStyle style) {
    if (!text.empty()) {
        pending_.pieces.push_back(LogPiece{std::string(text), colour, style});
    }
    if (endLine) {
        FinishLine();
    }
}

void CliHost::FinishLine() {
    LogLine line = std::move(pending_);
    pending_ = LogLine();
    ClassifiedLine classified = ClassifyLine(line);
    if (classified.action == "multiple") {
        classified.attribute = options_.Mode == ScanMode::AddTitle ? "title" : "alt";
    }
    Track(classified);
    if (options_.Format == OutputFormat::Text) {
        PrintText(line);
    } else if (classified.kind == LineKind::Finding) {
        EmitFinding(classified);
    } else if (classified.kind == LineKind::RunMessage) {
        runLines_.push_back(DecodeForDisplay(line.Text()));
    }
}

void CliHost::PrintText(const LogLine& line) {
    std::string text;
    for (const LogPiece& piece : line.pieces) {
        if (!colour_ && IsPlainPrintable(piece.text)) {
            text += piece.text;  // the common case: nothing to decode or replace
            continue;
        }
        const std::string shown = ForOutput(DecodeForDisplay(piece.text), terminal_);
        text += colour_ ? AnsiStyled(shown, piece.colour, piece.style) : shown;
    }
    text += '\n';
    WriteOut(text);
}

void CliHost::Track(const ClassifiedLine& line) {
    if (line.kind == LineKind::Finding) {
        ++pageFindings_;
        if (line.unresolved) {
            ++pageUnresolved_;
        }
        return;
    }
    if (line.kind != LineKind::PageMessage) {
        return;
    }
    if (IsFailure(line.event)) {
        ++failures_;
    }
    if (line.event == PageEvent::Stopped) {
        stopped_ = true;
    }
    if (const char* result = PageResultName(line.event)) {
        if (Rank(result) < Rank(pageResult_)) {
            pageResult_ = result;
        }
    }
}

void CliHost::EmitFinding(const ClassifiedLine& line) {
    std::string json = "{\"type\":\"finding\",\"file\":" + Quoted(page_) +
                       ",\"line\":" + std::to_string(line.line) + ",\"tag\":" + Quoted(line.tag) +
                       ",\"reference\":" + Quoted(line.reference) +
                       ",\"attribute\":" + Quoted(line.attribute) +
                       ",\"action\":" + Quoted(line.action);
    if (!line.value.empty()) {
        json += ",\"value\":" + Quoted(line.value);
    }
    json += ",\"message\":" + Quoted(line.message) + "}\n";
    WriteOut(json);
}

void CliHost::OnPageStart(const std::string& fullPath) {
    if (page_.empty()) {
        std::fflush(out_);  // the run's header shows at once, whatever the buffering
    }
    page_ = fullPath;
    pageResult_.clear();
    pageFindings_ = 0;
    pageUnresolved_ = 0;
    if (Interrupted() && flags_ != nullptr) {
        flags_->SetBoth(true);  // Ctrl-C came while the run was getting ready
    }
}

void CliHost::OnPageEnd(const std::string& fullPath) {
    // Insertions of a page that was not saved did not happen.
    const bool unsaved = Rank(pageResult_) <= Rank("not-saved");
    unresolved_ += unsaved ? pageFindings_ : pageUnresolved_;
    if (options_.Format != OutputFormat::Jsonl) {
        return;
    }
    const std::string result = !pageResult_.empty() ? pageResult_
                               : pageFindings_ > 0  ? "reported"
                                                    : "no-changes";
    WriteOut("{\"type\":\"file\",\"file\":" + Quoted(fullPath) + ",\"result\":" + Quoted(result) +
             ",\"findings\":" + std::to_string(pageFindings_) + ",\"unresolved\":" +
             std::to_string(unsaved ? pageFindings_ : pageUnresolved_) + "}\n");
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

bool CliHost::IsIgnoredReference(std::string_view reference) {
    return ignored_.Contains(reference);
}

bool CliHost::IsFoundReference(std::string_view reference) {
    return found_.Contains(reference);
}

void CliHost::AddFoundReference(std::string_view reference) {
    found_.Add(reference);
}

void CliHost::PrintFoundReferences() {
    for (const std::string& reference : found_.Items()) {
        if (options_.Format == OutputFormat::Jsonl) {
            WriteOut("{\"type\":\"reference\",\"reference\":" + Quoted(reference) + "}\n");
        } else {
            WriteOut(DecodeForDisplay(reference) + "\n");
        }
    }
}

bool CliHost::AskBackupWarning() {
    if (backupAnswer_ < 0) {
        if (questions_.yes) {
            backupAnswer_ = 1;
        } else if (questions_.interactive) {
            progress_.Clear();
            std::fflush(out_);
            std::fprintf(stderr, "%s [Y/n] ", kBackupWarning);
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
    const std::string name(FileNameOf(fullPath));
    progress_.Clear();
    std::fflush(out_);
    if (!questions_.interactive) {
        std::fprintf(stderr,
                     "vantaro-cli: %s holds template code; its changes are not saved "
                     "(--yes updates template code)\n",
                     name.c_str());
        return TemplateWarningAnswer::No;
    }
    std::fprintf(stderr, kTemplateWarning, name.c_str(), name.c_str());
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
    std::fprintf(stderr,
                 "vantaro-cli: Please select to show (using the Log menu) missing alt and/or "
                 "title attributes. (Here: --report=alt,title)\n");
}

}  // namespace vantaro::cli
