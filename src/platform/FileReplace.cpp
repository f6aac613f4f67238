#include "platform/FileReplace.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace vantaro {

namespace {

// A new file beside the target, created with the usual mode so the umask applies to it.
int CreateTemporary(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(target);
    const std::string name = target.substr(folder.size()).substr(0, 64);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "." + name + ".vantaro-" + std::to_string(::getpid()) + "-" +
                   std::to_string(counter++);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

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

void SyncFolder(const std::string& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

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
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

ReplaceOutcome ReplaceByRename(const std::string& target, std::string_view content,
                               const struct stat* existing) {
    std::string tempPath;
    const int fd = CreateTemporary(target, tempPath);
    if (fd < 0) {
        return ReplaceOutcome::NoTemporaryFile;
    }
    const bool written = WriteTemporary(fd, existing, content);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(tempPath.c_str(), target.c_str()) != 0) {
        ::unlink(tempPath.c_str());
        return ReplaceOutcome::Failed;
    }
    SyncFolder(FolderOf(target));
    return ReplaceOutcome::Replaced;
}

}  // namespace vantaro
