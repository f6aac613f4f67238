#pragma once

#include <string>
#include <string_view>

namespace vantaro {

enum class SaveOutcome { Saved, CannotCreate, WriteFailed };

// Creates or replaces a file with the content so that it holds either its whole old or its whole
// new content: the content goes to a temporary file beside it (behind a symbolic link: beside
// the target), reaches the disk and is renamed over it, keeping an existing file's permission
// bits. Only where the folder allows no new file is an existing, writable file written over in
// place. CannotCreate: the file could not be made or opened; WriteFailed: the content did not
// all reach the disk.
SaveOutcome SaveWholeFile(const std::string& path, std::string_view content);

}  // namespace vantaro
