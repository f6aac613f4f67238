#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/EngineEvents.h"
#include "platform/FileHandle.h"
#include "platform/FileStatus.h"

namespace vantaro {

// Reads and writes are in blocks of this many bytes where the page's behaviour depends on it:
// a delimiter longer than a block can never be recognised in a page.
inline constexpr std::size_t kBlockSize = 3072;

enum class PageAccess {
    Read,       // Scan, Preview and measuring: read-only pages and copies of a site can be read
    ReadWrite,  // a run that writes
};

// One page file, open from OpenDocFile to CloseDocFile. Every failure is reported as an event
// for the page; none is raised.
class DocumentFile {
  public:
    DocumentFile(EngineEvents& events, std::string fullPath);
    ~DocumentFile();
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    // Opens an existing regular file at byte 0; never creates one. For writing, a page without
    // any write permission bit is read-only, even to a process that could write it.
    bool OpenDocFile(bool showError, PageAccess access);
    bool SeekFileStart();
    // Reads up to count bytes; bytesRead is 0 at the end of the file (not a failure).
    bool ReadFileBlock(unsigned char* buffer, std::size_t count, std::size_t& bytesRead);
    bool CloseDocFile();
    // Reads the whole file from its start into buffer, which only ever grows; content is the
    // part of it that holds the file.
    bool ReadWhole(std::vector<char>& buffer, std::string_view& content);

    // The size when the file was opened.
    std::uint64_t FileSize() const;
    const std::string& FullPath() const { return fullPath_; }
    FileHandle& Handle() { return file_; }
    // The file as it was when opened; a save goes ahead only while the page is still this file.
    const FileIdentity& IdentityAtOpen() const { return identity_; }

    // For tests: called before every read; a nonzero result fails that read with it as errno.
    void SetBeforeRead(std::function<int()> hook) { beforeRead_ = std::move(hook); }

    void ReportFailure(PageEventKind failure);
    // Where later failures are reported, for a page opened on one thread and closed on another.
    void SetEvents(EngineEvents& events) { events_ = &events; }

  private:
    bool ReadFails();

    EngineEvents* events_;
    std::string fullPath_;
    FileHandle file_;
    std::uint64_t sizeAtOpen_ = 0;
    FileIdentity identity_;
    std::function<int()> beforeRead_;
    bool atStart_ = false;  // nothing was read since opening or the last seek
};

}  // namespace vantaro
