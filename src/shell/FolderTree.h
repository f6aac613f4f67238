#pragma once

#include <QEvent>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QTreeView>

class QFileSystemModel;

namespace vantaro {

// The main window's two deferred messages, posted (never sent) to it.
inline constexpr QEvent::Type UM_LISTFILES = static_cast<QEvent::Type>(0x8414);
inline constexpr QEvent::Type UM_SHOWDEFAULTPATH = static_cast<QEvent::Type>(0x840A);
static_assert(UM_LISTFILES > QEvent::User && UM_LISTFILES < QEvent::MaxUser);
static_assert(UM_SHOWDEFAULTPATH > QEvent::User && UM_SHOWDEFAULTPATH < QEvent::MaxUser);

// Posts a parameterless message; the receiver handles it once the current event is done.
void PostWindowMessage(QObject* receiver, QEvent::Type message);

// The folder whose files a tree node stands for, ending in '/'. A symbolic link to a folder
// (a folder shortcut) stands for its target; a link that cannot be resolved keeps its own path,
// which cannot be opened as a folder and so lists nothing.
QString ResolveFolderShortcut(const QString& folderPath);

// The folder tree (FoldersShellTreeView): every local folder from "/" down, folders only, read
// only. Each change of the selected folder sets CurrentFolder and posts UM_LISTFILES to the
// receiver given, so the listing runs after the tree has shown its new selection.
class TFolderTree : public QTreeView {
    Q_OBJECT

  public:
    explicit TFolderTree(QWidget* parent = nullptr);

    // Where UM_LISTFILES goes: the main window.
    void SetListFilesReceiver(QObject* receiver);

    // Empty until a folder is selected; otherwise ends in '/'.
    const QString& CurrentFolder() const { return currentFolder_; }

    // Expands the tree to the folder and selects it. A path that is not an existing folder is
    // reported ("Error setting path: ...") and changes nothing.
    bool SelectFolder(const QString& path);

    QFileSystemModel& FileSystemModel() const { return *model_; }

    using QTreeView::edit;

  signals:
    void CurrentFolderChanged(const QString& currentFolder);

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FoldersShellTreeViewChange();
    static bool FoldersShellTreeViewEditing() { return false; }
    void ExpandTo(const QModelIndex& index);
    // The folders above a selected one load in the background and push it down as they fill:
    // it is scrolled back into view until the user moves the tree.
    void FollowSelectedFolder(const QModelIndex& parent);
    void StopFollowing() { followed_ = QPersistentModelIndex(); }
    void NoteSelectedRowRemoval(const QModelIndex& parent, int first, int last);
    void RestoreSelection();

    QFileSystemModel* model_ = nullptr;
    QPointer<QObject> listFilesReceiver_;
    QString currentFolder_;
    QPersistentModelIndex followed_;
    QString removedSelection_;  // set from a removal of the selected row until it is restored
    bool followRestored_ = false;
};

}  // namespace vantaro
