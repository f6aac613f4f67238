#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHash>
#include <QIcon>
#include <QLocale>
#include <QMimeDatabase>
#include <QString>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "run/FolderListing.h"

namespace vantaro {

// One row of the file list.
struct FileRow {
    std::string Name;  // as the file system spells it: what a run opens
    QString Caption;   // the name as shown
    std::uint64_t Size = 0;
    std::time_t Modified = 0;
};

FileRow RowOf(ListedFile file);

// "1,464 KB": whole kilobytes rounded down, at least 1, with the locale's thousands separator.
QString SizeText(std::uint64_t bytes, const QLocale& locale = QLocale());
// The last write in local time at two-second resolution: the locale's short date and "hh:mm",
// or the date alone at exactly midnight.
QString DateText(std::time_t modified, const QLocale& locale = QLocale());
// A run's time stamp in the log: the same short date, then the time to the second.
QString TimeStampText(const QDateTime& moment, const QLocale& locale = QLocale());

// Type descriptions and icons, looked up once per extension: a folder holds thousands of pages
// of a handful of kinds.
class TFileTypeCache {
  public:
    QString TypeText(const QString& fileName);
    QIcon Icon(const QString& fileName);

  private:
    struct Entry {
        QString typeText;
        QIcon icon;
    };
    const Entry& EntryFor(const QString& fileName);

    QMimeDatabase mimeDatabase_;
    QHash<QString, Entry> entries_;  // by extension in lower case
};

// The rows of the file list, sorted by the caller; texts are made when a row is shown.
class TFileListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { NameColumn, SizeColumn, TypeColumn, DateColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(std::vector<FileRow> rows);
    const std::vector<FileRow>& Rows() const { return rows_; }
    const FileRow& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    std::vector<FileRow> rows_;
    mutable TFileTypeCache types_;
};

}  // namespace vantaro
