#include "log/LogFileSave.h"

#include "platform/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vantaro {
namespace {

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
    switch (ReplaceByRename(target, content, exists ? &existing : nullptr)) {
        case ReplaceOutcome::Replaced:
            return SaveOutcome::Saved;
        case ReplaceOutcome::NoTemporaryFile:
            // Where the folder takes no new file, an existing writable file is written over.
            if (exists && (errno == EACCES || errno == EPERM || errno == EROFS)) {
                return WriteInPlace(target, content);
            }
            return SaveOutcome::CannotCreate;
        case ReplaceOutcome::Failed:
        case ReplaceOutcome::TargetChanged:
            return SaveOutcome::WriteFailed;
    }
    return SaveOutcome::WriteFailed;
}

}  // namespace vantaro
