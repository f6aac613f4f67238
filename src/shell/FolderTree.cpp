#include "shell/FolderTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "shell/KeepSelectionVisible.h"
#include "shell/Prompter.h"

namespace vantaro {

namespace {

const QString Root = QStringLiteral("/");

QString WithTrailingSlash(const QString& path) {
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

}  // namespace

void PostWindowMessage(QObject* receiver, QEvent::Type message) {
    QCoreApplication::postEvent(receiver, new QEvent(message));
}

QString ResolveFolderShortcut(const QString& folderPath) {
    const QFileInfo link(folderPath);
    if (!link.isSymLink()) {
        return WithTrailingSlash(folderPath);
    }
    const QString target = link.canonicalFilePath();
    return WithTrailingSlash(target.isEmpty() ? folderPath : target);
}

TFolderTree::TFolderTree(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    setObjectName(QStringLiteral("FoldersShellTreeView"));
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    model_->setRootPath(Root);
    // Connected before the view's selection model, so a removal that takes the selected folder's
    // row is known before the selection moves to a neighbour.
    connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            &TFolderTree::NoteSelectedRowRemoval);
    setModel(model_);

    for (int column = 1; column < model_->columnCount(); ++column) {
        hideColumn(column);
    }
    header()->hide();
    setIndentation(19);
    setRootIsDecorated(false);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    KeepSelectionVisible(*this);

    expand(model_->index(Root));
    ExpandTo(model_->index(QDir::homePath()));
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFolderTree::FoldersShellTreeViewChange);
    connect(model_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& filled) { FollowSelectedFolder(filled); });
    // New rows are sorted into place a moment after they arrive.
    connect(model_, &QAbstractItemModel::layoutChanged, this,
            [this] { FollowSelectedFolder(followed_.parent()); });
    connect(verticalScrollBar(), &QScrollBar::sliderPressed, this, &TFolderTree::StopFollowing);
}

void TFolderTree::FollowSelectedFolder(const QModelIndex& parent) {
    if (!followed_.isValid() || currentIndex() != followed_) {
        StopFollowing();
        return;
    }
    for (QModelIndex above = followed_.parent(); above.isValid(); above = above.parent()) {
        if (above == parent) {
            scrollTo(followed_);
            return;
        }
    }
}

void TFolderTree::NoteSelectedRowRemoval(const QModelIndex& parent, int first, int last) {
    if (!removedSelection_.isEmpty()) {
        return;
    }
    for (QModelIndex each = currentIndex(); each.isValid(); each = each.parent()) {
        if (each.parent() == parent && each.row() >= first && each.row() <= last) {
            removedSelection_ = model_->filePath(currentIndex());
            followRestored_ = followed_.isValid() && followed_ == currentIndex();
            QMetaObject::invokeMethod(this, &TFolderTree::RestoreSelection, Qt::QueuedConnection);
            return;
        }
    }
}

// The model drops and re-adds rows of folders it refreshes, and drops folders deleted on disk:
// the selected folder is selected again while it exists, else the nearest folder above it.
void TFolderTree::RestoreSelection() {
    QString path = removedSelection_;
    while (!QFileInfo(path).isDir() && path != Root) {
        path = QFileInfo(path).absolutePath();
    }
    // Still marked as restoring, so selecting the same folder again does not list it again
    // (which would lose the file list's selection).
    const QModelIndex index = model_->index(path);
    if (index.isValid() && index != currentIndex()) {
        setCurrentIndex(index);
    }
    if (followRestored_) {
        followed_ = index;
        scrollTo(index);
    }
    removedSelection_.clear();
    if (ResolveFolderShortcut(path) != currentFolder_) {
        FoldersShellTreeViewChange();
    }
}

void TFolderTree::SetListFilesReceiver(QObject* receiver) {
    listFilesReceiver_ = receiver;
}

bool TFolderTree::SelectFolder(const QString& path) {
    const QModelIndex index =
        QFileInfo(path).isDir() ? model_->index(QDir::cleanPath(path)) : QModelIndex();
    if (!index.isValid()) {
        ShowError(this, QStringLiteral("Error setting path: \"%1\"").arg(path));
        return false;
    }
    ExpandTo(index.parent());
    setCurrentIndex(index);
    scrollTo(index);
    followed_ = index;
    return true;
}

void TFolderTree::ExpandTo(const QModelIndex& index) {
    for (QModelIndex each = index; each.isValid(); each = each.parent()) {
        expand(each);
    }
}

void TFolderTree::FoldersShellTreeViewChange() {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty() || !removedSelection_.isEmpty()) {
        return;  // nothing to list; the last folder stays
    }
    // The model re-selects the shown folder when it refreshes the folders around it; listing it
    // again would drop the file list's selection.
    const QString folder = ResolveFolderShortcut(model_->filePath(selected.first()));
    if (folder == currentFolder_) {
        return;
    }
    viewport()->repaint();
    currentFolder_ = folder;
    emit CurrentFolderChanged(currentFolder_);
    if (listFilesReceiver_ != nullptr) {
        PostWindowMessage(listFilesReceiver_, UM_LISTFILES);
    }
}

bool TFolderTree::edit(const QModelIndex&, EditTrigger, QEvent*) {
    return FoldersShellTreeViewEditing();
}

// The folder under a right click becomes the selected one, so a context action works on it.
void TFolderTree::mousePressEvent(QMouseEvent* event) {
    StopFollowing();
    if (event->button() == Qt::RightButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid()) {
            setCurrentIndex(index);
        }
    }
    QTreeView::mousePressEvent(event);
}

void TFolderTree::wheelEvent(QWheelEvent* event) {
    StopFollowing();
    QTreeView::wheelEvent(event);
}

void TFolderTree::keyPressEvent(QKeyEvent* event) {
    StopFollowing();
    QTreeView::keyPressEvent(event);
}

}  // namespace vantaro
