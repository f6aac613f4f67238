#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "StatusFromStat.h"
#include "platform/Paths.h"

namespace vantaro {

std::optional<FileStatus> StatusOf(const std::string& path, Links links) {
    struct stat info {};
    const int result =
        links == Links::Follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (result != 0) {
        return std::nullopt;
    }
    return StatusFromStat(info);
}

bool MayAccess(const std::string& path, Access access) {
    switch (access) {
        case Access::Read:
            return ::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) == 0;
        case Access::Write:
            return ::access(path.c_str(), W_OK) == 0;
        case Access::ReadAndEnter:
            return ::access(path.c_str(), R_OK | X_OK) == 0;
    }
    return false;
}

std::string ResolvedPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) {
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        return std::nullopt;
    }
    std::vector<FolderEntry> entries;
    while (const dirent* entry = ::readdir(listing)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        FolderEntry listed{std::move(name), std::nullopt, false};
        listed.hidden = listed.name.starts_with('.');
        switch (entry->d_type) {
            case DT_REG:
                listed.kind = FileKind::Regular;
                break;
            case DT_DIR:
                listed.kind = FileKind::Folder;
                break;
            case DT_LNK:
                listed.kind = FileKind::Link;
                break;
            case DT_UNKNOWN:
                break;
            default:
                listed.kind = FileKind::Other;
                break;
        }
        entries.push_back(std::move(listed));
    }
    ::closedir(listing);
    return entries;
}

bool MakeFolders(const std::string& path, bool ownerOnly) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), ownerOnly ? 0700 : 0777) != 0 && errno != EEXIST) {
            return false;
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
    return ::unlink(path.c_str()) == 0;
}

bool RemoveEmptyFolder(const std::string& folder) {
    return ::rmdir(folder.c_str()) == 0;
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    if (::link(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    ::unlink(from.c_str());
    return true;
}

bool SyncFolder(const std::string& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

MoveOutcome MoveOver(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? MoveOutcome::Moved : MoveOutcome::Failed;
}

ExchangeOutcome ExchangeFiles(const std::string& first, const std::string& second) {
#ifdef RENAME_EXCHANGE
    if (::renameat2(AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(), RENAME_EXCHANGE) == 0) {
        return ExchangeOutcome::Exchanged;
    }
    return errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ? ExchangeOutcome::Unsupported
                                                                     : ExchangeOutcome::Failed;
#else
    errno = ENOSYS;
    return ExchangeOutcome::Unsupported;
#endif
}

}  // namespace vantaro
