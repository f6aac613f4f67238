#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/FileFormats.h"

namespace vantaro {

// One page file of a folder as the file list shows it.
struct ListedFile {
    std::string Name;  // without the folder
    std::uint64_t Size = 0;
    std::time_t Modified = 0;  // last write, in seconds
};

// The active extensions: the enabled built-in ones and the ";"-separated other ones, each
// once whatever its letter case, sorted letter-case-blind. An empty entry stays (it lists
// nothing); a trailing ";" adds nothing.
std::vector<std::string> BuildExtensionList(const FileFormatTable& formats,
                                            std::string_view otherFileFormats);

// The extension rule: the name's extension (from its last '.' on) equals "." + extension,
// letter case aside. Wildcards are not special and an empty extension matches nothing.
bool HasExtension(std::string_view fileName, std::string_view extension);

// The size of a regular file this process may read, or nothing (missing, not a regular file,
// no read permission): what opening the page to read would find, without opening it.
std::optional<std::uint64_t> ReadablePageSize(const std::string& path);

// What a listing tells of each file.
enum class FileDetails { NameOnly, SizeAndTime };

// The folder's page files for the given extensions, sorted by word sort. Hidden files (names
// starting with '.', on Windows those with the hidden attribute), folders and anything but regular
// files (behind symbolic links too) are left out. A folder that cannot be read lists nothing. Names
// alone spare a look at each file where the folder already tells its kind.
std::vector<ListedFile> ListFolderFiles(const std::string& folder,
                                        const std::vector<std::string>& extensions,
                                        FileDetails details = FileDetails::SizeAndTime);
// A folder's page files, as ListFolderFiles gives them with names alone, and its subfolders
// (hidden ones and symbolic links to folders left out), sorted by word sort; from one listing.
struct FolderContents {
    std::vector<ListedFile> Pages;
    std::vector<std::string> Subfolders;
};
FolderContents ListFolderContents(const std::string& folder,
                                  const std::vector<std::string>& extensions);
// Why the folder's entries cannot be read (the system's reason), or empty when they can.
std::string FolderReadFailure(const std::string& folder);

// The same for one extension.
std::vector<ListedFile> AddFilesOfFormat(const std::string& folder, std::string_view extension);

// Sorts listed files by name, word sort.
void SortByName(std::vector<ListedFile>& files);

}  // namespace vantaro
