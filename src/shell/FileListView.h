#pragma once

#include <QItemSelectionModel>
#include <QString>
#include <QStringList>
#include <QTreeView>
#include <QUrl>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "settings/FileFormats.h"
#include "shell/FileListModel.h"

namespace vantaro {

// A selection model that refuses every change of the selection and the current row while
// refuse() says so.
class TGuardedSelectionModel : public QItemSelectionModel {
    Q_OBJECT

  public:
    TGuardedSelectionModel(QAbstractItemModel* model, std::function<bool()> refuse,
                           QObject* parent);

    void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override;
    void select(const QModelIndex& index, SelectionFlags command) override;
    void select(const QItemSelection& selection, SelectionFlags command) override;
    void clear() override;
    void clearCurrentIndex() override;

  private:
    std::function<bool()> refuse_;
};

// The file list (FilesListView): the page files of one folder, one row each, sorted by name in
// word-sort order. The selected rows are a run's input, so while a run is in progress neither
// the selection nor the rows change: a listing asked for meanwhile waits for the run's end.
class TFileListView : public QTreeView {
    Q_OBJECT

  public:
    using FileOpener = std::function<void(const QUrl&)>;

    explicit TFileListView(QWidget* parent = nullptr);

    // Replaces the rows by the folder's files of the active extensions: the enabled rows of
    // FileFormats() and the ";"-separated other formats.
    void ListFolderFiles(const QString& folder, const std::string& otherFileFormats);
    // After Preferences changed the active extensions: drops the rows of extensions no longer
    // active and adds the listed folder's files of newly active ones, unselected, in sorted
    // place. The other rows keep their selection.
    void ApplyFormatChanges(const FileFormatTable& oldFormats, const FileFormatTable& newFormats,
                            const std::string& newOtherFileFormats,
                            const std::string& oldOtherFileFormats);

    // The window's busy state. Leaving it carries out a listing that waited for it.
    void SetProcessing(bool processing);
    // Lists the shown folder again, keeping the selection: after a run, sizes and dates change.
    void RefreshRows();

    // Refused while processing.
    void SelectAllFiles();
    void DeselectAllFiles();
    // Selects the row of this file (named as the file system spells it) alone and scrolls to
    // it; false when no row has that name.
    bool SelectFile(const std::string& name);

    // Opens the first selected row (in row order) with the desktop's handler; the outcome is
    // not looked at.
    void FilesListViewDblClick();
    void SetFileOpener(FileOpener opener);

    // The folder the rows belong to, ending in '/'.
    const QString& Folder() const { return folder_; }
    int RowCount() const;
    int SelectedCount() const;
    QString Caption(int row) const;
    // The selected rows in row order: as shown, and as the file system spells them.
    QStringList SelectedCaptions() const;
    std::vector<std::string> SelectedPageNames() const;

    TFileListModel& FileModel() const { return *model_; }

  signals:
    // The rows or their selection changed (never while processing).
    void SelectionChanged();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // A cell too narrow for its text shows the whole text as its tooltip.
    bool viewportEvent(QEvent* event) override;

  private:
    struct Listing {
        QString folder;
        std::string otherFileFormats;
    };

    std::vector<int> SelectedRows() const;
    void ReplaceRows(std::vector<FileRow> rows, const std::unordered_set<std::string>& selected);
    void SelectNamedRows(const std::unordered_set<std::string>& names);
    void SetUpColumns();
    int FirstStartWidth(int column) const;
    void NotifySelectionChanged();

    TFileListModel* model_ = nullptr;
    QString folder_;
    bool processing_ = false;
    std::optional<Listing> deferred_;
    std::string otherFileFormats_;  // of the last listing
    FileOpener opener_;
    int bulkChanges_ = 0;  // while above 0, one notification comes at the end
};

}  // namespace vantaro
