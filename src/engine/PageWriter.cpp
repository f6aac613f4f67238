#include "engine/PageWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace vantaro {

namespace {

bool WriteAll(int fd, std::string_view text, off_t offset) {
    while (!text.empty()) {
        const ssize_t n = ::pwrite(fd, text.data(), text.size(), offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

// The file the path finally names, so a symbolic link keeps pointing at the page.
std::string ResolvedPath(const std::string& fullPath) {
    char* resolved = ::realpath(fullPath.c_str(), nullptr);
    if (resolved == nullptr) {
        return fullPath;
    }
    std::string path(resolved);
    std::free(resolved);
    return path;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The page is rewritten through its open descriptor. The new text is never shorter than the
// old, so reserving its length first means the write cannot run out of room half way.
bool WriteInPlace(int fd, std::string_view newText) {
    if (!newText.empty()) {
        const int reserved = ::posix_fallocate(fd, 0, static_cast<off_t>(newText.size()));
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
            return false;
        }
    }
    return WriteAll(fd, newText, 0) && ::fsync(fd) == 0;
}

bool WriteReplacement(int tempFd, const struct stat& page, std::string_view newText) {
    if (!WriteAll(tempFd, newText, 0)) {
        return false;
    }
    if (::fchmod(tempFd, page.st_mode & 07777) != 0) {
        return false;
    }
    if (::fchown(tempFd, page.st_uid, page.st_gid) != 0) {
        // Only the owner's own files can be handed to him; keep the mode all the same.
        ::fchmod(tempFd, page.st_mode & 07777);
    }
    return ::fsync(tempFd) == 0;
}

}  // namespace

bool ReplacePageContent(const std::string& fullPath, int openDescriptor, std::string_view newText) {
    struct stat page {};
    if (::fstat(openDescriptor, &page) != 0) {
        return false;
    }
    const std::string target = ResolvedPath(fullPath);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    // Keep the temporary name well inside the file-name limit.
    std::string pattern = folder + "." + name.substr(0, 64) + ".vantaro-XXXXXX";
    std::vector<char> tempPath(pattern.begin(), pattern.end());
    tempPath.push_back('\0');
    const int tempFd = ::mkostemp(tempPath.data(), O_CLOEXEC);
    if (tempFd < 0) {
        if (errno == EACCES || errno == EPERM) {
            return WriteInPlace(openDescriptor, newText);
        }
        return false;
    }
    const bool written = WriteReplacement(tempFd, page, newText);
    const bool closed = ::close(tempFd) == 0;
    if (!written || !closed || ::rename(tempPath.data(), target.c_str()) != 0) {
        ::unlink(tempPath.data());
        return false;
    }
    SyncFolder(folder);
    return true;
}

}  // namespace vantaro
