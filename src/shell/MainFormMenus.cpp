// The menu bar and the context menus of the main window.

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTreeView>

#include "shell/log/LogCommands.h"
#include "shell/log/LogView.h"
#include "shell/CMainForm.h"

#include "shell/references/ReferenceListBoxes.h"
#include "shell/FileListView.h"
#include "shell/ImageLists.h"

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
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    File1 = AddMenu(MainMenu1, "File1", QStringLiteral("File"));
    SelectAll1 = AddItem(File1, "SelectAll1", QStringLiteral("Select All"), 0, Ctrl(Qt::Key_A));
    DeselectAll1 = AddItem(File1, "DeselectAll1", QStringLiteral("Deselect All"), 1);
    AddSeparator(File1, "N1");
    Preferences1 = AddItem(File1, "Preferences1", QStringLiteral("Preferences..."), 2);
    AddSeparator(File1, "N2");
    Exit1 = AddItem(File1, "Exit1", QStringLiteral("Exit"));

    Tools1 = AddMenu(MainMenu1, "Tools1", QStringLiteral("Tools"));
    area1 = AddCheckItem(Tools1, "area1", QStringLiteral("area"));
    img1 = AddCheckItem(Tools1, "img1", QStringLiteral("img"));
    input1 = AddCheckItem(Tools1, "input1", QStringLiteral("input (image)"));
    AddSeparator(Tools1, "N3");
    Scan1 = AddItem(Tools1, "Scan1", QStringLiteral("Scan"), 17, QKeySequence(Qt::Key_F2));
    AddSeparator(Tools1, "N14");
    Preview1 = AddCheckItem(Tools1, "Preview1", QStringLiteral("Preview"));
    AddAlt1 = AddItem(Tools1, "AddAlt1", QStringLiteral("Add alt"), 3, QKeySequence(Qt::Key_F3));
    AddTitle1 =
        AddItem(Tools1, "AddTitle1", QStringLiteral("Add title"), 4, QKeySequence(Qt::Key_F4));
    AddSeparator(Tools1, "N9");
    Stop1 = AddItem(Tools1, "Stop1", QStringLiteral("Stop"), 18, QKeySequence(Qt::Key_Escape));

    Log1 = AddMenu(MainMenu1, "Log1", QStringLiteral("Log"));
    Open1 = AddItem(Log1, "Open1", QStringLiteral("Open..."), 5, Ctrl(Qt::Key_O));
    Save1 = AddItem(Log1, "Save1", QStringLiteral("Save..."), 6, Ctrl(Qt::Key_S));
    Print1 = AddItem(Log1, "Print1", QStringLiteral("Print..."), 7, Ctrl(Qt::Key_P));
    Copy1 = AddItem(Log1, "Copy1", QStringLiteral("Copy To Clipboard"), 8, Ctrl(Qt::Key_C));
    Clear1 = AddItem(Log1, "Clear1", QStringLiteral("Clear"), 9);
    AddSeparator(Log1, "N5");
    ShowmissingAlts1 = AddCheckItem(Log1, "ShowmissingAlts1",
                                    QStringLiteral("Show Missing alt Attributes in Scan"));
    ShowmissingTitles1 = AddCheckItem(Log1, "ShowmissingTitles1",
                                      QStringLiteral("Show Missing title Attributes in Scan"));

    Help1 = AddMenu(MainMenu1, "Help1", QStringLiteral("Help"));
    Help2 = AddItem(Help1, "Help2", QStringLiteral("Help Topics..."), 10, QKeySequence(Qt::Key_F1));
    AddSeparator(Help1, "N6");
    About1 = AddItem(Help1, "About1", QStringLiteral("About Vantaro..."), 11);
    Feedback1 = AddItem(Help1, "Feedback1", QStringLiteral("Leave Feedback"), 12);
    AddSeparator(Help1, "N7");
    Update1 = AddItem(Help1, "Update1", QStringLiteral("Updates..."), 13);
    CorvellOnline1 = AddItem(Help1, "CorvellOnline1", QStringLiteral("Corvell Online"), 14);
}

void TMainForm::BuildPopupMenus() {
    FileListViewPopupMenu = NewPopupMenu(this, "FileListViewPopupMenu");
    SelectAll2 = AddItem(FileListViewPopupMenu, "SelectAll2", QStringLiteral("Select All"), 0);
    DeselectAll2 =
        AddItem(FileListViewPopupMenu, "DeselectAll2", QStringLiteral("Deselect All"), 1);
    AddSeparator(FileListViewPopupMenu, "N10");
    area2 = AddCheckItem(FileListViewPopupMenu, "area2", QStringLiteral("area"));
    img2 = AddCheckItem(FileListViewPopupMenu, "img2", QStringLiteral("img"));
    inputimage1 =
        AddCheckItem(FileListViewPopupMenu, "inputimage1", QStringLiteral("input (image)"));
    AddSeparator(FileListViewPopupMenu, "N11");
    Scan2 = AddItem(FileListViewPopupMenu, "Scan2", QStringLiteral("Scan"), 17);
    AddSeparator(FileListViewPopupMenu, "N4");
    Preview2 = AddCheckItem(FileListViewPopupMenu, "Preview2", QStringLiteral("Preview"));
    Addalt2 = AddItem(FileListViewPopupMenu, "Addalt2", QStringLiteral("Add alt"), 3);
    Addtitle2 = AddItem(FileListViewPopupMenu, "Addtitle2", QStringLiteral("Add title"), 4);
    connect(FileListViewPopupMenu, &QMenu::aboutToShow, this,
            &TMainForm::FileListViewPopupMenuPopup);
    connect(FilesListView, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        FileListViewPopupMenu->popup(FilesListView->viewport()->mapToGlobal(at));
    });

    // The ignored list's context menu comes with the reference lists; it gets its images here.
    IgnoreImgsListBoxPopupMenu = referenceLists_->IgnoreImgsListBoxPopupMenu();
    Delete1 = referenceLists_->Delete1();
    Delete1->setIcon(MenuIcon(19));
    SelectAll3 = referenceLists_->SelectAll3();
    SelectAll3->setIcon(MenuIcon(0));
}

// LogPopupMenu and its one item come with the log commands.
void TMainForm::BuildLogPopupMenu() {
    CopyToClipboard1 = logCommands_->CopyToClipboard1();
    CopyToClipboard1->setIcon(MenuIcon(8));
}

}  // namespace vantaro
