#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvel {

// The first byte in [p, end) equal to one of a, b, c and d, or `end`. Reads
// nothing at or beyond `end`. Sixteen bytes are compared at a time where the
// processor allows it; a repeated byte may stand for a set of fewer than four.
inline const char* findFirstOf(const char* p, const char* end, char a, char b, char c, char d) {
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    const __m128i vc = _mm_set1_epi8(c);
    const __m128i vd = _mm_set1_epi8(d);
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, va), _mm_cmpeq_epi8(bytes, vb)),
                         _mm_or_si128(_mm_cmpeq_epi8(bytes, vc), _mm_cmpeq_epi8(bytes, vd)));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        const char byte = *p;
        if (byte == a || byte == b || byte == c || byte == d) return p;
    }
    return p;
}

}  // namespace quorvel
