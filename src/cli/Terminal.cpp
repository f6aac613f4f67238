#include "cli/Terminal.h"

#include <chrono>
#include <cstdio>

#include "engine/PageWriteSection.h"
#include "log/PageText.h"
#include "platform/Interrupts.h"

namespace vantaro::cli {

namespace {

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
    for (;;) {
        const int c = ReadInputByte();
        if (c == -2) {
            return 0;
        }
        if (c == -1) {
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
}

void InstallInterruptHandler() {
    PageWriteSection::SetEndHook(EndIfInterruptedTwice);
    vantaro::InstallInterruptHandler(kInterruptedStatus, PageWriteSection::Active);
}

bool Interrupted() {
    return InterruptCount() != 0;
}

}  // namespace vantaro::cli
