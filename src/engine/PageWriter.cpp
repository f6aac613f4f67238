#include "engine/PageWriter.h"

#include <algorithm>
#include <cerrno>

#include "engine/DocumentFile.h"
#include "platform/FileReplace.h"

namespace vantaro {

namespace {

PageSaveResult Result(PageSave outcome, int error = 0) {
    return PageSaveResult{outcome, error};
}

bool IsStill(const std::string& target, const FileHandle& page, const FileIdentity& asRead) {
    const std::optional<FileStatus> atPath = StatusOf(target);
    if (!atPath || atPath->identity != asRead) {
        return false;
    }
    const std::optional<FileStatus> open = page.Status();
    return open && open->identity == asRead;
}

bool WriteBlocks(FileHandle& page, std::string_view text, const InPlaceObserver& observer) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t count = std::min(kBlockSize, text.size() - at);
        if (!page.WriteAllAt(text.substr(at, count), at)) {
            return false;
        }
        at += count;
        if (observer) {
            observer(InPlaceStep::PageBlockWritten);
        }
    }
    return true;
}

struct PageFile {
    std::string path;
    std::optional<FileStatus> status;  // followed through links; none: errno says why
};

// Where the page's content lives: the page's own path, or behind a symbolic link its target,
// whose folder takes the temporary file. Only a link needs the longer way to its target.
PageFile PageFileOf(const std::string& fullPath) {
    std::optional<FileStatus> named = StatusOf(fullPath, Links::DontFollow);
    if (named && named->kind != FileKind::Link) {
        return {fullPath, std::move(named)};
    }
    std::string target = ResolvedPath(fullPath);
    std::optional<FileStatus> status = StatusOf(target);
    return {std::move(target), std::move(status)};
}

// The new text is written over the page itself, so every name of the page shows it. Until it
// is on disk, the old text is kept in a recovery file.
PageSaveResult WriteInPlace(const std::string& target, FileHandle& page, const FileIdentity& asRead,
                            std::string_view newText, const InPlaceObserver& observer) {
    RecoveryCopy recovery;
    if (!recovery.Keep(target, page, observer)) {
        return Result(PageSave::Failed, errno);
    }
    if (!IsStill(target, page, asRead)) {
        recovery.Discard();
        return Result(PageSave::ChangedOnDisk);
    }
    // Reserving the new text's length first means the write does not run out of room half way.
    const bool written = page.Reserve(newText.size()) && WriteBlocks(page, newText, observer) &&
                         page.Truncate(newText.size()) && page.Sync();
    if (!written) {
        const int error = errno;
        // The page may be part written: it gets its old text back, and if even that fails,
        // the recovery file keeps it.
        if (recovery.WriteBack(page)) {
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

void UnsyncedFolders::Add(const std::string& folder, bool flushesComing) {
    if (pending_ && folder != folder_) {
        SyncAll();
    }
    folder_ = folder;
    pending_ = true;
    if (!flushesComing && retired_.AwaitingSync() >= kRetiredPerSync) {
        SyncAll();
    }
}

void UnsyncedFolders::SyncAll() {
    if (pending_) {
        if (SyncFolder(folder_)) {
            retired_.FolderSynced(folder_);
        }
        pending_ = false;
    }
}

PageSaveResult ReplacePageContent(const std::string& fullPath, FileHandle& openPage,
                                  const FileIdentity& asRead, std::string_view newText,
                                  const InPlaceObserver& observer, UnsyncedFolders* unsynced,
                                  StagedContent* staged) {
    StagedContent ahead;  // removed on the way out unless renamed over the page
    if (staged != nullptr) {
        ahead = std::move(*staged);
    }
    // A flush may take long, so the page is looked at after it, just before the move.
    if (ahead.Ready() && !ahead.Flush()) {
        return Result(PageSave::Failed, errno);
    }
    const PageFile file = PageFileOf(fullPath);
    const std::string& target = file.path;
    const std::optional<FileStatus>& page = file.status;
    if (!page) {
        return errno == ENOENT || errno == ENOTDIR ? Result(PageSave::ChangedOnDisk)
                                                   : Result(PageSave::Failed, errno);
    }
    if (page->identity != asRead) {
        return Result(PageSave::ChangedOnDisk);
    }
    if (page->links > 1) {
        return WriteInPlace(target, openPage, asRead, newText, observer);
    }
    const FolderSync folderSync = unsynced != nullptr ? FolderSync::Later : FolderSync::Now;
    std::optional<FileReuse> reuse;
    if (unsynced != nullptr) {
        reuse.emplace(FileReuse{unsynced->Retired(), openPage, *page});
    }
    const FileReuse* reusing = reuse ? &*reuse : nullptr;
    const bool stagedHere = ahead.Ready() && ahead.Target() == target;
    const ReplaceOutcome replaced =
        stagedHere ? ReplaceStaged(ahead, nullptr, folderSync, reusing)  // checked just above
                   : ReplaceByRename(target, newText, &*page, &asRead, folderSync, reusing);
    switch (replaced) {
        case ReplaceOutcome::Replaced:
            if (unsynced != nullptr) {
                unsynced->Add(FolderOf(target), stagedHere && StagingFlushesInGroups());
            }
            return Result(PageSave::Saved);
        case ReplaceOutcome::TargetChanged:
            return Result(PageSave::ChangedOnDisk);
        case ReplaceOutcome::NoTemporaryFile:
            if (errno == EACCES || errno == EPERM) {
                return WriteInPlace(target, openPage, asRead, newText, observer);
            }
            return Result(PageSave::Failed, errno);
        case ReplaceOutcome::TargetInUse:
            return WriteInPlace(target, openPage, asRead, newText, observer);
        case ReplaceOutcome::Failed:
            break;
    }
    return Result(PageSave::Failed, errno);
}

StagedContent StagePageContent(const std::string& fullPath, const FileIdentity& asRead,
                               std::string_view newText, RetiredFiles* retired) {
    const PageFile page = PageFileOf(fullPath);
    if (!page.status || page.status->identity != asRead || page.status->links > 1) {
        return {};
    }
    return StagedContent::Stage(page.path, newText, *page.status, retired);
}

}  // namespace vantaro
