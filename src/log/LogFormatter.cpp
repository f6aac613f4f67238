#include "log/LogFormatter.h"

#include "engine/ByteText.h"
#include "platform/Paths.h"

namespace vantaro {

namespace {

using C = LogColour;

void Ended(LogSink& log, std::string_view text, LogColour colour,
           FontStyle style = FontStyle::Plain()) {
    log.AddLogLine(text, colour, true, style);
}

void Part(LogSink& log, std::string_view text, LogColour colour,
          FontStyle style = FontStyle::Plain()) {
    log.AddLogLine(text, colour, false, style);
}

std::string Multiple(AttributeName repeated) {
    return "Multiple " + std::string(AttributeText(repeated)) + " attributes defined (Unsupported)";
}

void WriteFindingMessage(LogSink& log, const Finding& f) {
    const std::string name(AttributeText(f.Attribute));
    switch (f.Kind) {
        case FindingKind::Missing: {
            const LogColour colour = f.Attribute == AttributeName::Alt ? C::LogOrange : C::LogBlue;
            Part(log, name + " missing", colour);
            if (f.Repeated) {
                Ended(log, " : " + Multiple(*f.Repeated), C::LogDarkRed);
            } else {
                Ended(log, "", colour);
            }
            return;
        }
        case FindingKind::Multiple:
            Ended(log, Multiple(f.Repeated.value_or(f.Attribute)), C::LogDarkRed);
            return;
        case FindingKind::NoSource:
            Ended(log,
                  f.Attribute == AttributeName::Alt ? "title missing - unable to add alt"
                                                    : "alt missing - unable to add title",
                  C::LogDarkRed);
            return;
        case FindingKind::NotQuoted:
            Ended(log,
                  std::string(AttributeText(f.Unquoted)) + " not quoted - unable to add " + name,
                  C::LogDarkRed);
            return;
        case FindingKind::AddFailed:
            Ended(log, name + " add failed " + std::string(f.Value), C::LogDarkRed);
            return;
        case FindingKind::WouldBeAdded:
            Ended(log, name + " would be added : " + std::string(f.Value), C::LogGreen);
            return;
        case FindingKind::Added:
            Ended(log, name + " added : " + std::string(f.Value), C::LogGreen);
            return;
    }
}

void WritePageMessage(LogSink& log, const PageEvent& e) {
    const std::string name(FileNameOf(e.FullPath));
    switch (e.Kind) {
        case PageEventKind::TemplateStart:
            Ended(log, "Dreamweaver Template Start", C::LogGrey, FontStyle::Underline);
            return;
        case PageEventKind::TemplateEnd:
            Ended(log, "Dreamweaver Template End", C::LogGrey, FontStyle::Underline);
            return;
        case PageEventKind::NoChanges:
            Ended(log, "No changes", C::LogGreen);
            return;
        case PageEventKind::Updated:
            Ended(log, "Updated successfully", C::LogGreen);
            return;
        case PageEventKind::OpenFailed:
            Ended(log, "Failed to open", C::LogDarkRed);
            return;
        case PageEventKind::SeekFailed:
            Ended(log, "Failed to seek", C::LogDarkRed);
            return;
        case PageEventKind::ReadFailed:
            Ended(log, "Failed to read", C::LogDarkRed);
            return;
        case PageEventKind::CloseFailed:
            Ended(log, "Failed to close", C::LogDarkRed);
            return;
        case PageEventKind::WriteFailed: {
            std::string text = "Failed to write to " + name;
            if (!e.Reason.empty()) {
                text += " (" + std::string(e.Reason) + ")";
            }
            Ended(log, text, C::LogDarkRed);
            return;
        }
        case PageEventKind::ChangedOnDisk:
            Ended(log,
                  "Modifications to " + name +
                      " have not been saved - the file changed on disk during the run",
                  C::LogRed);
            return;
        case PageEventKind::StoppedByUser:
            Ended(log, "Process stopped by user", C::LogRed);
            return;
        case PageEventKind::NotSaved:
            Ended(log, "Modifications to " + name + " have not been saved", C::LogRed);
            return;
        case PageEventKind::UpdateAborted:
            Ended(log, "Update aborted by user", C::LogRed);
            return;
    }
}

// Collects the text of the segments written to it.
class TextCollector : public LogSink {
  public:
    void AddLogLine(std::string_view text, LogColour /*colour*/, bool /*endLine*/,
                    FontStyle /*style*/) override {
        text_ += text;
    }
    std::string Take() { return std::move(text_); }

  private:
    std::string text_;
};

std::string ScanHeading(const RunStart& start) {
    const char* what = start.ReportAlt && start.ReportTitle ? "alt & title"
                       : start.ReportAlt                    ? "alt"
                                                            : "title";
    return std::string("Scan for missing ") + what + " attributes";
}

}  // namespace

std::string_view AttributeText(AttributeName name) {
    return name == AttributeName::Alt ? "alt" : "title";
}

void WriteFinding(LogSink& log, const Finding& f) {
    AddFilePrefix(log, FileNameOf(f.FullPath));
    Part(log, std::string(kLineLabel) + std::to_string(f.Line), C::LogGrey,
         f.InTemplateCode ? FontStyle(FontStyle::Underline) : FontStyle::Plain());
    Part(log, " : ", C::LogGrey);
    Part(log, TagPrefix(f.Tag), C::LogDarkGrey);
    Part(log, ": ", C::LogGrey);
    Part(log, f.Reference, C::LogGrey);
    Part(log, " : ", C::LogGrey);
    WriteFindingMessage(log, f);
}

void WritePageEvent(LogSink& log, const PageEvent& event) {
    AddFilePrefix(log, FileNameOf(event.FullPath));
    WritePageMessage(log, event);
}

void WriteRunStart(LogSink& log, const RunStart& start) {
    switch (start.Mode) {
        case ScanMode::Scan:
            Ended(log, ScanHeading(start), C::LogDarkGrey);
            break;
        case ScanMode::AddAlt:
            Ended(log, start.Preview ? "Preview adding alt attributes" : "Add alt attributes",
                  C::LogDarkGrey);
            break;
        case ScanMode::AddTitle:
            Ended(log, start.Preview ? "Preview adding title attributes" : "Add title attributes",
                  C::LogDarkGrey);
            break;
    }
    Ended(log, std::string(kRunStartedLabel) + std::string(start.TimeStamp), C::LogDarkGrey);
    Part(log, kPathLabel, C::LogDarkGrey);
    Ended(log, start.Folder, C::LogGrey);
}

void WriteRecoveryNotice(LogSink& log, const RecoveryNotice& notice) {
    Ended(log,
          "An earlier run was interrupted while saving " + std::string(notice.PagePath) +
              " - its previous text is kept in " + std::string(notice.RecoveryFile),
          C::LogDarkRed);
}

void WriteRunEnd(LogSink& log, const RunEnd& end) {
    Ended(log, "Process ended " + std::string(end.TimeStamp), C::LogDarkGrey);
    if (end.WithSummary) {
        const char* would = end.Preview ? " would be added" : " added";
        switch (end.Mode) {
            case ScanMode::Scan:
                if (end.ReportAlt) {
                    Ended(log, "Missing alt attributes: " + std::to_string(end.TotalAlt),
                          C::LogDarkGrey);
                }
                if (end.ReportTitle) {
                    Ended(log, "Missing title attributes: " + std::to_string(end.TotalTitle),
                          C::LogDarkGrey);
                }
                break;
            case ScanMode::AddAlt:
                Ended(log, std::to_string(end.TotalAlt) + " alt attribute(s)" + would, C::LogGreen);
                break;
            case ScanMode::AddTitle:
                Ended(log, std::to_string(end.TotalTitle) + " title attribute(s)" + would,
                      C::LogGreen);
                break;
        }
    }
    Ended(log, kRunClosing, C::LogDarkGrey, FontStyle::Bold);
}

std::string FindingMessage(const Finding& finding) {
    TextCollector text;
    WriteFindingMessage(text, finding);
    return text.Take();
}

std::string PageEventMessage(const PageEvent& event) {
    TextCollector text;
    WritePageMessage(text, event);
    return text.Take();
}

}  // namespace vantaro
