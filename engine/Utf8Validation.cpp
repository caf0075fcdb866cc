// kernels::IsValidUtf8: whether bytes are valid UTF-8, in 64-byte AVX-512 or
// 32-byte AVX2 steps where the processor has them, else a character at a
// time (the 16-byte SSE2 steps lack the byte shuffle the look-ups need).
#include "ByteKernels.h"
#include "TargetFeatures.h"
#include "Utf8Scan.h"

#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#define LINKRAKE_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace kernels {

namespace {

// The common three-byte character is taken without the general decoder.
bool IsValidUtf8Bytewise(const unsigned char* bytes, std::size_t length)
{
    for (std::size_t at = 0; at < length;) {
        const unsigned char c = bytes[at];
        if (c < 0x80) {
            ++at;
        } else if (c >= 0xE1 && c <= 0xEF && c != 0xED && at + 2 < length
                   && utf8::IsContinuation(bytes[at + 1]) && utf8::IsContinuation(bytes[at + 2])) {
            at += 3;
        } else {
            char32_t cp;
            const int sequence = utf8::Decode(bytes + at, length - at, cp);
            if (sequence <= 0)
                return false;
            at += static_cast<std::size_t>(sequence);
        }
    }
    return true;
}

#if LINKRAKE_X86_KERNELS

// Each byte is checked against the one before it through three tables,
// indexed by the high and low nibble of the first byte and the high nibble
// of the second, whose bits name the faults such a pair can show: a fault
// stands where all three agree. The third and fourth bytes of longer
// sequences are checked against the lead two and three bytes back.
constexpr unsigned char TooShort = 1 << 0;   // a lead not followed by a continuation
constexpr unsigned char TooLong = 1 << 1;    // a continuation after ASCII
constexpr unsigned char Overlong3 = 1 << 2;  // E0 80..9F
constexpr unsigned char TooLarge = 1 << 3;   // above U+10FFFF
constexpr unsigned char Surrogate = 1 << 4;  // ED A0..BF
constexpr unsigned char Overlong2 = 1 << 5;  // C0 or C1
constexpr unsigned char TooLarge1000 = 1 << 6;
constexpr unsigned char Overlong4 = 1 << 6;  // F0 80..8F
constexpr unsigned char TwoContinuations = 1 << 7;
constexpr unsigned char Carry = TooShort | TooLong | TwoContinuations;
constexpr unsigned char Large = Carry | TooLarge | TooLarge1000;
constexpr unsigned char Second8 =
    TooLong | Overlong2 | TwoContinuations | Overlong3 | TooLarge1000 | Overlong4;
constexpr unsigned char Second9 = TooLong | Overlong2 | TwoContinuations | Overlong3 | TooLarge;
constexpr unsigned char SecondAB = TooLong | Overlong2 | TwoContinuations | Surrogate | TooLarge;

// clang-format off
constexpr unsigned char FirstHigh[16] = {
    TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, TooLong, TooLong,
    TwoContinuations, TwoContinuations, TwoContinuations, TwoContinuations,
    TooShort | Overlong2, TooShort, TooShort | Overlong3 | Surrogate,
    TooShort | TooLarge | TooLarge1000 | Overlong4};
constexpr unsigned char FirstLow[16] = {
    Carry | Overlong3 | Overlong2 | Overlong4, Carry | Overlong2, Carry, Carry,
    Carry | TooLarge, Large, Large, Large, Large, Large, Large, Large, Large,
    Large | Surrogate, Large, Large};
constexpr unsigned char SecondHigh[16] = {
    TooShort, TooShort, TooShort, TooShort, TooShort, TooShort, TooShort, TooShort,
    Second8, Second9, SecondAB, SecondAB, TooShort, TooShort, TooShort, TooShort};
// A block that ends in a lead byte whose sequence does not fit in it: its
// last byte above BF, the one before above DF, or the one before that
// above EF.
constexpr unsigned char LastUnfinished[32] = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xEF, 0xDF, 0xBF};
// clang-format on

LINKRAKE_TARGET_BEGIN("avx2")

inline __m256i Table(const unsigned char (&values)[16])
{
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(values)));
}

inline __m256i Load(const unsigned char* at)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

// The block moved on by one, two or three bytes, the last bytes of the
// block before in front.
inline __m256i Before1(__m256i block, __m256i previous)
{
    return _mm256_alignr_epi8(block, _mm256_permute2x128_si256(previous, block, 0x21), 15);
}
inline __m256i Before2(__m256i block, __m256i previous)
{
    return _mm256_alignr_epi8(block, _mm256_permute2x128_si256(previous, block, 0x21), 14);
}
inline __m256i Before3(__m256i block, __m256i previous)
{
    return _mm256_alignr_epi8(block, _mm256_permute2x128_si256(previous, block, 0x21), 13);
}

// What the check carries from one block to the next.
struct TState {
    __m256i Faults;
    __m256i Previous;
    __m256i Unfinished;
};

inline void Check(TState& state, __m256i block)
{
    if (_mm256_movemask_epi8(block) == 0) {
        // ASCII: a sequence the block before left unfinished is cut short.
        state.Faults = _mm256_or_si256(state.Faults, state.Unfinished);
        state.Unfinished = _mm256_setzero_si256();
        state.Previous = block;
        return;
    }
    const __m256i low = _mm256_set1_epi8(0x0F);
    const __m256i first = Before1(block, state.Previous);
    const __m256i pairs = _mm256_and_si256(
        _mm256_and_si256(
            _mm256_shuffle_epi8(Table(FirstHigh), _mm256_and_si256(_mm256_srli_epi16(first, 4), low)),
            _mm256_shuffle_epi8(Table(FirstLow), _mm256_and_si256(first, low))),
        _mm256_shuffle_epi8(Table(SecondHigh), _mm256_and_si256(_mm256_srli_epi16(block, 4), low)));
    // The bytes that must be continuations as third or fourth bytes: the
    // only pairs of continuations that are no fault.
    const __m256i third = _mm256_subs_epu8(Before2(block, state.Previous), _mm256_set1_epi8(0xE0 - 0x80));
    const __m256i fourth = _mm256_subs_epu8(Before3(block, state.Previous), _mm256_set1_epi8(0xF0 - 0x80));
    const __m256i needed =
        _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(static_cast<char>(0x80)));
    state.Faults = _mm256_or_si256(state.Faults, _mm256_xor_si256(needed, pairs));
    state.Unfinished = _mm256_subs_epu8(block, Load(LastUnfinished));
    state.Previous = block;
}

inline bool None(__m256i bits)
{
    return _mm256_testz_si256(bits, bits) != 0;
}

bool IsValidUtf8Wide(const unsigned char* bytes, std::size_t length)
{
    constexpr std::size_t Width = 32;
    TState state{_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256()};
    std::size_t i = 0;
    for (; i + Width <= length; i += Width) {
        Check(state, Load(bytes + i));
        // A fault ends the check, looked for now and then only.
        if (i % 1024 == 0 && !None(state.Faults))
            return false;
    }
    if (i == length)
        return None(state.Faults) && None(state.Unfinished);
    // The rest as one more step, padded with NULs: its last byte is one,
    // so a sequence the text leaves unfinished is cut short within the step.
    // Short lines, the common case, are checked so without a byte loop.
    alignas(32) unsigned char rest[Width] = {};
    std::memcpy(rest, bytes + i, length - i);
    Check(state, Load(rest));
    return None(state.Faults);
}

LINKRAKE_TARGET_END

// The same check in 64-byte AVX-512 steps, whose comparisons give masks.
LINKRAKE_TARGET_BEGIN("avx512f,avx512bw")

namespace widest {

inline __m512i Table(const unsigned char (&values)[16])
{
    // The zeroing form: of the plain one GCC warns that it reads an undefined vector.
    return _mm512_maskz_broadcast_i32x4(0xFFFF, _mm_loadu_si128(reinterpret_cast<const __m128i*>(values)));
}

// The block moved on by Shift bytes, the last bytes of the block before in
// front: each 16-byte lane joined to the lane before it.
template <int Shift> inline __m512i Before(__m512i block, __m512i previous)
{
    const __m512i lanesBefore =
        _mm512_permutex2var_epi64(block, _mm512_set_epi64(5, 4, 3, 2, 1, 0, 15, 14), previous);
    return _mm512_alignr_epi8(block, lanesBefore, 16 - Shift);
}

struct TState {
    __m512i Faults;
    __m512i Previous;
    __m512i Unfinished;
};

// The last bytes of a block whose sequence does not fit in it.
alignas(64) constexpr unsigned char LastUnfinished64[64] = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xEF, 0xDF, 0xBF};

inline void Check(TState& state, __m512i block)
{
    if (_mm512_movepi8_mask(block) == 0) {
        state.Faults = _mm512_or_si512(state.Faults, state.Unfinished);
        state.Unfinished = _mm512_setzero_si512();
        state.Previous = block;
        return;
    }
    const __m512i low = _mm512_set1_epi8(0x0F);
    const __m512i first = Before<1>(block, state.Previous);
    const __m512i pairs = _mm512_and_si512(
        _mm512_and_si512(
            _mm512_shuffle_epi8(Table(FirstHigh), _mm512_and_si512(_mm512_srli_epi16(first, 4), low)),
            _mm512_shuffle_epi8(Table(FirstLow), _mm512_and_si512(first, low))),
        _mm512_shuffle_epi8(Table(SecondHigh), _mm512_and_si512(_mm512_srli_epi16(block, 4), low)));
    const __m512i third = _mm512_subs_epu8(Before<2>(block, state.Previous), _mm512_set1_epi8(0xE0 - 0x80));
    const __m512i fourth = _mm512_subs_epu8(Before<3>(block, state.Previous), _mm512_set1_epi8(0xF0 - 0x80));
    const __m512i needed =
        _mm512_and_si512(_mm512_or_si512(third, fourth), _mm512_set1_epi8(static_cast<char>(0x80)));
    state.Faults = _mm512_or_si512(state.Faults, _mm512_xor_si512(needed, pairs));
    state.Unfinished = _mm512_subs_epu8(block, _mm512_load_si512(LastUnfinished64));
    state.Previous = block;
}

inline bool None(__m512i bits)
{
    return _mm512_test_epi8_mask(bits, bits) == 0;
}

bool IsValidUtf8(const unsigned char* bytes, std::size_t length)
{
    constexpr std::size_t Width = 64;
    TState state{_mm512_setzero_si512(), _mm512_setzero_si512(), _mm512_setzero_si512()};
    std::size_t i = 0;
    for (; i + Width <= length; i += Width) {
        Check(state, _mm512_loadu_si512(bytes + i));
        if (i % 1024 == 0 && !None(state.Faults))
            return false;
    }
    if (i == length)
        return None(state.Faults) && None(state.Unfinished);
    // The rest as one more step, padded with NULs, loaded under a mask.
    const __mmask64 rest = (~std::uint64_t{0}) >> (Width - (length - i));
    Check(state, _mm512_maskz_loadu_epi8(rest, bytes + i));
    return None(state.Faults);
}

}  // namespace widest

LINKRAKE_TARGET_END

#endif

}  // namespace

bool IsValidUtf8(const unsigned char* bytes, std::size_t length)
{
#if LINKRAKE_X86_KERNELS
    // The step width in use is never more than the processor has.
    if (StepWidth() >= 64)
        return widest::IsValidUtf8(bytes, length);
    if (StepWidth() >= 32)
        return IsValidUtf8Wide(bytes, length);
#endif
    return IsValidUtf8Bytewise(bytes, length);
}

}  // namespace kernels
