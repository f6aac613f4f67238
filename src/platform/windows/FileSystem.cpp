#include "platform/FileSystem.h"

#include <windows.h>

#include <cerrno>

#include "HandleStatus.h"
#include "WideText.h"
#include "platform/Paths.h"

namespace vantaro {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (IsOpen()) {
            ::CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

  private:
    HANDLE handle_;
};

HANDLE OpenForStatus(const std::string& path, DWORD access, Links links) {
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS |
                        (links == Links::DontFollow ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    return ::CreateFileW(WidePath(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags,
                         nullptr);
}

bool IsLinkTag(DWORD tag) {
    return tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT;
}

// Where the folders of a path begin: after "C:\" or "\\server\share\".
std::size_t RootLength(const std::string& path) {
    if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        std::size_t at = 2;
        for (int part = 0; part < 2 && at < path.size(); ++part) {
            while (at < path.size() && !IsPathSeparator(path[at])) {
                ++at;
            }
            ++at;
        }
        return at;
    }
    if (path.size() >= 3 && path[1] == ':' && IsPathSeparator(path[2])) {
        return 3;
    }
    return IsAbsolutePath(path) || (!path.empty() && IsPathSeparator(path[0])) ? 1 : 0;
}

}  // namespace

std::optional<FileStatus> StatusOf(const std::string& path, Links links) {
    const Handle file(OpenForStatus(path, FILE_READ_ATTRIBUTES, links));
    if (!file.IsOpen()) {
        FailWithLastError();
        return std::nullopt;
    }
    return StatusOfHandle(file.Get(), links == Links::DontFollow);
}

bool MayAccess(const std::string& path, Access access) {
    const DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return FailWithLastError();
    }
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    switch (access) {
        case Access::Read:
            // Whether the security descriptor lets us read: only opening tells.
            return folder || Handle(OpenForStatus(path, GENERIC_READ, Links::Follow)).IsOpen() ||
                   FailWithLastError();
        case Access::Write:
            return (attributes & FILE_ATTRIBUTE_READONLY) == 0 || folder;
        case Access::ReadAndEnter:
            return folder;
    }
    return false;
}

std::string ResolvedPath(const std::string& path) {
    const Handle file(OpenForStatus(path, FILE_READ_ATTRIBUTES, Links::Follow));
    if (!file.IsOpen()) {
        return path;
    }
    std::wstring resolved(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(
            file.Get(), resolved.data(), static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
        if (length == 0) {
            return path;
        }
        if (length < resolved.size()) {
            resolved.resize(length);
            return PathOfWide(resolved);
        }
        resolved.resize(length + 1);
    }
}

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) {
    std::wstring pattern = WidePath(WithTrailingSeparator(folder.empty() ? "." : folder));
    if (!pattern.ends_with(L'\\')) {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    std::vector<FolderEntry> entries;
    if (search == INVALID_HANDLE_VALUE) {
        if (::GetLastError() == ERROR_FILE_NOT_FOUND) {
            return entries;
        }
        FailWithLastError();
        return std::nullopt;
    }
    do {
        std::string name = Utf8Of(found.cFileName);
        if (name == "." || name == "..") {
            continue;
        }
        const DWORD attributes = found.dwFileAttributes;
        FolderEntry entry{std::move(name), FileKind::Regular,
                          (attributes & FILE_ATTRIBUTE_HIDDEN) != 0};
        if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsLinkTag(found.dwReserved0)) {
            entry.kind = FileKind::Link;
        } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            entry.kind = FileKind::Folder;
        }
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(search, &found));
    const DWORD error = ::GetLastError();
    ::FindClose(search);
    if (error != ERROR_NO_MORE_FILES) {
        ::SetLastError(error);
        FailWithLastError();
        return std::nullopt;
    }
    return entries;
}

bool MakeFolders(const std::string& path, bool /*ownerOnly*/) {
    for (std::size_t at = RootLength(path); at < path.size(); ++at) {
        if (!IsPathSeparator(path[at])) {
            continue;
        }
        const std::string folder = path.substr(0, at);
        if (!::CreateDirectoryW(WidePath(folder).c_str(), nullptr) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS) {
            return FailWithLastError();
        }
    }
    const std::optional<FileStatus> made = StatusOf(path);
    if (made && made->kind != FileKind::Folder) {
        errno = ENOTDIR;
        return false;
    }
    return made.has_value();
}

bool RemoveFile(const std::string& path) {
    return ::DeleteFileW(WidePath(path).c_str()) || FailWithLastError();
}

bool RemoveEmptyFolder(const std::string& folder) {
    return ::RemoveDirectoryW(WidePath(folder).c_str()) || FailWithLastError();
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
    return ::MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_WRITE_THROUGH) ||
           FailWithLastError();
}

bool SyncFolder(const std::string& /*folder*/) {
    // A folder cannot be flushed on its own here; the moves that change one are written through.
    return true;
}

MoveOutcome MoveOver(const std::string& from, const std::string& to) {
    const std::wstring target = WidePath(to);
    const std::wstring replacement = WidePath(from);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return ::MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)
                   ? MoveOutcome::Moved
                   : (FailWithLastError(), MoveOutcome::Failed);
    }
    // With a backup name the old file never goes missing: where the call fails half way, it is
    // under the target's name or the backup's. Not named like our temporary files, so a backup
    // left by a process that died there is never removed as stale.
    const std::wstring backup = replacement + L"-old";
    if (::ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(),
                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        ::DeleteFileW(backup.c_str());
        // Not every implementation of the call carries the attributes over.
        if (::GetFileAttributesW(target.c_str()) != attributes) {
            ::SetFileAttributesW(target.c_str(), attributes);
        }
        return MoveOutcome::Moved;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        // The old file is under the backup's name: it goes back in its place.
        ::MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    }
    ::SetLastError(error);
    FailWithLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_UNABLE_TO_REMOVE_REPLACED ||
                   error == ERROR_LOCK_VIOLATION
               ? MoveOutcome::TargetInUse
               : MoveOutcome::Failed;
}

// Windows has no call that swaps two names in one step.
ExchangeOutcome ExchangeFiles(const std::string& /*first*/, const std::string& /*second*/) {
    errno = ENOSYS;
    return ExchangeOutcome::Unsupported;
}

}  // namespace vantaro
