// Fast scans of a script's raw bytes. Where the processor has SSE2 (every
// x86-64 one) they look at sixteen bytes at a time; elsewhere, and for the
// last few bytes, at one.
#include "engine/byte_scan.hpp"

#include <bit>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace install {

namespace {

constexpr bool IsStop(char c) {
    return c == '\n' || c == '\r' || c == kCtrlZ || c == '\0';
}

#if defined(__SSE2__) && defined(__x86_64__)
unsigned BytesEqual(__m128i block, char c) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
}

__m128i Load(const char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}
#endif

}  // namespace

std::size_t PlainRunLength(const char* begin, std::size_t count) {
    std::size_t i = 0;
#if defined(__SSE2__) && defined(__x86_64__)
    for (; i + 16 <= count; i += 16) {
        const __m128i block = Load(begin + i);
        const unsigned stops =
            BytesEqual(block, '\n') | BytesEqual(block, '\r') | BytesEqual(block, kCtrlZ) | BytesEqual(block, '\0');
        if (stops != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(stops));
        }
    }
#endif
    while (i < count && !IsStop(begin[i])) {
        ++i;
    }
    return i;
}

WholeLines WholeLinesBefore(const char* begin, std::size_t count, char mark) {
    WholeLines lines{0, 0};
    std::size_t i = 0;
#if defined(__SSE2__) && defined(__x86_64__)
    // The LFs are counted in sixteen byte-wide counters, which are added up
    // before any of them can overflow: a plain popcount is not an x86-64
    // baseline instruction.
    const __m128i zero = _mm_setzero_si128();
    __m128i counters = zero;
    __m128i totals = zero;
    int blocksCounted = 0;
    std::size_t lastBlock = 0;
    unsigned lastLineFeeds = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i block = Load(begin + i);
        const __m128i isLineFeed = _mm_cmpeq_epi8(block, _mm_set1_epi8('\n'));
        const unsigned stops = BytesEqual(block, mark) | BytesEqual(block, kCtrlZ);
        if (stops != 0) {
            // The block with the stop in it is counted a byte at a time.
            break;
        }
        counters = _mm_sub_epi8(counters, isLineFeed);
        if (const unsigned lineFeeds = static_cast<unsigned>(_mm_movemask_epi8(isLineFeed)); lineFeeds != 0) {
            lastBlock = i;
            lastLineFeeds = lineFeeds;
        }
        if (++blocksCounted == 255) {
            totals = _mm_add_epi64(totals, _mm_sad_epu8(counters, zero));
            counters = zero;
            blocksCounted = 0;
        }
    }
    totals = _mm_add_epi64(totals, _mm_sad_epu8(counters, zero));
    lines.count = static_cast<std::size_t>(_mm_cvtsi128_si64(totals)) +
                  static_cast<std::size_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(totals, totals)));
    if (lastLineFeeds != 0) {
        lines.end = lastBlock + static_cast<std::size_t>(std::bit_width(lastLineFeeds));
    }
#endif
    for (; i < count; ++i) {
        if (begin[i] == mark || begin[i] == kCtrlZ) {
            break;
        }
        if (begin[i] == '\n') {
            ++lines.count;
            lines.end = i + 1;
        }
    }
    return lines;
}

}  // namespace install
