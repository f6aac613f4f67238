#include "cli/Terminal.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

namespace vantaro::cli {

namespace {

std::atomic<bool>* g_stopRequested = nullptr;
std::atomic<bool>* g_abortFile = nullptr;
volatile sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) {
    g_interrupted = 1;
    if (g_stopRequested != nullptr) {
        g_stopRequested->store(true);
        g_abortFile->store(true);
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

std::string ForOutput(std::string_view utf8, bool terminal) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '\r') {
            out += '\n';
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') {
                ++i;
            }
        } else if (terminal && ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F)) {
            out += "\xEF\xBF\xBD";
        } else if (terminal && c == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
            out += "\xEF\xBF\xBD";  // a C1 control character, U+0080..U+009F
            ++i;
        } else {
            out += static_cast<char>(c);
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

std::string JsonEscaped(std::string_view utf8) {
    std::string escaped;
    escaped.reserve(utf8.size() + 8);
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                escaped += "\\\"";
                break;
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\t':
                escaped += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char code[8];
                    std::snprintf(code, sizeof code, "\\u%04x", byte);
                    escaped += code;
                } else {
                    escaped += c;
                }
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
    while (true) {
        char c = 0;
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n <= 0) {
            return (n < 0 && errno == EINTR) || !any ? 0 : (first == 0 ? '\n' : first);
        }
        any = true;
        if (c == '\n') {
            return first == 0 ? '\n' : first;
        }
        if (first == 0 && c != ' ' && c != '\t' && c != '\r') {
            first = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
}

void InstallInterruptHandler(std::atomic<bool>* stopRequested, std::atomic<bool>* abortFile) {
    g_stopRequested = stopRequested;
    g_abortFile = abortFile;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a question waiting for input ends at once
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() {
    return g_interrupted != 0;
}

}  // namespace vantaro::cli
