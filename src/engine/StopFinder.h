#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
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

    // Whether FindPastQuotes can be used: no delimiter starts with a quote, and few enough
    // different bytes start one for the wide search.
    bool CanPassQuotes() const {
        return canPassQuotes_;
    }

    // Like Find, but quotes do not stop the search: they toggle inQuote, which on return holds
    // the state before the stop byte. The search stops at the first byte of a delimiter that
    // could match now, or at the bracket when outside quotes. Tags are mostly quoted
    // attributes, so this takes most of a tag in one search.
    StopSearch FindPastQuotes(const unsigned char* data, std::size_t from, std::size_t to,
                              Bracket bracket, bool& inQuote) const {
        const int bracketByte = bracket == Bracket::Open    ? '<'
                                : bracket == Bracket::Close ? '>'
                                                            : -1;
        std::size_t lineFeeds = 0;
#if defined(__SSE2__)
        if (width_ != ScanWidth::Bytewise) {
            const __m128i bracketBytes = _mm_set1_epi8(static_cast<char>(bracketByte));
            for (; from + 16 <= to; from += 16) {
                const __m128i chunk =
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
                const auto quotes = static_cast<unsigned>(
                    _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('"'))));
                // Set where a byte lies inside quotes (a quote counting as after itself).
                const unsigned quoted = PrefixParity16(quotes) ^ (inQuote ? 0xFFFFu : 0u);
                const unsigned brackets =
                    bracketByte < 0 ? 0u
                                    : static_cast<unsigned>(
                                          _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, bracketBytes)));
                const unsigned stops = (DelimiterBits(chunk) & ~quotes) | (brackets & ~quoted);
                const auto lineFeedBits = static_cast<unsigned>(
                    _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n'))));
                if (stops != 0) {
                    const auto offset = static_cast<unsigned>(__builtin_ctz(stops));
                    inQuote = ((quoted >> offset) & 1u) != 0;
                    return {from + offset,
                            lineFeeds + CountBits(lineFeedBits & ((1u << offset) - 1))};
                }
                inQuote = ((quoted >> 15) & 1u) != 0;
                lineFeeds += CountBits(lineFeedBits);
            }
        }
#endif
        return FindPastQuotesBytewise(data, from, to, bracketByte, inQuote, lineFeeds);
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

    StopSearch FindPastQuotesBytewise(const unsigned char* data, std::size_t from, std::size_t to,
                                      int bracketByte, bool& inQuote, std::size_t lineFeeds) const;

#if defined(__SSE2__)
    unsigned DelimiterBits(__m128i chunk) const {
        __m128i hits = _mm_cmpeq_epi8(chunk, pastQuotesWanted_[0]);
        for (std::size_t k = 1; k < pastQuotesCompares_; ++k) {
            hits = _mm_or_si128(hits, _mm_cmpeq_epi8(chunk, pastQuotesWanted_[k]));
        }
        return static_cast<unsigned>(_mm_movemask_epi8(hits));
    }

#endif

    // Bit i of the result is the parity of bits 0..i of a 16-bit mask.
    static unsigned PrefixParity16(unsigned bits) {
        bits ^= bits << 1;
        bits ^= bits << 2;
        bits ^= bits << 4;
        bits ^= bits << 8;
        return bits & 0xFFFFu;
    }

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
    __m128i pastQuotesWanted_[kMaxWide];       // the delimiter starts, for FindPastQuotes
    std::size_t pastQuotesCompares_ = 1;
#endif

    ScanWidth width_;
    std::array<bool, 256> table_{};
    // The delimiter starts alone, for FindPastQuotes.
    std::array<bool, 256> delimiterTable_{};
    std::array<unsigned char, kMaxWide> delimiterBytes_{};
    std::size_t delimiterCount_ = 0;
    bool canPassQuotes_ = false;
    std::array<StopBytes, 3> sets_{};  // by Bracket
};

}  // namespace vantaro
