#include "shell/FileListModel.h"

#include <QDateTime>
#include <QFile>
#include <QFileIconProvider>

#include "settings/AppSettings.h"

namespace vantaro {

namespace {

constexpr qsizetype MaxTypeTextLength = 79;

QString LowerExtension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot + 1).toLower();
}

QIcon IconOf(const QMimeType& mime) {
    QIcon icon = QIcon::fromTheme(mime.iconName());
    if (icon.isNull()) {
        icon = QIcon::fromTheme(mime.genericIconName());
    }
    if (icon.isNull()) {
        icon = QFileIconProvider().icon(QAbstractFileIconProvider::File);
    }
    return icon;
}

}  // namespace

FileRow RowOf(ListedFile file) {
    FileRow row;
    row.Caption = QFile::decodeName(QByteArray::fromStdString(file.Name));
    row.Name = std::move(file.Name);
    row.Size = file.Size;
    row.Modified = file.Modified;
    return row;
}

QString SizeText(std::uint64_t bytes, const QLocale& locale) {
    const std::uint64_t kilobytes = bytes / 1024 == 0 ? 1 : bytes / 1024;
    return locale.toString(static_cast<qulonglong>(kilobytes)) + QStringLiteral(" KB");
}

QString DateText(std::time_t modified, const QLocale& locale) {
    const qint64 seconds = static_cast<qint64>(modified);
    const qint64 evenSeconds = seconds - (seconds % 2 + 2) % 2;
    const QDateTime local = QDateTime::fromSecsSinceEpoch(evenSeconds, Qt::LocalTime);
    const QString date = locale.toString(local.date(), QLocale::ShortFormat);
    if (local.time() == QTime(0, 0)) {
        return date;
    }
    return date + QLatin1Char(' ') + local.time().toString(QStringLiteral("hh:mm"));
}

QString TimeStampText(const QDateTime& moment, const QLocale& locale) {
    return locale.toString(moment.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           moment.time().toString(QStringLiteral("hh:mm:ss"));
}

QString TFileTypeCache::TypeText(const QString& fileName) {
    return EntryFor(fileName).typeText;
}

QIcon TFileTypeCache::Icon(const QString& fileName) {
    return EntryFor(fileName).icon;
}

const TFileTypeCache::Entry& TFileTypeCache::EntryFor(const QString& fileName) {
    const QString extension = LowerExtension(fileName);
    const auto found = entries_.constFind(extension);
    if (found != entries_.cend()) {
        return *found;
    }
    const QMimeType mime = mimeDatabase_.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    QString typeText =
        mime.isDefault() ? extension.toUpper() + QStringLiteral(" File") : mime.comment();
    typeText.truncate(MaxTypeTextLength);
    return *entries_.insert(extension, Entry{typeText, IconOf(mime)});
}

void TFileListModel::SetRows(std::vector<FileRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TFileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TFileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const FileRow& row = Row(index.row());
    const int column = index.column();
    if (role == Qt::DisplayRole) {
        switch (column) {
            case NameColumn:
                return row.Caption;
            case SizeColumn:
                return SizeText(row.Size);
            case TypeColumn:
                return types_.TypeText(row.Caption);
            case DateColumn:
                return DateText(row.Modified);
            default:
                return {};
        }
    }
    if (role == Qt::DecorationRole && column == NameColumn) {
        return types_.Icon(row.Caption);
    }
    if (role == Qt::TextAlignmentRole && column == SizeColumn) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant TFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QString::fromLatin1(kFileColumns[static_cast<std::size_t>(section)].Caption);
    }
    if (role == Qt::TextAlignmentRole && section == SizeColumn) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

}  // namespace vantaro
