#include "platform/FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <utility>

#include "StatusFromStat.h"

namespace vantaro {

namespace {

int Descriptor(std::intptr_t native) {
    return static_cast<int>(native);
}

int OpenFlags(OpenFor purpose) {
    switch (purpose) {
        case OpenFor::Read:
            return O_RDONLY;
        case OpenFor::ReadWrite:
            return O_RDWR;
        case OpenFor::Write:
            return O_WRONLY;
        case OpenFor::WriteOver:
            return O_WRONLY | O_TRUNC;
    }
    return O_RDONLY;
}

}  // namespace

FileHandle::~FileHandle() {
    if (native_ >= 0) {
        const int error = errno;
        ::close(Descriptor(native_));
        errno = error;
    }
}

FileHandle FileHandle::Open(const std::string& path, OpenFor purpose) {
    // Non-blocking so that a FIFO or device posing as a file cannot hang the program; for a
    // regular file the flag changes nothing.
    FileHandle file(::open(path.c_str(), OpenFlags(purpose) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
#ifdef __linux__
    // A page opened to be changed may be reused once replaced (see HeldOnlyHere), which takes
    // a lease; a break of one is told with SIGURG, which is ignored, instead of SIGIO, which
    // would end the program. Set here, on the thread that reads the page.
    if (file.IsOpen() && purpose == OpenFor::ReadWrite) {
        const int error = errno;
        file.reusable_ = ::fcntl(Descriptor(file.native_), F_SETSIG, SIGURG) == 0;
        errno = error;
    }
#endif
    return file;
}

FileHandle FileHandle::CreateNew(const std::string& path, bool ownerOnly) {
    return FileHandle(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, ownerOnly ? 0600 : 0666));
}

bool FileHandle::IsOpen() const {
    return native_ >= 0;
}

std::optional<FileStatus> FileHandle::Status() const {
    struct stat info {};
    if (::fstat(Descriptor(native_), &info) != 0) {
        return std::nullopt;
    }
    return StatusFromStat(info);
}

std::int64_t FileHandle::Read(void* buffer, std::size_t count) {
    for (;;) {
        const ssize_t n = ::read(Descriptor(native_), buffer, count);
        if (n >= 0 || errno != EINTR) {
            return n;
        }
    }
}

std::int64_t FileHandle::ReadAt(void* buffer, std::size_t count, std::uint64_t offset) {
    for (;;) {
        const ssize_t n = ::pread(Descriptor(native_), buffer, count, static_cast<off_t>(offset));
        if (n >= 0 || errno != EINTR) {
            return n;
        }
    }
}

bool FileHandle::WriteAll(std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(Descriptor(native_), content.data(), content.size());
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

bool FileHandle::WriteAllAt(std::string_view content, std::uint64_t offset) {
    while (!content.empty()) {
        const ssize_t n = ::pwrite(Descriptor(native_), content.data(), content.size(),
                                   static_cast<off_t>(offset));
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
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool FileHandle::SeekToStart() {
    return ::lseek(Descriptor(native_), 0, SEEK_SET) == 0;
}

bool FileHandle::Truncate(std::uint64_t size) {
    return ::ftruncate(Descriptor(native_), static_cast<off_t>(size)) == 0;
}

bool FileHandle::Reserve(std::uint64_t size) {
    if (size == 0) {
        return true;
    }
    const int reserved = ::posix_fallocate(Descriptor(native_), 0, static_cast<off_t>(size));
    errno = reserved;
    return reserved == 0 || reserved == EOPNOTSUPP || reserved == EINVAL;
}

bool FileHandle::Sync() {
    return ::fsync(Descriptor(native_)) == 0;
}

bool FileHandle::SyncFileSystem() {
#ifdef __linux__
    return ::syncfs(Descriptor(native_)) == 0;
#else
    errno = ENOSYS;
    return false;
#endif
}

bool FileHandle::CanSyncFileSystem() {
#ifdef __linux__
    // Before Linux 5.8 a write that failed on its way to the disk was not reported by syncfs.
    static const bool reportsFailures = [] {
        utsname system{};
        int major = 0;
        int minor = 0;
        return ::uname(&system) == 0 && std::sscanf(system.release, "%d.%d", &major, &minor) == 2 &&
               (major > 5 || (major == 5 && minor >= 8));
    }();
    return reportsFailures;
#else
    return false;
#endif
}

bool FileHandle::TakePermissionsOf(const FileStatus& status) {
    // Only the superuser can hand the file back to its owner; the mode is kept either way.
    [[maybe_unused]] const int owned = ::fchown(Descriptor(native_), status.owner, status.group);
    return ::fchmod(Descriptor(native_), status.mode & 07777) == 0;
}

bool FileHandle::Close() {
    const int fd = Descriptor(std::exchange(native_, -1));
    return fd >= 0 && ::close(fd) == 0;
}

bool FileHandle::HeldOnlyHere([[maybe_unused]] const FileStatus& status) const {
#ifdef __linux__
    const int fd = Descriptor(native_);
    if (!reusable_ || status.kind != FileKind::Regular || status.links != 1) {
        return false;
    }
    const ssize_t attributeNames = ::flistxattr(fd, nullptr, 0);
    if (attributeNames > 0 || (attributeNames < 0 && errno != ENOTSUP)) {
        return false;
    }
    // The system grants a write lease only while no other open refers to the file.
    if (::fcntl(fd, F_SETLEASE, F_WRLCK) != 0) {
        return false;
    }
    ::fcntl(fd, F_SETLEASE, F_UNLCK);
    return true;
#else
    return false;
#endif
}

}  // namespace vantaro
