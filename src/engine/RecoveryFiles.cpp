#include "engine/RecoveryFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "engine/DocumentFile.h"
#include "platform/FileReplace.h"

namespace vantaro {

namespace {

constexpr std::size_t kLongestName = 250;  // file names may hold 255 bytes
constexpr std::size_t kFolderPiece = 200;
constexpr int kDeepestFolder = 64;

// Closes a descriptor however the function ends, keeping errno as it was.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            const int error = errno;
            ::close(fd_);
            errno = error;
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

void Notify(const InPlaceObserver& observer, InPlaceStep step) {
    if (observer) {
        observer(step);
    }
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string CacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') {
        return WithoutTrailingSlashes(cache);
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') {
        return {};
    }
    return WithoutTrailingSlashes(home) + "/.cache";
}

// Makes every missing folder of path (which ends in '/'), readable by the user alone.
bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return true;
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
bool CopyFromStart(int from, int to, off_t& copied, const InPlaceObserver& observer,
                   InPlaceStep step) {
    std::vector<char> block(kBlockSize);
    copied = 0;
    for (;;) {
        const ssize_t n = ::pread(from, block.data(), block.size(), copied);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::pwrite(to, block.data() + done, static_cast<std::size_t>(n - done),
                                       copied + done);
            if (w < 0 && errno == EINTR) {
                continue;
            }
            if (w <= 0) {
                if (w == 0) {
                    errno = EIO;
                }
                return false;
            }
            done += w;
        }
        copied += n;
        Notify(observer, step);
    }
}

// The recovery file's text over the page, cut to its length, on disk.
bool PutBack(int recoveryFd, int pageFd) {
    off_t copied = 0;
    return CopyFromStart(recoveryFd, pageFd, copied, {}, InPlaceStep::PageBlockWritten) &&
           ::ftruncate(pageFd, copied) == 0 && ::fsync(pageFd) == 0;
}

// Renames without ever replacing an existing file.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    if (::link(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    ::unlink(from.c_str());
    return true;
}

// Removes a recovery file and the folders a long name needed, as far as they are empty.
bool RemoveRecoveryFile(const std::string& file) {
    if (::unlink(file.c_str()) != 0) {
        return false;
    }
    const std::string root = RecoveryFolder();
    std::string folder = FolderOf(file);
    SyncFolder(folder);
    while (folder.size() > root.size() && folder.starts_with(root) &&
           ::rmdir(folder.c_str()) == 0) {
        folder = FolderOf(folder.substr(0, folder.size() - 1));
    }
    return true;
}

void ListInto(const std::string& root, const std::string& prefix, int depth,
              std::vector<RecoveryEntry>& entries) {
    RemoveStaleTemporaryFiles(root + prefix);
    DIR* listing = ::opendir((root + prefix).c_str());
    if (listing == nullptr) {
        return;
    }
    const int at = ::dirfd(listing);
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        struct stat info {};
        if (name == "." || name == ".." || IsTemporaryFileName(name) ||
            ::fstatat(at, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (S_ISDIR(info.st_mode) && depth < kDeepestFolder) {
            ListInto(root, prefix + name + "/", depth + 1, entries);
        } else if (S_ISREG(info.st_mode)) {
            if (std::optional<std::string> page = PagePathOfRecoveryName(prefix + name)) {
                entries.push_back(RecoveryEntry{*page, root + prefix + name});
            }
        }
    }
    ::closedir(listing);
}

}  // namespace

std::string RecoveryFolder() {
    const std::string cache = CacheFolder();
    return cache.empty() ? cache : cache + "/Corvell/Vantaro/recovery/";
}

std::string RecoveryNameOf(const std::string& pagePath) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : pagePath) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '%' || c == '/' || byte < 0x20 || byte == 0x7F) {
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
    if (!path.starts_with('/')) {
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

bool RecoveryCopy::Keep(const std::string& pagePath, int pageFd, const InPlaceObserver& observer) {
    const std::string root = RecoveryFolder();
    if (root.empty()) {
        errno = ENOENT;
        return false;
    }
    const std::string file = root + RecoveryNameOf(pagePath);
    struct stat earlier {};
    if (::lstat(file.c_str(), &earlier) == 0) {
        errno = EEXIST;  // that copy may be the only whole old text left: it is never replaced
        return false;
    }
    if (!MakeFolders(FolderOf(file))) {
        return false;
    }
    std::string temp;
    Descriptor copy(CreateTemporaryFile(file, temp, 0600));
    if (copy.Get() < 0) {
        return false;
    }
    // Under a temporary name until complete: a recovery file always holds a whole old text.
    off_t copied = 0;
    const bool written =
        CopyFromStart(pageFd, copy.Get(), copied, observer, InPlaceStep::RecoveryBlockCopied) &&
        ::fsync(copy.Get()) == 0 && copy.Close();
    if (!written || !RenameNoReplace(temp, file)) {
        const int error = errno;
        ::unlink(temp.c_str());
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

bool RecoveryCopy::WriteBack(int pageFd) const {
    const Descriptor copy(::open(file_.c_str(), O_RDONLY | O_CLOEXEC));
    return copy.Get() >= 0 && PutBack(copy.Get(), pageFd);
}

bool RecoveryCopy::Discard() {
    const std::string file = std::move(file_);
    file_.clear();
    return !file.empty() && RemoveRecoveryFile(file);
}

bool RestoreFromRecovery(const RecoveryEntry& entry) {
    // The page is never created: a page that is gone is not brought back in its place.
    Descriptor page(::open(entry.pagePath.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (page.Get() < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(page.Get(), &info) != 0) {
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        errno = EINVAL;
        return false;
    }
    const Descriptor copy(::open(entry.recoveryFile.c_str(), O_RDONLY | O_CLOEXEC));
    if (copy.Get() < 0 || !PutBack(copy.Get(), page.Get()) || !page.Close()) {
        return false;
    }
    return RemoveRecoveryFile(entry.recoveryFile);
}

}  // namespace vantaro
