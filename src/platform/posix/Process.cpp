#include "platform/Process.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace vantaro {

std::uint64_t CurrentProcessId() {
    return static_cast<std::uint64_t>(::getpid());
}

bool ProcessHasEnded(std::uint64_t id) {
    if (id == 0 || id > INT_MAX) {
        return false;
    }
    return ::kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH;
}

std::tm LocalTime(std::time_t when) {
    std::tm local{};
    ::localtime_r(&when, &local);
    return local;
}

}  // namespace vantaro
