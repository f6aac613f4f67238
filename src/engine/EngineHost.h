#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/EngineEvents.h"

namespace vantaro {

// The two stop flags. A host sets both from its Stop confirmation (possibly from inside
// PumpEvents, or from a signal handler); the engine checks them before every examined byte.
struct RunFlags {
    std::atomic<bool> StopRequested{false};  // end the run after the current file
    std::atomic<bool> AbortFile{false};      // do not save the current file's changes

    void SetBoth(bool value) {
        StopRequested.store(value, std::memory_order_relaxed);
        AbortFile.store(value, std::memory_order_relaxed);
    }
};

// How the template-code warning was answered.
enum class TemplateWarningAnswer {
    Yes,            // go on with the file
    No,             // abandon this file's changes, go on with the next file
    CancelByStop,   // Stop was confirmed: abandon the file and end the run after it
    CancelByClose,  // the dialog was closed: abandon the file without the "aborted" line
};

// Everything the engine needs from whoever drives it: the window, the command-line runner or a
// test. All calls come from the thread running the engine.
class EngineHost : public EngineEvents {
  public:
    // Bytes examined since the last call; the calls of a run add up to the bytes examined.
    virtual void AdvanceProgress(std::uint64_t bytes) = 0;
    // Called often (several times per millisecond of work); a GUI host dispatches its pending
    // events from here when enough time has passed, and may set the stop flags meanwhile.
    virtual void PumpEvents() = 0;
    // Look-ups in "References Ignored" and "References Found", letter case aside.
    virtual bool IsIgnoredReference(std::string_view reference) = 0;
    virtual bool IsFoundReference(std::string_view reference) = 0;
    // Adds a reference to "References Found" (the engine has checked it is not there yet).
    virtual void AddFoundReference(std::string_view reference) = 0;
    // Asks the template-code warning for the page at fullPath.
    virtual TemplateWarningAnswer ShowTemplateWarning(const std::string& fullPath) = 0;
    // Whether every template-code warning of the run is answered Yes without showing or
    // printing anything: then a page that would ask it need not wait for its turn.
    virtual bool UpdatesTemplateCodeUnasked() { return false; }
};

}  // namespace vantaro
