#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileHandle.h"
#include "platform/FileStatus.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace vantaro {

// Replacing a file's whole content safely: the new content goes to a temporary file beside the
// file, reaches the disk and is moved over it, so the file always holds its complete old or
// its complete new content. Pages, the settings file and saved logs are all written this way.

// When the folder's new entry is flushed after a rename: at once, or later by the caller (who
// then flushes the folder once for many files).
enum class FolderSync { Now, Later };

// Files that gave their names to new content during a run, kept under temporary names to take
// the next new content in the same folder: on some file systems, creating a file and deleting
// another for every page costs far more than writing it. A file is reused only once the
// folder's entries that took its name away are on disk, so that after a power cut no page's
// name can show another page's content. Safe to use from several threads.
class RetiredFiles {
  public:
    struct Reusable {
        std::string path;
        FileHandle file;
    };

    RetiredFiles() = default;
    ~RetiredFiles() { RemoveAll(); }
    RetiredFiles(const RetiredFiles&) = delete;
    RetiredFiles& operator=(const RetiredFiles&) = delete;

    // Whether a replacement should swap names with its target, keeping the old file, rather
    // than move over it; false once the system could not.
    bool SwapsNames() const { return swapsNames_.load(); }
    void SwappingUnsupported() { swapsNames_.store(false); }

    // Keeps the file now at tempPath, which `replaced` holds open and whose status before it
    // lost its name was `status`, where there is room, taking `replaced` over; otherwise
    // removes it and leaves `replaced` alone.
    void Retire(const std::string& tempPath, FileHandle& replaced, const FileStatus& status);
    // The folder's entries reached the disk: the files retired there so far may be reused.
    void FolderSynced(const std::string& folder);
    // Files retired and waiting for their folder to be flushed.
    std::size_t AwaitingSync() const;
    // A file of the folder that may be written over, or none; for new content of `size`
    // bytes, one that needs no shortening where there is one. Files found unfit on the way,
    // as HeldOnlyHere tells, are removed.
    std::optional<Reusable> Take(const std::string& folder, std::uint64_t size = 0);
    // Removes every file kept.
    void RemoveAll();

  private:
    struct Entry {
        std::string folder;
        Reusable file;
        FileIdentity identity;        // before the swap
        std::uint64_t flushMark = 0;  // file-system flushes begun before the swap
        bool synced = false;          // the folder was flushed since the swap
        bool OnDisk() const;
    };
    std::optional<Entry> TakeBestFit(const std::string& folder, std::uint64_t size);
    static bool StillReusable(const Entry& entry);
    static constexpr std::size_t kMostKept = 64;

    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    std::atomic<bool> swapsNames_{true};
};

enum class ReplaceOutcome {
    Replaced,
    NoTemporaryFile,  // no file could be made beside the target (errno tells why)
    Failed,           // the content did not all reach the disk (errno tells why); target unchanged
    TargetChanged,    // the target was no longer the expected file; it was left alone
    TargetInUse,      // the target is open elsewhere in a way that forbids replacing it
};

// Writes content beside target and moves it over target. The new file keeps the permission bits
// and, where allowed, the owner of `existing` (the target's status; on Windows the move keeps
// the target's attributes and security descriptor), or gets the usual ones for a new file when
// there is none. With `expected`, the move happens only if the target still is that file just
// before it. Leaves no temporary file behind. The content is on disk before the move either
// way, so the target is wholly old or wholly new whenever the system stops.
//
// With `reuse`, a file retired there may take the content instead of a new file, and the file
// replaced, which reuse.replaced holds open, is retired there, taking that handle over.
struct FileReuse {
    RetiredFiles& retired;
    FileHandle& replaced;
    const FileStatus& replacedStatus;  // taken just before the replacement
};
ReplaceOutcome ReplaceByRename(const std::string& target, std::string_view content,
                               const FileStatus* existing, const FileIdentity* expected = nullptr,
                               FolderSync folderSync = FolderSync::Now,
                               const FileReuse* reuse = nullptr);

// Whether staged content waits for a flush of its file system instead of being flushed alone.
bool StagingFlushesInGroups();

// A file's new content written beside it ahead of its move, so that the contents of several
// files can reach the disk at the same time: flushed at once, or where one flush of the file
// system reports every failure (Linux 5.8 on), together with the files staged beside it just
// before the first of them moves. ReplaceStaged moves it over the file; otherwise it is removed
// when its owner goes.
class StagedContent {
  public:
    StagedContent() = default;
    ~StagedContent() { Discard(); }
    StagedContent(StagedContent&& other) noexcept;
    StagedContent& operator=(StagedContent&& other) noexcept;
    StagedContent(const StagedContent&) = delete;
    StagedContent& operator=(const StagedContent&) = delete;

    // Writes content beside target with the permission bits (and where allowed the owner) of
    // `existing`, in a file retired in `retired` where there is one. Not Ready when anything
    // failed; then nothing is left behind.
    static StagedContent Stage(const std::string& target, std::string_view content,
                               const FileStatus& existing, RetiredFiles* retired = nullptr);

    bool Ready() const { return !tempPath_.empty(); }
    // Whether the content is written but not yet known to be on disk.
    bool AwaitsFlush() const { return unflushed_.IsOpen(); }
    // Brings the content to disk where it is not yet; on a failure (errno) it is removed.
    bool Flush();
    const std::string& Target() const { return target_; }
    void Discard();

  private:
    friend ReplaceOutcome ReplaceStaged(StagedContent& staged, const FileIdentity* expected,
                                        FolderSync folderSync, const FileReuse* reuse);
    std::string target_;
    std::string tempPath_;
    FileHandle unflushed_;  // open until its content is on disk
    std::uint64_t device_ = 0;
    std::uint64_t mark_ = 0;  // file-system flushes begun before it was written
};

// Moves staged content over its target as ReplaceByRename does, first making sure it is on
// disk, and checking `expected` just before. Never returns NoTemporaryFile. Leaves no temporary
// file; staged is empty afterwards.
ReplaceOutcome ReplaceStaged(StagedContent& staged, const FileIdentity* expected = nullptr,
                             FolderSync folderSync = FolderSync::Now,
                             const FileReuse* reuse = nullptr);

// A new, empty file beside target with the name of our temporary files (tempPath), or a handle
// that is not open (errno set).
FileHandle CreateTemporaryFile(const std::string& target, std::string& tempPath,
                               bool ownerOnly = false);

// Whether a file name has the form of our temporary files: "." + name + ".vantaro-" + process
// id + "-" + number.
bool IsTemporaryFileName(std::string_view name);

// Removes the temporary files that a killed process of ours left in folder: regular files named
// as ours whose process no longer exists. Nothing else is touched; failures are ignored.
void RemoveStaleTemporaryFiles(const std::string& folder);

}  // namespace vantaro
