#pragma once

#include <sys/stat.h>
#include <sys/types.h>

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

// Writes all of content at the descriptor's position; a short write is a failure.
bool WriteAll(int fd, std::string_view content);

enum class ReplaceOutcome {
    Replaced,
    NoTemporaryFile,  // no file could be made beside the target (errno tells why)
    Failed,           // the content did not all reach the disk; the target is unchanged
};

// Writes content beside target and renames it over target. The new file keeps the mode and,
// where allowed, the owner of `existing` (the target's status), or gets the usual mode for a
// new file when there is none. Leaves no temporary file behind.
ReplaceOutcome ReplaceByRename(const std::string& target, std::string_view content,
                               const struct stat* existing);

}  // namespace vantaro
