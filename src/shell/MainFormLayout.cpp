// The main window's components and their layout, from the top of the window down.

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "shell/log/LogView.h"
#include "settings/AppSettings.h"
#include "shell/CExPanel.h"
#include "shell/CMainForm.h"

#include "shell/references/ReferenceListBoxes.h"
#include "shell/FileListView.h"
#include "shell/FolderTree.h"
#include "shell/ImageLists.h"
#include "shell/PaneSplitter.h"
#include "shell/ProgressGauge.h"

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

    auto* client = new QWidget(this);
    QBoxLayout* column = FillWith(client, QBoxLayout::TopToBottom);
    column->setContentsMargins(kBorderWidth, kBorderWidth, kBorderWidth, kBorderWidth);
    MainFormPanel = new TExPanel(client);
    BuildCommandToolbars();
    column->addWidget(MainFormPanel);

    // The work panel's bevel lies outside it, so its client size is its whole size.
    auto* bevel = new QFrame(client);
    bevel->setObjectName(QStringLiteral("WorkPanelBevel"));
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setLineWidth(1);
    bevel->setMidLineWidth(1);
    BuildWorkPanel(bevel);
    FillWith(bevel, QBoxLayout::TopToBottom)->addWidget(WorkPanel);
    column->addWidget(bevel, 1);

    SpacerPanel = NewPanel(client, "SpacerPanel");
    SpacerPanel->setFixedHeight(1);
    column->addWidget(SpacerPanel);
    LogToolBarPanel = NewPanel(client, "LogToolBarPanel");
    BuildLogToolBar();
    column->addWidget(LogToolBarPanel);
    setCentralWidget(client);

    StatusBar = statusBar();  // shows the hint of whatever is under the pointer
    StatusBar->setObjectName(QStringLiteral("StatusBar"));

    BuildMainMenu();
    BuildPopupMenus();
}

void TMainForm::BuildCommandToolbars() {
    MainFormPanel->setObjectName(QStringLiteral("MainFormPanel"));
    MainFormPanel->SetBevelKind(TExPanel::TBevelKind::Flat);
    MainFormPanel->SetBevelOuter(TExPanel::TBevelCut::Raised);
    MainFormPanel->SetBevelEdges({});
    MainFormPanel->setFixedHeight(kMainFormPanelHeight);
    QBoxLayout* row = FillWith(MainFormPanel, QBoxLayout::LeftToRight);

    TagsToolBar =
        NewToolBar(MainFormPanel, "TagsToolBar", kCommandImageSize, Qt::ToolButtonTextUnderIcon);
    AreaToolButton =
        AddCommandButton(TagsToolBar, "AreaToolButton", QStringLiteral("area"), 5,
                         QStringLiteral(" Scan/update area tags (On/Off)"), kTagsButtonSize, true);
    ImgToolButton =
        AddCommandButton(TagsToolBar, "ImgToolButton", QStringLiteral("img"), 6,
                         QStringLiteral(" Scan/update img tags (On/Off)"), kTagsButtonSize, true);
    InputToolButton = AddCommandButton(
        TagsToolBar, "InputToolButton", QStringLiteral("  input (image)  "), 7,
        QStringLiteral(" Scan/update input (image) tags (On/Off)"), kTagsButtonSize, true);
    row->addWidget(TagsToolBar);

    ProcessToolBar =
        NewToolBar(MainFormPanel, "ProcessToolBar", kCommandImageSize, Qt::ToolButtonTextUnderIcon);
    AddSeparator(ProcessToolBar, "ToolButton4");
    ScanSpeedButton =
        AddCommandButton(ProcessToolBar, "ScanSpeedButton", QStringLiteral("        Scan        "),
                         2, QStringLiteral(" Scan"), kProcessButtonSize);
    AddSeparator(ProcessToolBar, "ToolButton3");
    PreviewToolButton =
        AddCommandButton(ProcessToolBar, "PreviewToolButton", QStringLiteral("Preview"), 9,
                         QStringLiteral(" Preview (On/Off)"), kProcessButtonSize, true);
    AddAltToolButton =
        AddCommandButton(ProcessToolBar, "AddAltToolButton", QStringLiteral("Add alt"), 3,
                         QStringLiteral(" Add alt attributes"), kProcessButtonSize);
    AddTitleToolButton =
        AddCommandButton(ProcessToolBar, "AddTitleToolButton", QStringLiteral("Add title"), 4,
                         QStringLiteral(" Add title attributes"), kProcessButtonSize);
    row->addWidget(ProcessToolBar);
    AddEdge(row);

    StopToolBar =
        NewToolBar(MainFormPanel, "StopToolBar", kCommandImageSize, Qt::ToolButtonTextUnderIcon);
    StopToolButton =
        AddCommandButton(StopToolBar, "StopToolButton", QStringLiteral("        Stop         "), 8,
                         QStringLiteral(" Stop process"), kProcessButtonSize);
    row->addWidget(StopToolBar);
    AddEdge(row);
    row->addStretch(1);
}

void TMainForm::BuildWorkPanel(QWidget* parent) {
    WorkPanel = NewPanel(parent, "WorkPanel");
    VertSplitter = new TPaneSplitter(Qt::Vertical, TPaneSplitter::Pane::Second,
                                     kVertSplitterMinSize, WorkPanel);
    VertSplitter->setObjectName(QStringLiteral("VertSplitter"));
    HorzSplitter = new TPaneSplitter(Qt::Horizontal, TPaneSplitter::Pane::First,
                                     kHorzSplitterMinSize, VertSplitter);
    HorzSplitter->setObjectName(QStringLiteral("HorzSplitter"));

    BuildFolders(HorzSplitter);
    FilesListView = new TFileListView(HorzSplitter);
    HorzSplitter->SetPanes(FoldersPanel, FilesListView);
    HorzSplitter->SetPaneSize(kFoldersWidth);

    BuildLogPanel(VertSplitter);
    VertSplitter->SetPanes(HorzSplitter, LogPanel);
    VertSplitter->SetPaneSize(kLogHeight);
    FillWith(WorkPanel, QBoxLayout::TopToBottom)->addWidget(VertSplitter);
    ConnectFileList();
    for (TPaneSplitter* splitter : {HorzSplitter, VertSplitter, Splitter1}) {
        connect(splitter, &QSplitter::splitterMoved, this, &TMainForm::TakePaneProportions);
    }
}

void TMainForm::BuildFolders(QWidget* parent) {
    FoldersPanel = NewPanel(parent, "FoldersPanel");
    FoldersHeaderPanel = new QLabel(QStringLiteral(" Folders"), FoldersPanel);
    FoldersHeaderPanel->setObjectName(QStringLiteral("FoldersHeaderPanel"));
    FoldersHeaderPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    FoldersHeaderPanel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FoldersHeaderPanel->setFixedHeight(kFoldersHeaderHeight);
    FoldersShellTreeView = new TFolderTree(FoldersPanel);
    FoldersShellTreeView->setFrameShape(QFrame::NoFrame);
    QBoxLayout* column = FillWith(FoldersPanel, QBoxLayout::TopToBottom);
    column->addWidget(FoldersHeaderPanel);
    column->addWidget(FoldersShellTreeView, 1);
}

void TMainForm::BuildLogPanel(QWidget* parent) {
    LogPanel = NewPanel(parent, "LogPanel");
    Splitter1 =
        new TPaneSplitter(Qt::Horizontal, TPaneSplitter::Pane::Second, kSplitter1MinSize, LogPanel);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    LogRichEdit = new TLogView(Splitter1);
    BuildLogLists(Splitter1);
    Splitter1->SetPanes(LogRichEdit, LogListsPanel);
    Splitter1->SetPaneSize(kLogListsWidth);
    FillWith(LogPanel, QBoxLayout::TopToBottom)->addWidget(Splitter1);
}

void TMainForm::BuildLogLists(QWidget* parent) {
    LogListsPanel = NewPanel(parent, "LogListsPanel");
    LogListsPanel->setBackgroundRole(QPalette::Base);
    LogListsPanel->setAutoFillBackground(true);
    LogListsPanel->resize(kLogListsWidth, kLogHeight);

    // Children are placed by hand: their places follow the panel's width in proportion.
    referenceLists_ = new TReferenceLists(LogListsPanel);
    RefImagesListBox = referenceLists_->RefImagesListBox();
    RefImagesListBox->setFrameShape(QFrame::NoFrame);
    RefsGroupBox = NewGroupBox(LogListsPanel, "RefsGroupBox", QStringLiteral(" References Found "),
                               kRefsBox, RefImagesListBox);
    IgnoreImgSpeedButton = referenceLists_->IgnoreImgSpeedButton();
    PlaceMoveButton(IgnoreImgSpeedButton, kIgnoreButton);
    StopIgnoreImgSpeedButton = referenceLists_->StopIgnoreImgSpeedButton();
    PlaceMoveButton(StopIgnoreImgSpeedButton, kStopIgnoreButton);
    IgnoreImagesListBox = referenceLists_->IgnoreImagesListBox();
    IgnoreImagesListBox->setFrameShape(QFrame::NoFrame);
    RefsIgnoredGroupBox =
        NewGroupBox(LogListsPanel, "RefsIgnoredGroupBox", QStringLiteral(" References Ignored "),
                    kRefsIgnoredBox, IgnoreImagesListBox);
    LogListsPanel->installEventFilter(this);
}

void TMainForm::BuildLogToolBar() {
    LogToolBarPanel->setFixedHeight(kLogToolBarHeight);
    LogToolBar = NewToolBar(LogToolBarPanel, "LogToolBar", kLogImageSize, Qt::ToolButtonIconOnly);
    OpenLogToolButton = AddButton(LogToolBar, "OpenLogToolButton", LogToolbarIcon(0),
                                  QStringLiteral("Open Log"), QStringLiteral(" Open Log"));
    SaveLogToolButton = AddButton(LogToolBar, "SaveLogToolButton", LogToolbarIcon(1),
                                  QStringLiteral("Save Log"), QStringLiteral(" Save Log"));
    AddSeparator(LogToolBar, "ToolButton1");
    PrintLogToolButton = AddButton(LogToolBar, "PrintLogToolButton", LogToolbarIcon(2),
                                   QStringLiteral("Print Log"), QStringLiteral(" Print Log"));
    CopyToolButton =
        AddButton(LogToolBar, "CopyToolButton", LogToolbarIcon(4),
                  QStringLiteral("Copy To Clipboard"), QStringLiteral(" Copy To Clipboard"));
    AddSeparator(LogToolBar, "ToolButton2");
    ClearLogToolButton = AddButton(LogToolBar, "ClearLogToolButton", LogToolbarIcon(3),
                                   QStringLiteral("Clear Log"), QStringLiteral(" Clear Log"));
    AddSeparator(LogToolBar, "ToolButton6");

    ProgressLabel = new QLabel(QStringLiteral(" Progress : "), LogToolBar);
    ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    ProgressLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ProgressLabel->setMinimumSize(kProgressLabelSize);
    ProgressLabel->setEnabled(false);
    LogToolBar->addWidget(ProgressLabel);

    ExPanel1 = new TExPanel(LogToolBar);
    ExPanel1->setObjectName(QStringLiteral("ExPanel1"));
    ExPanel1->SetBevelKind(TExPanel::TBevelKind::Tile);
    ExPanel1->SetBevelInner(TExPanel::TBevelCut::Space);
    ExPanel1->SetBevelOuter(TExPanel::TBevelCut::Space);
    ExPanel1->setFixedSize(kExPanel1Size);
    ProgressGauge = new TProgressGauge(ExPanel1);
    ProgressGauge->setEnabled(false);
    FillWith(ExPanel1, QBoxLayout::LeftToRight)->addWidget(ProgressGauge);
    LogToolBar->addWidget(ExPanel1);
    AddSeparator(LogToolBar, "ToolButton7");

    QBoxLayout* row = FillWith(LogToolBarPanel, QBoxLayout::LeftToRight);
    row->addWidget(LogToolBar);
    AddEdge(row);
    row->addStretch(1);
}

void TMainForm::ConnectFileList() {
    FilesListView->setContextMenuPolicy(Qt::CustomContextMenu);
    FilesListView->setFrameShape(QFrame::NoFrame);
    // Any change of rows or selection brings the commands up to date and resets the progress
    // display (the list refuses such changes during a run).
    connect(FilesListView, &TFileListView::SelectionChanged, this, [this] {
        UpdateFileCommands();
        ResetProgress();
    });
    FoldersShellTreeView->SetListFilesReceiver(this);
    connect(
        FoldersShellTreeView, &TFolderTree::CurrentFolderChanged, this,
        [this](const QString& folder) { CurrentFolder = QFile::encodeName(folder).toStdString(); });
}

}  // namespace vantaro
