#include "engine/PageWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "engine/DocumentFile.h"
#include "platform/FileReplace.h"

namespace vantaro {

namespace {

PageSaveResult Result(PageSave outcome, int error = 0) {
    return PageSaveResult{outcome, error};
}

bool IsStill(const std::string& target, int fd, const FileIdentity& asRead) {
    struct stat atPath {};
    struct stat open {};
    return ::stat(target.c_str(), &atPath) == 0 && FileIdentity::Of(atPath) == asRead &&
           ::fstat(fd, &open) == 0 && FileIdentity::Of(open) == asRead;
}

// Reserving the new text's length first means the write does not run out of room half way.
bool Reserve(int fd, std::size_t bytes) {
    if (bytes == 0) {
        return true;
    }
    const int reserved = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes));
    errno = reserved;
    return reserved == 0 || reserved == EOPNOTSUPP || reserved == EINVAL;
}

bool WriteBlocks(int fd, std::string_view text, const InPlaceObserver& observer) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t count = std::min(kBlockSize, text.size() - at);
        const ssize_t n = ::pwrite(fd, text.data() + at, count, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        at += static_cast<std::size_t>(n);
        if (observer) {
            observer(InPlaceStep::PageBlockWritten);
        }
    }
    return true;
}

// The new text is written over the page itself, so every name of the page shows it. Until it
// is on disk, the old text is kept in a recovery file.
PageSaveResult WriteInPlace(const std::string& target, int fd, const FileIdentity& asRead,
                            std::string_view newText, const InPlaceObserver& observer) {
    RecoveryCopy recovery;
    if (!recovery.Keep(target, fd, observer)) {
        return Result(PageSave::Failed, errno);
    }
    if (!IsStill(target, fd, asRead)) {
        recovery.Discard();
        return Result(PageSave::ChangedOnDisk);
    }
    const bool written = Reserve(fd, newText.size()) && WriteBlocks(fd, newText, observer) &&
                         ::ftruncate(fd, static_cast<off_t>(newText.size())) == 0 &&
                         ::fsync(fd) == 0;
    if (!written) {
        const int error = errno;
        // The page may be part written: it gets its old text back, and if even that fails,
        // the recovery file keeps it.
        if (recovery.WriteBack(fd)) {
            recovery.Discard();
        }
        return Result(PageSave::Failed, error);
    }
    if (observer) {
        observer(InPlaceStep::PageSynced);
    }
    recovery.Discard();
    if (observer) {
        observer(InPlaceStep::RecoveryRemoved);
    }
    return Result(PageSave::Saved);
}

}  // namespace

void UnsyncedFolders::Add(const std::string& folder) {
    if (pending_ && folder != folder_) {
        SyncAll();
    }
    folder_ = folder;
    pending_ = true;
}

void UnsyncedFolders::SyncAll() {
    if (pending_) {
        SyncFolder(folder_);
        pending_ = false;
    }
}

PageSaveResult ReplacePageContent(const std::string& fullPath, int openDescriptor,
                                  const FileIdentity& asRead, std::string_view newText,
                                  const InPlaceObserver& observer, UnsyncedFolders* unsynced) {
    const std::string target = ResolvedPath(fullPath);
    struct stat page {};
    if (::stat(target.c_str(), &page) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? Result(PageSave::ChangedOnDisk)
                                                   : Result(PageSave::Failed, errno);
    }
    if (FileIdentity::Of(page) != asRead) {
        return Result(PageSave::ChangedOnDisk);
    }
    if (page.st_nlink > 1) {
        return WriteInPlace(target, openDescriptor, asRead, newText, observer);
    }
    const FolderSync folderSync = unsynced != nullptr ? FolderSync::Later : FolderSync::Now;
    switch (ReplaceByRename(target, newText, &page, &asRead, folderSync)) {
        case ReplaceOutcome::Replaced:
            if (unsynced != nullptr) {
                unsynced->Add(FolderOf(target));
            }
            return Result(PageSave::Saved);
        case ReplaceOutcome::TargetChanged:
            return Result(PageSave::ChangedOnDisk);
        case ReplaceOutcome::NoTemporaryFile:
            if (errno == EACCES || errno == EPERM) {
                return WriteInPlace(target, openDescriptor, asRead, newText, observer);
            }
            return Result(PageSave::Failed, errno);
        case ReplaceOutcome::Failed:
            break;
    }
    return Result(PageSave::Failed, errno);
}

}  // namespace vantaro
