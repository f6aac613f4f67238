#include "shell/FolderTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMouseEvent>

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
    model_->setOption(QFileSystemModel::DontWatchForChanges);
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    model_->setRootPath(Root);
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
    return true;
}

void TFolderTree::ExpandTo(const QModelIndex& index) {
    for (QModelIndex each = index; each.isValid(); each = each.parent()) {
        expand(each);
    }
}

void TFolderTree::FoldersShellTreeViewChange() {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return;  // nothing to list; the last folder stays
    }
    viewport()->repaint();
    currentFolder_ = ResolveFolderShortcut(model_->filePath(selected.first()));
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
    if (event->button() == Qt::RightButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid()) {
            setCurrentIndex(index);
        }
    }
    QTreeView::mousePressEvent(event);
}

}  // namespace vantaro
