#pragma once

namespace vantaro {

// Ctrl-C (and a request to terminate). The first asks to stop: InterruptCount() turns 1, and
// system calls go on (writes to a slow reader are restarted) so no output is lost. A second
// ends the process at once with exitStatus, unless busy() says a write must be completed
// first: then the owner of that write calls EndIfInterruptedTwice as soon as it is done.
// busy must be safe to call from a signal handler.
void InstallInterruptHandler(int exitStatus, bool (*busy)());
int InterruptCount();
void EndIfInterruptedTwice();

// One byte from standard input: the byte, -1 at the end of input or when reading fails, or -2
// when an interrupt came (or waiting for input failed).
int ReadInputByte();

}  // namespace vantaro
