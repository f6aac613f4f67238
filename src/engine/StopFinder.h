#pragma once

#include <array>
#include <cstddef>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vantaro {

// How many bytes the scanner's search looks at in one step.
enum class ScanWidth {
    Bytewise,  // any processor
    Sse2,      // 16 bytes, every x86-64 processor
    Avx2,      // 32 bytes, chosen at run time where the processor has it
};

// Where a search stopped, and how many line feeds it went past on the way.
struct StopSearch {
    std::size_t Position;
    std::size_t LineFeeds;
};

// Finds the next byte the tag scanner must look at: a double quote, the first byte of a
// delimiter that could match now, or the one bracket that matters in the scanner's state.
// Line feeds do not stop the search; they are counted.
class StopFinder {
  public:
    enum class Bracket { None, Open, Close };

    StopFinder() : width_(CurrentWidth()) { SetDelimiterStarts({}); }
    StopFinder(const StopFinder&) = delete;
    StopFinder& operator=(const StopFinder&) = delete;

    // The first bytes of the delimiters that could match now (each may also be a quote, a
    // bracket or a line feed).
    void SetDelimiterStarts(const std::vector<unsigned char>& starts);

    // The first stop byte in [from, to), or `to`, with the line feeds in [from, stop).
    StopSearch Find(const unsigned char* data, std::size_t from, std::size_t to,
                    Bracket bracket) const {
#if defined(__SSE2__)
        // Most stops are a few bytes apart: the first sixteen bytes are tried here, without a
        // call, and only a longer run goes on to the wide search.
        const FirstChunk& first = firstChunks_[static_cast<std::size_t>(bracket)];
        if (first.Usable && width_ != ScanWidth::Bytewise && from + 16 <= to) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
            const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, first.Wanted[0]),
                                                           _mm_cmpeq_epi8(chunk, first.Wanted[1])),
                                              _mm_or_si128(_mm_cmpeq_epi8(chunk, first.Wanted[2]),
                                                           _mm_cmpeq_epi8(chunk, first.Wanted[3])));
            const auto stopMask = static_cast<unsigned>(_mm_movemask_epi8(hits));
            auto lineFeeds = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n'))));
            if (stopMask != 0) {
                const auto offset = static_cast<unsigned>(__builtin_ctz(stopMask));
                return {from + offset, CountBits(lineFeeds & ((1u << offset) - 1))};
            }
            return FindWide(data, from + 16, to, bracket, CountBits(lineFeeds));
        }
#endif
        return FindWide(data, from, to, bracket, 0);
    }

    // The widest search this processor can do, and the one new searches use (by default the
    // quickest on real pages, which need not be the widest).
    static ScanWidth WidestAvailable();
    static ScanWidth CurrentWidth();
    // For tests and benchmarks: a narrower search than the widest (a wider one than the
    // processor has is narrowed to what it has).
    static void UseWidth(ScanWidth width);

    // At most this many different stop bytes are searched for in wide steps.
    static constexpr std::size_t kMaxWide = 8;

    // The stop bytes of one search, as the wide searches take them.
    struct StopBytes {
        std::array<unsigned char, kMaxWide> Bytes{};
        std::size_t Count = 0;  // 0 when there are too many for the wide searches
        const std::array<bool, 256>* Table = nullptr;  // '"' and the delimiter starts
        int BracketByte = -1;                          // -1 for none
    };

  private:
    StopSearch FindWide(const unsigned char* data, std::size_t from, std::size_t to,
                        Bracket bracket, std::size_t lineFeeds) const;

    // Few bits are ever set: clearing them one by one beats a population count done without
    // the processor's instruction.
    static std::size_t CountBits(unsigned bits) {
        std::size_t count = 0;
        for (; bits != 0; bits &= bits - 1) {
            ++count;
        }
        return count;
    }

#if defined(__SSE2__)
    // A stop set of at most four bytes as four comparisons (repeating one where fewer).
    struct FirstChunk {
        bool Usable = false;
        __m128i Wanted[4];
    };
    std::array<FirstChunk, 3> firstChunks_{};  // by Bracket
#endif

    ScanWidth width_;
    std::array<bool, 256> table_{};
    std::array<StopBytes, 3> sets_{};  // by Bracket
};

}  // namespace vantaro
