// The commands and toggles of the main window, and the busy state of a run.

#include <QAction>
#include <QDesktopServices>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include "engine/Engine.h"
#include "shell/log/LogCommands.h"
#include "shell/dialogs/CAboutDialog.h"
#include "shell/BusyInputFilter.h"
#include "shell/CMainForm.h"

#include "shell/references/ReferenceListBoxes.h"
#include "shell/FileListView.h"
#include "shell/FolderTree.h"
#include "shell/HelpViewer.h"
#include "shell/ProgressGauge.h"
#include "shell/Prompter.h"

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
    Connect(SelectAll1, this, &TMainForm::SelectAllSpeedButtonClick);
    Connect(SelectAll2, this, &TMainForm::SelectAllSpeedButtonClick);
    Connect(DeselectAll1, this, &TMainForm::DeSelectAllSpeedButtonClick);
    Connect(DeselectAll2, this, &TMainForm::DeSelectAllSpeedButtonClick);
    Connect(Preferences1, this, &TMainForm::Preferences1Click);
    Connect(Exit1, this, &TMainForm::Exit1Click);

    Connect(AreaToolButton, this, &TMainForm::AreaToolButtonClick);
    Connect(ImgToolButton, this, &TMainForm::ImgToolButtonClick);
    Connect(InputToolButton, this, &TMainForm::InputToolButtonClick);
    Connect(PreviewToolButton, this, &TMainForm::PreviewToolButtonClick);
    for (QAction* item : {area1, area2}) {
        Connect(item, this, &TMainForm::area1Click);
    }
    for (QAction* item : {img1, img2}) {
        Connect(item, this, &TMainForm::img1Click);
    }
    for (QAction* item : {input1, inputimage1}) {
        Connect(item, this, &TMainForm::input1Click);
    }
    for (QAction* item : {Preview1, Preview2}) {
        Connect(item, this, &TMainForm::Preview1Click);
    }
    Connect(ShowmissingAlts1, this, &TMainForm::ShowmissingAlts1Click);
    Connect(ShowmissingTitles1, this, &TMainForm::ShowmissingTitles1Click);

    for (QAction* item : {Scan1, ScanSpeedButton, Scan2}) {
        Connect(item, this, &TMainForm::Scan3Click);
    }
    for (QAction* item : {AddAlt1, AddAltToolButton, Addalt2}) {
        Connect(item, this, &TMainForm::AddAlt3Click);
    }
    for (QAction* item : {AddTitle1, AddTitleToolButton, Addtitle2}) {
        Connect(item, this, &TMainForm::AddTitle3Click);
    }
    for (QAction* item : {Stop1, StopToolButton}) {
        Connect(item, this, &TMainForm::StopToolButtonClick);
    }

    logCommands_ = new TLogCommands(
        *LogRichEdit,
        TLogCommands::Hooks{[this] { return processing_; }, [this] { return ShowClearLogPrompt; },
                            [this] { ResetProgress(); }},
        this);
    TLogCommands* log = logCommands_;
    for (QAction* item : {Open1, OpenLogToolButton}) {
        connect(item, &QAction::triggered, log, &TLogCommands::OpenLogToolButtonClick);
    }
    for (QAction* item : {Save1, SaveLogToolButton}) {
        connect(item, &QAction::triggered, log, &TLogCommands::SaveLogToolButtonClick);
    }
    for (QAction* item : {Print1, PrintLogToolButton}) {
        connect(item, &QAction::triggered, log, &TLogCommands::PrintLogToolButtonClick);
    }
    for (QAction* item : {Copy1, CopyToolButton}) {
        connect(item, &QAction::triggered, log, &TLogCommands::CopyToolButtonClick);
        log->AddCopyTarget(item);
    }
    for (QAction* item : {Clear1, ClearLogToolButton}) {
        connect(item, &QAction::triggered, log, &TLogCommands::ClearLogToolButtonClick);
        log->AddClearTarget(item);
    }
    BuildLogPopupMenu();

    Connect(Help2, this, &TMainForm::Help2Click);
    Connect(About1, this, &TMainForm::About1Click);
    Connect(Feedback1, this, &TMainForm::Feedback1Click);
    Connect(Update1, this, &TMainForm::Update1Click);
    Connect(CorvellOnline1, this, &TMainForm::CorvellOnline1Click);
}

// --- Toggles ---------------------------------------------------------------------------------

void TMainForm::AreaToolButtonClick() {
    FollowButton(AreaToolButton, area1, Settings().TagArea);
}

void TMainForm::ImgToolButtonClick() {
    FollowButton(ImgToolButton, img1, Settings().TagImg);
}

void TMainForm::InputToolButtonClick() {
    FollowButton(InputToolButton, input1, Settings().TagInput);
}

void TMainForm::PreviewToolButtonClick() {
    FollowButton(PreviewToolButton, Preview1, Settings().PreviewMode);
    UpdateAddCaptions();
}

void TMainForm::area1Click() {
    FlipButton(AreaToolButton);
    AreaToolButtonClick();
}

void TMainForm::img1Click() {
    FlipButton(ImgToolButton);
    ImgToolButtonClick();
}

void TMainForm::input1Click() {
    FlipButton(InputToolButton);
    InputToolButtonClick();
}

void TMainForm::Preview1Click() {
    FlipButton(PreviewToolButton);
    PreviewToolButtonClick();
}

void TMainForm::ShowmissingAlts1Click() {
    FlipMenuToggle(ShowmissingAlts1, Settings().ShowMissingAltMsgs);
}

void TMainForm::ShowmissingTitles1Click() {
    FlipMenuToggle(ShowmissingTitles1, Settings().ShowMissingTitleMsgs);
}

void TMainForm::UpdateAddCaptions() {
    const QString suffix = Settings().PreviewMode ? QStringLiteral(" (Preview)") : QString();
    AddAlt1->setText(QStringLiteral("+%1%2").arg(QStringLiteral("alt"), suffix));
    AddTitle1->setText(QStringLiteral("+%1%2").arg(QStringLiteral("title"), suffix));
    for (QAction* copy : {Addalt2, AddAltToolButton}) {
        copy->setText(AddAlt1->text());
        copy->setIconText(AddAlt1->text());
    }
    for (QAction* copy : {Addtitle2, AddTitleToolButton}) {
        copy->setText(AddTitle1->text());
        copy->setIconText(AddTitle1->text());
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
        FilesListView->SelectAllFiles();
    }
}

void TMainForm::DeSelectAllSpeedButtonClick() {
    if (!processing_) {
        FilesListView->DeselectAllFiles();
    }
}

void TMainForm::UpdateFileCommands() {
    const FileCounts files = CountFiles(*FilesListView);
    SelectAll1->setEnabled(files.items > 0 && files.selected < files.items);
    DeselectAll1->setEnabled(files.selected > 0);
    ScanSpeedButton->setEnabled(files.selected > 0);
    SetEnabled({Scan1, AddAltToolButton, AddAlt1, AddTitleToolButton, AddTitle1},
               ScanSpeedButton->isEnabled());
    SetEnabled({StopToolButton, Stop1}, false);
}

// The context menu does not look at the busy state: while busy a right click cannot open it,
// and its commands refuse to run.
void TMainForm::FileListViewPopupMenuPopup() {
    const FileCounts files = CountFiles(*FilesListView);
    SelectAll2->setEnabled(files.items > 0 && files.selected < files.items);
    DeselectAll2->setEnabled(files.selected > 0);
    area2->setChecked(area1->isChecked());
    img2->setChecked(img1->isChecked());
    inputimage1->setChecked(input1->isChecked());
    Preview2->setChecked(Preview1->isChecked());
    SetEnabled({Scan2, Addalt2, Addtitle2}, files.selected > 0);
}

// --- Stop and the busy state -----------------------------------------------------------------

void TMainForm::StopToolButtonClick() {
    const bool stop = AskYesNo(this, Prompter::Kind::Confirmation, QStringLiteral("Confirm"),
                               QStringLiteral("Stop process ? Are you sure ?")) == Prompter::Yes;
    Flags().SetBoth(stop);
}

void TMainForm::SetProcessingState(bool busy) {
    if (busy) {
        processing_ = true;
        FilesListView->SetProcessing(true);  // the rows stay as they are until the run ends
        SetEnabled({StopToolButton, Stop1}, true);
        ProgressLabel->setEnabled(true);
        ProgressGauge->SetProgress(0);
        ProgressGauge->SetShowText(true);
        ProgressGauge->setEnabled(true);
        EnableMenuItems(false);
        TagsToolBar->setEnabled(false);
        ProcessToolBar->setEnabled(false);
        busyFilter_->Install({FoldersShellTreeView, FilesListView, RefImagesListBox,
                              IgnoreImgSpeedButton, StopIgnoreImgSpeedButton, IgnoreImagesListBox});
        return;
    }
    ProgressGauge->setEnabled(false);
    SetEnabled({StopToolButton, Stop1}, false);
    processing_ = false;
    UpdateFileCommands();
    EnableMenuItems(true);
    TagsToolBar->setEnabled(true);
    ProcessToolBar->setEnabled(true);
    busyFilter_->Remove();
    FilesListView->SetProcessing(false);  // a listing asked for during the run happens now
}

// Entering the busy state disables every main-menu command but Exit and Stop; leaving it
// enables those that do not follow a selection, and brings the others up to date.
void TMainForm::EnableMenuItems(bool enabled) {
    if (!enabled) {
        SetEnabled({SelectAll1,
                    DeselectAll1,
                    Preferences1,
                    area1,
                    img1,
                    input1,
                    Preview1,
                    Scan1,
                    AddAlt1,
                    AddTitle1,
                    Open1,
                    Save1,
                    Print1,
                    Copy1,
                    Clear1,
                    ShowmissingAlts1,
                    ShowmissingTitles1,
                    Help2,
                    About1,
                    Feedback1,
                    Update1,
                    CorvellOnline1},
                   false);
        return;
    }
    SetEnabled({Preferences1, area1, img1, input1, Preview1}, true);
    SetEnabled({Open1, Save1, Print1}, true);
    logCommands_->UpdateLogCommands();
    SetEnabled(
        {ShowmissingAlts1, ShowmissingTitles1, Help2, About1, Feedback1, Update1, CorvellOnline1},
        true);
}

void TMainForm::ResetProgress() {
    ProgressLabel->setEnabled(false);
    ProgressGauge->SetProgress(0);
    ProgressGauge->SetShowText(false);
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
