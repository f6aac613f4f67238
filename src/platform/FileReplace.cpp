#include "platform/FileReplace.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdlib>

namespace vantaro {

namespace {

constexpr std::string_view kTemporaryMark = ".vantaro-";

bool WriteTemporary(int fd, const struct stat* existing, std::string_view content) {
    if (existing != nullptr) {
        // Only the superuser can hand the file back to its owner; the mode is kept either way.
        [[maybe_unused]] const int owned = ::fchown(fd, existing->st_uid, existing->st_gid);
        if (::fchmod(fd, existing->st_mode & 07777) != 0) {
            return false;
        }
    }
    return WriteAll(fd, content) && ::fsync(fd) == 0;
}

bool StillExpected(const std::string& target, const FileIdentity* expected) {
    struct stat now {};
    return expected == nullptr ||
           (::stat(target.c_str(), &now) == 0 && FileIdentity::Of(now) == *expected);
}

// The process id in a temporary file's name, or 0 when the name is not one of ours.
pid_t TemporaryFileOwner(std::string_view name) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (name.size() < 2 || name[0] != '.' || mark == std::string_view::npos || mark == 0) {
        return 0;
    }
    const std::string_view tail = name.substr(mark + kTemporaryMark.size());
    const std::size_t dash = tail.find('-');
    if (dash == std::string_view::npos) {
        return 0;
    }
    const auto allDigits = [](std::string_view digits) {
        return !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
    };
    const std::string_view pid = tail.substr(0, dash);
    if (!allDigits(pid) || !allDigits(tail.substr(dash + 1))) {
        return 0;
    }
    pid_t owner = 0;
    const auto [end, error] = std::from_chars(pid.data(), pid.data() + pid.size(), owner);
    return error == std::errc() && end == pid.data() + pid.size() ? owner : 0;
}

}  // namespace

FileIdentity FileIdentity::Of(const struct stat& info) {
    return FileIdentity{info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec,
                        info.st_mtim.tv_nsec};
}

std::string ResolvedPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool SyncFolder(const std::string& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

int CreateTemporaryFile(const std::string& target, std::string& tempPath, mode_t mode) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(target);
    const std::string name = target.substr(folder.size()).substr(0, 64);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "." + name + std::string(kTemporaryMark) + std::to_string(::getpid()) +
                   "-" + std::to_string(counter++);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool IsTemporaryFileName(std::string_view name) {
    return TemporaryFileOwner(name) > 0;
}

void RemoveStaleTemporaryFiles(const std::string& folder) {
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr) {
        return;
    }
    const int at = ::dirfd(listing);
    while (const dirent* entry = ::readdir(listing)) {
        const pid_t owner = TemporaryFileOwner(entry->d_name);
        if (owner <= 0 || owner == ::getpid() || ::kill(owner, 0) == 0 || errno != ESRCH) {
            continue;
        }
        struct stat info {};
        if (::fstatat(at, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            ::unlinkat(at, entry->d_name, 0);
        }
    }
    ::closedir(listing);
}

ReplaceOutcome ReplaceByRename(const std::string& target, std::string_view content,
                               const struct stat* existing, const FileIdentity* expected,
                               FolderSync folderSync) {
    std::string tempPath;
    const int fd = CreateTemporaryFile(target, tempPath);
    if (fd < 0) {
        return ReplaceOutcome::NoTemporaryFile;
    }
    const bool written = WriteTemporary(fd, existing, content);
    int error = errno;
    const bool closed = ::close(fd) == 0;
    if (written && !closed) {
        error = errno;
    }
    // Checked as late as possible: a file saved by another program meanwhile is not replaced.
    if (written && closed && !StillExpected(target, expected)) {
        ::unlink(tempPath.c_str());
        return ReplaceOutcome::TargetChanged;
    }
    if (!written || !closed || ::rename(tempPath.c_str(), target.c_str()) != 0) {
        if (written && closed) {
            error = errno;
        }
        ::unlink(tempPath.c_str());
        errno = error;
        return ReplaceOutcome::Failed;
    }
    if (folderSync == FolderSync::Now) {
        SyncFolder(FolderOf(target));
    }
    return ReplaceOutcome::Replaced;
}

}  // namespace vantaro
