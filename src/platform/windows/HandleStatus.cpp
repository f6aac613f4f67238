#include "HandleStatus.h"

#include "WideText.h"

namespace vantaro {

namespace {

std::uint64_t Joined(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

}  // namespace

std::int64_t UnixSecondsOf(const FILETIME& time, std::int64_t* nanoseconds) {
    constexpr std::int64_t kTicksTo1970 = 116444736000000000;  // 100 ns ticks since 1601
    const auto ticks =
        static_cast<std::int64_t>(Joined(time.dwHighDateTime, time.dwLowDateTime)) - kTicksTo1970;
    if (nanoseconds != nullptr) {
        *nanoseconds = (ticks % 10000000) * 100;
    }
    return ticks / 10000000;
}

std::optional<FileStatus> StatusOfHandle(HANDLE handle, bool reparseIsLink) {
    FileStatus status;
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        return status;  // a console, pipe or device: no file
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) {
        FailWithLastError();
        return std::nullopt;
    }
    const DWORD attributes = info.dwFileAttributes;
    if (reparseIsLink && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        status.kind = FileKind::Link;
    } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        status.kind = FileKind::Folder;
    } else {
        status.kind = FileKind::Regular;
    }
    status.size = Joined(info.nFileSizeHigh, info.nFileSizeLow);
    std::int64_t nanoseconds = 0;
    status.modifiedSeconds = UnixSecondsOf(info.ftLastWriteTime, &nanoseconds);
    status.identity =
        FileIdentity{info.dwVolumeSerialNumber, Joined(info.nFileIndexHigh, info.nFileIndexLow),
                     status.size, status.modifiedSeconds, nanoseconds};
    status.links = info.nNumberOfLinks;
    status.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    status.mode = attributes;
    return status;
}

}  // namespace vantaro
