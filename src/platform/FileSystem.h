#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FileStatus.h"

namespace vantaro {

// The operating system's calls on paths. Every failure sets errno.

// The file a path finally names (symbolic links followed, absolute), or the path itself when it
// cannot be resolved (it does not exist yet, say).
std::string ResolvedPath(const std::string& path);

struct FolderEntry {
    std::string name;
    std::optional<FileKind> kind;  // when the listing tells it (links not followed)
    bool hidden = false;  // a name starting with '.' (POSIX), the hidden attribute (Windows)
};

// The entries of a folder but "." and "..", in no particular order, or nothing.
std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder);

// Makes every missing folder of path (a folder ending in its separator); ownerOnly: readable by
// the user alone.
bool MakeFolders(const std::string& path, bool ownerOnly);
bool RemoveFile(const std::string& path);
bool RemoveEmptyFolder(const std::string& folder);
// Renames without ever replacing an existing file.
bool RenameNoReplace(const std::string& from, const std::string& to);
// Flushes a folder's entries (a new, renamed or removed name) to disk.
bool SyncFolder(const std::string& folder);

enum class MoveOutcome {
    Moved,
    Failed,
    TargetInUse,  // the target is open elsewhere in a way that forbids replacing it
};

// Puts the file `from` in the place of `to` in one step: `to` shows the whole old or the whole
// new file whenever the system stops. An existing `to` keeps its attributes and security
// descriptor on Windows.
MoveOutcome MoveOver(const std::string& from, const std::string& to);

enum class ExchangeOutcome {
    Exchanged,
    Unsupported,  // the system or the file system cannot swap names
    Failed,
};

// Swaps the files of two names in one step, where the system can: each name then shows the
// other's file, and neither is ever missing.
ExchangeOutcome ExchangeFiles(const std::string& first, const std::string& second);

}  // namespace vantaro
