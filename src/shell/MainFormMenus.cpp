// The menu bar and the context menus of the main window.

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTreeView>

#include "shell/CMainForm.h"
#include "shell/log/LogCommands.h"
#include "shell/log/LogView.h"

#include "shell/FileListView.h"
#include "shell/ImageLists.h"
#include "shell/RecentFolders.h"
#include "shell/references/ReferenceListBoxes.h"

namespace vantaro {

namespace {

constexpr int kNoImage = -1;

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QMenu* NewPopupMenu(QWidget* owner, const char* name) {
    auto* menu = new QMenu(owner);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption, int image = kNoImage,
                 const QKeySequence& shortcut = {}) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    if (image != kNoImage) {
        item->setIcon(MenuIcon(image));
    }
    item->setShortcut(shortcut);
    return item;
}

QAction* AddCheckItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* item = AddItem(menu, name, caption);
    item->setCheckable(true);
    return item;
}

void AddSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

QKeySequence Ctrl(Qt::Key key) {
    return QKeySequence(Qt::CTRL | key);
}

}  // namespace

void TMainForm::BuildMainMenu() {
    QMenuBar* mainMenu1 = menuBar();
    mainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file1 = AddMenu(mainMenu1, "File1", QStringLiteral("&File"));
    selectAll1_ = AddItem(file1, "SelectAll1", QStringLiteral("Select All"), 0, Ctrl(Qt::Key_A));
    deselectAll1_ = AddItem(file1, "DeselectAll1", QStringLiteral("Deselect All"), 1);
    AddSeparator(file1, "N1");
    preferences1_ = AddItem(file1, "Preferences1", QStringLiteral("Preferences..."), 2);
    AddSeparator(file1, "N2");
    QMenu* recent = file1->addMenu(QStringLiteral("Recent Folders"));
    recent->setObjectName(QStringLiteral("RecentFolders1"));
    recentFolders_ = new TRecentFolders(*recent, this);
    connect(recentFolders_, &TRecentFolders::FolderChosen, this, [this](const QString& folder) {
        if (!OpenPath(folder)) {
            recentFolders_->Forget(QFile::encodeName(folder).toStdString());
        }
    });
    AddSeparator(file1, "N15");
    exit1_ = AddItem(file1, "Exit1", QStringLiteral("Exit"));

    QMenu* tools1 = AddMenu(mainMenu1, "Tools1", QStringLiteral("&Tools"));
    area1_ = AddCheckItem(tools1, "area1", QStringLiteral("area"));
    img1_ = AddCheckItem(tools1, "img1", QStringLiteral("img"));
    input1_ = AddCheckItem(tools1, "input1", QStringLiteral("input (image)"));
    AddSeparator(tools1, "N16");
    includeSubfolders1_ =
        AddCheckItem(tools1, "IncludeSubfolders1", QStringLiteral("Include Subfolders"));
    AddSeparator(tools1, "N3");
    scan1_ = AddItem(tools1, "Scan1", QStringLiteral("Scan"), 17, QKeySequence(Qt::Key_F2));
    AddSeparator(tools1, "N14");
    preview1_ = AddCheckItem(tools1, "Preview1", QStringLiteral("Preview"));
    addAlt1_ = AddItem(tools1, "AddAlt1", QStringLiteral("Add alt"), 3, QKeySequence(Qt::Key_F3));
    addTitle1_ =
        AddItem(tools1, "AddTitle1", QStringLiteral("Add title"), 4, QKeySequence(Qt::Key_F4));
    AddSeparator(tools1, "N9");
    stop1_ = AddItem(tools1, "Stop1", QStringLiteral("Stop"), 18, QKeySequence(Qt::Key_Escape));

    QMenu* log1 = AddMenu(mainMenu1, "Log1", QStringLiteral("&Log"));
    open1_ = AddItem(log1, "Open1", QStringLiteral("Open..."), 5, Ctrl(Qt::Key_O));
    save1_ = AddItem(log1, "Save1", QStringLiteral("Save..."), 6, Ctrl(Qt::Key_S));
    print1_ = AddItem(log1, "Print1", QStringLiteral("Print..."), 7, Ctrl(Qt::Key_P));
    copy1_ = AddItem(log1, "Copy1", QStringLiteral("Copy To Clipboard"), 8, Ctrl(Qt::Key_C));
    clear1_ = AddItem(log1, "Clear1", QStringLiteral("Clear"), 9);
    AddSeparator(log1, "N5");
    showmissingAlts1_ = AddCheckItem(log1, "ShowmissingAlts1",
                                     QStringLiteral("Show Missing alt Attributes in Scan"));
    showmissingTitles1_ = AddCheckItem(log1, "ShowmissingTitles1",
                                       QStringLiteral("Show Missing title Attributes in Scan"));

    QMenu* help1 = AddMenu(mainMenu1, "Help1", QStringLiteral("&Help"));
    help2_ =
        AddItem(help1, "Help2", QStringLiteral("Help Topics..."), 10, QKeySequence(Qt::Key_F1));
    AddSeparator(help1, "N6");
    about1_ = AddItem(help1, "About1", QStringLiteral("About Vantaro..."), 11);
    feedback1_ = AddItem(help1, "Feedback1", QStringLiteral("Leave Feedback"), 12);
    AddSeparator(help1, "N7");
    update1_ = AddItem(help1, "Update1", QStringLiteral("Updates..."), 13);
    corvellOnline1_ = AddItem(help1, "CorvellOnline1", QStringLiteral("Corvell Online"), 14);
}

void TMainForm::BuildPopupMenus() {
    QMenu* fileListViewPopupMenu = NewPopupMenu(this, "FileListViewPopupMenu");
    selectAll2_ = AddItem(fileListViewPopupMenu, "SelectAll2", QStringLiteral("Select All"), 0);
    deselectAll2_ =
        AddItem(fileListViewPopupMenu, "DeselectAll2", QStringLiteral("Deselect All"), 1);
    AddSeparator(fileListViewPopupMenu, "N10");
    area2_ = AddCheckItem(fileListViewPopupMenu, "area2", QStringLiteral("area"));
    img2_ = AddCheckItem(fileListViewPopupMenu, "img2", QStringLiteral("img"));
    inputimage1_ =
        AddCheckItem(fileListViewPopupMenu, "inputimage1", QStringLiteral("input (image)"));
    AddSeparator(fileListViewPopupMenu, "N11");
    scan2_ = AddItem(fileListViewPopupMenu, "Scan2", QStringLiteral("Scan"), 17);
    AddSeparator(fileListViewPopupMenu, "N4");
    preview2_ = AddCheckItem(fileListViewPopupMenu, "Preview2", QStringLiteral("Preview"));
    addalt2_ = AddItem(fileListViewPopupMenu, "Addalt2", QStringLiteral("Add alt"), 3);
    addtitle2_ = AddItem(fileListViewPopupMenu, "Addtitle2", QStringLiteral("Add title"), 4);
    connect(fileListViewPopupMenu, &QMenu::aboutToShow, this,
            &TMainForm::FileListViewPopupMenuPopup);
    connect(filesListView_, &QWidget::customContextMenuRequested, this,
            [this, fileListViewPopupMenu](QPoint at) {
                fileListViewPopupMenu->popup(filesListView_->viewport()->mapToGlobal(at));
            });

    // The ignored list's context menu comes with the reference lists; it gets its images here.
    referenceLists_->Delete1()->setIcon(MenuIcon(19));
    referenceLists_->SelectAll3()->setIcon(MenuIcon(0));
}

// LogPopupMenu's items come with the log commands and the log's page commands.
void TMainForm::BuildLogPopupMenu() {
    logCommands_->CopyToClipboard1()->setIcon(MenuIcon(8));
}

}  // namespace vantaro
