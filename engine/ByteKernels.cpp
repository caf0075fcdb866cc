#include "ByteKernels.h"
#include "TargetFeatures.h"

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#define LINKRAKE_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace kernels {

#if LINKRAKE_X86_KERNELS

namespace sse2 {

using TVec = __m128i;
using TMask = __m128i;
using TBits = unsigned;
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
// Without a byte shuffle (SSSE3), byte sets are told by comparisons: the
// shuffle steps are declared for the branches that never run.
constexpr bool HasShuffle = false;
TVec Shuffle(TVec table, TVec index);
TVec Table16(const unsigned char (&bytes)[16]);
TVec MiddleBits(TVec v);

#include "ByteKernels.inc"

}  // namespace sse2

// Everything up to the matching pop is compiled for AVX2.
LINKRAKE_TARGET_BEGIN("avx2")

namespace avx2 {

using TVec = __m256i;
using TMask = __m256i;
using TBits = unsigned;
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
constexpr bool HasShuffle = true;
// table[index % 16] for each byte, 0 where the index has its top bit set.
inline TVec Shuffle(TVec table, TVec index)
{
    return _mm256_shuffle_epi8(table, index);
}
inline TVec Table16(const unsigned char (&bytes)[16])
{
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)));
}
// Bits 2 to 5 of each byte, as a shuffle index.
inline TVec MiddleBits(TVec v)
{
    return _mm256_and_si256(_mm256_srli_epi16(v, 2), Set(0x0F));
}

#include "ByteKernels.inc"

}  // namespace avx2

LINKRAKE_TARGET_END

// Everything up to the matching pop is compiled for AVX-512 (byte and word
// instructions): 64-byte steps whose comparisons give mask registers, one
// bit a byte, so a step's marks need no gathering.
LINKRAKE_TARGET_BEGIN("avx512f,avx512bw")

namespace avx512 {

using TVec = __m512i;
using TMask = __mmask64;
using TBits = std::uint64_t;
constexpr std::size_t Width = 64;
inline TVec Load(const unsigned char* at)
{
    return _mm512_loadu_si512(at);
}
inline TVec Set(unsigned char c)
{
    return _mm512_set1_epi8(static_cast<char>(c));
}
inline TMask Eq(TVec a, TVec b)
{
    return _mm512_cmpeq_epi8_mask(a, b);
}
inline TVec Or(TVec a, TVec b)
{
    return _mm512_or_si512(a, b);
}
inline TMask Or(TMask a, TMask b)
{
    return a | b;
}
inline TMask And(TMask a, TMask b)
{
    return a & b;
}
inline TMask AndNot(TMask a, TMask b)  // b and not a
{
    return b & ~a;
}
inline TBits Bits(TMask m)
{
    return m;
}
constexpr bool HasShuffle = true;
// table[index % 16] for each byte, 0 where the index has its top bit set.
inline TVec Shuffle(TVec table, TVec index)
{
    return _mm512_shuffle_epi8(table, index);
}
inline TVec Table16(const unsigned char (&bytes)[16])
{
    // The zeroing form: of the plain one GCC warns that it reads an undefined vector.
    return _mm512_maskz_broadcast_i32x4(0xFFFF, _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)));
}
// Bits 2 to 5 of each byte, as a shuffle index.
inline TVec MiddleBits(TVec v)
{
    return _mm512_and_si512(_mm512_srli_epi16(v, 2), Set(0x0F));
}

#include "ByteKernels.inc"

}  // namespace avx512

LINKRAKE_TARGET_END

namespace narrow = sse2;
namespace wide = avx2;
namespace widest = avx512;

namespace {
const std::size_t WidestStep = __builtin_cpu_supports("avx512bw") ? 64
                               : __builtin_cpu_supports("avx2")   ? 32
                                                                  : 16;
}  // namespace

#else

// Elsewhere one byte at a time: a "vector" of one byte, a mask of one bit.
namespace bytewise {

using TVec = unsigned;
using TMask = unsigned;
using TBits = unsigned;
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
constexpr bool HasShuffle = false;
TVec Shuffle(TVec table, TVec index);
TVec Table16(const unsigned char (&bytes)[16]);
TVec MiddleBits(TVec v);

#include "ByteKernels.inc"

}  // namespace bytewise

namespace narrow = bytewise;
namespace wide = bytewise;
namespace widest = bytewise;

namespace {
const std::size_t WidestStep = 1;
}  // namespace

#endif

namespace {
std::size_t StepBytes = WidestStep;

// Calls the kernel of the step width in use. Kernels that mostly read one
// line stop at 32-byte steps: lines are short, and a line's last partial
// step, read byte by byte, costs more the wider the steps.
#define LINKRAKE_STEP(call) (StepBytes >= 32 ? wide::call : narrow::call)
#define LINKRAKE_BLOCK_STEP(call) (StepBytes >= 64 ? widest::call : LINKRAKE_STEP(call))
}  // namespace

std::size_t StepWidth()
{
    return StepBytes;
}

void UseStepWidth(std::size_t bytes)
{
    StepBytes = std::min(bytes, WidestStep);
}

std::size_t FindHit(const unsigned char* bytes, std::size_t from, std::size_t length, unsigned char slash,
                    bool kana)
{
    return LINKRAKE_STEP(FindHit(bytes, from, length, slash, kana));
}

std::size_t FindAnchor(const unsigned char* bytes, std::size_t from, std::size_t length, bool parentPaths)
{
    return LINKRAKE_BLOCK_STEP(FindAnchor(bytes, from, length, parentPaths));
}

std::size_t FindLineEnd(const unsigned char* bytes, std::size_t from, std::size_t length)
{
    return LINKRAKE_STEP(FindLineEnd(bytes, from, length));
}

bool MarkLine(const unsigned char* bytes, std::size_t length, std::uint64_t* specials, std::uint64_t* colons,
              std::uint64_t* dots, std::uint64_t* wwDots)
{
    return LINKRAKE_STEP(MarkLine(bytes, length, specials, colons, dots, wwDots));
}

bool MayConvertToSlashAndDot(const unsigned char* bytes, std::size_t length)
{
    return LINKRAKE_STEP(MayConvertToSlashAndDot(bytes, length));
}

bool MayConvertUtf8ToSlashAndDot(const unsigned char* bytes, std::size_t length)
{
    return LINKRAKE_STEP(MayConvertUtf8ToSlashAndDot(bytes, length));
}

void MarkUtf8Triggers(const unsigned char* bytes, std::size_t length, std::uint64_t* marks, bool kana)
{
    return LINKRAKE_STEP(MarkUtf8Triggers(bytes, length, marks, kana));
}

void MarkUtf8Fields(const unsigned char* bytes, std::size_t length, bool kana, bool parentPaths,
                    TFieldMarks* marks)
{
    return LINKRAKE_BLOCK_STEP(MarkUtf8Fields(bytes, length, kana, parentPaths, marks));
}

#undef LINKRAKE_STEP
#undef LINKRAKE_BLOCK_STEP

}  // namespace kernels
