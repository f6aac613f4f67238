#include "run/FolderListing.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <numeric>
#include <unordered_set>

#include "engine/ByteText.h"
#include "platform/FileStatus.h"
#include "platform/FileSystem.h"
#include "run/ReferenceList.h"
#include "run/WordSort.h"

namespace vantaro {

namespace {

bool LessIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return FoldForLookup(a) < FoldForLookup(b);
}

std::string_view ExtensionOf(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : fileName.substr(dot + 1);
}

template <typename Accept>
std::vector<ListedFile> MatchingAmong(const std::string& folder,
                                      const std::vector<FolderEntry>& entries, Accept accept,
                                      FileDetails details) {
    std::vector<ListedFile> files;
    for (const FolderEntry& entry : entries) {
        const std::string& name = entry.name;
        if (name.empty() || entry.hidden || !accept(ExtensionOf(name))) {
            continue;
        }
        if (details == FileDetails::NameOnly && entry.kind == FileKind::Regular) {
            files.push_back(ListedFile{name, 0, 0});
            continue;
        }
        const std::optional<FileStatus> status = StatusOf(folder + name);
        if (!status || status->kind != FileKind::Regular) {
            continue;
        }
        files.push_back(ListedFile{name, status->size, status->modifiedSeconds});
    }
    SortByName(files);
    return files;
}

template <typename Accept>
std::vector<ListedFile> ListMatching(const std::string& folder, Accept accept,
                                     FileDetails details = FileDetails::SizeAndTime) {
    const std::optional<std::vector<FolderEntry>> entries = ListFolder(folder);
    return entries ? MatchingAmong(folder, *entries, accept, details) : std::vector<ListedFile>();
}

class ExtensionSet {
  public:
    explicit ExtensionSet(const std::vector<std::string>& extensions) {
        for (const std::string& extension : extensions) {
            if (!extension.empty()) {
                wanted_.insert(FoldForLookup(extension));
            }
        }
    }
    bool operator()(std::string_view extension) const {
        return !extension.empty() && wanted_.count(FoldForLookup(extension)) > 0;
    }

  private:
    std::unordered_set<std::string> wanted_;
};

// Word-sort order through byte keys, each worked out once.
void SortNames(std::vector<std::string>& names) {
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) {
        keyed.emplace_back(WordSortBytes(name), std::move(name));
    }
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto& [key, name] : keyed) {
        names.push_back(std::move(name));
    }
}

}  // namespace

std::optional<std::uint64_t> ReadablePageSize(const std::string& path) {
    const std::optional<FileStatus> status = StatusOf(path);
    if (!status || status->kind != FileKind::Regular || !MayAccess(path, Access::Read)) {
        return std::nullopt;
    }
    return status->size;
}

std::vector<std::string> BuildExtensionList(const FileFormatTable& formats,
                                            std::string_view otherFileFormats) {
    std::vector<std::string> extensions;
    std::size_t start = 0;
    while (start < otherFileFormats.size()) {
        const std::size_t end =
            std::min(otherFileFormats.find(';', start), otherFileFormats.size());
        extensions.emplace_back(otherFileFormats.substr(start, end - start));
        start = end + 1;
    }
    for (const TFileFormat& format : formats) {
        if (format.Enabled) {
            extensions.push_back(format.Extension);
        }
    }
    std::stable_sort(extensions.begin(), extensions.end(), LessIgnoringAsciiCase);
    const auto sameIgnoringCase = [](const std::string& a, const std::string& b) {
        return EqualsIgnoreAsciiCase(a, b);
    };
    extensions.erase(std::unique(extensions.begin(), extensions.end(), sameIgnoringCase),
                     extensions.end());
    return extensions;
}

bool HasExtension(std::string_view fileName, std::string_view extension) {
    const std::size_t dot = fileName.rfind('.');
    return !extension.empty() && dot != std::string_view::npos &&
           EqualsIgnoreAsciiCase(fileName.substr(dot + 1), extension);
}

std::vector<ListedFile> ListFolderFiles(const std::string& folder,
                                        const std::vector<std::string>& extensions,
                                        FileDetails details) {
    return ListMatching(folder, ExtensionSet(extensions), details);
}

FolderContents ListFolderContents(const std::string& folder,
                                  const std::vector<std::string>& extensions) {
    FolderContents contents;
    const std::optional<std::vector<FolderEntry>> entries = ListFolder(folder);
    if (!entries) {
        return contents;
    }
    contents.Pages =
        MatchingAmong(folder, *entries, ExtensionSet(extensions), FileDetails::NameOnly);
    for (const FolderEntry& entry : *entries) {
        if (entry.name.empty() || entry.hidden) {
            continue;
        }
        // The listing mostly tells an entry's kind; a look at it is needed only where not.
        std::optional<FileKind> kind = entry.kind;
        if (!kind) {
            if (const std::optional<FileStatus> status =
                    StatusOf(folder + entry.name, Links::DontFollow)) {
                kind = status->kind;
            }
        }
        if (kind == FileKind::Folder) {
            contents.Subfolders.push_back(entry.name);
        }
    }
    SortNames(contents.Subfolders);
    return contents;
}

std::string FolderReadFailure(const std::string& folder) {
    return ListFolder(folder) ? std::string() : std::string(std::strerror(errno));
}

std::vector<ListedFile> AddFilesOfFormat(const std::string& folder, std::string_view extension) {
    return ListMatching(folder, [&](std::string_view candidate) {
        return !extension.empty() && EqualsIgnoreAsciiCase(candidate, extension);
    });
}

void SortByName(std::vector<ListedFile>& files) {
    // Keys that compare as bytes: a large folder sorts at the speed of memcmp.
    std::vector<std::string> keys;
    keys.reserve(files.size());
    for (const ListedFile& file : files) {
        keys.push_back(WordSortBytes(file.Name));
    }
    std::vector<std::size_t> order(files.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    std::vector<ListedFile> sorted;
    sorted.reserve(files.size());
    for (std::size_t index : order) {
        sorted.push_back(std::move(files[index]));
    }
    files = std::move(sorted);
}

}  // namespace vantaro
