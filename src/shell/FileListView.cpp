#include "shell/FileListView.h"

#include <QHelpEvent>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QToolTip>

#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMimeDatabase>
#include <QMouseEvent>
#include <algorithm>
#include <iterator>

#include "run/FolderListing.h"
#include "run/ReferenceList.h"
#include "run/WordSort.h"
#include "settings/AppSettings.h"
#include "shell/KeepSelectionVisible.h"

namespace vantaro {

namespace {

// The hourglass for the length of a listing, however the listing ends.
class WaitCursor {
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

std::string FolderBytes(const QString& folder) {
    return QFile::encodeName(folder).toStdString();
}

QString WithTrailingSlash(const QString& folder) {
    return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder
                                                                 : folder + QLatin1Char('/');
}

std::vector<FileRow> RowsOf(std::vector<ListedFile> files) {
    std::vector<FileRow> rows;
    rows.reserve(files.size());
    for (ListedFile& file : files) {
        rows.push_back(RowOf(std::move(file)));
    }
    return rows;
}

std::unordered_set<std::string> FoldedSet(const std::vector<std::string>& extensions) {
    std::unordered_set<std::string> folded;
    for (const std::string& extension : extensions) {
        folded.insert(FoldForLookup(extension));
    }
    return folded;
}

// The extensions of `from` that `other` lacks, letter case aside.
std::vector<std::string> Missing(const std::vector<std::string>& from,
                                 const std::vector<std::string>& other) {
    const std::unordered_set<std::string> present = FoldedSet(other);
    std::vector<std::string> missing;
    for (const std::string& extension : from) {
        if (!extension.empty() && present.count(FoldForLookup(extension)) == 0) {
            missing.push_back(extension);
        }
    }
    return missing;
}

std::string FoldedExtensionOf(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : FoldForLookup(name.substr(dot + 1));
}

}  // namespace

TGuardedSelectionModel::TGuardedSelectionModel(QAbstractItemModel* model,
                                               std::function<bool()> refuse, QObject* parent)
    : QItemSelectionModel(model, parent), refuse_(std::move(refuse)) {}

void TGuardedSelectionModel::setCurrentIndex(const QModelIndex& index, SelectionFlags command) {
    if (!refuse_()) {
        QItemSelectionModel::setCurrentIndex(index, command);
    }
}

void TGuardedSelectionModel::select(const QModelIndex& index, SelectionFlags command) {
    if (!refuse_()) {
        QItemSelectionModel::select(index, command);
    }
}

void TGuardedSelectionModel::select(const QItemSelection& selection, SelectionFlags command) {
    if (!refuse_()) {
        QItemSelectionModel::select(selection, command);
    }
}

void TGuardedSelectionModel::clear() {
    if (!refuse_()) {
        QItemSelectionModel::clear();
    }
}

void TGuardedSelectionModel::clearCurrentIndex() {
    if (!refuse_()) {
        QItemSelectionModel::clearCurrentIndex();
    }
}

TFileListView::TFileListView(QWidget* parent)
    : QTreeView(parent),
      model_(new TFileListModel(this)),
      opener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("FilesListView"));
    setModel(model_);
    setSelectionModel(new TGuardedSelectionModel(
        model_, [this] { return processing_; }, this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(ExtendedSelection);
    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    setSortingEnabled(false);
    setIconSize(QSize(16, 16));
    KeepSelectionVisible(*this);
    SetUpColumns();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFileListView::NotifySelectionChanged);
}

// Each column keeps at least its designed width, also when a stored width is smaller.
// Until a width is stored, a column is as wide as its caption and its usual cells need in this
// platform's font, where that is more.
void TFileListView::SetUpColumns() {
    QHeaderView* columns = header();
    columns->setSectionsClickable(false);
    columns->setSectionsMovable(false);
    columns->setStretchLastSection(false);
    columns->setMinimumSectionSize(48);
    for (std::size_t section = 0; section < kFileColumns.size(); ++section) {
        columns->resizeSection(static_cast<int>(section),
                               FirstStartWidth(static_cast<int>(section)));
    }
    connect(columns, &QHeaderView::sectionResized, this, [columns](int section, int, int size) {
        const int least = kFileColumns[static_cast<std::size_t>(section)].MinimumWidth;
        if (size < least) {
            columns->resizeSection(section, least);
        }
    });
}

int TFileListView::FirstStartWidth(int column) const {
    QString widestCell;
    switch (column) {
        case TFileListModel::SizeColumn:
            widestCell = SizeText(999'999ULL * 1024);
            break;
        case TFileListModel::TypeColumn:
            widestCell =
                QMimeDatabase()
                    .mimeTypeForFile(QStringLiteral("page.html"), QMimeDatabase::MatchExtension)
                    .comment();
            break;
        case TFileListModel::DateColumn:
            widestCell = DateText(QDateTime(QDate(2026, 12, 28), QTime(23, 58)).toSecsSinceEpoch());
            break;
        default:
            break;
    }
    // The margins an item view leaves either side of a cell's text.
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int cell = fontMetrics().horizontalAdvance(widestCell) + margins + 2;
    QStyleOptionHeader captionOption;
    captionOption.initFrom(header());
    captionOption.text = model()->headerData(column, Qt::Horizontal).toString();
    captionOption.fontMetrics = header()->fontMetrics();
    const int caption =
        style()
            ->sizeFromContents(QStyle::CT_HeaderSection, &captionOption, QSize(), header())
            .width();
    return std::max({kFileColumns[static_cast<std::size_t>(column)].MinimumWidth, cell, caption});
}

void TFileListView::ListFolderFiles(const QString& folder, const std::string& otherFileFormats) {
    if (processing_) {
        deferred_ = Listing{folder, otherFileFormats};
        return;
    }
    const WaitCursor wait;
    const std::vector<std::string> extensions = BuildExtensionList(FileFormats(), otherFileFormats);
    std::vector<ListedFile> files = vantaro::ListFolderFiles(FolderBytes(folder), extensions);
    folder_ = WithTrailingSlash(folder);
    otherFileFormats_ = otherFileFormats;
    ReplaceRows(RowsOf(std::move(files)), {});
}

void TFileListView::RefreshRows() {
    if (processing_ || folder_.isEmpty()) {
        return;
    }
    std::unordered_set<std::string> selected;
    for (int row : SelectedRows()) {
        selected.insert(model_->Row(row).Name);
    }
    const std::vector<std::string> extensions =
        BuildExtensionList(FileFormats(), otherFileFormats_);
    ReplaceRows(RowsOf(vantaro::ListFolderFiles(FolderBytes(folder_), extensions)), selected);
}

void TFileListView::ApplyFormatChanges(const FileFormatTable& oldFormats,
                                       const FileFormatTable& newFormats,
                                       const std::string& newOtherFileFormats,
                                       const std::string& oldOtherFileFormats) {
    if (processing_) {
        deferred_ = Listing{folder_, newOtherFileFormats};
        return;
    }
    const WaitCursor wait;
    otherFileFormats_ = newOtherFileFormats;
    const std::vector<std::string> oldList = BuildExtensionList(oldFormats, oldOtherFileFormats);
    const std::vector<std::string> newList = BuildExtensionList(newFormats, newOtherFileFormats);
    const std::unordered_set<std::string> dropped = FoldedSet(Missing(oldList, newList));
    const std::vector<std::string> added = Missing(newList, oldList);
    if (dropped.empty() && added.empty()) {
        return;
    }

    std::unordered_set<std::string> selected;
    for (int row : SelectedRows()) {
        selected.insert(model_->Row(row).Name);
    }
    std::vector<FileRow> kept;
    kept.reserve(model_->Rows().size());
    for (const FileRow& row : model_->Rows()) {
        if (dropped.count(FoldedExtensionOf(row.Name)) == 0) {
            kept.push_back(row);
        }
    }
    const std::vector<FileRow> addedRows =
        RowsOf(vantaro::ListFolderFiles(FolderBytes(folder_), added));
    std::vector<FileRow> rows;
    rows.reserve(kept.size() + addedRows.size());
    std::merge(
        kept.begin(), kept.end(), addedRows.begin(), addedRows.end(), std::back_inserter(rows),
        [](const FileRow& a, const FileRow& b) { return CompareWordSort(a.Name, b.Name) < 0; });
    ReplaceRows(std::move(rows), selected);
}

// One model reset for any number of rows; the rows named in `selected` are selected again.
void TFileListView::ReplaceRows(std::vector<FileRow> rows,
                                const std::unordered_set<std::string>& selected) {
    ++bulkChanges_;
    model_->SetRows(std::move(rows));
    SelectNamedRows(selected);
    --bulkChanges_;
    NotifySelectionChanged();
}

void TFileListView::SelectNamedRows(const std::unordered_set<std::string>& names) {
    if (names.empty()) {
        return;
    }
    QItemSelection selection;
    const int count = RowCount();
    int runStart = -1;
    for (int row = 0; row <= count; ++row) {
        const bool wanted = row < count && names.count(model_->Row(row).Name) > 0;
        if (wanted && runStart < 0) {
            runStart = row;
        } else if (!wanted && runStart >= 0) {
            selection.select(model_->index(runStart, 0), model_->index(row - 1, 0));
            runStart = -1;
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TFileListView::SetProcessing(bool processing) {
    processing_ = processing;
    if (!processing_ && deferred_) {
        const Listing listing = std::move(*deferred_);
        deferred_.reset();
        ListFolderFiles(listing.folder, listing.otherFileFormats);
    }
}

void TFileListView::SelectAllFiles() {
    if (!processing_) {
        selectAll();
    }
}

void TFileListView::DeselectAllFiles() {
    if (!processing_) {
        clearSelection();
    }
}

bool TFileListView::SelectFile(const std::string& name) {
    const std::vector<FileRow>& rows = model_->Rows();
    const auto found = std::find_if(rows.begin(), rows.end(),
                                    [&](const FileRow& row) { return row.Name == name; });
    if (processing_ || found == rows.end()) {
        return false;
    }
    const QModelIndex index = model_->index(static_cast<int>(found - rows.begin()), 0);
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
    return true;
}

void TFileListView::SetFileOpener(FileOpener opener) {
    opener_ = std::move(opener);
}

void TFileListView::FilesListViewDblClick() {
    const std::vector<int> rows = SelectedRows();
    if (!rows.empty() && opener_) {
        opener_(QUrl::fromLocalFile(folder_ + Caption(rows.front())));
    }
}

bool TFileListView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QTreeView::viewportEvent(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.data().toString();
    const QRect cell = visualRect(index);
    // The cell's text area: its width less the icon (name column) and the item margins.
    const int room =
        cell.width() -
        (index.column() == TFileListModel::NameColumn
             ? iconSize().width() + 4 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin)
             : 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin));
    if (index.isValid() && fontMetrics().horizontalAdvance(text) > room) {
        QToolTip::showText(help->globalPos(), text, viewport(), cell);
    } else {
        QToolTip::hideText();
    }
    return true;
}

void TFileListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        FilesListViewDblClick();
    }
}

int TFileListView::RowCount() const {
    return model_->rowCount();
}

int TFileListView::SelectedCount() const {
    return static_cast<int>(selectionModel()->selectedRows().size());
}

QString TFileListView::Caption(int row) const {
    return model_->Row(row).Caption;
}

std::vector<int> TFileListView::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QStringList TFileListView::SelectedCaptions() const {
    QStringList captions;
    for (int row : SelectedRows()) {
        captions.push_back(Caption(row));
    }
    return captions;
}

std::vector<std::string> TFileListView::SelectedPageNames() const {
    std::vector<std::string> names;
    for (int row : SelectedRows()) {
        names.push_back(model_->Row(row).Name);
    }
    return names;
}

void TFileListView::NotifySelectionChanged() {
    if (bulkChanges_ == 0) {
        emit SelectionChanged();
    }
}

}  // namespace vantaro
