#include "log/LogFileSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace vantaro {
namespace {

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;  // a short write is a failure too: the disk is full or the file too big
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a path finally names, so a symbolic link keeps pointing at it.
std::string ResolvedPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

SaveOutcome WriteInPlace(const std::string& path, std::string_view content) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        return SaveOutcome::CannotCreate;
    }
    const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    return written && closed ? SaveOutcome::Saved : SaveOutcome::WriteFailed;
}

}  // namespace

SaveOutcome SaveWholeFile(const std::string& path, std::string_view content) {
    const std::string target = ResolvedPath(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && (!S_ISREG(existing.st_mode) || ::access(target.c_str(), W_OK) != 0)) {
        return SaveOutcome::CannotCreate;  // a folder, a device or a read-only file stays as is
    }
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::string pattern = folder + "." + name.substr(0, 64) + ".vantaro-XXXXXX";
    std::vector<char> tempPath(pattern.begin(), pattern.end());
    tempPath.push_back('\0');
    const int fd = ::mkostemp(tempPath.data(), O_CLOEXEC);
    if (fd < 0) {
        const bool folderClosed = errno == EACCES || errno == EPERM || errno == EROFS;
        return exists && folderClosed ? WriteInPlace(target, content) : SaveOutcome::CannotCreate;
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : NewFileMode();
    const bool written = WriteAll(fd, content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(tempPath.data(), target.c_str()) != 0) {
        ::unlink(tempPath.data());
        return SaveOutcome::WriteFailed;
    }
    return SaveOutcome::Saved;
}

}  // namespace vantaro
