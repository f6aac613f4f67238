#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/IgnoredRegions.h"
#include "engine/TagKinds.h"

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

    // Takes up the width tests and benchmarks may have chosen since.
    void FollowCurrentWidth() {
        width_ = CurrentWidth();
        block_.Valid = false;
    }

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

    // The data FindPastQuotes searches: readable up to `end`. Called again whenever the bytes
    // change (a buffer refilled), since the finder keeps what it learnt of them.
    void SetData(const unsigned char* data, std::size_t end) {
        data_ = data;
        dataEnd_ = end;
        block_.Valid = false;
    }

    // Like Find over the data given to SetData, but quotes do not stop the search: they toggle
    // inQuote, which on return holds the state before the stop byte. The search stops at the
    // first byte of a delimiter that could match now, or at the bracket when outside quotes.
    // Tags are mostly quoted attributes, so this takes most of a tag in one search.
    StopSearch FindPastQuotes(std::size_t from, std::size_t to, Bracket bracket, bool& inQuote) {
        if (width_ == ScanWidth::Bytewise) {
            return FindPastQuotesBytewise(data_, from, to, BracketByte(bracket), inQuote, 0);
        }
        return SearchBlocks(from, to, bracket, inQuote);
    }

    // Whether FindPastTags can be used: as FindPastQuotes, and in wide steps.
    bool CanPassTagEnds() const {
        return canPassQuotes_ && width_ != ScanWidth::Bytewise;
    }

    // A tag the search passes over: whether one is open, and where its '<' is.
    struct PassedTag {
        bool Open = false;
        std::size_t Start = 0;
    };

    // Like FindPastQuotes outside regions and outside tags (or inside one passed over), but
    // passing over every tag no one acts on: a '<' outside quotes whose next two bytes are not
    // in openStops opens such a tag, and its first '>' outside quotes closes it. openStops
    // holds the pairs of the tags acted on and those an open delimiter can begin with. The
    // search stops at such a '<' (or one whose next two bytes are not read yet), and at any
    // other byte that may begin a delimiter by the regions' quick test. Most tags are passed
    // over this way, without a stop of their own.
    StopSearch FindPastTags(std::size_t from, std::size_t to, bool& inQuote, PassedTag& tag,
                            const TagStartPairs& openStops, const IgnoreTagList& regions);

    // The widest search this processor can do, and the one new searches use (by default the
    // widest).
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

    // FindPastQuotes in wide steps. The bytes are classified 64 at a time once; each search
    // then only combines the block's masks, as consecutive stops are mostly a few bytes apart.
    StopSearch SearchBlocks(std::size_t from, std::size_t to, Bracket bracket, bool& inQuote) {
        std::size_t lineFeeds = 0;
        while (from < to) {
            const BlockWindow block = EnterBlock(from, to, inQuote);
            const std::uint64_t stops =
                block.delimiters | (BracketBits(bracket) & ~block.quoted & block.window);
            if (stops != 0) {
                return StopAt(block, static_cast<unsigned>(__builtin_ctzll(stops)), inQuote,
                              lineFeeds);
            }
            from = LeaveBlock(block, inQuote, lineFeeds);
        }
        return {from, lineFeeds};
    }

    // The block holding `from`, seen from there up to `to`.
    struct BlockWindow {
        std::uint64_t window;      // the bytes from `from` up to `to` within the block
        std::uint64_t quoted;      // inside quotes (a quote counting as after itself)
        std::uint64_t delimiters;  // that are not quotes
        std::size_t span;          // bytes of the block before `to`
    };
    BlockWindow EnterBlock(std::size_t from, std::size_t to, bool inQuote) {
        if (!block_.Valid || from < block_.Start || from - block_.Start >= 64) {
            ClassifyBlock(from);
        }
        const auto offset = static_cast<unsigned>(from - block_.Start);
        const std::size_t span = std::min<std::size_t>(64, to - block_.Start);
        const std::uint64_t window =
            (span == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << span) - 1) &
            (~std::uint64_t{0} << offset);
        const std::uint64_t quotes = block_.Quotes & window;
        std::uint64_t quoted = quotes == 0 ? 0 : PrefixParity64(quotes);
        if (inQuote) {
            quoted = ~quoted;
        }
        return {window, quoted, block_.Delimiters & ~block_.Quotes & window, span};
    }
    StopSearch StopAt(const BlockWindow& block, unsigned stop, bool& inQuote,
                      std::size_t lineFeeds) const {
        inQuote = ((block.quoted >> stop) & 1u) != 0;
        lineFeeds += CountBits(block_.LineFeeds & block.window & ((std::uint64_t{1} << stop) - 1));
        return {block_.Start + stop, lineFeeds};
    }
    std::size_t LeaveBlock(const BlockWindow& block, bool& inQuote, std::size_t& lineFeeds) const {
        inQuote = ((block.quoted >> (block.span - 1)) & 1u) != 0;
        lineFeeds += CountBits(block_.LineFeeds & block.window);
        return block_.Start + block.span;
    }

    std::uint64_t BracketBits(Bracket bracket) const {
        return bracket == Bracket::Open    ? block_.Opens
               : bracket == Bracket::Close ? block_.Closes
                                           : 0;
    }

    // Bit i of the result is the parity of bits 0..i.
    static std::uint64_t PrefixParity64(std::uint64_t bits) {
        bits ^= bits << 1;
        bits ^= bits << 2;
        bits ^= bits << 4;
        bits ^= bits << 8;
        bits ^= bits << 16;
        bits ^= bits << 32;
        return bits;
    }

    static int BracketByte(Bracket bracket) {
        return bracket == Bracket::Open ? '<' : bracket == Bracket::Close ? '>' : -1;
    }

    // Which of 64 bytes from Start are quotes, line feeds, brackets and delimiter starts.
    struct BlockMasks {
        bool Valid = false;
        std::size_t Start = 0;
        std::uint64_t Quotes = 0;
        std::uint64_t LineFeeds = 0;
        std::uint64_t Opens = 0;
        std::uint64_t Closes = 0;
        std::uint64_t Delimiters = 0;
    };
    void ClassifyBlock(std::size_t from);

    // Few bits are ever set: clearing them one by one beats a population count done without
    // the processor's instruction.
    static std::size_t CountBits(std::uint64_t bits) {
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
    const unsigned char* data_ = nullptr;
    std::size_t dataEnd_ = 0;
    BlockMasks block_;
    std::array<bool, 256> table_{};
    // The delimiter starts alone, for FindPastQuotes.
    std::array<bool, 256> delimiterTable_{};
    std::array<unsigned char, kMaxWide> delimiterBytes_{};
    std::size_t delimiterCount_ = 0;
    // The delimiter starts the wide classification compares (the others it knows already).
    std::array<unsigned char, kMaxWide> otherDelimiterBytes_{};
    std::size_t otherDelimiterCount_ = 0;
    bool canPassQuotes_ = false;
    std::array<StopBytes, 3> sets_{};  // by Bracket
};

}  // namespace vantaro
