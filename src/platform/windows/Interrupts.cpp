#include "platform/Interrupts.h"

#include <windows.h>

#include <atomic>

namespace vantaro {

namespace {

std::atomic<int> g_interrupts{0};
std::atomic<int> g_exitStatus{130};
std::atomic<bool (*)()> g_busy{nullptr};

// Runs on a thread of its own that the console starts for each Ctrl-C.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    if (g_interrupts.load() == 0) {
        g_interrupts.store(1);
        return TRUE;
    }
    g_interrupts.store(2);
    const auto busy = g_busy.load();
    if (busy == nullptr || !busy()) {
        ::ExitProcess(static_cast<UINT>(g_exitStatus.load()));
    }
    return TRUE;
}

}  // namespace

void InstallInterruptHandler(int exitStatus, bool (*busy)()) {
    g_exitStatus.store(exitStatus);
    g_busy.store(busy);
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

int InterruptCount() {
    return g_interrupts.load();
}

void EndIfInterruptedTwice() {
    if (g_interrupts.load() > 1) {
        ::ExitProcess(static_cast<UINT>(g_exitStatus.load()));
    }
}

int ReadInputByte() {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    const bool console = ::GetConsoleMode(input, &mode) != 0;
    while (g_interrupts.load() == 0) {
        unsigned char c = 0;
        DWORD read = 0;
        const bool ok = ::ReadFile(input, &c, 1, &read, nullptr) != 0;
        if (ok && read == 1) {
            return g_interrupts.load() == 0 ? c : -2;
        }
        if (console && (!ok || read == 0)) {
            // A Ctrl-C ends the console's read; its handler runs on another thread.
            ::Sleep(50);
            if (g_interrupts.load() != 0) {
                return -2;
            }
        }
        return -1;
    }
    return -2;
}

}  // namespace vantaro
