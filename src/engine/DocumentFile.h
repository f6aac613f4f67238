#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/EngineEvents.h"

namespace vantaro {

// Reads and writes are in blocks of this many bytes where the page's behaviour depends on it:
// a delimiter longer than a block can never be recognised in a page.
inline constexpr std::size_t kBlockSize = 3072;

// One page file, open for reading and writing from OpenDocFile to CloseDocFile. Every failure is
// reported as an event for the page; none is raised.
class DocumentFile {
  public:
    DocumentFile(EngineEvents& events, std::string fullPath);
    ~DocumentFile();
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    // Opens an existing regular file for reading and writing at byte 0; never creates one.
    bool OpenDocFile(bool showError);
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
    int Descriptor() const { return fd_; }

    void ReportFailure(PageEventKind failure);

  private:
    EngineEvents& events_;
    std::string fullPath_;
    int fd_ = -1;
    std::uint64_t sizeAtOpen_ = 0;
    bool atStart_ = false;  // nothing was read since opening or the last seek
};

}  // namespace vantaro
