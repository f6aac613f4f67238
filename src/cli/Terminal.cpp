#include "cli/Terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "engine/PageWriteSection.h"
#include "log/PageText.h"

namespace vantaro::cli {

namespace {

volatile sig_atomic_t g_interrupts = 0;
// Written to by the first interrupt, so that waiting for an answer ends.
int g_interruptPipe[2] = {-1, -1};

extern "C" void EndIfInterruptedTwice() {
    if (g_interrupts > 1) {
        ::_exit(kInterruptedStatus);
    }
}

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
        if (!PageWriteSection::Active()) {
            ::_exit(kInterruptedStatus);
        }
    }
    errno = savedErrno;
}

constexpr const char* kReplacement = "\xEF\xBF\xBD";

// How many bytes the character at i takes when it is one that could drive a terminal, else 0.
std::size_t UnsafeLength(std::string_view utf8, std::size_t i) {
    const auto at = [&](std::size_t k) -> unsigned char {
        return k < utf8.size() ? static_cast<unsigned char>(utf8[k]) : 0;
    };
    const unsigned char c = at(i);
    if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F) {
        return 1;
    }
    if (c == 0xC2 && at(i + 1) >= 0x80 && at(i + 1) <= 0x9F) {
        return 2;  // C1 controls, U+0080..U+009F
    }
    if (c == 0xE2) {
        const unsigned char second = at(i + 1);
        const unsigned char third = at(i + 2);
        if ((second == 0x80 && third >= 0xA8 && third <= 0xAE) ||  // U+2028..U+202E
            (second == 0x81 && third >= 0xA6 && third <= 0xA9)) {  // U+2066..U+2069
            return 3;
        }
    }
    return 0;
}

// The code point of a well-formed sequence of one to three bytes.
unsigned CodePoint(std::string_view utf8, std::size_t i, std::size_t length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[i + k]); };
    switch (length) {
        case 1:
            return byte(0);
        case 2:
            return ((byte(0) & 0x1Fu) << 6) | (byte(1) & 0x3Fu);
        default:
            return ((byte(0) & 0x0Fu) << 12) | ((byte(1) & 0x3Fu) << 6) | (byte(2) & 0x3Fu);
    }
}

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string Megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    return text;
}

}  // namespace

std::string AnsiStyled(std::string_view text, LogColour colour, FontStyle style) {
    const std::uint32_t rgb = ToRgb(colour);
    std::string styled = "\033[";
    if (style.Has(FontStyle::Bold)) {
        styled += "1;";
    }
    if (style.Has(FontStyle::Underline)) {
        styled += "4;";
    }
    styled += "38;2;" + std::to_string(rgb >> 16) + ";" + std::to_string((rgb >> 8) & 0xFF) + ";" +
              std::to_string(rgb & 0xFF) + "m";
    styled += text;
    styled += "\033[0m";
    return styled;
}

std::string ForOutput(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\r') {
            out += '\n';
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') {
                ++i;
            }
        } else if (const std::size_t length = UnsafeLength(utf8, i)) {
            out += kReplacement;
            i += length - 1;
        } else {
            out += c;
        }
    }
    return out;
}

std::string ForMessage(std::string_view bytes) {
    std::string shown = ForOutput(DecodeForDisplay(bytes));
    std::string out;
    out.reserve(shown.size());
    for (const char c : shown) {
        if (c == '\n') {
            out += kReplacement;
        } else {
            out += c;
        }
    }
    return out;
}

bool IsPlainPrintable(std::string_view text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte >= 0x7F) {
            return false;
        }
    }
    return true;
}

std::string JsonString(std::string_view utf8) {
    std::string json(1, '"');
    json += JsonEscaped(utf8);
    json += '"';
    return json;
}

std::string JsonEscaped(std::string_view utf8) {
    std::string escaped;
    escaped.reserve(utf8.size() + 8);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '"') {
            escaped += "\\\"";
        } else if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (const std::size_t length = UnsafeLength(utf8, i)) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", CodePoint(utf8, i, length));
            escaped += code;
            i += length - 1;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

void ProgressBar::Advance(std::uint64_t bytes) {
    done_ += bytes;
    Draw();
}

void ProgressBar::Draw(bool force) {
    if (!enabled_) {
        return;
    }
    const std::int64_t now = NowMs();
    if (!force && shown_ && now - lastDrawMs_ < 100) {
        return;
    }
    lastDrawMs_ = now;
    const std::uint64_t done = std::min(done_, total_);
    const int percent = total_ == 0 ? 100 : static_cast<int>(done * 100 / total_);
    constexpr int kWidth = 30;
    std::string bar(static_cast<std::size_t>(percent * kWidth / 100), '#');
    bar.resize(kWidth, '.');
    std::fprintf(stderr, "\r\033[K[%s] %3d%%  %s of %s", bar.c_str(), percent,
                 Megabytes(done).c_str(), Megabytes(total_).c_str());
    std::fflush(stderr);
    shown_ = true;
}

void ProgressBar::Clear() {
    if (enabled_ && shown_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        shown_ = false;
    }
}

char ReadAnswer() {
    char first = 0;
    bool any = false;
    while (!Interrupted()) {
        // The interrupt's pipe wakes the wait: reading the terminal itself would be restarted.
        pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {g_interruptPipe[0], POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (waits[1].revents != 0) {
            break;
        }
        char c = 0;
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return !any ? 0 : (first == 0 ? '\n' : first);
        }
        any = true;
        if (c == '\n') {
            return first == 0 ? '\n' : first;
        }
        if (first == 0 && c != ' ' && c != '\t' && c != '\r') {
            first = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    return 0;
}

void InstallInterruptHandler() {
    if (g_interruptPipe[0] < 0 && ::pipe2(g_interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_interruptPipe[0] = g_interruptPipe[1] = -1;
    }
    PageWriteSection::SetEndHook(EndIfInterruptedTwice);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // a write to a slow reader goes on instead of losing lines
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() {
    return g_interrupts != 0;
}

void IgnoreBrokenPipes() {
    ::signal(SIGPIPE, SIG_IGN);
}

}  // namespace vantaro::cli
