#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "log/LogPalette.h"

namespace vantaro::cli {

// The colour and style escapes for a piece of text on a terminal.
std::string AnsiStyled(std::string_view text, LogColour colour, FontStyle style);

// Log text as a line of output: line breaks inside it (CR LF, CR or LF) become LF as the log
// view shows them; characters that could drive a terminal (control characters other than tab,
// C1 controls, bidirectional embeddings, overrides and isolates, line and paragraph separators)
// show as U+FFFD, whatever the output is, since a file or pipe may be shown on one later.
std::string ForOutput(std::string_view utf8);

// Page bytes (a file name) inside a one-line message on standard error: as ForOutput, and line
// breaks too show as U+FFFD.
std::string ForMessage(std::string_view bytes);

// True when text is printable ASCII (tabs allowed): shown as it is everywhere.
bool IsPlainPrintable(std::string_view text);

// Strings inside JSON quotes. The characters ForOutput replaces are escaped as \uXXXX, so the
// data stays exact but cannot drive a terminal that shows the file.
std::string JsonEscaped(std::string_view utf8);
// The same between the double quotes of a JSON string.
std::string JsonString(std::string_view utf8);

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

// The exit status of a run ended by Ctrl-C.
inline constexpr int kInterruptedStatus = 130;

// Ctrl-C (and SIGTERM). The first asks to stop: Interrupted() turns true and the host confirms
// Stop at its next chance, so the page being processed gets the stop lines and no line of the
// log is lost (interrupted system calls are restarted). A second ends the program at once with
// kInterruptedStatus, though never while a page is being written back: then it ends as soon as
// the page is complete.
void InstallInterruptHandler();
bool Interrupted();

}  // namespace vantaro::cli
