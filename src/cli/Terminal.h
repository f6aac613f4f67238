#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "log/LogPalette.h"

namespace vantaro::cli {

// The colour and style escapes for a piece of text on a terminal.
std::string AnsiStyled(std::string_view text, LogColour colour, FontStyle style);

// Log text as a line of output: line breaks inside it (CR LF, CR or LF) become LF as the log
// view shows them; on a terminal, other control characters (which could move the cursor or
// change the terminal's state) show as U+FFFD.
std::string ForOutput(std::string_view utf8, bool terminal);

// True when text is printable ASCII (tabs allowed): shown as it is everywhere.
bool IsPlainPrintable(std::string_view text);

// Strings inside JSON quotes.
std::string JsonEscaped(std::string_view utf8);

// A bytes-done-of-total bar on standard error, redrawn at most ten times a second.
class ProgressBar {
  public:
    explicit ProgressBar(bool enabled) : enabled_(enabled) {}
    bool Enabled() const { return enabled_; }
    void AddToTotal(std::uint64_t bytes) { total_ += bytes; }
    void Advance(std::uint64_t bytes);
    void Draw(bool force = false);
    // Removes the bar so that a line can be printed; the next Draw shows it again.
    void Clear();

  private:
    bool enabled_;
    bool shown_ = false;
    std::uint64_t total_ = 0;
    std::uint64_t done_ = 0;
    std::int64_t lastDrawMs_ = 0;
};

// Reads one answer from standard input: the first letter typed, lower case; '\n' for an empty
// answer; 0 when input ended or was interrupted.
char ReadAnswer();

// Ctrl-C: the first and every later interrupt confirm Stop.
void InstallInterruptHandler(std::atomic<bool>* stopRequested, std::atomic<bool>* abortFile);
bool Interrupted();

}  // namespace vantaro::cli
