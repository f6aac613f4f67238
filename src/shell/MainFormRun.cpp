// Starting a run over the selected files; and what follows a folder choice or the Preferences.

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <exception>
#include <utility>

#include "engine/Engine.h"
#include "run/FolderListing.h"
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
#include "shell/RecentFolders.h"
#include "shell/SiteFolders.h"
#include "shell/WindowRunHost.h"
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
    runner_->Jobs = DefaultJobCount();
    const std::string folder = QFile::encodeName(filesListView_->Folder()).toStdString();
    try {
        const std::vector<FolderPages> folders =
            IncludeSubfolders
                ? SiteFolders(folder, filesListView_->SelectedPageNames(),
                              BuildExtensionList(FileFormats(), OtherFileFormats))
                : std::vector<FolderPages>{{folder, filesListView_->SelectedPageNames()}};
        std::size_t pages = 0;
        for (const FolderPages& each : folders) {
            pages += each.PageNames.size();
        }
        runHost_->ExpectPages(pages);
        runner_->RunProcess(mode, folders);
        // Written pages have new sizes and dates.
        if (mode != ScanMode::Scan && !Settings().PreviewMode) {
            filesListView_->RefreshRows();
        }
    } catch (const std::exception& error) {
        ShowError(this, QString::fromLocal8Bit(error.what()));
    }
}

void TMainForm::ShowPageInProgress(std::size_t number, std::size_t total,
                                   const std::string& fullPath) {
    runStatusLabel_->setText(
        QStringLiteral("%1 of %2 pages - %3")
            .arg(number)
            .arg(total)
            .arg(QDir::toNativeSeparators(QFile::decodeName(fullPath.c_str()))));
}

void TMainForm::ShowLogLoadProgress(std::size_t done, std::size_t total) {
    if (total == 0) {
        runStatusLabel_->clear();
        return;
    }
    runStatusLabel_->setText(QStringLiteral("Loading log - %1%").arg(done * 100 / total));
    runStatusLabel_->repaint();
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

bool TMainForm::OpenPath(const QString& path) {
    if (processing_) {
        return false;
    }
    const QFileInfo given(path);
    const bool isFolder = given.isDir();
    const QString folder = isFolder ? given.absoluteFilePath() : given.absolutePath();
    std::string page = isFolder ? std::string() : QFile::encodeName(given.fileName()).toStdString();
    if (!isFolder && !given.isFile()) {
        // Reported as a folder that cannot be shown, with the path as given.
        return foldersShellTreeView_->SelectFolder(path);
    }
    const std::string before = CurrentFolder;
    startPage_ = page;
    if (!foldersShellTreeView_->SelectFolder(folder)) {
        startPage_.clear();
        return false;
    }
    if (CurrentFolder == before && !page.empty()) {
        // Already listed: no new listing comes to select the page.
        filesListView_->SelectFile(std::exchange(startPage_, std::string()));
        UpdateFileCommands();
    }
    return true;
}

void TMainForm::ShowCurrentFolder(const QString& folder) {
    QString shown = QDir::toNativeSeparators(folder);
    if (shown.size() > 1 && shown.endsWith(QDir::separator())) {
        shown.chop(1);
    }
    setWindowTitle(QStringLiteral("%1 - Vantaro").arg(shown));
    folderPathEdit_->setText(shown);
}

// Folders and pages dragged from a file manager; anything else is refused.
void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!processing_ && urls.size() == 1 && urls.front().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile()) {
        event->acceptProposedAction();
        activateWindow();
        OpenPath(urls.front().toLocalFile());
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
    const std::string failure = FolderReadFailure(CurrentFolder);
    folderStatusLabel_->setText(
        failure.empty()
            ? QString()
            : QStringLiteral("The folder %1 cannot be read (%2)")
                  .arg(QDir::toNativeSeparators(QFile::decodeName(CurrentFolder.c_str())),
                       QString::fromLocal8Bit(failure.c_str())));
    recentFolders_->Note(CurrentFolder);
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
