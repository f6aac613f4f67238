#include "engine/RecoveryFiles.h"

#include <algorithm>
#include <cerrno>

#include "engine/DocumentFile.h"
#include "platform/FileReplace.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SystemFolders.h"

namespace vantaro {

namespace {

constexpr std::size_t kLongestName = 250;  // file names may hold 255 bytes
constexpr std::size_t kFolderPiece = 200;
constexpr int kDeepestFolder = 64;

void Notify(const InPlaceObserver& observer, InPlaceStep step) {
    if (observer) {
        observer(step);
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// Copies everything from the start of `from` to the start of `to`, block by block; the number
// of bytes copied goes to `copied`.
bool CopyFromStart(FileHandle& from, FileHandle& to, std::uint64_t& copied,
                   const InPlaceObserver& observer, InPlaceStep step) {
    std::vector<char> block(kBlockSize);
    copied = 0;
    for (;;) {
        const std::int64_t n = from.ReadAt(block.data(), block.size(), copied);
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        const auto count = static_cast<std::size_t>(n);
        if (!to.WriteAllAt(std::string_view(block.data(), count), copied)) {
            return false;
        }
        copied += count;
        Notify(observer, step);
    }
}

// The recovery file's text over the page, cut to its length, on disk.
bool PutBack(FileHandle& recovery, FileHandle& page) {
    std::uint64_t copied = 0;
    return CopyFromStart(recovery, page, copied, {}, InPlaceStep::PageBlockWritten) &&
           page.Truncate(copied) && page.Sync();
}

// Removes a recovery file and the folders a long name needed, as far as they are empty.
bool RemoveRecoveryFile(const std::string& file) {
    if (!RemoveFile(file)) {
        return false;
    }
    const std::string root = RecoveryFolder();
    std::string folder = FolderOf(file);
    SyncFolder(folder);
    while (folder.size() > root.size() && folder.starts_with(root) && RemoveEmptyFolder(folder)) {
        folder = FolderOf(folder.substr(0, folder.size() - 1));
    }
    return true;
}

void ListInto(const std::string& root, const std::string& prefix, int depth,
              std::vector<RecoveryEntry>& entries) {
    RemoveStaleTemporaryFiles(root + prefix);
    const std::optional<std::vector<FolderEntry>> listing = ListFolder(root + prefix);
    if (!listing) {
        return;
    }
    for (const FolderEntry& entry : *listing) {
        const std::string& name = entry.name;
        if (IsTemporaryFileName(name)) {
            continue;
        }
        const std::optional<FileStatus> status = StatusOf(root + prefix + name, Links::DontFollow);
        if (!status) {
            continue;
        }
        if (status->kind == FileKind::Folder && depth < kDeepestFolder) {
            ListInto(root, prefix + name + "/", depth + 1, entries);
        } else if (status->kind == FileKind::Regular) {
            if (std::optional<std::string> page = PagePathOfRecoveryName(prefix + name)) {
                entries.push_back(RecoveryEntry{*page, root + prefix + name});
            }
        }
    }
}

}  // namespace

std::string RecoveryFolder() {
    const std::optional<std::string> cache = CacheRootFolder(FolderEnvironment::FromProcess());
    return cache ? WithSystemSeparators(*cache + "/Corvell/Vantaro/recovery/") : std::string();
}

std::string RecoveryNameOf(const std::string& pagePath) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : WithSystemSeparators(pagePath)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '%' || NeedsEscapeInFileName(c) || byte < 0x20 || byte == 0x7F) {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        } else {
            encoded += c;
        }
    }
    std::string name;
    std::size_t at = 0;
    while (encoded.size() - at > kLongestName) {
        name += encoded.substr(at, kFolderPiece) + "/";
        at += kFolderPiece;
    }
    return name + encoded.substr(at);
}

std::optional<std::string> PagePathOfRecoveryName(std::string_view name) {
    std::string path;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '/') {
            continue;  // where a long name was split into folders
        }
        if (name[i] != '%') {
            path += name[i];
            continue;
        }
        const int high = i + 2 < name.size() ? HexValue(name[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(name[i + 2]) : -1;
        if (low < 0 || (high == 0 && low == 0)) {
            return std::nullopt;
        }
        path += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (!IsAbsolutePath(path)) {
        return std::nullopt;
    }
    return path;
}

std::vector<RecoveryEntry> ListRecoveryFiles() {
    std::vector<RecoveryEntry> entries;
    const std::string root = RecoveryFolder();
    if (!root.empty()) {
        ListInto(root, "", 0, entries);
    }
    std::sort(entries.begin(), entries.end(), [](const RecoveryEntry& a, const RecoveryEntry& b) {
        return a.pagePath < b.pagePath;
    });
    return entries;
}

bool RecoveryCopy::Keep(const std::string& pagePath, FileHandle& page,
                        const InPlaceObserver& observer) {
    const std::string root = RecoveryFolder();
    if (root.empty()) {
        errno = ENOENT;
        return false;
    }
    const std::string file = root + RecoveryNameOf(pagePath);
    if (StatusOf(file, Links::DontFollow)) {
        errno = EEXIST;  // that copy may be the only whole old text left: it is never replaced
        return false;
    }
    if (!MakeFolders(FolderOf(file), true)) {
        return false;
    }
    std::string temp;
    FileHandle copy = CreateTemporaryFile(file, temp, true);
    if (!copy.IsOpen()) {
        return false;
    }
    // Under a temporary name until complete: a recovery file always holds a whole old text.
    std::uint64_t copied = 0;
    const bool written =
        CopyFromStart(page, copy, copied, observer, InPlaceStep::RecoveryBlockCopied) &&
        copy.Sync() && copy.Close();
    if (!written || !RenameNoReplace(temp, file)) {
        const int error = errno;
        copy = FileHandle();
        RemoveFile(temp);
        errno = error;
        return false;
    }
    if (!SyncFolder(FolderOf(file))) {
        const int error = errno;
        RemoveRecoveryFile(file);
        errno = error;
        return false;
    }
    file_ = file;
    Notify(observer, InPlaceStep::RecoveryKept);
    return true;
}

bool RecoveryCopy::WriteBack(FileHandle& page) const {
    FileHandle copy = FileHandle::Open(file_, OpenFor::Read);
    return copy.IsOpen() && PutBack(copy, page);
}

bool RecoveryCopy::Discard() {
    const std::string file = std::move(file_);
    file_.clear();
    return !file.empty() && RemoveRecoveryFile(file);
}

bool RestoreFromRecovery(const RecoveryEntry& entry) {
    // The page is never created: a page that is gone is not brought back in its place.
    FileHandle page = FileHandle::Open(entry.pagePath, OpenFor::Write);
    if (!page.IsOpen()) {
        return false;
    }
    const std::optional<FileStatus> status = page.Status();
    if (!status) {
        return false;
    }
    if (status->kind != FileKind::Regular) {
        errno = EINVAL;
        return false;
    }
    FileHandle copy = FileHandle::Open(entry.recoveryFile, OpenFor::Read);
    if (!copy.IsOpen() || !PutBack(copy, page) || !page.Close()) {
        return false;
    }
    return RemoveRecoveryFile(entry.recoveryFile);
}

}  // namespace vantaro
