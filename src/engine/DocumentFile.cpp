#include "engine/DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vantaro {

DocumentFile::DocumentFile(EngineEvents& events, std::string fullPath)
    : events_(events), fullPath_(std::move(fullPath)) {}

DocumentFile::~DocumentFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void DocumentFile::ReportFailure(PageEventKind failure) {
    events_.OnPageEvent({fullPath_, failure, {}});
}

bool DocumentFile::OpenDocFile(bool showError, PageAccess access) {
    const bool writing = access == PageAccess::ReadWrite;
    // Non-blocking so that a FIFO or device posing as a page cannot hang the run; only regular
    // files are pages, and for them the flag changes nothing.
    const int fd = ::open(fullPath_.c_str(),
                          (writing ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        (!writing || (info.st_mode & 0222) != 0)) {
        fd_ = fd;
        sizeAtOpen_ = static_cast<std::uint64_t>(info.st_size);
        identity_ = FileIdentity::Of(info);
        atStart_ = true;
        return true;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    if (showError) {
        ReportFailure(PageEventKind::OpenFailed);
    }
    return false;
}

bool DocumentFile::SeekFileStart() {
    if (atStart_ || ::lseek(fd_, 0, SEEK_SET) == 0) {
        atStart_ = true;
        return true;
    }
    ReportFailure(PageEventKind::SeekFailed);
    return false;
}

bool DocumentFile::ReadFails() {
    if (!beforeRead_) {
        return false;
    }
    const int error = beforeRead_();
    errno = error;
    return error != 0;
}

bool DocumentFile::ReadFileBlock(unsigned char* buffer, std::size_t count, std::size_t& bytesRead) {
    bytesRead = 0;
    atStart_ = atStart_ && count == 0;
    while (bytesRead < count) {
        const ssize_t n = ReadFails() ? -1 : ::read(fd_, buffer + bytesRead, count - bytesRead);
        if (n > 0) {
            bytesRead += static_cast<std::size_t>(n);
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            ReportFailure(PageEventKind::ReadFailed);
            return false;
        }
    }
    return true;
}

bool DocumentFile::ReadWhole(std::vector<char>& buffer, std::string_view& content) {
    if (!SeekFileStart()) {
        return false;
    }
    // One byte more than the size at opening: a shorter read then means the end was reached.
    std::size_t wanted = static_cast<std::size_t>(sizeAtOpen_) + 1;
    std::size_t filled = 0;
    while (true) {
        if (buffer.size() < wanted) {
            buffer.resize(wanted);
        }
        const ssize_t n = ReadFails() ? -1 : ::read(fd_, buffer.data() + filled, wanted - filled);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            atStart_ = false;
            ReportFailure(PageEventKind::ReadFailed);
            return false;
        }
        filled += static_cast<std::size_t>(n);
        if (n == 0 || filled < wanted) {
            break;
        }
        wanted += kBlockSize;  // the file grew since it was opened: read on to its end
    }
    atStart_ = filled == 0;
    content = std::string_view(buffer.data(), filled);
    return true;
}

bool DocumentFile::CloseDocFile() {
    const int fd = fd_;
    fd_ = -1;
    if (fd >= 0 && ::close(fd) == 0) {
        return true;
    }
    ReportFailure(PageEventKind::CloseFailed);
    return false;
}

std::uint64_t DocumentFile::FileSize() const {
    return fd_ >= 0 ? sizeAtOpen_ : 0;
}

}  // namespace vantaro
