// The commands and toggles of the main window, and the busy state of a run.

#include <QAction>
#include <QDesktopServices>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QStringList>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <algorithm>

#include "engine/Engine.h"
#include "shell/BusyInputFilter.h"
#include "shell/CMainForm.h"
#include "shell/dialogs/CAboutDialog.h"
#include "shell/log/LogCommands.h"
#include "shell/log/LogPageCommands.h"
#include "shell/log/LogView.h"

#include "shell/FileListView.h"
#include "shell/FolderTree.h"
#include "shell/HelpViewer.h"
#include "shell/ProgressGauge.h"
#include "shell/Prompter.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {

namespace {

const char* const kHomePage = "https://corvell.example/";
const char* const kDownloadsPage = "https://corvell.example/downloads/downloads.asp";
const char* const kFeedbackPage = "https://corvell.example/support/feedback.asp?id=45";

// A failure to open a page is not reported.
void OpenPage(const char* address) {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(address)));
}

// A toggle's button is its master copy: the field and the main-menu check mark follow it.
void FollowButton(const QAction* button, QAction* menuItem, bool& field) {
    field = button->isChecked();
    menuItem->setChecked(field);
}

void FlipButton(QAction* button) {
    button->setChecked(!button->isChecked());
}

void FlipMenuToggle(QAction* menuItem, bool& field) {
    field = !field;
    menuItem->setChecked(field);
}

void Connect(QAction* action, TMainForm* form, void (TMainForm::*handler)()) {
    QObject::connect(action, &QAction::triggered, form, handler);
}

// A button as wide as its widest caption, so the toolbar keeps its place when captions change.
void FitWidestCaption(QToolBar* bar, QAction* button, const QStringList& captions) {
    auto* widget = qobject_cast<QToolButton*>(bar->widgetForAction(button));
    if (widget == nullptr) {
        return;
    }
    const QString shown = widget->text();
    int widest = 0;
    for (const QString& caption : captions) {
        widget->setText(caption);
        widest = std::max(widest, widget->sizeHint().width());
    }
    widget->setText(shown);
    widget->setMinimumWidth(std::max(widget->minimumWidth(), widest));
}

void SetEnabled(std::initializer_list<QAction*> items, bool enabled) {
    for (QAction* item : items) {
        item->setEnabled(enabled);
    }
}

struct FileCounts {
    int items = 0;
    int selected = 0;
};

FileCounts CountFiles(const TFileListView& list) {
    return FileCounts{list.RowCount(), list.SelectedCount()};
}

}  // namespace

void TMainForm::ConnectCommands() {
    Connect(selectAll1_, this, &TMainForm::SelectAllSpeedButtonClick);
    Connect(selectAll2_, this, &TMainForm::SelectAllSpeedButtonClick);
    Connect(deselectAll1_, this, &TMainForm::DeSelectAllSpeedButtonClick);
    Connect(deselectAll2_, this, &TMainForm::DeSelectAllSpeedButtonClick);
    Connect(preferences1_, this, &TMainForm::Preferences1Click);
    Connect(exit1_, this, &TMainForm::Exit1Click);

    Connect(areaToolButton_, this, &TMainForm::AreaToolButtonClick);
    Connect(imgToolButton_, this, &TMainForm::ImgToolButtonClick);
    Connect(inputToolButton_, this, &TMainForm::InputToolButtonClick);
    Connect(previewToolButton_, this, &TMainForm::PreviewToolButtonClick);
    Connect(subfoldersToolButton_, this, &TMainForm::SubfoldersToolButtonClick);
    Connect(includeSubfolders1_, this, &TMainForm::IncludeSubfolders1Click);
    for (QAction* item : {area1_, area2_}) {
        Connect(item, this, &TMainForm::area1Click);
    }
    for (QAction* item : {img1_, img2_}) {
        Connect(item, this, &TMainForm::img1Click);
    }
    for (QAction* item : {input1_, inputimage1_}) {
        Connect(item, this, &TMainForm::input1Click);
    }
    for (QAction* item : {preview1_, preview2_}) {
        Connect(item, this, &TMainForm::Preview1Click);
    }
    Connect(showmissingAlts1_, this, &TMainForm::ShowmissingAlts1Click);
    Connect(showmissingTitles1_, this, &TMainForm::ShowmissingTitles1Click);

    for (QAction* item : {scan1_, scanSpeedButton_, scan2_}) {
        Connect(item, this, &TMainForm::Scan3Click);
    }
    for (QAction* item : {addAlt1_, addAltToolButton_, addalt2_}) {
        Connect(item, this, &TMainForm::AddAlt3Click);
    }
    for (QAction* item : {addTitle1_, addTitleToolButton_, addtitle2_}) {
        Connect(item, this, &TMainForm::AddTitle3Click);
    }
    for (QAction* item : {stop1_, stopToolButton_}) {
        Connect(item, this, &TMainForm::StopToolButtonClick);
    }

    logCommands_ = new TLogCommands(
        *logRichEdit_,
        TLogCommands::Hooks{
            [this] { return processing_; }, [this] { return ShowClearLogPrompt; },
            [this] { ResetProgress(); },
            [this](std::size_t done, std::size_t total) { ShowLogLoadProgress(done, total); }},
        this);
    TLogCommands* log = logCommands_;
    for (QAction* item : {open1_, openLogToolButton_}) {
        connect(item, &QAction::triggered, log, &TLogCommands::OpenLogToolButtonClick);
    }
    for (QAction* item : {save1_, saveLogToolButton_}) {
        connect(item, &QAction::triggered, log, &TLogCommands::SaveLogToolButtonClick);
    }
    for (QAction* item : {print1_, printLogToolButton_}) {
        connect(item, &QAction::triggered, log, &TLogCommands::PrintLogToolButtonClick);
    }
    for (QAction* item : {copy1_, copyToolButton_}) {
        connect(item, &QAction::triggered, log, &TLogCommands::CopyToolButtonClick);
        log->AddCopyTarget(item);
    }
    for (QAction* item : {clear1_, clearLogToolButton_}) {
        connect(item, &QAction::triggered, log, &TLogCommands::ClearLogToolButtonClick);
        log->AddClearTarget(item);
    }
    logPageCommands_ = new TLogPageCommands(
        *logRichEdit_, [this] { return processing_; }, this);
    BuildLogPopupMenu();

    Connect(help2_, this, &TMainForm::Help2Click);
    Connect(about1_, this, &TMainForm::About1Click);
    Connect(feedback1_, this, &TMainForm::Feedback1Click);
    Connect(update1_, this, &TMainForm::Update1Click);
    Connect(corvellOnline1_, this, &TMainForm::CorvellOnline1Click);
}

// --- Toggles ---------------------------------------------------------------------------------

void TMainForm::AreaToolButtonClick() {
    FollowButton(areaToolButton_, area1_, Settings().TagArea);
}

void TMainForm::ImgToolButtonClick() {
    FollowButton(imgToolButton_, img1_, Settings().TagImg);
}

void TMainForm::InputToolButtonClick() {
    FollowButton(inputToolButton_, input1_, Settings().TagInput);
}

void TMainForm::PreviewToolButtonClick() {
    FollowButton(previewToolButton_, preview1_, Settings().PreviewMode);
    UpdateAddCaptions();
}

void TMainForm::SubfoldersToolButtonClick() {
    FollowButton(subfoldersToolButton_, includeSubfolders1_, IncludeSubfolders);
    UpdateFileCommands();
}

void TMainForm::IncludeSubfolders1Click() {
    FlipButton(subfoldersToolButton_);
    SubfoldersToolButtonClick();
}

void TMainForm::area1Click() {
    FlipButton(areaToolButton_);
    AreaToolButtonClick();
}

void TMainForm::img1Click() {
    FlipButton(imgToolButton_);
    ImgToolButtonClick();
}

void TMainForm::input1Click() {
    FlipButton(inputToolButton_);
    InputToolButtonClick();
}

void TMainForm::Preview1Click() {
    FlipButton(previewToolButton_);
    PreviewToolButtonClick();
}

void TMainForm::ShowmissingAlts1Click() {
    FlipMenuToggle(showmissingAlts1_, Settings().ShowMissingAltMsgs);
}

void TMainForm::ShowmissingTitles1Click() {
    FlipMenuToggle(showmissingTitles1_, Settings().ShowMissingTitleMsgs);
}

void TMainForm::UpdateAddCaptions() {
    const QString suffix = Settings().PreviewMode ? QStringLiteral(" (Preview)") : QString();
    addAlt1_->setText(QStringLiteral("+%1%2").arg(QStringLiteral("alt"), suffix));
    addTitle1_->setText(QStringLiteral("+%1%2").arg(QStringLiteral("title"), suffix));
    for (QAction* copy : {addalt2_, addAltToolButton_}) {
        copy->setText(addAlt1_->text());
        copy->setIconText(addAlt1_->text());
    }
    for (QAction* copy : {addtitle2_, addTitleToolButton_}) {
        copy->setText(addTitle1_->text());
        copy->setIconText(addTitle1_->text());
    }
    const QString preview = QStringLiteral(" (Preview)");
    for (QAction* button : {addAltToolButton_, addTitleToolButton_}) {
        const QString plain = button->text().remove(preview);
        FitWidestCaption(processToolBar_, button, {plain, plain + preview});
    }
}

// --- File commands ---------------------------------------------------------------------------

void TMainForm::Scan3Click() {
    RunProcess(ScanMode::Scan);
}

void TMainForm::AddAlt3Click() {
    RunProcess(ScanMode::AddAlt);
}

void TMainForm::AddTitle3Click() {
    RunProcess(ScanMode::AddTitle);
}

void TMainForm::SelectAllSpeedButtonClick() {
    if (!processing_) {
        filesListView_->SelectAllFiles();
    }
}

void TMainForm::DeSelectAllSpeedButtonClick() {
    if (!processing_) {
        filesListView_->DeselectAllFiles();
    }
}

void TMainForm::UpdateFileCommands() {
    const FileCounts files = CountFiles(*filesListView_);
    selectAll1_->setEnabled(files.items > 0 && files.selected < files.items);
    deselectAll1_->setEnabled(files.selected > 0);
    // A whole site can be run with nothing selected: the shown folder then gives all its pages.
    scanSpeedButton_->setEnabled(files.selected > 0 ||
                                 (IncludeSubfolders && !filesListView_->Folder().isEmpty()));
    SetEnabled({scan1_, addAltToolButton_, addAlt1_, addTitleToolButton_, addTitle1_},
               scanSpeedButton_->isEnabled());
    SetEnabled({stopToolButton_, stop1_}, false);
}

// The context menu does not look at the busy state: while busy a right click cannot open it,
// and its commands refuse to run.
void TMainForm::FileListViewPopupMenuPopup() {
    const FileCounts files = CountFiles(*filesListView_);
    selectAll2_->setEnabled(files.items > 0 && files.selected < files.items);
    deselectAll2_->setEnabled(files.selected > 0);
    area2_->setChecked(area1_->isChecked());
    img2_->setChecked(img1_->isChecked());
    inputimage1_->setChecked(input1_->isChecked());
    preview2_->setChecked(preview1_->isChecked());
    SetEnabled({scan2_, addalt2_, addtitle2_}, scanSpeedButton_->isEnabled());
}

// --- Stop and the busy state -----------------------------------------------------------------

void TMainForm::StopToolButtonClick() {
    const bool stop = AskYesNo(this, Prompter::Kind::Confirmation, QStringLiteral("Confirm"),
                               QStringLiteral("Stop process ? Are you sure ?")) == Prompter::Yes;
    Flags().SetBoth(stop);
}

void TMainForm::SetProcessingState(bool busy) {
    logRichEdit_->SetBatching(busy);
    if (busy) {
        processing_ = true;
        filesListView_->SetProcessing(true);  // the rows stay as they are until the run ends
        SetEnabled({stopToolButton_, stop1_}, true);
        progressLabel_->setEnabled(true);
        progressGauge_->SetProgress(0);
        progressGauge_->SetShowText(true);
        progressGauge_->setEnabled(true);
        EnableMenuItems(false);
        tagsToolBar_->setEnabled(false);
        processToolBar_->setEnabled(false);
        busyFilter_->Install({foldersShellTreeView_, filesListView_, refImagesListBox_,
                              ignoreImgSpeedButton_, stopIgnoreImgSpeedButton_,
                              ignoreImagesListBox_});
        return;
    }
    progressGauge_->setEnabled(false);
    SetEnabled({stopToolButton_, stop1_}, false);
    processing_ = false;
    UpdateFileCommands();
    EnableMenuItems(true);
    tagsToolBar_->setEnabled(true);
    processToolBar_->setEnabled(true);
    busyFilter_->Remove();
    filesListView_->SetProcessing(false);  // a listing asked for during the run happens now
}

// Entering the busy state disables every main-menu command but Exit and Stop; leaving it
// enables those that do not follow a selection, and brings the others up to date.
void TMainForm::EnableMenuItems(bool enabled) {
    if (!enabled) {
        SetEnabled({selectAll1_,
                    deselectAll1_,
                    preferences1_,
                    area1_,
                    img1_,
                    input1_,
                    preview1_,
                    includeSubfolders1_,
                    scan1_,
                    addAlt1_,
                    addTitle1_,
                    open1_,
                    save1_,
                    print1_,
                    copy1_,
                    clear1_,
                    showmissingAlts1_,
                    showmissingTitles1_,
                    help2_,
                    about1_,
                    feedback1_,
                    update1_,
                    corvellOnline1_},
                   false);
        return;
    }
    SetEnabled({preferences1_, area1_, img1_, input1_, preview1_, includeSubfolders1_}, true);
    SetEnabled({open1_, save1_, print1_}, true);
    logCommands_->UpdateLogCommands();
    SetEnabled({showmissingAlts1_, showmissingTitles1_, help2_, about1_, feedback1_, update1_,
                corvellOnline1_},
               true);
}

void TMainForm::ResetProgress() {
    progressLabel_->setEnabled(false);
    progressGauge_->SetProgress(0);
    progressGauge_->SetShowText(false);
}

// --- Help, About and the web pages -----------------------------------------------------------

void TMainForm::Exit1Click() {
    close();
}

void TMainForm::About1Click() {
    TAboutDialog dialog(this);
    CurrentPrompter().Exec(dialog);
}

void TMainForm::Help2Click() {
    ShowHelp(this, help::Contents);
}

void TMainForm::Feedback1Click() {
    OpenPage(kFeedbackPage);
}

void TMainForm::Update1Click() {
    OpenPage(kDownloadsPage);
}

void TMainForm::CorvellOnline1Click() {
    OpenPage(kHomePage);
}

}  // namespace vantaro
