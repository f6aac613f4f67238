#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "engine/Engine.h"

namespace vantaro {

// One thing a page's passes told their host, kept to be told again on the run's own thread.
struct RecordedEvent {
    enum class Kind : std::uint8_t { Finding, Page, Progress, FoundReference };
    Kind What = Kind::Progress;
    Finding Found;  // its texts are in Text and Value; the page's path is the outcome's
    PageEventKind Page = PageEventKind::NoChanges;
    std::uint64_t Bytes = 0;  // Progress
    std::string Text;         // a finding's reference, a page event's reason, a found reference
    std::string Value;        // a finding's value
};

// A page prepared on a worker thread: what it reported, in order, and its unwritten result.
struct PageOutcome {
    std::vector<RecordedEvent> Events;
    PreparedPage Page;
    bool NeedsRunThread = false;  // it asks a question, or is large: the run's thread redoes it
    bool Aborted = false;         // the worker was told to abandon it part way
};

// Read-only answers to "is this reference ignored", letter case aside, for worker threads.
class IgnoredSnapshot {
  public:
    explicit IgnoredSnapshot(const std::vector<std::string>& references);
    bool Contains(std::string_view reference) const;

  private:
    std::unordered_set<std::string> folded_;
};

// Prepares the pages of a run on several threads, ahead of the run's own thread, which takes
// their outcomes in list order, tells their events to its host and writes them; while it waits
// it prepares pages too. At most a few pages per thread are ahead of the one taken last, so
// memory stays bounded. The threads wait between batches, so a run over many small folders
// does not start threads for each.
class PageWorkers {
  public:
    // threads counts the run's own thread too.
    explicit PageWorkers(int threads);
    ~PageWorkers();
    PageWorkers(const PageWorkers&) = delete;
    PageWorkers& operator=(const PageWorkers&) = delete;

    int Threads() const { return static_cast<int>(workers_.size()); }

    // Starts preparing the pages with engines set up like `configuration`. `ignored` and
    // `retired` (old files that new text may reuse; may be null) must outlive the batch. With
    // templateCodeUnasked, the template-code warning is answered Yes by the threads themselves.
    void BeginBatch(const Engine& configuration, const IgnoredSnapshot& ignored, ScanMode mode,
                    std::vector<std::string> pagePaths, RetiredFiles* retired = nullptr,
                    bool templateCodeUnasked = false);
    // Waits for page `index` (taken in ascending order); whileWaiting is called about every
    // 20 ms meanwhile, and may call AbandonPage.
    PageOutcome Take(std::size_t index, const std::function<void()>& whileWaiting);
    // Tells the worker on page `index` to stop and abandon it, as the run's stop flags say.
    void AbandonPage(std::size_t index, bool stopRequested);
    // Abandons what is still being prepared and drops what was not taken.
    void EndBatch();

  private:
    class Worker;
    struct Slot {
        std::optional<PageOutcome> outcome;
        Worker* preparing = nullptr;
        bool staging = false;  // its new text is being written beside it, or flushed
    };
    Slot& SlotOf(std::size_t index) { return slots_[index % slots_.size()]; }

    void WorkLoop(Worker& worker);
    static bool WantsStaging(const PageOutcome& outcome);
    void QueueStaging(std::size_t index);
    void StagingLoop();
    void FlushLoop();
    void StagingEnded(Slot& slot);
    // Whether the next `pages` pages, or all that are left where fewer, may be prepared now.
    bool RoomAhead(std::size_t pages = 1) const {
        if (!inBatch_ || nextToPrepare_ >= pagePaths_.size()) {
            return false;
        }
        const std::size_t wanted = std::min(pages, pagePaths_.size() - nextToPrepare_);
        return nextToPrepare_ + wanted <= nextToTake_ + slots_.size();
    }
    bool FlushDue() const;
    // Prepares the next page with the worker; called and returns with the lock held.
    void PrepareNext(std::unique_lock<std::mutex>& lock, Worker& worker);

    std::mutex mutex_;
    std::condition_variable pageReady_;
    std::condition_variable roomAhead_;
    std::condition_variable allIdle_;
    std::condition_variable stagingWanted_;
    std::condition_variable flushWanted_;
    ScanMode mode_ = ScanMode::Scan;
    std::vector<std::string> pagePaths_;
    std::vector<Slot> slots_;  // a ring: the page taken next and those ahead of it
    std::size_t nextToPrepare_ = 0;
    std::size_t nextToTake_ = 0;
    int preparing_ = 0;  // workers busy with a page
    int staging_ = 0;    // pages queued for staging, being staged or waiting for their flush
    std::deque<std::size_t> toStage_;
    std::vector<std::size_t> toFlush_;  // staged pages whose text is not yet on disk
    RetiredFiles* retired_ = nullptr;
    bool inBatch_ = false;
    bool closing_ = false;
    std::vector<std::unique_ptr<Worker>> workers_;  // the first is the run's thread's
    std::vector<std::thread> threads_;
    std::vector<std::thread> stagers_;  // started when a run first changes a page, with the
                                        // thread that flushes what they staged
};

// The number of threads a run uses by default: one per processor.
int DefaultJobCount();

}  // namespace vantaro
