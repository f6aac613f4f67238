#include "shell/SiteFolders.h"

#include <QDir>
#include <QFile>
#include <algorithm>

#include "run/FolderListing.h"
#include "run/WordSort.h"

namespace vantaro {

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::vector<std::string> PageNamesOf(const std::string& folder,
                                     const std::vector<std::string>& extensions) {
    std::vector<std::string> names;
    for (ListedFile& file : ListFolderFiles(folder, extensions, FileDetails::NameOnly)) {
        names.push_back(std::move(file.Name));
    }
    return names;
}

std::vector<std::string> SubfolderNames(const std::string& folder) {
    std::vector<std::string> names;
    const QDir dir(QFile::decodeName(folder.c_str()));
    for (const QString& name :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        names.push_back(QFile::encodeName(name).toStdString());
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return WordSortLess(a, b); });
    return names;
}

void AddFoldersBelow(const std::string& folder, const std::vector<std::string>& extensions,
                     std::vector<FolderPages>& folders) {
    for (const std::string& name : SubfolderNames(folder)) {
        const std::string below = folder + name + '/';
        std::vector<std::string> pages = PageNamesOf(below, extensions);
        if (!pages.empty()) {
            folders.push_back(FolderPages{below, std::move(pages)});
        }
        AddFoldersBelow(below, extensions, folders);
    }
}

}  // namespace

std::vector<FolderPages> SiteFolders(const std::string& top, std::vector<std::string> topPages,
                                     const std::vector<std::string>& extensions) {
    const std::string folder = WithSlash(top);
    if (topPages.empty()) {
        topPages = PageNamesOf(folder, extensions);
    }
    std::vector<FolderPages> folders{FolderPages{folder, std::move(topPages)}};
    AddFoldersBelow(folder, extensions, folders);
    return folders;
}

}  // namespace vantaro
