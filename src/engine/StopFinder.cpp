#include "engine/StopFinder.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>

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

// Sixteen bytes by default even where 32 are possible: stops on real pages are mostly a few
// bytes apart, and there the wider search measured slower.
std::atomic<ScanWidth>& Width() {
    static std::atomic<ScanWidth> width{DetectWidest() == ScanWidth::Bytewise ? ScanWidth::Bytewise
                                                                              : ScanWidth::Sse2};
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
#if defined(__SSE2__)
    // Unused compare slots repeat the quote, which never stops this search.
    for (std::size_t k = 0; k < kMaxWide; ++k) {
        pastQuotesWanted_[k] =
            _mm_set1_epi8(static_cast<char>(k < delimiterCount_ ? delimiterBytes_[k] : '"'));
    }
    pastQuotesCompares_ = std::clamp<std::size_t>(delimiterCount_, 1, kMaxWide);
#endif

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
