#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vantaro {

// Replacing a file's whole content safely: the new content goes to a temporary file beside the
// file, reaches the disk and is renamed over it, so the file always holds its complete old or
// its complete new content. Pages, the settings file and saved logs are all written this way.

// The file a path finally names (symbolic links followed), or the path itself when it cannot
// be resolved (it does not exist yet, say).
std::string ResolvedPath(const std::string& path);

// The folder part of a path, ending in '/', or empty for a bare name.
std::string FolderOf(const std::string& path);

// Writes all of content at the descriptor's position; a short write is a failure (errno tells
// why).
bool WriteAll(int fd, std::string_view content);

// Flushes a folder's entries (a new, renamed or removed name) to disk.
bool SyncFolder(const std::string& folder);

// What tells the content of a file as it was read from any later one: another file at the path,
// or any write to it since, changes one of these.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    static FileIdentity Of(const struct stat& info);
    bool operator==(const FileIdentity&) const = default;
};

// When the folder's new entry is flushed after a rename: at once, or later by the caller (who
// then flushes the folder once for many files).
enum class FolderSync { Now, Later };

enum class ReplaceOutcome {
    Replaced,
    NoTemporaryFile,  // no file could be made beside the target (errno tells why)
    Failed,           // the content did not all reach the disk (errno tells why); target unchanged
    TargetChanged,    // the target was no longer the expected file; it was left alone
};

// Writes content beside target and renames it over target. The new file keeps the mode and,
// where allowed, the owner of `existing` (the target's status), or gets the usual mode for a
// new file when there is none. With `expected`, the rename happens only if the target still is
// that file just before it. Leaves no temporary file behind. The content is on disk before the
// rename either way, so the target is wholly old or wholly new whenever the system stops.
ReplaceOutcome ReplaceByRename(const std::string& target, std::string_view content,
                               const struct stat* existing, const FileIdentity* expected = nullptr,
                               FolderSync folderSync = FolderSync::Now);

// A new, empty file beside target with the name of our temporary files, or -1 (errno set).
int CreateTemporaryFile(const std::string& target, std::string& tempPath, mode_t mode = 0666);

// Whether a file name has the form of our temporary files: "." + name + ".vantaro-" + process
// id + "-" + number.
bool IsTemporaryFileName(std::string_view name);

// Removes the temporary files that a killed process of ours left in folder: regular files named
// as ours whose process no longer exists. Nothing else is touched; failures are ignored.
void RemoveStaleTemporaryFiles(const std::string& folder);

}  // namespace vantaro
