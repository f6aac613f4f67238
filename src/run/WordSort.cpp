#include "run/WordSort.h"

#include <cstdint>
#include <vector>

namespace vantaro {

namespace {

constexpr std::uint32_t kSymbolBase = 0x100;
constexpr std::uint32_t kDigitBase = 0x1000;
constexpr std::uint32_t kLetterBase = 0x2000;
constexpr std::uint32_t kOtherBase = 0x10000;

// Base letter and accent rank of the Latin-1 letters U+00C0..U+00FF ('\0' for non-letters).
constexpr char kLatin1Base[] =
    "AAAAAAACEEEEIIII"    // C0..CF
    "DNOOOOO\0OUUUUYTs"   // D0..DF (D7 is the multiplication sign)
    "aaaaaaaceeeeiiii"    // E0..EF
    "dnooooo\0ouuuuyty";  // F0..FF (F7 is the division sign)

constexpr std::uint32_t kStrayByte = 0x110000;  // bytes that are not UTF-8 sort after Unicode

std::uint32_t DecodeUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80   ? 0
                      : lead < 0xC2 ? -1
                      : lead < 0xE0 ? 1
                      : lead < 0xF0 ? 2
                      : lead < 0xF5 ? 3
                                    : -1;
    if (extra <= 0 || i + static_cast<std::size_t>(extra) >= text.size()) {
        ++i;
        return extra == 0 ? lead : kStrayByte + lead;
    }
    std::uint32_t code = lead & (0x3Fu >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return kStrayByte + lead;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return code;
}

}  // namespace

WordSortKey::Weights WeighCharacter(std::uint32_t c) {
    if (c == '-' || c == '\'') {
        return {0, 0, 0};
    }
    if (c >= 'a' && c <= 'z') {
        return {kLetterBase + (c - 'a') * 16, 0, 0};
    }
    if (c >= 'A' && c <= 'Z') {
        return {kLetterBase + (c - 'A') * 16, 0, 1};
    }
    if (c >= '0' && c <= '9') {
        return {kDigitBase + c, 0, 0};
    }
    if (c < 0x80) {
        return {kSymbolBase + c, 0, 0};
    }
    if (c >= 0xC0 && c <= 0xFF && kLatin1Base[c - 0xC0] != '\0') {
        const char base = kLatin1Base[c - 0xC0];
        const bool upper = base >= 'A' && base <= 'Z';
        const std::uint32_t letter = static_cast<std::uint32_t>(upper ? base - 'A' : base - 'a');
        return {kLetterBase + letter * 16, 1 + (c & 0x1F), upper ? 1u : 0u};
    }
    return {kOtherBase + c, 0, 0};
}

namespace {

template <typename Weights, typename Level>
int CompareLevel(const std::vector<Weights>& a, const std::vector<Weights>& b, Level level,
                 bool skipIgnorable) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (true) {
        while (skipIgnorable && i < a.size() && a[i].primary == 0) {
            ++i;
        }
        while (skipIgnorable && j < b.size() && b[j].primary == 0) {
            ++j;
        }
        if (i == a.size() || j == b.size()) {
            return (i == a.size() ? 0 : 1) - (j == b.size() ? 0 : 1);
        }
        const std::uint32_t x = level(a[i]);
        const std::uint32_t y = level(b[j]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
        ++i;
        ++j;
    }
}

}  // namespace

WordSortKey::WordSortKey(std::string_view text) : text_(text) {
    weights_.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        weights_.push_back(WeighCharacter(DecodeUtf8(text, i)));
    }
}

int Compare(const WordSortKey& a, const WordSortKey& b) {
    using Weights = WordSortKey::Weights;
    const auto& wa = a.weights_;
    const auto& wb = b.weights_;
    if (int c = CompareLevel(
            wa, wb, [](const Weights& w) { return w.primary; }, true)) {
        return c;
    }
    if (int c = CompareLevel(
            wa, wb, [](const Weights& w) { return w.secondary; }, true)) {
        return c;
    }
    if (int c = CompareLevel(
            wa, wb, [](const Weights& w) { return w.tertiary; }, true)) {
        return c;
    }
    // Finally the passed-over characters count, after everything else: "coop" before "co-op".
    const auto withIgnorables = [](const Weights& w) { return w.primary == 0 ? ~0u : w.primary; };
    if (int c = CompareLevel(wa, wb, withIgnorables, false)) {
        return c;
    }
    const int raw = a.text_.compare(b.text_);
    return raw < 0 ? -1 : raw > 0 ? 1 : 0;
}

namespace {

// Primary weights in as few bytes as keep their order: punctuation, digits and letters (the
// weights below kOtherBase) take one byte, every other character 0xF0 and three bytes; 0xFF
// stands for a passed-over character where those count last. 0 ends a level.
void AppendPrimary(std::string& key, std::uint32_t primary) {
    if (primary == 0) {
        key.push_back('\xFF');
    } else if (primary < kDigitBase) {
        key.push_back(static_cast<char>(1 + (primary - kSymbolBase)));  // 0x01..0x80
    } else if (primary < kLetterBase) {
        key.push_back(static_cast<char>(0x81 + (primary - kDigitBase - '0')));  // 0x81..0x8A
    } else if (primary < kOtherBase) {
        key.push_back(static_cast<char>(0x8B + (primary - kLetterBase) / 16));  // 0x8B..0xA4
    } else {
        const std::uint32_t c = primary - kOtherBase;
        key.push_back('\xF0');
        key.push_back(static_cast<char>(c >> 16));
        key.push_back(static_cast<char>(c >> 8));
        key.push_back(static_cast<char>(c));
    }
}

}  // namespace

std::string WordSortBytes(std::string_view text) {
    std::vector<WordSortKey::Weights> weights;
    weights.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        weights.push_back(WeighCharacter(DecodeUtf8(text, i)));
    }
    std::string key;
    key.reserve(weights.size() * 4 + text.size() + 4);
    for (const auto& w : weights) {
        if (w.primary != 0) {
            AppendPrimary(key, w.primary);
        }
    }
    key.push_back('\0');
    for (const auto& w : weights) {
        if (w.primary != 0) {
            key.push_back(static_cast<char>(1 + w.secondary));
        }
    }
    key.push_back('\0');
    for (const auto& w : weights) {
        if (w.primary != 0) {
            key.push_back(static_cast<char>(1 + w.tertiary));
        }
    }
    key.push_back('\0');
    for (const auto& w : weights) {
        AppendPrimary(key, w.primary);
    }
    key.push_back('\0');
    key.append(text);
    return key;
}

int CompareWordSort(std::string_view a, std::string_view b) {
    return Compare(WordSortKey(a), WordSortKey(b));
}

}  // namespace vantaro
