#include "platform/Process.h"

#include <windows.h>

namespace vantaro {

std::uint64_t CurrentProcessId() {
    return ::GetCurrentProcessId();
}

bool ProcessHasEnded(std::uint64_t id) {
    if (id == 0 || id > MAXDWORD) {
        return false;
    }
    const HANDLE process =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) {
        return ::GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    }
    DWORD code = 0;
    const bool ended = ::GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    ::CloseHandle(process);
    return ended;
}

std::tm LocalTime(std::time_t when) {
    std::tm local{};
    ::localtime_s(&local, &when);
    return local;
}

}  // namespace vantaro
