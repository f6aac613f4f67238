#include "engine/PageWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileReplace.h"

namespace vantaro {

namespace {

// The page is rewritten through its open descriptor. The new text is never shorter than the
// old, so reserving its length first means the write cannot run out of room half way.
bool WriteInPlace(int fd, std::string_view newText) {
    if (!newText.empty()) {
        const int reserved = ::posix_fallocate(fd, 0, static_cast<off_t>(newText.size()));
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
            return false;
        }
    }
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, newText) && ::fsync(fd) == 0;
}

}  // namespace

bool ReplacePageContent(const std::string& fullPath, int openDescriptor, std::string_view newText) {
    struct stat page {};
    if (::fstat(openDescriptor, &page) != 0) {
        return false;
    }
    const ReplaceOutcome outcome = ReplaceByRename(ResolvedPath(fullPath), newText, &page);
    if (outcome == ReplaceOutcome::NoTemporaryFile && (errno == EACCES || errno == EPERM)) {
        return WriteInPlace(openDescriptor, newText);
    }
    return outcome == ReplaceOutcome::Replaced;
}

}  // namespace vantaro
