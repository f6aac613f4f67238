#include "platform/Console.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cerrno>
#include <cstdio>

#include "WideText.h"

namespace vantaro {

namespace {

HANDLE StandardHandle(StandardStream stream) {
    switch (stream) {
        case StandardStream::Input:
            return ::GetStdHandle(STD_INPUT_HANDLE);
        case StandardStream::Output:
            return ::GetStdHandle(STD_OUTPUT_HANDLE);
        case StandardStream::Error:
            return ::GetStdHandle(STD_ERROR_HANDLE);
    }
    return INVALID_HANDLE_VALUE;
}

// Colours and redrawing through the console's virtual-terminal mode, where it has one.
bool EnableEscapes(StandardStream stream) {
    const HANDLE handle = StandardHandle(stream);
    DWORD mode = 0;
    if (!::GetConsoleMode(handle, &mode)) {
        return true;  // no console: escapes go out only when asked for
    }
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
           ::SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace

bool IsTerminal(StandardStream stream) {
    DWORD mode = 0;
    const HANDLE handle = StandardHandle(stream);
    return ::GetFileType(handle) == FILE_TYPE_CHAR && ::GetConsoleMode(handle, &mode) != 0;
}

bool PrepareStandardStreams() {
    // The same bytes as elsewhere: UTF-8 with bare line feeds, whatever the code page.
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
    const bool output = EnableEscapes(StandardStream::Output);
    const bool error = EnableEscapes(StandardStream::Error);
    return output && error;
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv + 1, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(Utf8Of(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

void IgnoreBrokenPipes() {
    // A write to a closed pipe fails here anyway.
}

int LastOutputError() {
    const int error = errno;
    if (error == EINVAL || error == EPIPE) {
        const DWORD last = ::GetLastError();
        if (last == ERROR_NO_DATA || last == ERROR_BROKEN_PIPE) {
            return EPIPE;
        }
    }
    return error != 0 ? error : EIO;
}

}  // namespace vantaro
