#pragma once

#include <array>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vantaro {

// Finds the next byte of a small set quickly: sixteen bytes at a time where the processor
// allows and the set has few members, one at a time otherwise.
class ByteFinder {
  public:
    void Clear() {
        for (std::size_t k = 0; k < count_ && k < kMaxWide; ++k) {
            table_[bytes_[k]] = false;
        }
        if (count_ > kMaxWide) {
            table_.fill(false);
        }
        count_ = 0;
    }

    void Add(unsigned char member) {
        if (table_[member]) {
            return;
        }
        table_[member] = true;
        if (count_ < kMaxWide) {
            bytes_[count_] = member;
#if defined(__SSE2__)
            wide_[count_] = _mm_set1_epi8(static_cast<char>(member));
#endif
        }
        ++count_;
    }

    // The position of the first member in [from, to), or `to`.
    std::size_t FindFirst(const unsigned char* data, std::size_t from, std::size_t to) const {
        std::size_t i = from;
#if defined(__SSE2__)
        if (count_ <= kMaxWide) {
            while (i + 16 <= to) {
                const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
                __m128i hits = _mm_cmpeq_epi8(chunk, wide_[0]);
                for (std::size_t k = 1; k < count_; ++k) {
                    hits = _mm_or_si128(hits, _mm_cmpeq_epi8(chunk, wide_[k]));
                }
                const int mask = _mm_movemask_epi8(hits);
                if (mask != 0) {
                    return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
                }
                i += 16;
            }
        }
#endif
        while (i < to && !table_[data[i]]) {
            ++i;
        }
        return i;
    }

  private:
    static constexpr std::size_t kMaxWide = 8;
    std::array<bool, 256> table_{};
    std::array<unsigned char, kMaxWide> bytes_{};
    std::size_t count_ = 0;
#if defined(__SSE2__)
    __m128i wide_[kMaxWide]{};
#endif
};

}  // namespace vantaro
