#include "text/control_bytes.h"

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace oryx::text {

bool PiecesAreClean(std::string_view spaced) {
    const auto* const bytes = reinterpret_cast<const unsigned char*>(spaced.data());
    const std::size_t size = spaced.size();
    if (size == 0) return false;  // one empty piece
#if defined(__SSE2__)
    if (size >= 16) {
        // Sixteen bytes at a time, the last block overlapping the one before.
        const __m128i below32 = _mm_set1_epi8(31), space = _mm_set1_epi8(' ');
        for (std::size_t i = 0;; i += 16) {
            const std::size_t at = i + 16 <= size ? i : size - 16;
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
            // A byte is 0-31 when the unsigned minimum with 31 leaves it as it is.
            if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(block, below32), block)) != 0) return false;
            const auto spaces = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, space)));
            const unsigned afterSpace = at == 0 || bytes[at - 1] == ' ' ? 1u : 0u;
            if ((spaces & ((spaces << 1) | afterSpace)) != 0) return false;
            if (at + 16 == size) return true;
        }
    }
#endif
    bool afterSpace = true;  // a space may not start the text
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] < 32) return false;
        const bool isSpace = bytes[i] == ' ';
        if (isSpace && afterSpace) return false;
        afterSpace = isSpace;
    }
    return true;
}

}  // namespace oryx::text
