// The main window's components and their layout, from the top of the window down.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "settings/AppSettings.h"
#include "shell/CExPanel.h"
#include "shell/CMainForm.h"
#include "shell/log/LogView.h"

#include "shell/FileListView.h"
#include "shell/FolderTree.h"
#include "shell/ImageLists.h"
#include "shell/PaneSplitter.h"
#include "shell/ProgressGauge.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {

namespace {

constexpr QSize kDesignedWindow{684, 388};
constexpr QSize kMinimumWindow{681, 388};
constexpr int kBorderWidth = 2;
constexpr int kMainFormPanelHeight = 52;
constexpr QSize kTagsButtonSize{79, 48};
constexpr QSize kProcessButtonSize{80, 48};
constexpr int kCommandImageSize = 28;
constexpr int kLogToolBarHeight = 26;
constexpr int kLogImageSize = 16;
constexpr QSize kProgressLabelSize{53, 22};
constexpr QSize kExPanel1Size{128, 22};
constexpr int kFoldersHeaderHeight = 17;

// Splitter minimums and the panes' designed sizes.
constexpr int kHorzSplitterMinSize = 128;
constexpr int kVertSplitterMinSize = 96;
constexpr int kSplitter1MinSize = 266;
constexpr int kFoldersWidth = 177;
constexpr int kLogHeight = 122;
constexpr int kLogListsWidth = 266;

// The reference area as designed: two boxes, and the > and < buttons between them.
constexpr QRect kRefsBox{2, 4, 116, 118};
constexpr QRect kRefsIgnoredBox{150, 4, 116, 118};
constexpr QRect kIgnoreButton{122, 38, 23, 22};
constexpr QRect kStopIgnoreButton{122, 64, 23, 22};

void SetHint(QAction* action, const QString& hint) {
    action->setToolTip(hint);
    action->setStatusTip(hint);
}

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

QToolBar* NewToolBar(QWidget* parent, const char* name, int imageSize, Qt::ToolButtonStyle style) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QLatin1String(name));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(imageSize, imageSize));
    bar->setToolButtonStyle(style);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    return bar;
}

QAction* AddButton(QToolBar* bar, const char* name, const QIcon& icon, const QString& caption,
                   const QString& hint) {
    QAction* action = bar->addAction(icon, caption);
    action->setObjectName(QLatin1String(name));
    action->setIconText(caption);  // as it stands: the blanks widen the button
    SetHint(action, hint);
    bar->widgetForAction(action)->setObjectName(QLatin1String(name));
    return action;
}

// A button of the command toolbars: its caption under its 28 x 28 image.
QAction* AddCommandButton(QToolBar* bar, const char* name, const QString& caption, int image,
                          const QString& hint, QSize size, bool check = false) {
    QAction* action = AddButton(bar, name, CommandToolbarIcon(image), caption, hint);
    action->setCheckable(check);
    bar->widgetForAction(action)->setMinimumSize(size);
    return action;
}

void AddSeparator(QToolBar* bar, const char* name) {
    bar->addSeparator()->setObjectName(QLatin1String(name));
}

// The border a toolbar has on its right edge.
void AddEdge(QBoxLayout* row) {
    auto* edge = new QFrame(row->parentWidget());
    edge->setFrameShape(QFrame::VLine);
    edge->setFrameShadow(QFrame::Sunken);
    row->addWidget(edge);
}

QWidget* NewPanel(QWidget* parent, const char* name) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QLatin1String(name));
    return panel;
}

QBoxLayout* FillWith(QWidget* panel, QBoxLayout::Direction direction) {
    auto* layout = new QBoxLayout(direction, panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QGroupBox* NewGroupBox(QWidget* parent, const char* name, const QString& caption, QRect bounds,
                       QWidget* content) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(bounds);
    content->setParent(box);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(3, 0, 3, 3);
    layout->addWidget(content);
    return box;
}

// The move buttons come with the reference lists; the window gives them their places.
void PlaceMoveButton(QToolButton* button, QRect bounds) {
    button->setAutoRaise(true);
    button->setGeometry(bounds);
    SetHint(button, button->toolTip());
}

}  // namespace

void TMainForm::BuildWindow() {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Vantaro"));
    setWindowIcon(AppIcon());
    resize(kDesignedWindow);
    setMinimumSize(kMinimumWindow);
    setAcceptDrops(true);

    auto* client = new QWidget(this);
    QBoxLayout* column = FillWith(client, QBoxLayout::TopToBottom);
    column->setContentsMargins(kBorderWidth, kBorderWidth, kBorderWidth, kBorderWidth);
    column->addWidget(BuildCommandToolbars(client));

    // The work panel's bevel lies outside it, so its client size is its whole size.
    auto* bevel = new QFrame(client);
    bevel->setObjectName(QStringLiteral("WorkPanelBevel"));
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setLineWidth(1);
    bevel->setMidLineWidth(1);
    BuildWorkPanel(bevel);
    FillWith(bevel, QBoxLayout::TopToBottom)->addWidget(workPanel_);
    column->addWidget(bevel, 1);

    QWidget* spacerPanel = NewPanel(client, "SpacerPanel");
    spacerPanel->setFixedHeight(1);
    column->addWidget(spacerPanel);
    column->addWidget(BuildLogToolBar(client));
    setCentralWidget(client);

    // Shows the hint of whatever is under the pointer.
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    // Says when the shown folder cannot be read; hints cover it while they show.
    folderStatusLabel_ = new QLabel(statusBar());
    folderStatusLabel_->setObjectName(QStringLiteral("FolderStatusLabel"));
    statusBar()->addWidget(folderStatusLabel_, 1);
    runStatusLabel_ = new QLabel(statusBar());
    runStatusLabel_->setObjectName(QStringLiteral("RunStatusLabel"));
    statusBar()->addPermanentWidget(runStatusLabel_);

    BuildMainMenu();
    BuildPopupMenus();
}

// The designed minimum is too narrow for the command buttons with some fonts: the window never
// gets narrower than its toolbars need, so no command is pushed out of sight.
void TMainForm::FitMinimumWidthToToolbars() {
    const QWidget* toolbars = findChild<QWidget*>(QStringLiteral("MainFormPanel"));
    const int needed = toolbars->sizeHint().width() + 2 * kBorderWidth;
    setMinimumWidth(std::max(kMinimumWindow.width(), needed));
}

QWidget* TMainForm::BuildCommandToolbars(QWidget* parent) {
    auto* mainFormPanel = new TExPanel(parent);
    mainFormPanel->setObjectName(QStringLiteral("MainFormPanel"));
    mainFormPanel->SetBevelKind(TExPanel::TBevelKind::Flat);
    mainFormPanel->SetBevelOuter(TExPanel::TBevelCut::Raised);
    mainFormPanel->SetBevelEdges({});
    mainFormPanel->setFixedHeight(kMainFormPanelHeight);
    QBoxLayout* row = FillWith(mainFormPanel, QBoxLayout::LeftToRight);

    tagsToolBar_ =
        NewToolBar(mainFormPanel, "TagsToolBar", kCommandImageSize, Qt::ToolButtonTextUnderIcon);
    areaToolButton_ =
        AddCommandButton(tagsToolBar_, "AreaToolButton", QStringLiteral("area"), 5,
                         QStringLiteral(" Scan/update area tags (On/Off)"), kTagsButtonSize, true);
    imgToolButton_ =
        AddCommandButton(tagsToolBar_, "ImgToolButton", QStringLiteral("img"), 6,
                         QStringLiteral(" Scan/update img tags (On/Off)"), kTagsButtonSize, true);
    inputToolButton_ = AddCommandButton(
        tagsToolBar_, "InputToolButton", QStringLiteral("  input (image)  "), 7,
        QStringLiteral(" Scan/update input (image) tags (On/Off)"), kTagsButtonSize, true);
    AddSeparator(tagsToolBar_, "ToolButton5");
    subfoldersToolButton_ =
        AddCommandButton(tagsToolBar_, "SubfoldersToolButton", QStringLiteral("Subfolders"), 10,
                         QStringLiteral(" Include subfolders (On/Off)"), kTagsButtonSize, true);
    row->addWidget(tagsToolBar_);

    processToolBar_ =
        NewToolBar(mainFormPanel, "ProcessToolBar", kCommandImageSize, Qt::ToolButtonTextUnderIcon);
    AddSeparator(processToolBar_, "ToolButton4");
    scanSpeedButton_ =
        AddCommandButton(processToolBar_, "ScanSpeedButton", QStringLiteral("        Scan        "),
                         2, QStringLiteral(" Scan"), kProcessButtonSize);
    AddSeparator(processToolBar_, "ToolButton3");
    previewToolButton_ =
        AddCommandButton(processToolBar_, "PreviewToolButton", QStringLiteral("Preview"), 9,
                         QStringLiteral(" Preview (On/Off)"), kProcessButtonSize, true);
    addAltToolButton_ =
        AddCommandButton(processToolBar_, "AddAltToolButton", QStringLiteral("Add alt"), 3,
                         QStringLiteral(" Add alt attributes"), kProcessButtonSize);
    addTitleToolButton_ =
        AddCommandButton(processToolBar_, "AddTitleToolButton", QStringLiteral("Add title"), 4,
                         QStringLiteral(" Add title attributes"), kProcessButtonSize);
    row->addWidget(processToolBar_);
    AddEdge(row);

    QToolBar* stopToolBar =
        NewToolBar(mainFormPanel, "StopToolBar", kCommandImageSize, Qt::ToolButtonTextUnderIcon);
    stopToolButton_ =
        AddCommandButton(stopToolBar, "StopToolButton", QStringLiteral("        Stop         "), 8,
                         QStringLiteral(" Stop process"), kProcessButtonSize);
    row->addWidget(stopToolBar);
    AddEdge(row);
    row->addStretch(1);
    return mainFormPanel;
}

void TMainForm::BuildWorkPanel(QWidget* parent) {
    workPanel_ = NewPanel(parent, "WorkPanel");
    vertSplitter_ = new TPaneSplitter(Qt::Vertical, TPaneSplitter::Pane::Second,
                                      kVertSplitterMinSize, workPanel_);
    vertSplitter_->setObjectName(QStringLiteral("VertSplitter"));
    horzSplitter_ = new TPaneSplitter(Qt::Horizontal, TPaneSplitter::Pane::First,
                                      kHorzSplitterMinSize, vertSplitter_);
    horzSplitter_->setObjectName(QStringLiteral("HorzSplitter"));

    QWidget* foldersPanel = BuildFolders(horzSplitter_);
    filesListView_ = new TFileListView(horzSplitter_);
    horzSplitter_->SetPanes(foldersPanel, filesListView_);
    horzSplitter_->SetPaneSize(kFoldersWidth);

    vertSplitter_->SetPanes(horzSplitter_, BuildLogPanel(vertSplitter_));
    vertSplitter_->SetPaneSize(kLogHeight);
    FillWith(workPanel_, QBoxLayout::TopToBottom)->addWidget(vertSplitter_);
    ConnectFileList();
    for (TPaneSplitter* splitter : {horzSplitter_, vertSplitter_, splitter1_}) {
        connect(splitter, &QSplitter::splitterMoved, this, &TMainForm::TakePaneProportions);
    }
}

QWidget* TMainForm::BuildFolders(QWidget* parent) {
    QWidget* foldersPanel = NewPanel(parent, "FoldersPanel");
    auto* foldersHeaderPanel = new QLabel(QStringLiteral(" Folders"), foldersPanel);
    foldersHeaderPanel->setObjectName(QStringLiteral("FoldersHeaderPanel"));
    foldersHeaderPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    foldersHeaderPanel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    foldersHeaderPanel->setFixedHeight(kFoldersHeaderHeight);
    folderPathEdit_ = new QLineEdit(foldersPanel);
    folderPathEdit_->setObjectName(QStringLiteral("FolderPathEdit"));
    folderPathEdit_->setPlaceholderText(QStringLiteral("Type or paste a folder"));
    folderPathEdit_->setToolTip(QStringLiteral("Type or paste a folder and press Enter"));
    connect(folderPathEdit_, &QLineEdit::returnPressed, this, [this] {
        const QString typed = folderPathEdit_->text().trimmed();
        if (!typed.isEmpty()) {
            OpenPath(QDir::fromNativeSeparators(typed));
        }
    });
    foldersShellTreeView_ = new TFolderTree(foldersPanel);
    foldersShellTreeView_->setFrameShape(QFrame::NoFrame);
    QBoxLayout* column = FillWith(foldersPanel, QBoxLayout::TopToBottom);
    column->addWidget(foldersHeaderPanel);
    column->addWidget(folderPathEdit_);
    column->addWidget(foldersShellTreeView_, 1);
    return foldersPanel;
}

QWidget* TMainForm::BuildLogPanel(QWidget* parent) {
    QWidget* logPanel = NewPanel(parent, "LogPanel");
    splitter1_ =
        new TPaneSplitter(Qt::Horizontal, TPaneSplitter::Pane::Second, kSplitter1MinSize, logPanel);
    splitter1_->setObjectName(QStringLiteral("Splitter1"));
    logRichEdit_ = new TLogView(splitter1_);
    BuildLogLists(splitter1_);
    splitter1_->SetPanes(logRichEdit_, logListsPanel_);
    splitter1_->SetPaneSize(kLogListsWidth);
    FillWith(logPanel, QBoxLayout::TopToBottom)->addWidget(splitter1_);
    return logPanel;
}

void TMainForm::BuildLogLists(QWidget* parent) {
    logListsPanel_ = NewPanel(parent, "LogListsPanel");
    logListsPanel_->setBackgroundRole(QPalette::Base);
    logListsPanel_->setAutoFillBackground(true);
    logListsPanel_->resize(kLogListsWidth, kLogHeight);

    // Children are placed by hand: their places follow the panel's width in proportion.
    referenceLists_ = new TReferenceLists(logListsPanel_);
    refImagesListBox_ = referenceLists_->RefImagesListBox();
    refImagesListBox_->setFrameShape(QFrame::NoFrame);
    refsGroupBox_ = NewGroupBox(logListsPanel_, "RefsGroupBox",
                                QStringLiteral(" References Found "), kRefsBox, refImagesListBox_);
    ignoreImgSpeedButton_ = referenceLists_->IgnoreImgSpeedButton();
    PlaceMoveButton(ignoreImgSpeedButton_, kIgnoreButton);
    stopIgnoreImgSpeedButton_ = referenceLists_->StopIgnoreImgSpeedButton();
    PlaceMoveButton(stopIgnoreImgSpeedButton_, kStopIgnoreButton);
    ignoreImagesListBox_ = referenceLists_->IgnoreImagesListBox();
    ignoreImagesListBox_->setFrameShape(QFrame::NoFrame);
    refsIgnoredGroupBox_ =
        NewGroupBox(logListsPanel_, "RefsIgnoredGroupBox", QStringLiteral(" References Ignored "),
                    kRefsIgnoredBox, ignoreImagesListBox_);
    logListsPanel_->installEventFilter(this);
}

QWidget* TMainForm::BuildLogToolBar(QWidget* parent) {
    QWidget* logToolBarPanel = NewPanel(parent, "LogToolBarPanel");
    logToolBarPanel->setFixedHeight(kLogToolBarHeight);
    QToolBar* logToolBar =
        NewToolBar(logToolBarPanel, "LogToolBar", kLogImageSize, Qt::ToolButtonIconOnly);
    openLogToolButton_ = AddButton(logToolBar, "OpenLogToolButton", LogToolbarIcon(0),
                                   QStringLiteral("Open Log"), QStringLiteral(" Open Log"));
    saveLogToolButton_ = AddButton(logToolBar, "SaveLogToolButton", LogToolbarIcon(1),
                                   QStringLiteral("Save Log"), QStringLiteral(" Save Log"));
    AddSeparator(logToolBar, "ToolButton1");
    printLogToolButton_ = AddButton(logToolBar, "PrintLogToolButton", LogToolbarIcon(2),
                                    QStringLiteral("Print Log"), QStringLiteral(" Print Log"));
    copyToolButton_ =
        AddButton(logToolBar, "CopyToolButton", LogToolbarIcon(4),
                  QStringLiteral("Copy To Clipboard"), QStringLiteral(" Copy To Clipboard"));
    AddSeparator(logToolBar, "ToolButton2");
    clearLogToolButton_ = AddButton(logToolBar, "ClearLogToolButton", LogToolbarIcon(3),
                                    QStringLiteral("Clear Log"), QStringLiteral(" Clear Log"));
    AddSeparator(logToolBar, "ToolButton6");

    progressLabel_ = new QLabel(QStringLiteral(" Progress : "), logToolBar);
    progressLabel_->setObjectName(QStringLiteral("ProgressLabel"));
    progressLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    progressLabel_->setMinimumSize(kProgressLabelSize);
    progressLabel_->setEnabled(false);
    logToolBar->addWidget(progressLabel_);

    auto* exPanel1 = new TExPanel(logToolBar);  // the gauge's bevelled frame
    exPanel1->setObjectName(QStringLiteral("ExPanel1"));
    exPanel1->SetBevelKind(TExPanel::TBevelKind::Tile);
    exPanel1->SetBevelInner(TExPanel::TBevelCut::Space);
    exPanel1->SetBevelOuter(TExPanel::TBevelCut::Space);
    exPanel1->setFixedSize(kExPanel1Size);
    progressGauge_ = new TProgressGauge(exPanel1);
    progressGauge_->setEnabled(false);
    FillWith(exPanel1, QBoxLayout::LeftToRight)->addWidget(progressGauge_);
    logToolBar->addWidget(exPanel1);
    AddSeparator(logToolBar, "ToolButton7");

    QBoxLayout* row = FillWith(logToolBarPanel, QBoxLayout::LeftToRight);
    row->addWidget(logToolBar);
    AddEdge(row);
    row->addStretch(1);
    return logToolBarPanel;
}

void TMainForm::ConnectFileList() {
    filesListView_->setContextMenuPolicy(Qt::CustomContextMenu);
    filesListView_->setFrameShape(QFrame::NoFrame);
    // Any change of rows or selection brings the commands up to date and resets the progress
    // display (the list refuses such changes during a run).
    connect(filesListView_, &TFileListView::SelectionChanged, this, [this] {
        UpdateFileCommands();
        ResetProgress();
    });
    foldersShellTreeView_->SetListFilesReceiver(this);
    connect(foldersShellTreeView_, &TFolderTree::CurrentFolderChanged, this,
            [this](const QString& folder) {
                CurrentFolder = QFile::encodeName(folder).toStdString();
                ShowCurrentFolder(folder);
            });
}

}  // namespace vantaro
