#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

class QMenu;

namespace vantaro {

// The folders opened last, newest first, as the items of a menu. Choosing an item asks for that
// folder; the menu is disabled while it has none.
class TRecentFolders : public QObject {
    Q_OBJECT

  public:
    static constexpr std::size_t kMaxCount = 10;

    TRecentFolders(QMenu& menu, QObject* parent);

    // Folders as stored, ending in '/'; only the first kMaxCount are kept.
    void SetFolders(std::vector<std::string> folders);
    const std::vector<std::string>& Folders() const { return folders_; }

    // Puts the folder first, once.
    void Note(const std::string& folder);
    void Forget(const std::string& folder);

  signals:
    void FolderChosen(const QString& folder);

  private:
    void Rebuild();

    QMenu& menu_;
    std::vector<std::string> folders_;
};

}  // namespace vantaro
