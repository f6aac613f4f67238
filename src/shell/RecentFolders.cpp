#include "shell/RecentFolders.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <algorithm>

namespace vantaro {

TRecentFolders::TRecentFolders(QMenu& menu, QObject* parent) : QObject(parent), menu_(menu) {
    Rebuild();
}

void TRecentFolders::SetFolders(std::vector<std::string> folders) {
    folders_.clear();
    for (std::string& folder : folders) {
        if (!folder.empty() && folders_.size() < kMaxCount &&
            std::find(folders_.begin(), folders_.end(), folder) == folders_.end()) {
            folders_.push_back(std::move(folder));
        }
    }
    Rebuild();
}

void TRecentFolders::Note(const std::string& folder) {
    if (folder.empty() || (!folders_.empty() && folders_.front() == folder)) {
        return;
    }
    folders_.erase(std::remove(folders_.begin(), folders_.end(), folder), folders_.end());
    folders_.insert(folders_.begin(), folder);
    if (folders_.size() > kMaxCount) {
        folders_.resize(kMaxCount);
    }
    Rebuild();
}

void TRecentFolders::Forget(const std::string& folder) {
    folders_.erase(std::remove(folders_.begin(), folders_.end(), folder), folders_.end());
    Rebuild();
}

void TRecentFolders::Rebuild() {
    menu_.clear();
    int number = 0;
    for (const std::string& folder : folders_) {
        const QString path = QFile::decodeName(folder.c_str());
        ++number;
        // The first nine get a digit to choose them by; '&' in a path is shown, not taken.
        QString caption = QDir::toNativeSeparators(path);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        if (number < 10) {
            caption = QStringLiteral("&%1 %2").arg(number).arg(caption);
        }
        QAction* item = menu_.addAction(caption);
        connect(item, &QAction::triggered, this, [this, path] { emit FolderChosen(path); });
    }
    menu_.menuAction()->setEnabled(!folders_.empty());
}

}  // namespace vantaro
