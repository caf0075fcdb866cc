#include "CandidateScan.h"

#include <immintrin.h>

namespace candidates {

namespace {

constexpr unsigned char KanaLead = 0x82;
constexpr unsigned char KanaSeconds[] = {0xAF, 0xDF, 0xE9};  // け る め

bool IsHit(const unsigned char* bytes, std::size_t i, std::size_t length, const TTriggers& triggers)
{
    const unsigned char c = bytes[i];
    const bool hasNext = i + 1 < length;
    if (c == ':' || c == '.' || c == CtrlZ || (triggers.Slash && c == '/'))
        return true;
    if (c == '\r')
        return !hasNext || bytes[i + 1] != '\n';
    if (triggers.Kana && c == KanaLead && hasNext) {
        const unsigned char next = bytes[i + 1];
        return next == KanaSeconds[0] || next == KanaSeconds[1] || next == KanaSeconds[2];
    }
    return false;
}

std::size_t FindHitScalar(const unsigned char* bytes, std::size_t i, std::size_t length,
                          const TTriggers& triggers)
{
    while (i < length && !IsHit(bytes, i, length, triggers))
        ++i;
    return i;
}

std::size_t FindLineEndScalar(const unsigned char* bytes, std::size_t i, std::size_t length)
{
    while (i < length && bytes[i] != '\n' && !(bytes[i] == '\r' && (i + 1 == length || bytes[i + 1] != '\n')))
        ++i;
    return i;
}

inline char Byte(unsigned char c)
{
    return static_cast<char>(c);
}

// The same loops in 16-byte (SSE2, always there on x86-64) and 32-byte
// (AVX2, where the processor has it) steps. Each block also looks at the
// byte after it, for CR LF and kana pairs.
#define LINKRAKE_FIND_HIT(Name, Attribute, Vec, Width, Load, Set1, Eq, Or, And, AndNot, MoveMask)            \
    template <bool Kana>                                                                                     \
    Attribute std::size_t Name(const unsigned char* bytes, std::size_t i, std::size_t length,                \
                               const TTriggers& triggers)                                                    \
    {                                                                                                        \
        /* The third byte doubles the colon when slashes do not count. */                                    \
        const Vec colon = Set1(':'), dot = Set1('.'), third = Set1(triggers.Slash ? '/' : ':'),              \
                  ctrlZ = Set1(Byte(CtrlZ)), cr = Set1('\r'), lf = Set1('\n'), lead = Set1(Byte(KanaLead)),  \
                  second0 = Set1(Byte(KanaSeconds[0])), second1 = Set1(Byte(KanaSeconds[1])),                \
                  second2 = Set1(Byte(KanaSeconds[2]));                                                      \
        for (; i + Width + 1 <= length; i += Width) {                                                        \
            const Vec block = Load(reinterpret_cast<const Vec*>(bytes + i));                                 \
            const Vec next = Load(reinterpret_cast<const Vec*>(bytes + i + 1));                              \
            Vec hits = Or(Or(Eq(block, colon), Eq(block, dot)), Or(Eq(block, third), Eq(block, ctrlZ)));     \
            hits = Or(hits, AndNot(Eq(next, lf), Eq(block, cr)));                                            \
            if constexpr (Kana) {                                                                            \
                const Vec seconds = Or(Or(Eq(next, second0), Eq(next, second1)), Eq(next, second2));         \
                hits = Or(hits, And(Eq(block, lead), seconds));                                              \
            }                                                                                                \
            const auto mask = static_cast<unsigned>(MoveMask(hits));                                         \
            if (mask != 0)                                                                                   \
                return i + static_cast<std::size_t>(__builtin_ctz(mask));                                    \
        }                                                                                                    \
        return FindHitScalar(bytes, i, length, triggers);                                                    \
    }

#define LINKRAKE_FIND_LINE_END(Name, Attribute, Vec, Width, Load, Set1, Eq, Or, AndNot, MoveMask)            \
    Attribute std::size_t Name(const unsigned char* bytes, std::size_t i, std::size_t length)                \
    {                                                                                                        \
        const Vec cr = Set1('\r'), lf = Set1('\n');                                                          \
        for (; i + Width + 1 <= length; i += Width) {                                                        \
            const Vec block = Load(reinterpret_cast<const Vec*>(bytes + i));                                 \
            const Vec next = Load(reinterpret_cast<const Vec*>(bytes + i + 1));                              \
            const Vec hits = Or(Eq(block, lf), AndNot(Eq(next, lf), Eq(block, cr)));                         \
            const auto mask = static_cast<unsigned>(MoveMask(hits));                                         \
            if (mask != 0)                                                                                   \
                return i + static_cast<std::size_t>(__builtin_ctz(mask));                                    \
        }                                                                                                    \
        return FindLineEndScalar(bytes, i, length);                                                          \
    }

#define LINKRAKE_SSE2
LINKRAKE_FIND_HIT(FindHitSse2, , __m128i, 16, _mm_loadu_si128, _mm_set1_epi8, _mm_cmpeq_epi8, _mm_or_si128,
                  _mm_and_si128, _mm_andnot_si128, _mm_movemask_epi8)
LINKRAKE_FIND_LINE_END(FindLineEndSse2, , __m128i, 16, _mm_loadu_si128, _mm_set1_epi8, _mm_cmpeq_epi8,
                       _mm_or_si128, _mm_andnot_si128, _mm_movemask_epi8)
LINKRAKE_FIND_HIT(FindHitAvx2, __attribute__((target("avx2"))), __m256i, 32, _mm256_loadu_si256,
                  _mm256_set1_epi8, _mm256_cmpeq_epi8, _mm256_or_si256, _mm256_and_si256, _mm256_andnot_si256,
                  _mm256_movemask_epi8)
LINKRAKE_FIND_LINE_END(FindLineEndAvx2, __attribute__((target("avx2"))), __m256i, 32, _mm256_loadu_si256,
                       _mm256_set1_epi8, _mm256_cmpeq_epi8, _mm256_or_si256, _mm256_andnot_si256,
                       _mm256_movemask_epi8)

const bool HasAvx2 = __builtin_cpu_supports("avx2");

}  // namespace

std::size_t FindHit(const unsigned char* bytes, std::size_t from, std::size_t length,
                    const TTriggers& triggers)
{
    if (HasAvx2)
        return triggers.Kana ? FindHitAvx2<true>(bytes, from, length, triggers)
                             : FindHitAvx2<false>(bytes, from, length, triggers);
    return triggers.Kana ? FindHitSse2<true>(bytes, from, length, triggers)
                         : FindHitSse2<false>(bytes, from, length, triggers);
}

std::size_t FindLineEnd(const unsigned char* bytes, std::size_t from, std::size_t length)
{
    return HasAvx2 ? FindLineEndAvx2(bytes, from, length) : FindLineEndSse2(bytes, from, length);
}

}  // namespace candidates
