#include "shell/WindowEngineHost.h"

#include <QCoreApplication>

#include "log/LogFormatter.h"
#include "shell/CMainForm.h"
#include "shell/ProgressGauge.h"
#include "shell/dialogs/CDVTCodeDetectDlg.h"
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {

namespace {

// Often enough for the window to repaint and for Stop to answer at once; rarely enough not to
// slow the scan down.
constexpr qint64 kPumpIntervalMs = 15;

}  // namespace

void TWindowEngineHost::OnFinding(const Finding& finding) {
    TLogView& log = window_.LogRichEdit();
    log.BeginPageLine(LocationOf(finding));
    WriteFinding(log, finding);
}

void TWindowEngineHost::OnPageEvent(const PageEvent& event) {
    WritePageEvent(window_.LogRichEdit(), event);
}

void TWindowEngineHost::AdvanceProgress(std::uint64_t bytes) {
    window_.ProgressGauge().AddProgress(bytes);
}

void TWindowEngineHost::PumpEvents() {
    if (sincePump_.isValid() && sincePump_.elapsed() < kPumpIntervalMs) {
        return;
    }
    sincePump_.start();
    window_.LogRichEdit().Flush();  // what the run wrote is shown before anything else happens
    QCoreApplication::processEvents();
}

bool TWindowEngineHost::IsIgnoredReference(std::string_view reference) {
    return window_.ReferenceLists().IsIgnored(reference);
}

bool TWindowEngineHost::IsFoundReference(std::string_view reference) {
    return window_.ReferenceLists().IsFound(reference);
}

void TWindowEngineHost::AddFoundReference(std::string_view reference) {
    window_.ReferenceLists().AddFound(reference);
}

TemplateWarningAnswer TWindowEngineHost::ShowTemplateWarning(const std::string& fullPath) {
    window_.LogRichEdit().Flush();  // the findings that lead to the question are in sight
    return vantaro::ShowTemplateWarning(&window_, fullPath, [this] {
        window_.StopToolButtonClick();
        return window_.Flags().StopRequested.load();
    });
}

}  // namespace vantaro
