#include "KanaKeys.h"
#include "ByteKernels.h"
#include "Engine.h"
#include "ShiftJisScan.h"
#include "Utf8KanaSteps.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
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

// One character of valid UTF-8: a kana's three bytes become its key, any
// other byte is copied as it comes (valid UTF-8 holds E3 only as the first
// byte of a character).
inline void ConvertCharacterAt(const TUtf8KanaKeys& keys, const unsigned char* in, std::size_t& i,
                               std::size_t length, char* out, std::size_t& o)
{
    const unsigned char key = Utf8KeyAt(keys, in, i, length);
    out[o++] = static_cast<char>(key != 0 ? key : in[i]);
    i += key != 0 ? 3 : 1;
}

// The whole text, character by character: Japanese text is
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
            const unsigned char key = Utf8KeyAt(keys, in, i, length);
            if (key != 0)
                out[o] = static_cast<char>(key);
            o += key != 0 ? 1 : 3;
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
        ConvertCharacterAt(keys, in, i, length, out, o);
    }
    return o;
}

}  // namespace

char FirstConvertedUtf8Kana(std::string_view text)
{
    const unsigned char key =
        Utf8KeyAt(Utf8KanaKeys(), reinterpret_cast<const unsigned char*>(text.data()), 0, text.size());
    return key != 0 ? static_cast<char>(key) : text[0];
}

std::size_t ConvertUtf8KanaKeysTo(std::string_view line, char* out)
{
    if (kanasteps::CanConvert && kernels::StepWidth() >= 64) {
        std::size_t o = 0;
        const std::size_t done = kanasteps::Convert(reinterpret_cast<const unsigned char*>(line.data()),
                                                    line.size(), out, o, Utf8KanaKeys().data());
        return o + ConvertUtf8Whole(line.substr(done), out + o);
    }
    return ConvertUtf8Whole(line, out);
}

std::size_t ConvertUtf8KanaKeysHead(std::string_view line, char* out, std::size_t wanted)
{
    const TUtf8KanaKeys& keys = Utf8KanaKeys();
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    std::size_t i = 0, o = 0;
    while (i < line.size() && o < wanted)
        ConvertCharacterAt(keys, in, i, line.size(), out, o);
    return o;
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
