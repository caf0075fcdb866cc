#include "ByteKernels.h"

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#define LINKRAKE_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace kernels {

#if LINKRAKE_X86_KERNELS

namespace sse2 {

using TVec = __m128i;
constexpr std::size_t Width = 16;
inline TVec Load(const unsigned char* at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}
inline TVec Set(unsigned char c)
{
    return _mm_set1_epi8(static_cast<char>(c));
}
inline TVec Eq(TVec a, TVec b)
{
    return _mm_cmpeq_epi8(a, b);
}
inline TVec Or(TVec a, TVec b)
{
    return _mm_or_si128(a, b);
}
inline TVec And(TVec a, TVec b)
{
    return _mm_and_si128(a, b);
}
inline TVec AndNot(TVec a, TVec b)  // b and not a
{
    return _mm_andnot_si128(a, b);
}
inline unsigned Bits(TVec v)
{
    return static_cast<unsigned>(_mm_movemask_epi8(v));
}

#include "ByteKernels.inc"

}  // namespace sse2

// Everything up to the matching pop is compiled for AVX2.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace avx2 {

using TVec = __m256i;
constexpr std::size_t Width = 32;
inline TVec Load(const unsigned char* at)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}
inline TVec Set(unsigned char c)
{
    return _mm256_set1_epi8(static_cast<char>(c));
}
inline TVec Eq(TVec a, TVec b)
{
    return _mm256_cmpeq_epi8(a, b);
}
inline TVec Or(TVec a, TVec b)
{
    return _mm256_or_si256(a, b);
}
inline TVec And(TVec a, TVec b)
{
    return _mm256_and_si256(a, b);
}
inline TVec AndNot(TVec a, TVec b)  // b and not a
{
    return _mm256_andnot_si256(a, b);
}
inline unsigned Bits(TVec v)
{
    return static_cast<unsigned>(_mm256_movemask_epi8(v));
}

#include "ByteKernels.inc"

}  // namespace avx2

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace narrow = sse2;
namespace wide = avx2;

namespace {
const bool CanStepWide = __builtin_cpu_supports("avx2");
}  // namespace

#else

// Elsewhere one byte at a time: a "vector" of one byte, a mask of one bit.
namespace bytewise {

using TVec = unsigned;
constexpr std::size_t Width = 1;
inline TVec Load(const unsigned char* at)
{
    return *at;
}
inline TVec Set(unsigned char c)
{
    return c;
}
inline TVec Eq(TVec a, TVec b)
{
    return a == b ? 1u : 0u;
}
inline TVec Or(TVec a, TVec b)
{
    return a | b;
}
inline TVec And(TVec a, TVec b)
{
    return a & b;
}
inline TVec AndNot(TVec a, TVec b)  // b and not a
{
    return b & ~a & 1u;
}
inline unsigned Bits(TVec v)
{
    return v;
}

#include "ByteKernels.inc"

}  // namespace bytewise

namespace narrow = bytewise;
namespace wide = bytewise;

namespace {
const bool CanStepWide = false;
}  // namespace

#endif

namespace {
bool StepWide = CanStepWide;
}  // namespace

bool WideSteps()
{
    return StepWide;
}

void UseWideSteps(bool on)
{
    StepWide = on && CanStepWide;
}

std::size_t FindHit(const unsigned char* bytes, std::size_t from, std::size_t length, unsigned char slash,
                    bool kana)
{
    return StepWide ? wide::FindHit(bytes, from, length, slash, kana)
                    : narrow::FindHit(bytes, from, length, slash, kana);
}

std::size_t FindAnchor(const unsigned char* bytes, std::size_t from, std::size_t length, bool parentPaths)
{
    return StepWide ? wide::FindAnchor(bytes, from, length, parentPaths)
                    : narrow::FindAnchor(bytes, from, length, parentPaths);
}

std::size_t FindLineEnd(const unsigned char* bytes, std::size_t from, std::size_t length)
{
    return StepWide ? wide::FindLineEnd(bytes, from, length) : narrow::FindLineEnd(bytes, from, length);
}

bool MarkLine(const unsigned char* bytes, std::size_t length, std::uint64_t* specials, std::uint64_t* colons,
              std::uint64_t* dots, std::uint64_t* wwDots)
{
    return StepWide ? wide::MarkLine(bytes, length, specials, colons, dots, wwDots)
                    : narrow::MarkLine(bytes, length, specials, colons, dots, wwDots);
}

bool MayConvertToSlashAndDot(const unsigned char* bytes, std::size_t length)
{
    return StepWide ? wide::MayConvertToSlashAndDot(bytes, length)
                    : narrow::MayConvertToSlashAndDot(bytes, length);
}

bool MayConvertUtf8ToSlashAndDot(const unsigned char* bytes, std::size_t length)
{
    return StepWide ? wide::MayConvertUtf8ToSlashAndDot(bytes, length)
                    : narrow::MayConvertUtf8ToSlashAndDot(bytes, length);
}

void MarkUtf8Triggers(const unsigned char* bytes, std::size_t length, std::uint64_t* marks, bool kana)
{
    return StepWide ? wide::MarkUtf8Triggers(bytes, length, marks, kana)
                    : narrow::MarkUtf8Triggers(bytes, length, marks, kana);
}

void MarkUtf8Fields(const unsigned char* bytes, std::size_t length, bool kana, bool parentPaths,
                    TFieldMarks* marks)
{
    return StepWide ? wide::MarkUtf8Fields(bytes, length, kana, parentPaths, marks)
                    : narrow::MarkUtf8Fields(bytes, length, kana, parentPaths, marks);
}

}  // namespace kernels
