#include "engine/DocumentFile.h"

#include <cerrno>

namespace vantaro {

DocumentFile::DocumentFile(EngineEvents& events, std::string fullPath)
    : events_(&events), fullPath_(std::move(fullPath)) {}

DocumentFile::~DocumentFile() = default;

void DocumentFile::ReportFailure(PageEventKind failure) {
    events_->OnPageEvent({fullPath_, failure, {}});
}

bool DocumentFile::OpenDocFile(bool showError, PageAccess access) {
    const bool writing = access == PageAccess::ReadWrite;
    FileHandle file = FileHandle::Open(fullPath_, writing ? OpenFor::ReadWrite : OpenFor::Read);
    const std::optional<FileStatus> status =
        file.IsOpen() ? file.Status() : std::optional<FileStatus>();
    if (status && status->kind == FileKind::Regular && (!writing || !status->readOnly)) {
        file_ = std::move(file);
        sizeAtOpen_ = status->size;
        identity_ = status->identity;
        atStart_ = true;
        return true;
    }
    if (showError) {
        ReportFailure(PageEventKind::OpenFailed);
    }
    return false;
}

bool DocumentFile::SeekFileStart() {
    if (atStart_ || file_.SeekToStart()) {
        atStart_ = true;
        return true;
    }
    ReportFailure(PageEventKind::SeekFailed);
    return false;
}

bool DocumentFile::ReadFails() {
    if (!beforeRead_) {
        return false;
    }
    const int error = beforeRead_();
    errno = error;
    return error != 0;
}

bool DocumentFile::ReadFileBlock(unsigned char* buffer, std::size_t count, std::size_t& bytesRead) {
    bytesRead = 0;
    atStart_ = atStart_ && count == 0;
    while (bytesRead < count) {
        const std::int64_t n = ReadFails() ? -1 : file_.Read(buffer + bytesRead, count - bytesRead);
        if (n > 0) {
            bytesRead += static_cast<std::size_t>(n);
        } else if (n == 0) {
            break;
        } else {
            ReportFailure(PageEventKind::ReadFailed);
            return false;
        }
    }
    return true;
}

bool DocumentFile::ReadWhole(std::vector<char>& buffer, std::string_view& content) {
    if (!SeekFileStart()) {
        return false;
    }
    // One byte more than the size at opening: a shorter read then means the end was reached.
    std::size_t wanted = static_cast<std::size_t>(sizeAtOpen_) + 1;
    std::size_t filled = 0;
    while (true) {
        if (buffer.size() < wanted) {
            buffer.resize(wanted);
        }
        const std::int64_t n =
            ReadFails() ? -1 : file_.Read(buffer.data() + filled, wanted - filled);
        if (n < 0) {
            atStart_ = false;
            ReportFailure(PageEventKind::ReadFailed);
            return false;
        }
        filled += static_cast<std::size_t>(n);
        if (n == 0 || filled < wanted) {
            break;
        }
        wanted += kBlockSize;  // the file grew since it was opened: read on to its end
    }
    atStart_ = filled == 0;
    content = std::string_view(buffer.data(), filled);
    return true;
}

bool DocumentFile::CloseDocFile() {
    // A page replaced by its new content may have handed its file over to be reused.
    if (!file_.IsOpen() || file_.Close()) {
        return true;
    }
    ReportFailure(PageEventKind::CloseFailed);
    return false;
}

std::uint64_t DocumentFile::FileSize() const {
    return file_.IsOpen() ? sizeAtOpen_ : 0;
}

}  // namespace vantaro
