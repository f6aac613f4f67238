#include "platform/Interrupts.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace vantaro {

namespace {

volatile sig_atomic_t g_interrupts = 0;
volatile sig_atomic_t g_exitStatus = 130;
bool (*volatile g_busy)() = nullptr;
// Written to by the first interrupt, so that waiting for input ends.
int g_interruptPipe[2] = {-1, -1};

extern "C" void OnInterrupt(int) {
    const int savedErrno = errno;
    if (g_interrupts == 0) {
        g_interrupts = 1;
        if (g_interruptPipe[1] >= 0) {
            const ssize_t ignored = ::write(g_interruptPipe[1], "!", 1);
            static_cast<void>(ignored);
        }
    } else {
        g_interrupts = 2;
        if (g_busy == nullptr || !g_busy()) {
            ::_exit(g_exitStatus);
        }
    }
    errno = savedErrno;
}

}  // namespace

void InstallInterruptHandler(int exitStatus, bool (*busy)()) {
    g_exitStatus = exitStatus;
    g_busy = busy;
    if (g_interruptPipe[0] < 0 && ::pipe2(g_interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_interruptPipe[0] = g_interruptPipe[1] = -1;
    }
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // a write to a slow reader goes on instead of losing lines
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

int InterruptCount() {
    return g_interrupts;
}

void EndIfInterruptedTwice() {
    if (g_interrupts > 1) {
        ::_exit(g_exitStatus);
    }
}

int ReadInputByte() {
    while (g_interrupts == 0) {
        // The interrupt's pipe wakes the wait: reading the terminal itself would be restarted.
        pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {g_interruptPipe[0], POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -2;
        }
        if (waits[1].revents != 0) {
            return -2;
        }
        unsigned char c = 0;
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return n == 1 ? c : -1;
    }
    return -2;
}

}  // namespace vantaro
