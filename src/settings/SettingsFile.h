#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantaro {

// A settings file as read: its whole content, or why there is none.
struct SettingsText {
    std::optional<std::string> Text;  // empty when the file cannot be used
    bool Missing = false;             // neither the file nor its folder exists (Text then holds "")
    std::string Problem;              // why the file cannot be used, e.g. "Permission denied"
};

SettingsText ReadSettingsText(const std::string& path);

// The whole content of a settings file. A file that does not exist (nor its folder) reads as
// empty, the same as an empty store; empty when the file exists but cannot be read whole, or is
// no regular file.
std::optional<std::string> ReadSettingsFile(const std::string& path);

// Replaces the file's content so that it always holds either the complete old or the complete
// new text: the text goes to a temporary file in the same folder, is flushed and renamed over
// the file (behind a symbolic link: over its target). Missing folders are created first. An
// existing file keeps its permission bits, and one that is read-only is refused. Returns false,
// leaving no temporary file, when the new text did not reach the disk.
bool ReplaceSettingsFile(const std::string& path, std::string_view text);

}  // namespace vantaro
