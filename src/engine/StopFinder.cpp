#include "engine/StopFinder.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VANTARO_X86_SEARCH 1
#include <immintrin.h>
#endif

namespace vantaro {

namespace {

using StopBytes = StopFinder::StopBytes;

StopSearch FindBytewise(const StopBytes& stops, const unsigned char* data, std::size_t i,
                        std::size_t to, std::size_t lineFeeds) {
    const std::array<bool, 256>& table = *stops.Table;
    while (i < to) {
        const unsigned char c = data[i];
        if (table[c] || c == stops.BracketByte) {
            break;
        }
        lineFeeds += c == '\n' ? 1 : 0;
        ++i;
    }
    return {i, lineFeeds};
}

// The line feeds below the lowest stop bit, or in the whole mask when there is no stop. Without
// a population-count instruction, clearing bits one by one is quickest: few are ever set.
std::size_t LineFeedsBefore(std::uint32_t stopMask, std::uint32_t lineFeedMask) {
    const std::uint32_t below = stopMask == 0 ? ~0u : (stopMask & (0u - stopMask)) - 1;
    std::size_t count = 0;
    for (std::uint32_t bits = lineFeedMask & below; bits != 0; bits &= bits - 1) {
        ++count;
    }
    return count;
}

#if defined(VANTARO_X86_SEARCH)

StopSearch FindSse2(const StopBytes& stops, const unsigned char* data, std::size_t i,
                    std::size_t to, std::size_t lineFeeds) {
    __m128i wanted[StopFinder::kMaxWide];
    for (std::size_t k = 0; k < stops.Count; ++k) {
        wanted[k] = _mm_set1_epi8(static_cast<char>(stops.Bytes[k]));
    }
    const __m128i lineFeed = _mm_set1_epi8('\n');
    for (; i + 16 <= to; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(chunk, wanted[0]), _mm_cmpeq_epi8(chunk, wanted[1])),
            _mm_or_si128(_mm_cmpeq_epi8(chunk, wanted[2]), _mm_cmpeq_epi8(chunk, wanted[3])));
        for (std::size_t k = 4; k < stops.Count; ++k) {
            hits = _mm_or_si128(hits, _mm_cmpeq_epi8(chunk, wanted[k]));
        }
        const auto stopMask = static_cast<std::uint32_t>(_mm_movemask_epi8(hits));
        const auto lineFeedMask =
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, lineFeed)));
        lineFeeds += LineFeedsBefore(stopMask, lineFeedMask);
        if (stopMask != 0) {
            return {i + static_cast<std::size_t>(std::countr_zero(stopMask)), lineFeeds};
        }
    }
    return FindBytewise(stops, data, i, to, lineFeeds);
}

__attribute__((target("avx2,popcnt,bmi"))) StopSearch FindAvx2(const StopBytes& stops,
                                                               const unsigned char* data,
                                                               std::size_t i, std::size_t to,
                                                               std::size_t lineFeeds) {
    __m256i wanted[StopFinder::kMaxWide];
    for (std::size_t k = 0; k < stops.Count; ++k) {
        wanted[k] = _mm256_set1_epi8(static_cast<char>(stops.Bytes[k]));
    }
    const __m256i lineFeed = _mm256_set1_epi8('\n');
    for (; i + 32 <= to; i += 32) {
        const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
        __m256i hits = _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(chunk, wanted[0]),
                                                       _mm256_cmpeq_epi8(chunk, wanted[1])),
                                       _mm256_or_si256(_mm256_cmpeq_epi8(chunk, wanted[2]),
                                                       _mm256_cmpeq_epi8(chunk, wanted[3])));
        for (std::size_t k = 4; k < stops.Count; ++k) {
            hits = _mm256_or_si256(hits, _mm256_cmpeq_epi8(chunk, wanted[k]));
        }
        const auto stopMask = static_cast<std::uint32_t>(_mm256_movemask_epi8(hits));
        const auto lineFeedMask =
            static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(chunk, lineFeed)));
        const std::uint32_t below = stopMask == 0 ? ~0u : _blsmsk_u32(stopMask) >> 1;
        lineFeeds += static_cast<std::size_t>(_mm_popcnt_u32(lineFeedMask & below));
        if (stopMask != 0) {
            return {i + static_cast<std::size_t>(_tzcnt_u32(stopMask)), lineFeeds};
        }
    }
    return FindSse2(stops, data, i, to, lineFeeds);
}

#endif

// Which of 64 bytes are quotes, line feeds, brackets and delimiter starts, one bit per byte.
struct ByteClasses {
    std::uint64_t quotes = 0;
    std::uint64_t lineFeeds = 0;
    std::uint64_t opens = 0;
    std::uint64_t closes = 0;
    std::uint64_t delimiters = 0;
};

// Delimiter starts that are quotes, line feeds or brackets, from the bits already found.
void AddClassifiedDelimiters(ByteClasses& classes, const std::array<bool, 256>& delimiters) {
    classes.delimiters |=
        (delimiters['"'] ? classes.quotes : 0) | (delimiters['\n'] ? classes.lineFeeds : 0) |
        (delimiters['<'] ? classes.opens : 0) | (delimiters['>'] ? classes.closes : 0);
}

ByteClasses ClassifyBytewise(const unsigned char* at, const std::array<bool, 256>& delimiters) {
    ByteClasses classes;
    for (unsigned i = 0; i < 64; ++i) {
        const unsigned char c = at[i];
        const std::uint64_t bit = std::uint64_t{1} << i;
        classes.quotes |= c == '"' ? bit : 0;
        classes.lineFeeds |= c == '\n' ? bit : 0;
        classes.opens |= c == '<' ? bit : 0;
        classes.closes |= c == '>' ? bit : 0;
        classes.delimiters |= delimiters[c] ? bit : 0;
    }
    return classes;
}

#if defined(VANTARO_X86_SEARCH)

ByteClasses ClassifySse2(const unsigned char* at, const unsigned char* delimiters,
                         std::size_t delimiterCount) {
    ByteClasses classes;
    const auto mask = [](__m128i hits, unsigned shift) {
        return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(hits))) << shift;
    };
    for (unsigned part = 0; part < 4; ++part) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * part));
        const unsigned shift = 16 * part;
        classes.quotes |= mask(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('"')), shift);
        classes.lineFeeds |= mask(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n')), shift);
        classes.opens |= mask(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('<')), shift);
        classes.closes |= mask(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('>')), shift);
        __m128i hits = _mm_setzero_si128();
        for (std::size_t k = 0; k < delimiterCount; ++k) {
            hits = _mm_or_si128(
                hits, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(static_cast<char>(delimiters[k]))));
        }
        classes.delimiters |= mask(hits, shift);
    }
    return classes;
}

__attribute__((target("avx2"))) std::uint64_t Mask32(__m256i hits, unsigned shift) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(hits)))
           << shift;
}

__attribute__((target("avx2"))) ByteClasses ClassifyAvx2(const unsigned char* at,
                                                         const unsigned char* delimiters,
                                                         std::size_t delimiterCount) {
    ByteClasses classes;
    for (unsigned part = 0; part < 2; ++part) {
        const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32 * part));
        const unsigned shift = 32 * part;
        classes.quotes |= Mask32(_mm256_cmpeq_epi8(chunk, _mm256_set1_epi8('"')), shift);
        classes.lineFeeds |= Mask32(_mm256_cmpeq_epi8(chunk, _mm256_set1_epi8('\n')), shift);
        classes.opens |= Mask32(_mm256_cmpeq_epi8(chunk, _mm256_set1_epi8('<')), shift);
        classes.closes |= Mask32(_mm256_cmpeq_epi8(chunk, _mm256_set1_epi8('>')), shift);
        __m256i hits = _mm256_setzero_si256();
        for (std::size_t k = 0; k < delimiterCount; ++k) {
            hits = _mm256_or_si256(
                hits, _mm256_cmpeq_epi8(chunk, _mm256_set1_epi8(static_cast<char>(delimiters[k]))));
        }
        classes.delimiters |= Mask32(hits, shift);
    }
    return classes;
}

#endif

ScanWidth DetectWidest() {
#if defined(VANTARO_X86_SEARCH)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") &&
                   __builtin_cpu_supports("bmi")
               ? ScanWidth::Avx2
               : ScanWidth::Sse2;
#else
    return ScanWidth::Bytewise;
#endif
}

// The widest: the page's bytes are classified 64 at a time either way, and 32 at once measured
// quicker on real pages.
std::atomic<ScanWidth>& Width() {
    static std::atomic<ScanWidth> width{DetectWidest()};
    return width;
}

}  // namespace

ScanWidth StopFinder::WidestAvailable() {
    static const ScanWidth widest = DetectWidest();
    return widest;
}

ScanWidth StopFinder::CurrentWidth() {
    return Width().load(std::memory_order_relaxed);
}

void StopFinder::UseWidth(ScanWidth width) {
    const ScanWidth widest = WidestAvailable();
    Width().store(static_cast<int>(width) > static_cast<int>(widest) ? widest : width,
                  std::memory_order_relaxed);
}

void StopFinder::SetDelimiterStarts(const std::vector<unsigned char>& starts) {
    delimiterTable_.fill(false);
    delimiterCount_ = 0;
    for (unsigned char c : starts) {
        if (!delimiterTable_[c]) {
            delimiterTable_[c] = true;
            if (delimiterCount_ < kMaxWide) {
                delimiterBytes_[delimiterCount_] = c;
            }
            ++delimiterCount_;
        }
    }
    canPassQuotes_ = !delimiterTable_['"'] && delimiterCount_ <= kMaxWide;
    block_.Valid = false;

    // A delimiter start that is a quote, a line feed or a bracket is already classified as
    // one: the wide classification takes its bits from there instead of comparing again.
    otherDelimiterCount_ = 0;
    for (std::size_t k = 0; k < std::min(delimiterCount_, kMaxWide); ++k) {
        const unsigned char c = delimiterBytes_[k];
        if (c != '"' && c != '\n' && c != '<' && c != '>') {
            otherDelimiterBytes_[otherDelimiterCount_++] = c;
        }
    }

    table_.fill(false);
    table_['"'] = true;
    std::vector<unsigned char> bytes(1, '"');
    for (unsigned char c : starts) {
        if (!table_[c]) {
            table_[c] = true;
            bytes.push_back(c);
        }
    }
    for (Bracket bracket : {Bracket::None, Bracket::Open, Bracket::Close}) {
        StopBytes& set = sets_[static_cast<std::size_t>(bracket)];
        set = StopBytes{};
        set.Table = &table_;
        set.BracketByte = bracket == Bracket::Open ? '<' : bracket == Bracket::Close ? '>' : -1;
        std::vector<unsigned char> wide = bytes;
        if (set.BracketByte >= 0 && !table_[static_cast<unsigned char>(set.BracketByte)]) {
            wide.push_back(static_cast<unsigned char>(set.BracketByte));
        }
        if (wide.size() <= kMaxWide) {
            // At least four, repeating the quote: the wide searches always compare four.
            std::copy(wide.begin(), wide.end(), set.Bytes.begin());
            set.Count = std::max<std::size_t>(wide.size(), 4);
            std::fill(set.Bytes.begin() + static_cast<std::ptrdiff_t>(wide.size()),
                      set.Bytes.begin() + static_cast<std::ptrdiff_t>(set.Count), '"');
        }
#if defined(__SSE2__)
        FirstChunk& first = firstChunks_[static_cast<std::size_t>(bracket)];
        first.Usable = wide.size() <= 4;
        for (std::size_t k = 0; k < 4; ++k) {
            const unsigned char c = k < wide.size() ? wide[k] : wide[0];
            first.Wanted[k] = _mm_set1_epi8(static_cast<char>(c));
        }
#endif
    }
}

void StopFinder::ClassifyBlock(std::size_t from) {
    // Past the data's end the block is padded with zeros; the searches never look there.
    alignas(32) unsigned char padded[64];
    const unsigned char* at = data_ + from;
    if (dataEnd_ - from < 64) {
        std::memset(padded, 0, sizeof padded);
        std::memcpy(padded, at, dataEnd_ - from);
        at = padded;
    }
    ByteClasses classes;
    switch (width_) {
#if defined(VANTARO_X86_SEARCH)
        case ScanWidth::Avx2:
            classes = ClassifyAvx2(at, otherDelimiterBytes_.data(), otherDelimiterCount_);
            AddClassifiedDelimiters(classes, delimiterTable_);
            break;
        case ScanWidth::Sse2:
            classes = ClassifySse2(at, otherDelimiterBytes_.data(), otherDelimiterCount_);
            AddClassifiedDelimiters(classes, delimiterTable_);
            break;
#endif
        default:
            classes = ClassifyBytewise(at, delimiterTable_);
            break;
    }
    block_ = BlockMasks{true,          from,           classes.quotes,    classes.lineFeeds,
                        classes.opens, classes.closes, classes.delimiters};
}

StopSearch StopFinder::FindPastQuotesBytewise(const unsigned char* data, std::size_t i,
                                              std::size_t to, int bracketByte, bool& inQuote,
                                              std::size_t lineFeeds) const {
    while (i < to) {
        const unsigned char c = data[i];
        if (delimiterTable_[c] || (c == bracketByte && !inQuote)) {
            break;
        }
        inQuote = inQuote != (c == '"');
        lineFeeds += c == '\n' ? 1 : 0;
        ++i;
    }
    return {i, lineFeeds};
}

StopSearch StopFinder::FindPastTags(std::size_t from, std::size_t to, bool& inQuote, PassedTag& tag,
                                    const TagStartPairs& openStops, const IgnoreTagList& regions) {
    std::size_t lineFeeds = 0;
    while (from < to) {
        const BlockWindow block = EnterBlock(from, to, inQuote);
        const std::uint64_t opens = block_.Opens & ~block.quoted & block.window;
        const std::uint64_t closes = block_.Closes & ~block.quoted & block.window;
        std::uint64_t ahead = block.window;  // the bytes not yet gone past
        while (true) {
            const std::uint64_t events = (block.delimiters | (tag.Open ? closes : opens)) & ahead;
            if (events == 0) {
                break;
            }
            const auto bit = static_cast<unsigned>(__builtin_ctzll(events));
            const std::uint64_t here = std::uint64_t{1} << bit;
            const std::size_t at = block_.Start + bit;
            if (!tag.Open && (opens & here) != 0) {
                // One look tells both whether the tag is acted on and whether a delimiter can
                // begin here.
                if (at + 2 >= dataEnd_ || openStops.Has(data_[at + 1], data_[at + 2])) {
                    return StopAt(block, bit, inQuote, lineFeeds);
                }
                tag = PassedTag{true, at};
            } else if ((block.delimiters & here) != 0 &&
                       regions.MayStartDelimiterAt(data_ + at, dataEnd_ - at)) {
                return StopAt(block, bit, inQuote, lineFeeds);
            } else if (tag.Open && (closes & here) != 0) {
                tag.Open = false;
            }
            ahead &= ~((here << 1) - 1);
        }
        from = LeaveBlock(block, inQuote, lineFeeds);
    }
    return {from, lineFeeds};
}

StopSearch StopFinder::FindWide(const unsigned char* data, std::size_t from, std::size_t to,
                                Bracket bracket, std::size_t lineFeeds) const {
    const StopBytes& stops = sets_[static_cast<std::size_t>(bracket)];
#if defined(VANTARO_X86_SEARCH)
    if (stops.Count != 0) {
        switch (width_) {
            case ScanWidth::Avx2:
                return FindAvx2(stops, data, from, to, lineFeeds);
            case ScanWidth::Sse2:
                return FindSse2(stops, data, from, to, lineFeeds);
            case ScanWidth::Bytewise:
                break;
        }
    }
#endif
    return FindBytewise(stops, data, from, to, lineFeeds);
}

}  // namespace vantaro
