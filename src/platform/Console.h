#pragma once

#include <string>
#include <vector>

namespace vantaro {

enum class StandardStream { Input, Output, Error };

bool IsTerminal(StandardStream stream);

// Readies the standard streams for UTF-8 text: output goes out as bytes (no line-end
// translation), a Windows console shows UTF-8 whatever its code page. Returns whether the
// terminals on standard output and standard error understand ANSI escapes (colours, the
// progress bar's redrawing); where they do not, plain text is written.
bool PrepareStandardStreams();

// The program's arguments (without the program's name) as UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// A write to a closed pipe fails with EPIPE instead of ending the program.
void IgnoreBrokenPipes();

// Why the write to a standard stream that just failed did, as an errno value: EPIPE when the
// reader went away, even where the C runtime says otherwise (EINVAL on Windows).
int LastOutputError();

}  // namespace vantaro
