// The main window as the run's host: starting a run over the selected files, the questions it
// asks, the reference lists it fills; and what follows a folder choice or the Preferences.

#include <QFile>
#include <QFileInfo>
#include <exception>
#include <utility>

#include "engine/Engine.h"
#include "run/ReferenceListBoxes.h"
#include "settings/AppSettings.h"
#include "settings/CPreferencesForm.h"
#include "settings/DataPaths.h"
#include "settings/FileFormats.h"
#include "shell/CMainForm.h"
#include "shell/FileListView.h"
#include "shell/FolderTree.h"
#include "shell/HelpViewer.h"
#include "shell/ProgressGauge.h"
#include "shell/Prompter.h"

namespace vantaro {

// The run goes over the folder the rows were listed from; it is CurrentFolder except for the
// moment between a folder change and its listing.
void TMainForm::RunProcess(ScanMode mode) {
    if (processing_) {
        return;
    }
    runner_->ShowBackupDlg = ShowBackupDlg;
    const std::string folder = QFile::encodeName(FilesListView->Folder()).toStdString();
    try {
        runner_->RunProcess(mode, folder, FilesListView->SelectedPageNames());
    } catch (const std::exception& error) {
        ShowError(this, QString::fromLocal8Bit(error.what()));
    }
}

bool TMainForm::AskBackupWarning() {
    Prompter::Message message;
    message.kind = Prompter::Kind::Warning;
    message.title = QStringLiteral("Warning");
    message.text = QStringLiteral(
        "It is recommended you backup your file(s) before proceeding.\n\nMaking a backup will "
        "enable you to revert back to your orginal file(s) if unwanted or unexpected changes are "
        "made.\n\nContinue with add attribute process?");
    message.buttons = Prompter::Yes | Prompter::No;
    message.defaultButton = Prompter::Yes;
    message.escapeButton = Prompter::No;
    message.helpContext = help::BackupWarning;
    return CurrentPrompter().Ask(this, message) == Prompter::Yes;
}

void TMainForm::ShowNoReportsWarning() {
    Prompter::Message message;
    message.kind = Prompter::Kind::Warning;
    message.title = QStringLiteral("Warning");
    message.text = QStringLiteral(
        "Please select to show (using the Log menu) missing alt and/or title attributes.");
    CurrentPrompter().Ask(this, message);
}

void TMainForm::ClearFoundReferences() {
    referenceLists_->ClearFound();
}

void TMainForm::SetProgressMaximum(std::uint64_t totalBytes) {
    ProgressGauge->SetMaxValue(totalBytes);
}

void TMainForm::Preferences1Click() {
    if (processing_) {
        return;
    }
    EngineSettings& settings = Settings();
    PreferencesTarget target{OtherFileFormats,
                             settings.LanguageTags,
                             settings.UpdateDWTs,
                             ShowBackupDlg,
                             settings.ShowDWTDlg,
                             ShowClearLogPrompt,
                             [this] { engine_->BuildIgnoreTagList(); }};
    TPreferencesForm dialog(target, this);
    if (CurrentPrompter().Exec(dialog) == QDialog::Accepted && dialog.FormatsChanged()) {
        FilesListView->ApplyFormatChanges(dialog.OldFileFormats(), FileFormats(), OtherFileFormats,
                                          dialog.OldOtherFileFormats());
        UpdateFileCommands();
    }
}

void TMainForm::OpenAtStart(const QString& path) {
    const QFileInfo given(path);
    if (given.isDir()) {
        startFolder_ = given.absoluteFilePath();
        startPage_.clear();
    } else {
        startFolder_ = given.absolutePath();
        startPage_ = QFile::encodeName(given.fileName()).toStdString();
    }
}

// A folder given at start that cannot be shown is reported; the stored one is shown instead.
void TMainForm::UMShowDefaultPath() {
    repaint();
    const QString startFolder = std::exchange(startFolder_, QString());
    if (!startFolder.isEmpty() && FoldersShellTreeView->SelectFolder(startFolder)) {
        return;
    }
    startPage_.clear();
    FoldersShellTreeView->SelectFolder(QFile::decodeName(ReadDefaultPath(IniFileName()).c_str()));
}

void TMainForm::UMListFiles() {
    FilesListView->ListFolderFiles(QFile::decodeName(CurrentFolder.c_str()), OtherFileFormats);
    if (!startPage_.empty()) {
        FilesListView->SelectFile(std::exchange(startPage_, std::string()));
    }
    UpdateFileCommands();
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == UM_LISTFILES) {
        UMListFiles();
        return true;
    }
    if (event->type() == UM_SHOWDEFAULTPATH) {
        UMShowDefaultPath();
        return true;
    }
    return QMainWindow::event(event);
}

}  // namespace vantaro
