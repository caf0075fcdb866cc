#include "KanaKeys.h"
#include "ByteKernels.h"
#include "Engine.h"
#include "ShiftJisScan.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

// Full-width kana (CP932 lead byte 0x81, 0x82 or 0x83, then the second byte)
// and the Latin-mode key each one sits on.
struct TKanaKey {
    unsigned char Lead;
    unsigned char Second;
    char Key;
};

constexpr TKanaKey KanaKeyTable[] = {
    // top row: ぬ ふ あ う え お や ゆ よ わ ほ へ ー
    {0x82, 0xCA, '1'},
    {0x82, 0xD3, '2'},
    {0x82, 0xA0, '3'},
    {0x82, 0xA4, '4'},
    {0x82, 0xA6, '5'},
    {0x82, 0xA8, '6'},
    {0x82, 0xE2, '7'},
    {0x82, 0xE4, '8'},
    {0x82, 0xE6, '9'},
    {0x82, 0xED, '0'},
    {0x82, 0xD9, '-'},
    {0x82, 0xD6, '~'},
    {0x81, 0x5B, '|'},
    // second row: た て い す か ん な に ら せ ゛ ゜
    {0x82, 0xBD, 'q'},
    {0x82, 0xC4, 'w'},
    {0x82, 0xA2, 'e'},
    {0x82, 0xB7, 'r'},
    {0x82, 0xA9, 't'},
    {0x82, 0xF1, 'y'},
    {0x82, 0xC8, 'u'},
    {0x82, 0xC9, 'i'},
    {0x82, 0xE7, 'o'},
    {0x82, 0xB9, 'p'},
    {0x81, 0x4A, '@'},
    {0x81, 0x4B, '['},
    // third row: ち と し は き く ま の り れ け む
    {0x82, 0xBF, 'a'},
    {0x82, 0xC6, 's'},
    {0x82, 0xB5, 'd'},
    {0x82, 0xCD, 'f'},
    {0x82, 0xAB, 'g'},
    {0x82, 0xAD, 'h'},
    {0x82, 0xDC, 'j'},
    {0x82, 0xCC, 'k'},
    {0x82, 0xE8, 'l'},
    {0x82, 0xEA, ';'},
    {0x82, 0xAF, ':'},
    {0x82, 0xDE, ']'},
    // bottom row: つ さ そ ひ こ み も ね る め ろ
    {0x82, 0xC2, 'z'},
    {0x82, 0xB3, 'x'},
    {0x82, 0xBB, 'c'},
    {0x82, 0xD0, 'v'},
    {0x82, 0xB1, 'b'},
    {0x82, 0xDD, 'n'},
    {0x82, 0xE0, 'm'},
    {0x82, 0xCB, ','},
    {0x82, 0xE9, '.'},
    {0x82, 0xDF, '/'},
    {0x82, 0xEB, '_'},
    // katakana, shifted: ホ ヘ タ テ イ ス カ ン ナ ニ ラ セ チ ト シ ハ キ ク マ ノ リ ツ サ ソ ヒ コ ミ モ
    {0x83, 0x7A, '='},
    {0x83, 0x77, '^'},
    {0x83, 0x5E, 'Q'},
    {0x83, 0x65, 'W'},
    {0x83, 0x43, 'E'},
    {0x83, 0x58, 'R'},
    {0x83, 0x4A, 'T'},
    {0x83, 0x93, 'Y'},
    {0x83, 0x69, 'U'},
    {0x83, 0x6A, 'I'},
    {0x83, 0x89, 'O'},
    {0x83, 0x5A, 'P'},
    {0x83, 0x60, 'A'},
    {0x83, 0x67, 'S'},
    {0x83, 0x56, 'D'},
    {0x83, 0x6E, 'F'},
    {0x83, 0x4C, 'G'},
    {0x83, 0x4E, 'H'},
    {0x83, 0x7D, 'J'},
    {0x83, 0x6D, 'K'},
    {0x83, 0x8A, 'L'},
    {0x83, 0x63, 'Z'},
    {0x83, 0x54, 'X'},
    {0x83, 0x5C, 'C'},
    {0x83, 0x71, 'V'},
    {0x83, 0x52, 'B'},
    {0x83, 0x7E, 'N'},
    {0x83, 0x82, 'M'},
};
static_assert(std::size(KanaKeyTable) == 76);

// One left-to-right pass gives what the 76 replacements in turn give: each
// replaces a whole character by one ASCII byte, which leaves the kinds of the
// bytes after it unchanged, and no produced byte can start another match.
// Stepping over whole characters keeps the run of lead values before each
// step even, so a lead value there always begins a character; only NUL,
// which is always single, cuts a character short. (Branching on the kind
// of each character measured faster than branch-free variants: the kinds
// come in runs the processor predicts.)
template <bool Head> std::size_t Convert(std::string_view line, char* out, std::size_t wanted)
{
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t length = line.size();
    std::size_t i = 0, o = 0;
    while (i + 1 < length && (!Head || o < wanted)) {
        const unsigned c = in[i];
#if defined(__SSE2__)
        // Runs of ASCII, such as the URL before a converted text, go 16 at a time.
        if (!Head && c < 0x80 && i + 16 <= length) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), block);
            const auto high = static_cast<unsigned>(_mm_movemask_epi8(block));
            const std::size_t run = high == 0 ? 16 : static_cast<std::size_t>(__builtin_ctz(high));
            i += run;
            o += run;
            continue;
        }
#endif
        const unsigned next = in[i + 1];
        if (!sjis::LeadTable[c] || next == 0) {
            out[o++] = static_cast<char>(c);
            ++i;
            continue;
        }
        const unsigned row = c - 0x81u;
        const unsigned key = row < 3 ? KanaKeyLookup[row * 256 + next] : 0;
        if (key != 0) {
            out[o++] = static_cast<char>(key);
        } else {
            out[o++] = static_cast<char>(c);
            out[o++] = static_cast<char>(next);
        }
        i += 2;
    }
    if (i + 1 == length && (!Head || o < wanted))
        out[o++] = static_cast<char>(in[i]);  // a last byte is a character of its own
    return o;
}

// The kana are U+3000 to U+30FF, in UTF-8 E3 80..83 and a last byte:
// indexed by the code point's offset in that block, the key of the
// character's Shift_JIS form, 0 where there is none. Taken from the
// conversion itself, so that both agree on every character.
using TUtf8KanaKeys = std::array<unsigned char, 0x100>;

[[gnu::always_inline]] inline const TUtf8KanaKeys& Utf8KanaKeys()
{
    static const TUtf8KanaKeys keys = [] {
        TUtf8KanaKeys table{};
        for (char16_t unit = 0x3000; unit < 0x3100; ++unit) {
            const std::string code = Utf16ToShiftJis(std::u16string_view(&unit, 1));
            const auto lead = static_cast<unsigned char>(code[0]);
            if (code.size() == 2 && lead >= 0x81 && lead <= 0x83)
                table[unit - 0x3000u] = KanaKeyLookup[static_cast<std::size_t>(lead - 0x81) * 256
                                                      + static_cast<unsigned char>(code[1])];
        }
        return table;
    }();
    return keys;
}

// The key of the character at i, or 0.
inline unsigned char Utf8KeyAt(const TUtf8KanaKeys& keys, const unsigned char* in, std::size_t i,
                               std::size_t length)
{
    if (in[i] != 0xE3 || i + 2 >= length || in[i + 1] > 0x83)
        return 0;
    return keys[static_cast<std::size_t>(in[i + 1] - 0x80) * 64 + (in[i + 2] & 0x3Fu)];
}

// Valid UTF-8 holds E3 only as the first byte of a character, so every other
// byte is copied as it comes.
std::size_t ConvertUtf8Head(std::string_view line, char* out, std::size_t wanted)
{
    const TUtf8KanaKeys& keys = Utf8KanaKeys();
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t length = line.size();
    std::size_t i = 0, o = 0;
    while (i < length && o < wanted) {
        if (in[i] != 0xE3) {
            out[o++] = static_cast<char>(in[i++]);
            continue;
        }
        const unsigned char key = Utf8KeyAt(keys, in, i, length);
        out[o++] = key != 0 ? static_cast<char>(key) : static_cast<char>(in[i]);
        i += key != 0 ? 3 : 1;
    }
    return o;
}

// The same for the whole text, character by character: Japanese text is
// mostly characters of three bytes, kana and kanji in no order a search
// for the next kana could skip, so each is copied in one four-byte store
// and a kana's key written over its first byte. The store stays within
// out, which is as long as the text, because it is made only while four
// bytes of the text are left and out never runs ahead of the text.
std::size_t ConvertUtf8Whole(std::string_view line, char* out)
{
    const TUtf8KanaKeys& keys = Utf8KanaKeys();
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t length = line.size();
    std::size_t i = 0, o = 0;
    while (i < length) {
        const unsigned c = in[i];
        if (c >= 0xE0 && c < 0xF0 && i + 4 <= length) {
            std::memcpy(out + o, in + i, 4);
            // Without branches: kana and kanji alternate as no predictor
            // could guess.
            const unsigned second = in[i + 1] - 0x80u;
            const unsigned kana = static_cast<unsigned>(c == 0xE3) & static_cast<unsigned>(second <= 3u);
            const unsigned key = keys[(second & 3u) * 64 + (in[i + 2] & 0x3Fu)] & (0u - kana);
            out[o] = static_cast<char>(key != 0 ? key : c);
            o += 3 - 2 * static_cast<std::size_t>(key != 0);
            i += 3;
            continue;
        }
#if defined(__SSE2__)
        // Runs of ASCII, such as a URL before the text, go 16 at a time.
        if (c < 0x80 && i + 16 <= length) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), block);
            const auto high = static_cast<unsigned>(_mm_movemask_epi8(block));
            const std::size_t run = high == 0 ? 16 : static_cast<std::size_t>(__builtin_ctz(high));
            i += run;
            o += run;
            continue;
        }
#endif
        const unsigned char key = c == 0xE3 ? Utf8KeyAt(keys, in, i, length) : 0;
        out[o++] = key != 0 ? static_cast<char>(key) : static_cast<char>(c);
        i += key != 0 ? 3 : 1;
    }
    return o;
}

#if defined(__x86_64__) || defined(__i386__)
#define LINKRAKE_X86_KERNELS 1

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2"))),             \
                             apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,avx512vbmi,avx512vbmi2")
#endif

// The whole text in steps of 64 bytes where the processor can compress
// bytes (AVX-512 VBMI2): a step ends where its last character starts, a
// kana's key replaces its first byte, and one compress drops the kana's
// other two bytes. Loads and stores are masked at the text's end, so that
// short texts, the most common, take one step. Returns how far it went
// (short of the end only in text that is not UTF-8); out holds o bytes.
std::size_t ConvertUtf8InSteps(const unsigned char* in, std::size_t length, char* out, std::size_t& o,
                               const TUtf8KanaKeys& keys)
{
    const auto row = [&](std::size_t n) { return _mm512_loadu_si512(keys.data() + 64 * n); };
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

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

const bool CanConvertInSteps = __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("avx512vbmi")
                               && __builtin_cpu_supports("avx512bw");
#endif

}  // namespace

char FirstConvertedUtf8Kana(std::string_view text)
{
    const unsigned char key =
        Utf8KeyAt(Utf8KanaKeys(), reinterpret_cast<const unsigned char*>(text.data()), 0, text.size());
    return key != 0 ? static_cast<char>(key) : text[0];
}

std::size_t ConvertUtf8KanaKeysTo(std::string_view line, char* out)
{
#if LINKRAKE_X86_KERNELS
    if (CanConvertInSteps && kernels::StepWidth() >= 64) {
        std::size_t o = 0;
        const std::size_t done = ConvertUtf8InSteps(reinterpret_cast<const unsigned char*>(line.data()),
                                                    line.size(), out, o, Utf8KanaKeys());
        return o + ConvertUtf8Whole(line.substr(done), out + o);
    }
#endif
    return ConvertUtf8Whole(line, out);
}

std::size_t ConvertUtf8KanaKeysHead(std::string_view line, char* out, std::size_t wanted)
{
    return ConvertUtf8Head(line, out, wanted);
}

constinit const std::array<unsigned char, 3 * 256> KanaKeyLookup = [] {
    std::array<unsigned char, 3 * 256> lookup{};
    for (const TKanaKey& entry : KanaKeyTable)
        lookup[static_cast<std::size_t>((entry.Lead - 0x81) * 256 + entry.Second)] =
            static_cast<unsigned char>(entry.Key);
    return lookup;
}();

std::size_t ConvertKanaKeysHead(std::string_view line, char* out, std::size_t wanted)
{
    return Convert<true>(line, out, wanted);
}

std::size_t ConvertKanaKeysTo(std::string_view line, char* out)
{
    return Convert<false>(line, out, line.size());
}

std::string ConvertKanaKeys(std::string_view line)
{
    std::string result(line.size(), '\0');
    result.resize(ConvertKanaKeysTo(line, result.data()));
    return result;
}
