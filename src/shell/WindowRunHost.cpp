#include "shell/WindowRunHost.h"

#include "log/LogFormatter.h"
#include "log/Messages.h"
#include "shell/CMainForm.h"
#include "shell/FileListModel.h"
#include "shell/HelpViewer.h"
#include "shell/ProgressGauge.h"
#include "shell/Prompter.h"
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {

void TWindowRunHost::SetProcessingState(bool busy) {
    window_.SetProcessingState(busy);
}

bool TWindowRunHost::AskBackupWarning() {
    Prompter::Message message;
    message.kind = Prompter::Kind::Warning;
    message.title = QStringLiteral("Warning");
    message.text = QString::fromUtf8(messages::kBackupWarning.data(),
                                     static_cast<qsizetype>(messages::kBackupWarning.size()));
    message.buttons = Prompter::Yes | Prompter::No;
    message.defaultButton = Prompter::Yes;
    message.escapeButton = Prompter::No;
    message.helpContext = help::BackupWarning;
    return CurrentPrompter().Ask(&window_, message) == Prompter::Yes;
}

void TWindowRunHost::ShowNoReportsWarning() {
    Prompter::Message message;
    message.kind = Prompter::Kind::Warning;
    message.title = QStringLiteral("Warning");
    message.text = QString::fromUtf8(messages::kNoReportsWarning.data(),
                                     static_cast<qsizetype>(messages::kNoReportsWarning.size()));
    CurrentPrompter().Ask(&window_, message);
}

void TWindowRunHost::ClearFoundReferences() {
    window_.ReferenceLists().ClearFound();
}

std::string TWindowRunHost::TimeStamp() {
    return TimeStampText(QDateTime::currentDateTime()).toStdString();
}

void TWindowRunHost::SetProgressMaximum(std::uint64_t totalBytes) {
    window_.ProgressGauge().SetMaxValue(totalBytes);
}

void TWindowRunHost::OnRunStarted(const RunStart& start) {
    WriteRunStart(window_.LogRichEdit(), start);
}

void TWindowRunHost::OnRecoveryFileFound(const RecoveryNotice& notice) {
    WriteRecoveryNotice(window_.LogRichEdit(), notice);
}

// The list cannot change while a run is busy: its buttons are disabled.
std::optional<std::vector<std::string>> TWindowRunHost::IgnoredReferences() {
    return window_.ReferenceLists().IgnoredItems();
}

void TWindowRunHost::OnPageStart(const std::string& fullPath) {
    window_.ShowPageInProgress(++pagesStarted_, pagesExpected_, fullPath);
}

void TWindowRunHost::OnRunEnded(const RunEnd& end) {
    window_.ReferenceLists().ShowAllFound();
    WriteRunEnd(window_.LogRichEdit(), end);
}

}  // namespace vantaro
