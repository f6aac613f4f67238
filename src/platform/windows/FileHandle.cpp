#include "platform/FileHandle.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "HandleStatus.h"
#include "WideText.h"

namespace vantaro {

namespace {

// Other programs may go on reading, writing, renaming and deleting a file we hold open, as
// they may on POSIX systems; it also lets the replacement move a new file over an open page.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kLargestCall = 1u << 30;

HANDLE Native(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

DWORD AccessFor(OpenFor purpose) {
    switch (purpose) {
        case OpenFor::Read:
            return GENERIC_READ;
        case OpenFor::ReadWrite:
            return GENERIC_READ | GENERIC_WRITE;
        case OpenFor::Write:
        case OpenFor::WriteOver:
            return GENERIC_WRITE;
    }
    return GENERIC_READ;
}

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

DWORD Portion(std::size_t count) {
    return static_cast<DWORD>(std::min<std::size_t>(count, kLargestCall));
}

std::int64_t ReadResult(BOOL read, DWORD done) {
    if (read) {
        return done;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE) {
        return 0;
    }
    FailWithLastError();
    return -1;
}

bool WriteFrom(HANDLE handle, std::string_view content, const std::uint64_t* offset) {
    std::uint64_t at = offset != nullptr ? *offset : 0;
    while (!content.empty()) {
        OVERLAPPED position = At(at);
        DWORD done = 0;
        if (!::WriteFile(handle, content.data(), Portion(content.size()), &done,
                         offset != nullptr ? &position : nullptr)) {
            return FailWithLastError();
        }
        if (done == 0) {
            errno = EIO;
            return false;
        }
        content.remove_prefix(done);
        at += done;
    }
    return true;
}

}  // namespace

FileHandle::~FileHandle() {
    if (IsOpen()) {
        const int error = errno;
        ::CloseHandle(Native(native_));
        errno = error;
    }
}

FileHandle FileHandle::Open(const std::string& path, OpenFor purpose) {
    // Reading may open a folder, so that its status says what it is.
    const DWORD flags =
        FILE_ATTRIBUTE_NORMAL | (purpose == OpenFor::Read ? FILE_FLAG_BACKUP_SEMANTICS : 0);
    const HANDLE handle = ::CreateFileW(
        WidePath(path).c_str(), AccessFor(purpose), kShareAll, nullptr,
        purpose == OpenFor::WriteOver ? TRUNCATE_EXISTING : OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        FailWithLastError();
    }
    return FileHandle(reinterpret_cast<std::intptr_t>(handle));
}

FileHandle FileHandle::CreateNew(const std::string& path, bool /*ownerOnly*/) {
    // The folders this creates files in already limit who may read them: a page's own, or the
    // user's application data.
    const HANDLE handle = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        FailWithLastError();
    }
    return FileHandle(reinterpret_cast<std::intptr_t>(handle));
}

bool FileHandle::IsOpen() const {
    return native_ != -1 && native_ != 0;
}

std::optional<FileStatus> FileHandle::Status() const {
    return StatusOfHandle(Native(native_), false);
}

std::int64_t FileHandle::Read(void* buffer, std::size_t count) {
    DWORD done = 0;
    const BOOL read = ::ReadFile(Native(native_), buffer, Portion(count), &done, nullptr);
    return ReadResult(read, done);
}

std::int64_t FileHandle::ReadAt(void* buffer, std::size_t count, std::uint64_t offset) {
    OVERLAPPED position = At(offset);
    DWORD done = 0;
    const BOOL read = ::ReadFile(Native(native_), buffer, Portion(count), &done, &position);
    return ReadResult(read, done);
}

bool FileHandle::WriteAll(std::string_view content) {
    return WriteFrom(Native(native_), content, nullptr);
}

bool FileHandle::WriteAllAt(std::string_view content, std::uint64_t offset) {
    return WriteFrom(Native(native_), content, &offset);
}

bool FileHandle::SeekToStart() {
    LARGE_INTEGER start{};
    return ::SetFilePointerEx(Native(native_), start, nullptr, FILE_BEGIN) || FailWithLastError();
}

bool FileHandle::Truncate(std::uint64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    return ::SetFileInformationByHandle(Native(native_), FileEndOfFileInfo, &end, sizeof end) ||
           FailWithLastError();
}

bool FileHandle::Reserve(std::uint64_t size) {
    LARGE_INTEGER current{};
    if (!::GetFileSizeEx(Native(native_), &current) ||
        static_cast<std::uint64_t>(current.QuadPart) >= size) {
        return true;  // a smaller allocation would cut the file
    }
    FILE_ALLOCATION_INFO room{};
    room.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
    if (::SetFileInformationByHandle(Native(native_), FileAllocationInfo, &room, sizeof room)) {
        return true;
    }
    const DWORD error = ::GetLastError();
    return !(error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) || FailWithLastError();
}

bool FileHandle::Sync() {
    return ::FlushFileBuffers(Native(native_)) || FailWithLastError();
}

bool FileHandle::TakePermissionsOf(const FileStatus& /*status*/) {
    return true;  // the replacement keeps the target's attributes and security descriptor
}

bool FileHandle::Close() {
    const HANDLE handle = Native(std::exchange(native_, -1));
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
        errno = EBADF;
        return false;
    }
    return ::CloseHandle(handle) || FailWithLastError();
}

// Every file is flushed by itself on Windows.
bool FileHandle::SyncFileSystem() {
    errno = ENOSYS;
    return false;
}

bool FileHandle::CanSyncFileSystem() {
    return false;
}

// Files are never reused on Windows.
bool FileHandle::HeldOnlyHere(const FileStatus&) const {
    return false;
}

}  // namespace vantaro
