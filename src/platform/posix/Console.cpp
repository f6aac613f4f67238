#include "platform/Console.h"

#include <signal.h>

#include <unistd.h>
#include <cerrno>

namespace vantaro {

bool IsTerminal(StandardStream stream) {
    switch (stream) {
        case StandardStream::Input:
            return ::isatty(STDIN_FILENO) != 0;
        case StandardStream::Output:
            return ::isatty(STDOUT_FILENO) != 0;
        case StandardStream::Error:
            return ::isatty(STDERR_FILENO) != 0;
    }
    return false;
}

bool PrepareStandardStreams() {
    return true;
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void IgnoreBrokenPipes() {
    ::signal(SIGPIPE, SIG_IGN);
}

int LastOutputError() {
    return errno != 0 ? errno : EIO;
}

}  // namespace vantaro
