#include "engine/DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "engine/ByteText.h"

namespace vantaro {

DocumentFile::DocumentFile(LogSink& log, std::string fullPath)
    : log_(log), fullPath_(std::move(fullPath)) {}

DocumentFile::~DocumentFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void DocumentFile::LogFailure(const char* message) {
    AddFilePrefix(log_, FileNameOf(fullPath_));
    log_.AddLogLine(message, LogColour::LogDarkRed, true, FontStyle::Plain());
}

bool DocumentFile::OpenDocFile(bool showError) {
    // Non-blocking so that a FIFO or device posing as a page cannot hang the run; only regular
    // files are pages.
    const int fd = ::open(fullPath_.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        fd_ = fd;
        return true;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    if (showError) {
        LogFailure("Failed to open");
    }
    return false;
}

bool DocumentFile::SeekFileStart() {
    if (::lseek(fd_, 0, SEEK_SET) == 0) {
        return true;
    }
    LogFailure("Failed to seek");
    return false;
}

bool DocumentFile::ReadFileBlock(unsigned char* buffer, std::size_t count, std::size_t& bytesRead) {
    bytesRead = 0;
    while (bytesRead < count) {
        const ssize_t n = ::read(fd_, buffer + bytesRead, count - bytesRead);
        if (n > 0) {
            bytesRead += static_cast<std::size_t>(n);
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            LogFailure("Failed to read");
            return false;
        }
    }
    return true;
}

bool DocumentFile::CloseDocFile() {
    const int fd = fd_;
    fd_ = -1;
    if (fd >= 0 && ::close(fd) == 0) {
        return true;
    }
    LogFailure("Failed to close");
    return false;
}

std::uint64_t DocumentFile::FileSize() const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0 || info.st_size < 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace vantaro
