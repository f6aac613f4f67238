#include "run/PageWorkers.h"

#include <algorithm>
#include <chrono>

#include "run/ReferenceList.h"

namespace vantaro {

namespace {

// Larger pages are left to the run's thread, so that pages waiting to be written never hold
// much more than a few of these each.
constexpr std::uint64_t kLargestPreparedPage = 4 << 20;
constexpr int kPagesAheadPerThread = 32;
constexpr std::size_t kPagesToResume = 8;
constexpr auto kPumpInterval = std::chrono::milliseconds(20);

}  // namespace

IgnoredSnapshot::IgnoredSnapshot(const std::vector<std::string>& references) {
    for (const std::string& reference : references) {
        folded_.insert(FoldForLookup(reference));
    }
}

bool IgnoredSnapshot::Contains(std::string_view reference) const {
    return !folded_.empty() && folded_.contains(FoldForLookup(reference));
}

// A thread's own engine, whose host keeps what the engine tells it for the run's thread.
class PageWorkers::Worker : public EngineHost {
  public:
    Worker() : engine_(*this) { engine_.SetPreparedSizeLimit(kLargestPreparedPage); }

    void Configure(const Engine& configuration, const IgnoredSnapshot& ignored,
                   bool templateCodeUnasked) {
        engine_.CopyConfigurationFrom(configuration);
        ignored_ = &ignored;
        templateCodeUnasked_ = templateCodeUnasked;
    }

    RunFlags& Flags() { return engine_.Flags(); }

    PageOutcome Prepare(const std::string& fullPath, ScanMode mode) {
        events_.clear();
        found_.clear();
        askedQuestion_ = false;
        PageOutcome outcome;
        outcome.Page = engine_.PreparePage(fullPath, mode);
        outcome.Events = std::move(events_);
        outcome.NeedsRunThread = askedQuestion_ || outcome.Page.TooLarge;
        outcome.Aborted = engine_.Flags().AbortFile.load();
        return outcome;
    }

    void OnFinding(const Finding& finding) override {
        RecordedEvent& event = events_.emplace_back();
        event.What = RecordedEvent::Kind::Finding;
        event.Found = finding;
        event.Found.FullPath = {};
        event.Found.Reference = {};
        event.Found.Value = {};
        event.Text = finding.Reference;
        event.Value = finding.Value;
    }
    void OnPageEvent(const PageEvent& page) override {
        RecordedEvent& event = events_.emplace_back();
        event.What = RecordedEvent::Kind::Page;
        event.Page = page.Kind;
        event.Text = page.Reason;
    }
    void AdvanceProgress(std::uint64_t bytes) override {
        if (events_.empty() || events_.back().What != RecordedEvent::Kind::Progress) {
            events_.emplace_back().What = RecordedEvent::Kind::Progress;
        }
        events_.back().Bytes += bytes;
    }
    void PumpEvents() override {}
    bool IsIgnoredReference(std::string_view reference) override {
        return ignored_->Contains(reference);
    }
    // Only this page's references are known here; the run's thread skips those it has.
    bool IsFoundReference(std::string_view reference) override {
        return found_.contains(FoldForLookup(reference));
    }
    void AddFoundReference(std::string_view reference) override {
        found_.insert(FoldForLookup(reference));
        RecordedEvent& event = events_.emplace_back();
        event.What = RecordedEvent::Kind::FoundReference;
        event.Text = reference;
    }
    // Questions are asked on the run's thread, in their turn: the page is abandoned here,
    // unless the run's host answers Yes to all of them unasked.
    TemplateWarningAnswer ShowTemplateWarning(const std::string& /*fullPath*/) override {
        if (templateCodeUnasked_) {
            return TemplateWarningAnswer::Yes;
        }
        askedQuestion_ = true;
        return TemplateWarningAnswer::CancelByClose;
    }

  private:
    Engine engine_;
    const IgnoredSnapshot* ignored_ = nullptr;
    std::vector<RecordedEvent> events_;
    std::unordered_set<std::string> found_;
    bool askedQuestion_ = false;
    bool templateCodeUnasked_ = false;
};

PageWorkers::PageWorkers(int threads)
    : slots_(static_cast<std::size_t>(std::max(threads, 1) * kPagesAheadPerThread)) {
    for (int i = 0; i < std::max(threads, 1); ++i) {
        workers_.push_back(std::make_unique<Worker>());
    }
    for (std::size_t i = 1; i < workers_.size(); ++i) {
        threads_.emplace_back([this, worker = workers_[i].get()] { WorkLoop(*worker); });
    }
}

PageWorkers::~PageWorkers() {
    EndBatch();
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
    }
    roomAhead_.notify_all();
    stagingWanted_.notify_all();
    flushWanted_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
    for (std::thread& thread : stagers_) {
        thread.join();
    }
}

void PageWorkers::BeginBatch(const Engine& configuration, const IgnoredSnapshot& ignored,
                             ScanMode mode, std::vector<std::string> pagePaths,
                             RetiredFiles* retired, bool templateCodeUnasked) {
    EndBatch();
    {
        const std::lock_guard lock(mutex_);
        for (const std::unique_ptr<Worker>& worker : workers_) {
            worker->Configure(configuration, ignored, templateCodeUnasked);
        }
        mode_ = mode;
        pagePaths_ = std::move(pagePaths);
        retired_ = retired;
        nextToPrepare_ = 0;
        nextToTake_ = 0;
        inBatch_ = true;
    }
    roomAhead_.notify_all();
}

void PageWorkers::EndBatch() {
    std::unique_lock lock(mutex_);
    inBatch_ = false;
    for (const Slot& slot : slots_) {
        if (slot.preparing != nullptr) {
            slot.preparing->Flags().SetBoth(true);  // it ends at once
        }
    }
    // Pages waiting to be staged are not; those being staged are finished, then dropped, and
    // dropping a page removes its staged text.
    for (std::size_t index : toStage_) {
        SlotOf(index).staging = false;
        --staging_;
    }
    toStage_.clear();
    for (std::size_t index : toFlush_) {
        SlotOf(index).staging = false;
        --staging_;
    }
    toFlush_.clear();
    allIdle_.wait(lock, [&] { return preparing_ == 0 && staging_ == 0; });
    for (Slot& slot : slots_) {
        slot.outcome.reset();
    }
    pagePaths_.clear();
}

void PageWorkers::PrepareNext(std::unique_lock<std::mutex>& lock, Worker& worker) {
    const std::size_t index = nextToPrepare_++;
    SlotOf(index).preparing = &worker;
    worker.Flags().SetBoth(false);
    ++preparing_;
    lock.unlock();
    PageOutcome outcome = worker.Prepare(pagePaths_[index], mode_);
    lock.lock();
    --preparing_;
    Slot& slot = SlotOf(index);
    slot.preparing = nullptr;
    const bool stage = WantsStaging(outcome);
    slot.outcome = std::move(outcome);
    if (stage) {
        QueueStaging(index);
    }
    if (preparing_ == 0 && staging_ == 0) {
        allIdle_.notify_all();
    }
}

// A changed page is written beside itself ahead of its turn, by threads of their own: flushing
// many small files one after another is what makes writing runs slow, and the disk takes
// several flushes together at little more than the cost of one.
bool PageWorkers::WantsStaging(const PageOutcome& outcome) {
    const PreparedPage& page = outcome.Page;
    return !outcome.NeedsRunThread && !outcome.Aborted && page.File && page.Complete &&
           page.Modified;
}

void PageWorkers::QueueStaging(std::size_t index) {
    SlotOf(index).staging = true;
    ++staging_;
    toStage_.push_back(index);
    if (stagers_.empty()) {
        // Flushing each file alone keeps a thread waiting on the disk; writing does not.
        const int threads = StagingFlushesInGroups() ? 2 : 8;
        for (int i = 0; i < threads; ++i) {
            stagers_.emplace_back([this] { StagingLoop(); });
        }
        stagers_.emplace_back([this] { FlushLoop(); });
    }
    stagingWanted_.notify_one();
}

void PageWorkers::StagingEnded(Slot& slot) {
    slot.staging = false;
    --staging_;
    pageReady_.notify_all();
    if (preparing_ == 0 && staging_ == 0) {
        allIdle_.notify_all();
    }
}

void PageWorkers::StagingLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        stagingWanted_.wait(lock, [&] { return closing_ || !toStage_.empty(); });
        if (toStage_.empty()) {
            return;
        }
        const std::size_t index = toStage_.front();
        toStage_.pop_front();
        Slot& slot = SlotOf(index);
        PreparedPage& page = slot.outcome->Page;  // no one else touches it while it is staged
        lock.unlock();
        page.Staged = StagePageContent(page.File->FullPath(), page.File->IdentityAtOpen(),
                                       page.OutputText, retired_);
        lock.lock();
        // A batch that ended meanwhile drops the page unwritten: its flush is not waited for.
        if (inBatch_ && page.Staged.AwaitsFlush()) {
            toFlush_.push_back(index);
            if (FlushDue()) {
                flushWanted_.notify_one();
            }
        } else {
            StagingEnded(slot);
        }
    }
}

// One flush of the file system brings every page staged before it to disk. Flushing here, while
// the run's thread writes earlier pages, keeps it from waiting for the disk.
void PageWorkers::FlushLoop() {
    std::unique_lock lock(mutex_);
    std::vector<std::size_t> flushing;
    for (;;) {
        flushWanted_.wait(lock, [&] { return closing_ || FlushDue(); });
        if (toFlush_.empty()) {
            return;
        }
        flushing.swap(toFlush_);
        lock.unlock();
        for (std::size_t index : flushing) {
            // A page whose flush failed is written again, with a flush of its own, in its turn.
            SlotOf(index).outcome->Page.Staged.Flush();
        }
        lock.lock();
        for (std::size_t index : flushing) {
            StagingEnded(SlotOf(index));
        }
        flushing.clear();
    }
}

// A thread that ran out of room waits for room for several pages, rather than being woken
// for each page taken.
void PageWorkers::WorkLoop(Worker& worker) {
    std::unique_lock lock(mutex_);
    for (;;) {
        roomAhead_.wait(lock, [&] { return closing_ || RoomAhead(kPagesToResume); });
        while (!closing_ && RoomAhead()) {
            PrepareNext(lock, worker);
            pageReady_.notify_one();
        }
        if (closing_) {
            return;
        }
    }
}

// Flushes wait for a few pages to take, unless the run's thread wants one of them now.
bool PageWorkers::FlushDue() const {
    return toFlush_.size() >= slots_.size() / 4 ||
           std::find(toFlush_.begin(), toFlush_.end(), nextToTake_) != toFlush_.end();
}

// Pages the run's thread prepares while it waits are small (larger ones are left to it anyway),
// so it comes back to its host often enough.
PageOutcome PageWorkers::Take(std::size_t index, const std::function<void()>& whileWaiting) {
    using Clock = std::chrono::steady_clock;
    std::unique_lock lock(mutex_);
    Slot& slot = SlotOf(index);
    Clock::time_point pumpDue = Clock::now() + kPumpInterval;
    const auto ready = [&] { return slot.outcome && !slot.staging; };
    while (!ready()) {
        if (RoomAhead()) {
            PrepareNext(lock, *workers_.front());
        } else {
            pageReady_.wait_until(lock, pumpDue);
        }
        if (!ready() && Clock::now() >= pumpDue) {
            lock.unlock();
            whileWaiting();
            lock.lock();
            pumpDue = Clock::now() + kPumpInterval;
        }
    }
    PageOutcome outcome = std::move(*slot.outcome);
    slot.outcome.reset();
    nextToTake_ = index + 1;
    const bool roomAhead = RoomAhead(kPagesToResume);
    const bool flushDue = FlushDue();  // the next page may be waiting for a flush
    lock.unlock();
    if (roomAhead) {
        roomAhead_.notify_all();
    }
    if (flushDue) {
        flushWanted_.notify_one();
    }
    return outcome;
}

void PageWorkers::AbandonPage(std::size_t index, bool stopRequested) {
    const std::lock_guard lock(mutex_);
    if (Worker* worker = SlotOf(index).preparing) {
        worker->Flags().StopRequested.store(stopRequested);
        worker->Flags().AbortFile.store(true);
    }
}

int DefaultJobCount() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace vantaro
