#include "settings/SettingsFile.h"

#include "platform/FileReplace.h"

#include <cerrno>
#include <cstring>

namespace vantaro {

namespace {

bool ReadAll(FileHandle& file, std::string& text) {
    char buffer[8192];
    for (;;) {
        const std::int64_t n = file.Read(buffer, sizeof buffer);
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

bool MakeFolder(const std::string& folder) {
    if (folder.empty()) {
        return true;
    }
    return MakeFolders(folder, false);
}

// Even the superuser does not write over a file marked read-only.
bool IsWritable(const std::string& path, const FileStatus& status) {
    return !status.readOnly && MayAccess(path, Access::Write);
}

}  // namespace

SettingsText ReadSettingsText(const std::string& path) {
    SettingsText result;
    // A FIFO posing as the settings file cannot hang the program: opening does not wait.
    FileHandle file = FileHandle::Open(path, OpenFor::Read);
    if (!file.IsOpen()) {
        if (errno == ENOENT || errno == ENOTDIR) {
            result.Text.emplace();
            result.Missing = true;
        } else {
            result.Problem = std::strerror(errno);
        }
        return result;
    }
    const std::optional<FileStatus> status = file.Status();
    if (!status) {
        result.Problem = std::strerror(errno);
        return result;
    }
    if (status->kind != FileKind::Regular) {
        result.Problem = status->kind == FileKind::Folder ? "it is a folder" : "not a regular file";
        return result;
    }
    std::string text;
    if (!ReadAll(file, text)) {
        result.Problem = std::strerror(errno);
        return result;
    }
    result.Text = std::move(text);
    return result;
}

std::optional<std::string> ReadSettingsFile(const std::string& path) {
    return ReadSettingsText(path).Text;
}

bool ReplaceSettingsFile(const std::string& path, std::string_view text) {
    if (!MakeFolder(FolderOf(path))) {
        return false;
    }
    const std::string target = ResolvedPath(path);
    const std::optional<FileStatus> existing = StatusOf(target);
    if (existing && (existing->kind != FileKind::Regular || !IsWritable(target, *existing))) {
        return false;
    }
    return ReplaceByRename(target, text, existing ? &*existing : nullptr) ==
           ReplaceOutcome::Replaced;
}

}  // namespace vantaro
