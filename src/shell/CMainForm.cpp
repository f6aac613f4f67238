// The main window's life: creation, first showing, closing and destruction, and the pane
// proportions it keeps on every resize.

#include "shell/CMainForm.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

#include "engine/Engine.h"
#include "run/ProcessRunner.h"
#include "settings/AppSettings.h"
#include "settings/CINI.h"
#include "settings/DataPaths.h"
#include "shell/BusyInputFilter.h"
#include "shell/FileListView.h"
#include "shell/FolderTree.h"
#include "shell/HelpViewer.h"
#include "shell/KeyboardUse.h"
#include "shell/PaneSplitter.h"
#include "shell/Prompter.h"
#include "shell/WindowEngineHost.h"
#include "shell/WindowRunHost.h"
#include "shell/log/LogCommands.h"
#include "shell/log/LogView.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {

namespace {

constexpr int kRefsBoxTop = 4;  // both boxes reach from here to the panel's bottom

}  // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent),
      engineHost_(std::make_unique<TWindowEngineHost>(*this)),
      runHost_(std::make_unique<TWindowRunHost>(*this)),
      engine_(std::make_unique<Engine>(*engineHost_)),
      runner_(std::make_unique<ProcessRunner>(*engine_, *runHost_)),
      busyFilter_(new TBusyInputFilter(this)) {
    BuildWindow();
    ConnectCommands();
    SetUpKeyboard();
    FormCreate();
    FitMinimumWidthToToolbars();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

// Tab goes from the folder path through the tree, the file list and the log to the two reference
// lists; each view shows where the keyboard is.
void TMainForm::SetUpKeyboard() {
    QWidget* order[] = {folderPathEdit_, foldersShellTreeView_, filesListView_,
                        logRichEdit_,    refImagesListBox_,     ignoreImagesListBox_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{
             filesListView_, refImagesListBox_, ignoreImagesListBox_}) {
        ShowFocusOnFirstItem(*view);
    }
    OpenMenuBarWithF10(*this);
    // Delete takes the selected references out of "References Ignored", back to the found ones.
    auto* stopIgnoring = new QShortcut(QKeySequence::Delete, ignoreImagesListBox_, nullptr, nullptr,
                                       Qt::WidgetShortcut);
    connect(stopIgnoring, &QShortcut::activated, referenceLists_,
            &TReferenceLists::StopIgnoreImgSpeedButtonClick);
}

RunFlags& TMainForm::Flags() {
    return engine_->Flags();
}

EngineSettings& TMainForm::Settings() {
    return engine_->Settings();
}

// Settings are loaded before the window is ever shown, with its designed size.
void TMainForm::FormCreate() {
    InitDataPaths("/Corvell/", "Vantaro/App.ini");
    previousIniReporter_ = SetIniErrorReporter(
        [this](const std::string& message) { ShowError(this, QString::fromStdString(message)); });
    UpdateFileCommands();
    LoadSettings();
    engine_->BuildIgnoreTagList();
    logCommands_->UpdateLogCommands();
    referenceLists_->UpdateIgnoreButtons();
    SetHelpContext(*this, help::MainWindow);
}

void TMainForm::FormDestroy() {
    SaveSettings();
    SetIniErrorReporter(std::move(previousIniReporter_));
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!formShown_) {
        FormShow();
        ApplyPaneProportions();
    }
}

void TMainForm::FormShow() {
    formShown_ = true;
    refsPercents_ = RefsAreaPercents::FromDesign();
    const int logListsWidth = ReadLogListsWidth(IniFileName(), splitter1_->PaneSize());
    splitter1_->SetPaneSize(logListsWidth);
    LogListsPanelResize();
    LogListsWidthPercent = PercentOf(logListsWidth, paneArea_.width());
    PostWindowMessage(this, UM_SHOWDEFAULTPATH);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose) {
        event->accept();
    } else {
        event->ignore();
    }
}

// Closing during a run is a Stop: only a confirmed one closes the window.
void TMainForm::FormCloseQuery(bool& canClose) {
    if (!processing_) {
        canClose = true;
        return;
    }
    StopToolButtonClick();
    canClose = Flags().StopRequested.load();
}

// --- Pane proportions ------------------------------------------------------------------------

bool TMainForm::WorkAreaShowing() const {
    return formShown_ && isVisible() && !isMinimized() && !workPanel_->size().isEmpty();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);  // the children are laid out first
    ApplyPaneProportions();
}

// The window does not learn of a resize by the user before it happens, so the proportions are
// taken whenever the user drags a splitter, and again when the window changes its state. Coming
// back from a minimised state, they are applied to whatever size the window has meanwhile got.
void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (change->oldState().testFlag(Qt::WindowMinimized)) {
        ApplyPaneProportions();
    } else {
        TakePaneProportions();
    }
}

void TMainForm::ApplyPaneProportions() {
    if (!WorkAreaShowing()) {
        return;
    }
    const QSize area = workPanel_->size();
    horzSplitter_->SetPaneSize(ProportionalSize(area.width(), horzSplitter_->MinSize(),
                                                horzSplitter_->Thickness(), FoldersWidthPercent));
    vertSplitter_->SetPaneSize(ProportionalSize(area.height(), vertSplitter_->MinSize(),
                                                vertSplitter_->Thickness(), LogHeightPercent));
    splitter1_->SetPaneSize(ProportionalSize(area.width(), splitter1_->MinSize(),
                                             splitter1_->Thickness(), LogListsWidthPercent));
    paneArea_ = area;
}

void TMainForm::TakePaneProportions() {
    if (!WorkAreaShowing()) {
        return;
    }
    const QSize area = workPanel_->size();
    FoldersWidthPercent = PercentOf(horzSplitter_->PaneSize(), area.width());
    LogListsWidthPercent = PercentOf(splitter1_->PaneSize(), area.width());
    LogHeightPercent = PercentOf(vertSplitter_->PaneSize(), area.height());
    paneArea_ = area;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == logListsPanel_ && event->type() == QEvent::Resize) {
        LogListsPanelResize();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::LogListsPanelResize() {
    const int boxHeight = std::max(0, logListsPanel_->height() - kRefsBoxTop);
    refsGroupBox_->resize(refsGroupBox_->width(), boxHeight);
    refsIgnoredGroupBox_->resize(refsIgnoredGroupBox_->width(), boxHeight);
    if (!formShown_ || !isVisible()) {
        return;
    }
    const RefsAreaLayout layout =
        LayoutRefsArea(logListsPanel_->width(), ignoreImgSpeedButton_->width(), refsPercents_);
    refsGroupBox_->resize(layout.BoxWidth, boxHeight);
    ignoreImgSpeedButton_->move(layout.ButtonLeft, ignoreImgSpeedButton_->y());
    stopIgnoreImgSpeedButton_->move(layout.ButtonLeft, stopIgnoreImgSpeedButton_->y());
    refsIgnoredGroupBox_->setGeometry(layout.IgnoredBoxLeft, kRefsBoxTop, layout.BoxWidth,
                                      boxHeight);
}

}  // namespace vantaro
