#pragma once

#include <atomic>
#include <utility>

namespace vantaro {

// Marks the time in which a page is being written back. A host that must end the process at
// once (a second Ctrl-C) asks Active(), which is safe inside a signal handler, and while a page
// is being written leaves the ending to the end hook, which runs as the last open section
// closes: a page is never left half written.
class PageWriteSection {
  public:
    using EndHook = void (*)();

    PageWriteSection() { open_.fetch_add(1); }
    ~PageWriteSection() {
        if (open_.fetch_sub(1) == 1) {
            if (const EndHook hook = hook_.load()) {
                hook();
            }
        }
    }
    PageWriteSection(const PageWriteSection&) = delete;
    PageWriteSection& operator=(const PageWriteSection&) = delete;

    static bool Active() { return open_.load() > 0; }
    static void SetEndHook(EndHook hook) { hook_.store(hook); }

  private:
    static_assert(std::atomic<int>::is_always_lock_free, "read from a signal handler");
    inline static std::atomic<int> open_{0};
    inline static std::atomic<EndHook> hook_{nullptr};
};

// Runs write inside a section and gives back its result.
template <typename Write>
auto WhileWritingPage(Write&& write) {
    const PageWriteSection section;
    return std::forward<Write>(write)();
}

}  // namespace vantaro
