// The main window as the engine's host: the log, the progress gauge, the event pump during a
// run, the reference lists and the template-code warning.

#include <QCoreApplication>
#include <QListWidget>

#include "shell/dialogs/CDVTCodeDetectDlg.h"
#include "engine/Engine.h"
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"
#include "shell/CMainForm.h"
#include "shell/ProgressGauge.h"

namespace vantaro {

namespace {

// Often enough for the window to repaint and for Stop to answer at once; rarely enough not to
// slow the scan down.
constexpr qint64 kPumpIntervalMs = 15;

}  // namespace

void TMainForm::AddLogLine(std::string_view text, LogColour colour, bool endLine, FontStyle style) {
    LogRichEdit->AddLogLine(text, colour, endLine, style);
}

void TMainForm::AdvanceProgress(std::uint64_t bytes) {
    ProgressGauge->AddProgress(bytes);
}

void TMainForm::PumpEvents() {
    if (sincePump_.isValid() && sincePump_.elapsed() < kPumpIntervalMs) {
        return;
    }
    sincePump_.start();
    QCoreApplication::processEvents();
}

bool TMainForm::IsIgnoredReference(std::string_view reference) {
    return referenceLists_->IsIgnored(reference);
}

bool TMainForm::IsFoundReference(std::string_view reference) {
    return referenceLists_->IsFound(reference);
}

void TMainForm::AddFoundReference(std::string_view reference) {
    referenceLists_->AddFound(reference);
}

TemplateWarningAnswer TMainForm::ShowTemplateWarning(const std::string& fullPath) {
    return vantaro::ShowTemplateWarning(this, fullPath, [this] {
        StopToolButtonClick();
        return Flags().StopRequested.load();
    });
}

}  // namespace vantaro
