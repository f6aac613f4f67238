#include "engine/ByteText.h"

#include "engine/StopFinder.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VANTARO_X86_AVX2_CONTAINS 1
#include <immintrin.h>
#endif

namespace vantaro {

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithIgnoreAsciiCase(a, b);
}

bool StartsWithIgnoreAsciiCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (FoldAscii(static_cast<unsigned char>(text[i])) !=
            FoldAscii(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

namespace {

bool IsAsciiLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool ContainsBytewise(std::string_view text, std::string_view needle) {
    for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
        if (StartsWithIgnoreAsciiCase(text.substr(i), needle)) {
            return true;
        }
    }
    return false;
}

#if defined(__SSE2__)
// One byte of the needle as a wide test: letters match in either case, other bytes exactly.
struct WideAnchor {
    std::size_t offset;
    __m128i fold;
    __m128i value;

    WideAnchor(std::string_view needle, std::size_t at) : offset(at) {
        const auto c = static_cast<unsigned char>(needle[at]);
        const bool letter = IsAsciiLetter(c);
        fold = _mm_set1_epi8(letter ? 0x20 : 0);
        value = _mm_set1_epi8(static_cast<char>(letter ? (c | 0x20) : c));
    }

    __m128i Test(const char* at) const {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + offset));
        return _mm_cmpeq_epi8(_mm_or_si128(chunk, fold), value);
    }
};
#endif

#if defined(VANTARO_X86_AVX2_CONTAINS)
// One byte of the needle as a 32-byte test, as WideAnchor; made once per search.
struct WideAnchor32 {
    std::size_t offset;
    __m256i fold;
    __m256i value;

    __attribute__((target("avx2"))) WideAnchor32(std::string_view needle, std::size_t at)
        : offset(at) {
        const auto c = static_cast<unsigned char>(needle[at]);
        const bool letter = IsAsciiLetter(c);
        fold = _mm256_set1_epi8(letter ? 0x20 : 0);
        value = _mm256_set1_epi8(static_cast<char>(letter ? (c | 0x20) : c));
    }

    __attribute__((target("avx2"))) __m256i Test(const char* at) const {
        const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + offset));
        return _mm256_cmpeq_epi8(_mm256_or_si256(chunk, fold), value);
    }
};

// Where the needle (three bytes or more) starts, 32 positions at a time, from position i on
// while 32 whole positions are left; i ends where the narrower search goes on.
__attribute__((target("avx2"))) bool ContainsAvx2(std::string_view text, std::string_view needle,
                                                  std::size_t& i) {
    const WideAnchor32 first(needle, 0);
    const WideAnchor32 second(needle, 1);
    const WideAnchor32 late(needle, needle.size() - 2);
    const std::size_t last = text.size() - needle.size();
    for (; i + 32 <= last + 1; i += 32) {
        const char* at = text.data() + i;
        const __m256i fits =
            _mm256_and_si256(_mm256_and_si256(first.Test(at), second.Test(at)), late.Test(at));
        for (auto mask = static_cast<unsigned>(_mm256_movemask_epi8(fits)); mask != 0;
             mask &= mask - 1) {
            const std::size_t start = i + static_cast<std::size_t>(__builtin_ctz(mask));
            if (StartsWithIgnoreAsciiCase(text.substr(start), needle)) {
                return true;
            }
        }
    }
    return false;
}
#endif

}  // namespace

bool ContainsIgnoreAsciiCase(std::string_view text, std::string_view needle) {
    if (needle.size() > text.size()) {
        return false;
    }
#if defined(__SSE2__)
    // Three of the needle's bytes are tested sixteen positions at a time; only where all three
    // fit is the whole needle compared.
    if (needle.size() >= 3) {
        const WideAnchor first(needle, 0);
        const WideAnchor second(needle, 1);
        const WideAnchor late(needle, needle.size() - 2);
        const std::size_t last = text.size() - needle.size();  // the last possible start
        std::size_t i = 0;
#if defined(VANTARO_X86_AVX2_CONTAINS)
        if (StopFinder::CurrentWidth() == ScanWidth::Avx2 && ContainsAvx2(text, needle, i)) {
            return true;
        }
#endif
        for (; i + 16 <= last + 1; i += 16) {
            const char* at = text.data() + i;
            const __m128i fits =
                _mm_and_si128(_mm_and_si128(first.Test(at), second.Test(at)), late.Test(at));
            for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(fits)); mask != 0;
                 mask &= mask - 1) {
                const std::size_t start = i + static_cast<std::size_t>(__builtin_ctz(mask));
                if (StartsWithIgnoreAsciiCase(text.substr(start), needle)) {
                    return true;
                }
            }
        }
        return ContainsBytewise(text.substr(i), needle);
    }
#endif
    return ContainsBytewise(text, needle);
}

}  // namespace vantaro
