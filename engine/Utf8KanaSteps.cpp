#include "Utf8KanaSteps.h"
#include "TargetFeatures.h"

#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace kanasteps {

LINKRAKE_TARGET_BEGIN("avx512f,avx512bw,avx512vbmi,avx512vbmi2")

// The whole text in steps of 64 bytes where the processor can compress
// bytes (AVX-512 VBMI2): a step ends where its last character starts, a
// kana's key replaces its first byte, and one compress drops the kana's
// other two bytes. Loads and stores are masked at the text's end, so that
// short texts, the most common, take one step. Returns how far it went
// (short of the end only in text that is not UTF-8); out holds o bytes.
std::size_t Convert(const unsigned char* in, std::size_t length, char* out, std::size_t& o,
                    const unsigned char* keys)
{
    const auto row = [&](std::size_t n) { return _mm512_loadu_si512(keys + 64 * n); };
    const __m512i row0 = row(0), row1 = row(1), row2 = row(2), row3 = row(3);
    const __m512i lead = _mm512_set1_epi8(static_cast<char>(0xE3));
    const auto first = [](std::size_t n) -> __mmask64 {
        return n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
    };
    const auto load = [&](std::size_t at) {
        return at < length ? _mm512_maskz_loadu_epi8(first(length - at), in + at) : _mm512_setzero_si512();
    };
    std::size_t i = 0;
    while (i < length) {
        const std::size_t left = length - i;
        const __m512i block = load(i), second = load(i + 1), third = load(i + 2);
        std::size_t end = left;
        if (left > 64) {
            const __mmask64 starts =
                ~_mm512_cmpeq_epi8_mask(_mm512_and_si512(block, _mm512_set1_epi8(static_cast<char>(0xC0))),
                                        _mm512_set1_epi8(static_cast<char>(0x80)));
            end = 63 - static_cast<std::size_t>(__builtin_clzll(starts | 1));
            if (end == 0)
                break;
        }
        // The key of E3 80..83 xx by the second byte's two low bits and the
        // third byte's six: the 256 keys as two tables of 128.
        const __m512i index = _mm512_mask_add_epi8(third, _mm512_test_epi8_mask(second, _mm512_set1_epi8(1)),
                                                   third, _mm512_set1_epi8(0x40));
        const __m512i key = _mm512_mask_blend_epi8(_mm512_test_epi8_mask(second, _mm512_set1_epi8(2)),
                                                   _mm512_permutex2var_epi8(row0, index, row1),
                                                   _mm512_permutex2var_epi8(row2, index, row3));
        // A kana needs its two bytes after it in the text.
        const __mmask64 kana =
            _mm512_cmpeq_epi8_mask(block, lead)
            & _mm512_cmpeq_epi8_mask(_mm512_and_si512(second, _mm512_set1_epi8(static_cast<char>(0xFC))),
                                     _mm512_set1_epi8(static_cast<char>(0x80)))
            & first(left >= 2 ? left - 2 : 0);
        const __mmask64 keyed = kana & _mm512_test_epi8_mask(key, key);
        const __mmask64 keep = ~(keyed << 1 | keyed << 2) & first(end);
        const auto kept = static_cast<std::size_t>(__builtin_popcountll(keep));
        _mm512_mask_storeu_epi8(out + o, first(kept),
                                _mm512_maskz_compress_epi8(keep, _mm512_mask_mov_epi8(block, keyed, key)));
        o += kept;
        i += end;
    }
    return i;
}

LINKRAKE_TARGET_END

const bool CanConvert = __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("avx512vbmi")
                        && __builtin_cpu_supports("avx512bw");

}  // namespace kanasteps

#else

namespace kanasteps {

const bool CanConvert = false;

std::size_t Convert(const unsigned char*, std::size_t, char*, std::size_t&, const unsigned char*)
{
    return 0;
}

}  // namespace kanasteps

#endif
