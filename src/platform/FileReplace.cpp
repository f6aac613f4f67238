#include "platform/FileReplace.h"

#include <atomic>
#include <cerrno>
#include <charconv>

#include "platform/Process.h"

namespace vantaro {

namespace {

constexpr std::string_view kTemporaryMark = ".vantaro-";

bool WriteTemporary(FileHandle& file, const FileStatus* existing, std::string_view content) {
    if (existing != nullptr && !file.TakePermissionsOf(*existing)) {
        return false;
    }
    return file.WriteAll(content) && file.Sync();
}

bool StillExpected(const std::string& target, const FileIdentity* expected) {
    if (expected == nullptr) {
        return true;
    }
    const std::optional<FileStatus> now = StatusOf(target);
    return now && now->identity == *expected;
}

// The process id in a temporary file's name, or 0 when the name is not one of ours.
std::uint64_t TemporaryFileOwner(std::string_view name) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (name.size() < 2 || name[0] != '.' || mark == std::string_view::npos || mark == 0) {
        return 0;
    }
    const std::string_view tail = name.substr(mark + kTemporaryMark.size());
    const std::size_t dash = tail.find('-');
    if (dash == std::string_view::npos) {
        return 0;
    }
    const auto allDigits = [](std::string_view digits) {
        return !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
    };
    const std::string_view pid = tail.substr(0, dash);
    if (!allDigits(pid) || !allDigits(tail.substr(dash + 1))) {
        return 0;
    }
    std::int32_t owner = 0;  // a process id fits 31 bits on every system
    const auto [end, error] = std::from_chars(pid.data(), pid.data() + pid.size(), owner);
    return error == std::errc() && end == pid.data() + pid.size() && owner > 0
               ? static_cast<std::uint64_t>(owner)
               : 0;
}

}  // namespace

FileHandle CreateTemporaryFile(const std::string& target, std::string& tempPath, bool ownerOnly) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(target);
    const std::string name = target.substr(folder.size()).substr(0, 64);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "." + name + std::string(kTemporaryMark) +
                   std::to_string(CurrentProcessId()) + "-" + std::to_string(counter++);
        FileHandle file = FileHandle::CreateNew(tempPath, ownerOnly);
        if (file.IsOpen() || errno != EEXIST) {
            return file;
        }
    }
    return FileHandle();
}

bool IsTemporaryFileName(std::string_view name) {
    return TemporaryFileOwner(name) > 0;
}

void RemoveStaleTemporaryFiles(const std::string& folder) {
    const std::string at = folder.empty() ? "./" : folder;
    const std::optional<std::vector<FolderEntry>> entries = ListFolder(at);
    if (!entries) {
        return;
    }
    for (const FolderEntry& entry : *entries) {
        const std::uint64_t owner = TemporaryFileOwner(entry.name);
        if (owner == 0 || owner == CurrentProcessId() || !ProcessHasEnded(owner)) {
            continue;
        }
        const std::string path = at + entry.name;
        const std::optional<FileStatus> status = StatusOf(path, Links::DontFollow);
        if (status && status->kind == FileKind::Regular) {
            RemoveFile(path);
        }
    }
}

namespace {

// Writes content, flushed, to a new temporary file beside target (tempPath). On a failure
// nothing is left behind, `failure` says which, and errno why.
bool WriteBeside(const std::string& target, std::string_view content, const FileStatus* existing,
                 std::string& tempPath, ReplaceOutcome& failure) {
    FileHandle file = CreateTemporaryFile(target, tempPath);
    if (!file.IsOpen()) {
        failure = ReplaceOutcome::NoTemporaryFile;
        return false;
    }
    const bool written = WriteTemporary(file, existing, content);
    int error = errno;
    const bool closed = file.Close();
    if (written && !closed) {
        error = errno;
    }
    if (!written || !closed) {
        RemoveFile(tempPath);
        errno = error;
        failure = ReplaceOutcome::Failed;
        return false;
    }
    return true;
}

// The written temporary file goes over target, or away.
ReplaceOutcome MoveTemporary(const std::string& tempPath, const std::string& target,
                             const FileIdentity* expected, FolderSync folderSync) {
    // Checked as late as possible: a file saved by another program meanwhile is not replaced.
    if (!StillExpected(target, expected)) {
        RemoveFile(tempPath);
        return ReplaceOutcome::TargetChanged;
    }
    const MoveOutcome moved = MoveOver(tempPath, target);
    if (moved != MoveOutcome::Moved) {
        const int error = errno;
        RemoveFile(tempPath);
        errno = error;
        return moved == MoveOutcome::TargetInUse ? ReplaceOutcome::TargetInUse
                                                 : ReplaceOutcome::Failed;
    }
    if (folderSync == FolderSync::Now) {
        SyncFolder(FolderOf(target));
    }
    return ReplaceOutcome::Replaced;
}

}  // namespace

ReplaceOutcome ReplaceByRename(const std::string& target, std::string_view content,
                               const FileStatus* existing, const FileIdentity* expected,
                               FolderSync folderSync) {
    std::string tempPath;
    ReplaceOutcome failure = ReplaceOutcome::Failed;
    if (!WriteBeside(target, content, existing, tempPath, failure)) {
        return failure;
    }
    return MoveTemporary(tempPath, target, expected, folderSync);
}

StagedContent::StagedContent(StagedContent&& other) noexcept
    : target_(std::move(other.target_)), tempPath_(std::move(other.tempPath_)) {
    other.tempPath_.clear();
}

StagedContent& StagedContent::operator=(StagedContent&& other) noexcept {
    if (this != &other) {
        Discard();
        target_ = std::move(other.target_);
        tempPath_ = std::move(other.tempPath_);
        other.tempPath_.clear();
    }
    return *this;
}

StagedContent StagedContent::Stage(const std::string& target, std::string_view content,
                                   const FileStatus& existing) {
    StagedContent staged;
    std::string tempPath;
    ReplaceOutcome failure = ReplaceOutcome::Failed;
    if (!WriteBeside(target, content, &existing, tempPath, failure)) {
        return staged;
    }
    staged.target_ = target;
    staged.tempPath_ = std::move(tempPath);
    return staged;
}

void StagedContent::Discard() {
    if (!tempPath_.empty()) {
        RemoveFile(tempPath_);
        tempPath_.clear();
    }
}

ReplaceOutcome ReplaceStaged(StagedContent& staged, const FileIdentity* expected,
                             FolderSync folderSync) {
    const std::string tempPath = std::move(staged.tempPath_);
    staged.tempPath_.clear();
    return MoveTemporary(tempPath, staged.target_, expected, folderSync);
}

}  // namespace vantaro
