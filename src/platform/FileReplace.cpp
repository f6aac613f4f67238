#include "platform/FileReplace.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <map>

#include "platform/Process.h"

namespace vantaro {

namespace {

constexpr std::string_view kTemporaryMark = ".vantaro-";

bool WriteTemporary(FileHandle& file, const FileStatus* existing, std::string_view content) {
    if (existing != nullptr && !file.TakePermissionsOf(*existing)) {
        return false;
    }
    return file.WriteAll(content);
}

// When a written temporary file is flushed: at once, or together with the files written
// beside it, just before it takes its target's place.
enum class FlushTime { Now, InGroup };

bool Finish(FileHandle& file, FlushTime flush) {
    return flush == FlushTime::InGroup || (file.Sync() && file.Close());
}

// Files whose content is to reach the disk together: one flush of a file system covers every
// file written there before it began, so a run's staged pages share a few flushes instead of
// paying one each. Each write is marked with the count of flushes begun before it ended.
class GroupFlush {
  public:
    static GroupFlush& Instance() {
        static GroupFlush flushes;
        return flushes;
    }

    bool Works() const { return works_.load(); }
    std::uint64_t Mark() const { return begun_.load(); }

    // Whether what was written or renamed on `device` at `mark` is on disk.
    bool Covers(std::uint64_t device, std::uint64_t mark) {
        const std::lock_guard lock(stateMutex_);
        const auto through = flushedThrough_.find(device);
        return through != flushedThrough_.end() && mark < through->second;
    }

    // Brings a file written at `mark` on `device` to disk; false (errno) if it did not get there.
    bool Flush(FileHandle& file, std::uint64_t device, std::uint64_t mark) {
        const std::lock_guard lock(flushMutex_);
        if (Covers(device, mark)) {
            return true;
        }
        if (works_.load()) {
            const std::uint64_t flushing = ++begun_;  // later writes are marked with this
            if (file.SyncFileSystem()) {
                const std::lock_guard state(stateMutex_);
                flushedThrough_[device] = flushing;
                return true;
            }
            // Another program's file may have failed: from now on each file tells its own.
            works_.store(false);
        }
        return file.Sync();
    }

  private:
    std::mutex flushMutex_;  // one flush at a time: those waiting are mostly covered by it
    std::mutex stateMutex_;
    std::atomic<std::uint64_t> begun_{0};
    std::map<std::uint64_t, std::uint64_t> flushedThrough_;  // by device: flushes that ended
    std::atomic<bool> works_{FileHandle::CanSyncFileSystem()};
};

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

// Whether it is still safe to write is told only when the file is taken: that is the moment it
// matters, and the run's thread, which retires files, need not wait for the checks.
void RetiredFiles::Retire(const std::string& tempPath, FileHandle& replaced,
                          const FileStatus& status) {
    const std::uint64_t mark = GroupFlush::Instance().Mark();  // a later flush covers the swap
    {
        const std::lock_guard lock(mutex_);
        if (entries_.size() < kMostKept) {
            entries_.push_back(
                {FolderOf(tempPath), {tempPath, std::move(replaced)}, status.identity, mark});
            return;
        }
    }
    RemoveFile(tempPath);
}

void RetiredFiles::FolderSynced(const std::string& folder) {
    const std::lock_guard lock(mutex_);
    for (Entry& entry : entries_) {
        if (entry.folder == folder) {
            entry.synced = true;
        }
    }
}

// A flush of the whole file system since the swap counts as much as one of the folder.
bool RetiredFiles::Entry::OnDisk() const {
    return synced || GroupFlush::Instance().Covers(identity.device, flushMark);
}

std::size_t RetiredFiles::AwaitingSync() const {
    const std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(std::count_if(entries_.begin(), entries_.end(),
                                                  [](const Entry& e) { return !e.OnDisk(); }));
}

std::optional<RetiredFiles::Reusable> RetiredFiles::Take(const std::string& folder,
                                                         std::uint64_t size) {
    for (;;) {
        std::optional<Entry> taken = TakeBestFit(folder, size);
        if (!taken) {
            return std::nullopt;
        }
        if (StillReusable(*taken)) {
            return std::move(taken->file);
        }
        taken->file.file.Close();
        RemoveFile(taken->file.path);
    }
}

std::optional<RetiredFiles::Entry> RetiredFiles::TakeBestFit(const std::string& folder,
                                                             std::uint64_t size) {
    const std::lock_guard lock(mutex_);
    // The largest file no longer than size needs no shortening; failing that, the shortest.
    auto best = entries_.end();
    const auto better = [&](const Entry& entry) {
        if (best == entries_.end()) {
            return true;
        }
        const std::uint64_t length = entry.identity.size;
        const std::uint64_t bestLength = best->identity.size;
        const bool fits = length <= size;
        const bool bestFits = bestLength <= size;
        return fits != bestFits ? fits : (fits ? length > bestLength : length < bestLength);
    };
    for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
        if (entry->folder == folder && entry->OnDisk() && better(*entry)) {
            best = entry;
        }
    }
    if (best == entries_.end()) {
        return std::nullopt;
    }
    std::optional<Entry> taken = std::move(*best);
    entries_.erase(best);
    return taken;
}

// The temporary name must still be the file held open (another program may have put a file
// there since the swap), and nothing else may hold or mark the file.
bool RetiredFiles::StillReusable(const Entry& entry) {
    const std::optional<FileStatus> atPath = StatusOf(entry.file.path, Links::DontFollow);
    return atPath && atPath->identity.device == entry.identity.device &&
           atPath->identity.file == entry.identity.file && entry.file.file.HeldOnlyHere(*atPath);
}

void RetiredFiles::RemoveAll() {
    std::vector<Entry> entries;
    {
        const std::lock_guard lock(mutex_);
        entries.swap(entries_);
    }
    for (Entry& entry : entries) {
        entry.file.file.Close();
        RemoveFile(entry.file.path);
    }
}

namespace {

// Gives a retired file the content, unflushed, with the permission bits and owner of
// `existing`. The owner is taken first, so that the old content is no longer readable by anyone
// who could read the file before, and must be taken wholly: a new file would be ours otherwise.
bool WriteOverRetired(FileHandle& file, const FileStatus& existing, std::string_view content) {
    std::optional<FileStatus> now = file.Status();
    if (!now) {
        return false;
    }
    // Pages of one folder mostly share owner and permissions, which then need not be set.
    const auto permissions = [](const FileStatus& status) { return status.mode & 07777; };
    if (now->owner != existing.owner || now->group != existing.group ||
        permissions(*now) != permissions(existing)) {
        if (!file.TakePermissionsOf(existing) || !(now = file.Status())) {
            return false;
        }
        if (now->owner != existing.owner || now->group != existing.group) {
            return false;
        }
    }
    // Shortening a file frees its blocks, which costs more than the write; it is done only
    // where the old content was longer.
    return file.WriteAllAt(content, 0) &&
           (content.size() >= now->size || file.Truncate(content.size()));
}

// Writes content to a temporary file beside target (tempPath): a retired file of the folder
// where there is one, a new file otherwise. With FlushTime::InGroup the file is left open and
// unflushed in `unflushed`. On a failure nothing is left behind, `failure` says which, and
// errno why.
bool WriteBeside(const std::string& target, std::string_view content, const FileStatus* existing,
                 std::string& tempPath, ReplaceOutcome& failure, RetiredFiles* retired,
                 FlushTime flush = FlushTime::Now, FileHandle* unflushed = nullptr) {
    FileHandle file;
    if (retired != nullptr && existing != nullptr) {
        if (std::optional<RetiredFiles::Reusable> reused =
                retired->Take(FolderOf(target), content.size())) {
            if (WriteOverRetired(reused->file, *existing, content) && Finish(reused->file, flush)) {
                tempPath = std::move(reused->path);
                file = std::move(reused->file);
            } else {
                reused->file.Close();
                RemoveFile(reused->path);  // a new file is tried instead
            }
        }
    }
    if (!file.IsOpen() && tempPath.empty()) {
        file = CreateTemporaryFile(target, tempPath);
        if (!file.IsOpen()) {
            failure = ReplaceOutcome::NoTemporaryFile;
            return false;
        }
        if (!WriteTemporary(file, existing, content) || !Finish(file, flush)) {
            const int error = errno;
            file.Close();
            RemoveFile(tempPath);
            errno = error;
            failure = ReplaceOutcome::Failed;
            return false;
        }
    }
    if (unflushed != nullptr && flush == FlushTime::InGroup) {
        *unflushed = std::move(file);
    }
    return true;
}

// With reuse, the written temporary file and target swap names, and the replaced file is
// retired; where the system cannot swap names, or the target is gone, the file is moved.
bool SwapIntoPlace(const std::string& tempPath, const std::string& target, const FileReuse& reuse) {
    if (!reuse.retired.SwapsNames()) {
        return false;
    }
    switch (ExchangeFiles(tempPath, target)) {
        case ExchangeOutcome::Exchanged:
            reuse.retired.Retire(tempPath, reuse.replaced, reuse.replacedStatus);
            return true;
        case ExchangeOutcome::Unsupported:
            reuse.retired.SwappingUnsupported();
            return false;
        case ExchangeOutcome::Failed:
            return false;
    }
    return false;
}

// The written temporary file goes over target, or away.
ReplaceOutcome MoveTemporary(const std::string& tempPath, const std::string& target,
                             const FileIdentity* expected, FolderSync folderSync,
                             const FileReuse* reuse) {
    // Checked as late as possible: a file saved by another program meanwhile is not replaced.
    if (!StillExpected(target, expected)) {
        RemoveFile(tempPath);
        return ReplaceOutcome::TargetChanged;
    }
    if (reuse != nullptr && SwapIntoPlace(tempPath, target, *reuse)) {
        if (folderSync == FolderSync::Now) {
            SyncFolder(FolderOf(target));
        }
        return ReplaceOutcome::Replaced;
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
                               FolderSync folderSync, const FileReuse* reuse) {
    std::string tempPath;
    ReplaceOutcome failure = ReplaceOutcome::Failed;
    RetiredFiles* retired = reuse != nullptr ? &reuse->retired : nullptr;
    if (!WriteBeside(target, content, existing, tempPath, failure, retired)) {
        return failure;
    }
    return MoveTemporary(tempPath, target, expected, folderSync, reuse);
}

bool StagingFlushesInGroups() {
    return GroupFlush::Instance().Works();
}

StagedContent::StagedContent(StagedContent&& other) noexcept
    : target_(std::move(other.target_)),
      tempPath_(std::move(other.tempPath_)),
      unflushed_(std::move(other.unflushed_)),
      device_(other.device_),
      mark_(other.mark_) {
    other.tempPath_.clear();
}

StagedContent& StagedContent::operator=(StagedContent&& other) noexcept {
    if (this != &other) {
        Discard();
        target_ = std::move(other.target_);
        tempPath_ = std::move(other.tempPath_);
        other.tempPath_.clear();
        unflushed_ = std::move(other.unflushed_);
        device_ = other.device_;
        mark_ = other.mark_;
    }
    return *this;
}

StagedContent StagedContent::Stage(const std::string& target, std::string_view content,
                                   const FileStatus& existing, RetiredFiles* retired) {
    StagedContent staged;
    std::string tempPath;
    ReplaceOutcome failure = ReplaceOutcome::Failed;
    const FlushTime flush = GroupFlush::Instance().Works() ? FlushTime::InGroup : FlushTime::Now;
    if (!WriteBeside(target, content, &existing, tempPath, failure, retired, flush,
                     &staged.unflushed_)) {
        return staged;
    }
    staged.target_ = target;
    staged.tempPath_ = std::move(tempPath);
    staged.device_ = existing.identity.device;
    staged.mark_ = GroupFlush::Instance().Mark();
    return staged;
}

void StagedContent::Discard() {
    unflushed_.Close();
    if (!tempPath_.empty()) {
        RemoveFile(tempPath_);
        tempPath_.clear();
    }
}

bool StagedContent::Flush() {
    if (!unflushed_.IsOpen()) {
        return Ready();
    }
    const bool flushed = GroupFlush::Instance().Flush(unflushed_, device_, mark_);
    int error = errno;
    const bool closed = unflushed_.Close();
    if (flushed && !closed) {
        error = errno;
    }
    if (!flushed || !closed) {
        Discard();
        errno = error;
        return false;
    }
    return true;
}

ReplaceOutcome ReplaceStaged(StagedContent& staged, const FileIdentity* expected,
                             FolderSync folderSync, const FileReuse* reuse) {
    StagedContent taken = std::move(staged);  // removed on a failure
    if (!taken.Flush()) {
        return ReplaceOutcome::Failed;
    }
    const std::string tempPath = std::move(taken.tempPath_);
    taken.tempPath_.clear();
    return MoveTemporary(tempPath, taken.target_, expected, folderSync, reuse);
}

}  // namespace vantaro
