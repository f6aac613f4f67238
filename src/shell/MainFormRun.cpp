// Starting a run over the selected files; and what follows a folder choice or the Preferences.

#include <QFile>
#include <QFileInfo>
#include <exception>
#include <utility>

#include "engine/Engine.h"
#include "run/ProcessRunner.h"
#include "settings/AppSettings.h"
#include "settings/DataPaths.h"
#include "settings/FileFormats.h"
#include "shell/CMainForm.h"
#include "shell/FileListView.h"
#include "shell/FolderTree.h"
#include "shell/HelpViewer.h"
#include "shell/ProgressGauge.h"
#include "shell/Prompter.h"
#include "shell/dialogs/CPreferencesForm.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {

// The run goes over the folder the rows were listed from; it is CurrentFolder except for the
// moment between a folder change and its listing.
void TMainForm::RunProcess(ScanMode mode) {
    if (processing_) {
        return;
    }
    runner_->ShowBackupDlg = ShowBackupDlg;
    const std::string folder = QFile::encodeName(filesListView_->Folder()).toStdString();
    try {
        runner_->RunProcess(mode, folder, filesListView_->SelectedPageNames());
    } catch (const std::exception& error) {
        ShowError(this, QString::fromLocal8Bit(error.what()));
    }
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
        filesListView_->ApplyFormatChanges(dialog.OldFileFormats(), FileFormats(), OtherFileFormats,
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
    if (!startFolder.isEmpty() && foldersShellTreeView_->SelectFolder(startFolder)) {
        return;
    }
    startPage_.clear();
    foldersShellTreeView_->SelectFolder(QFile::decodeName(ReadDefaultPath(IniFileName()).c_str()));
}

void TMainForm::UMListFiles() {
    filesListView_->ListFolderFiles(QFile::decodeName(CurrentFolder.c_str()), OtherFileFormats);
    if (!startPage_.empty()) {
        filesListView_->SelectFile(std::exchange(startPage_, std::string()));
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
