#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/FileStatus.h"

namespace vantaro {

enum class OpenFor {
    Read,       // an existing file, for reading
    ReadWrite,  // an existing file, for reading and writing in place
    Write,      // an existing file, for writing
    WriteOver,  // an existing file, emptied first
};

// An open file of the operating system, closed when it goes. Every failure sets errno; calls
// interrupted by a signal are retried.
class FileHandle {
  public:
    FileHandle() = default;
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept
        : native_(std::exchange(other.native_, -1)),
          reusable_(std::exchange(other.reusable_, false)) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            FileHandle gone(std::exchange(native_, std::exchange(other.native_, -1)));
            reusable_ = std::exchange(other.reusable_, false);
        }
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Opens an existing file; never creates one. A FIFO or device cannot make the open hang, and
    // the page stays open to other programs, which may also rename or delete it.
    static FileHandle Open(const std::string& path, OpenFor purpose);
    // Creates a new file for writing, failing with EEXIST where there is one. ownerOnly: no one
    // but the user may read it.
    static FileHandle CreateNew(const std::string& path, bool ownerOnly);

    bool IsOpen() const;
    std::optional<FileStatus> Status() const;

    // Up to count bytes at the current position; 0 at the end of the file, -1 on failure.
    std::int64_t Read(void* buffer, std::size_t count);
    std::int64_t ReadAt(void* buffer, std::size_t count, std::uint64_t offset);
    // A short write is a failure.
    bool WriteAll(std::string_view content);
    bool WriteAllAt(std::string_view content, std::uint64_t offset);
    bool SeekToStart();
    bool Truncate(std::uint64_t size);
    // Room for size bytes, so that writing them does not run out of it half way. Where the file
    // system cannot tell in advance, that is no failure.
    bool Reserve(std::uint64_t size);
    // The file's content on disk.
    bool Sync();
    // Everything written to the file's file system on disk, by any program.
    bool SyncFileSystem();
    // Whether SyncFileSystem works and reports every write that failed to reach the disk.
    static bool CanSyncFileSystem();
    // Gives the file the permission bits and, where allowed, the owner of another one.
    bool TakePermissionsOf(const FileStatus& status);
    bool Close();

    // Whether the file, whose status is `status`, may be written over as another file's new
    // content once it has lost its name: it was opened here with OpenFor::ReadWrite and is open
    // by no other open anywhere, it has no other name, and it carries nothing that would pass
    // to that content but its permission bits and owner (no extended attributes, such as access
    // lists). Never on Windows.
    bool HeldOnlyHere(const FileStatus& status) const;

  private:
    explicit FileHandle(std::intptr_t native) : native_(native) {}

    std::intptr_t native_ = -1;  // a descriptor, or a Windows handle
    // Open for reading and writing, and ready to tell whether another open refers to the file.
    bool reusable_ = false;
};

}  // namespace vantaro
