#include "shell/SiteFolders.h"

#include "run/FolderListing.h"

namespace vantaro {

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::vector<std::string> NamesOf(std::vector<ListedFile> files) {
    std::vector<std::string> names;
    names.reserve(files.size());
    for (ListedFile& file : files) {
        names.push_back(std::move(file.Name));
    }
    return names;
}

// The subfolders depth first, each with its pages: one listing per folder.
void AddFoldersBelow(const std::string& folder, const std::vector<std::string>& subfolders,
                     const std::vector<std::string>& extensions,
                     std::vector<FolderPages>& folders) {
    for (const std::string& name : subfolders) {
        const std::string below = folder + name + '/';
        FolderContents contents = ListFolderContents(below, extensions);
        if (!contents.Pages.empty()) {
            folders.push_back(FolderPages{below, NamesOf(std::move(contents.Pages))});
        }
        AddFoldersBelow(below, contents.Subfolders, extensions, folders);
    }
}

}  // namespace

std::vector<FolderPages> SiteFolders(const std::string& top, std::vector<std::string> topPages,
                                     const std::vector<std::string>& extensions) {
    const std::string folder = WithSlash(top);
    FolderContents contents = ListFolderContents(folder, extensions);
    if (topPages.empty()) {
        topPages = NamesOf(std::move(contents.Pages));
    }
    std::vector<FolderPages> folders{FolderPages{folder, std::move(topPages)}};
    AddFoldersBelow(folder, contents.Subfolders, extensions, folders);
    return folders;
}

}  // namespace vantaro
