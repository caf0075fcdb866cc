#include "ShiftJisCodec.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "ShiftJisScan.h"
#include "Utf8Scan.h"

namespace {

constexpr char16_t Replacement = 0xFFFD;

// The double-byte rows, one character per trail byte.
constexpr std::u16string_view Rows[] = {
#include "ShiftJisTable.inc"
};

constexpr unsigned char PrivateFirstLead = 0xF0, PrivateLastLead = 0xF9;
constexpr char16_t PrivateFirst = 0xE000;
constexpr std::size_t TrailsPerLead = 188;

constexpr bool IsTrailValue(unsigned char c)
{
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

constexpr bool IsHalfWidthKatakana(unsigned char c)
{
    return c >= 0xA1 && c <= 0xDF;
}

constexpr std::size_t TrailIndex(unsigned char trail)
{
    return trail < 0x7F ? trail - 0x40u : trail - 0x41u;
}

// lead and trail already checked; Replacement where the code page has none.
constexpr char16_t DecodePair(unsigned char lead, unsigned char trail)
{
    const std::size_t column = TrailIndex(trail);
    if (lead >= PrivateFirstLead && lead <= PrivateLastLead)
        return static_cast<char16_t>(PrivateFirst + (lead - PrivateFirstLead) * TrailsPerLead + column);
    const std::size_t row = lead <= 0x9F   ? lead - 0x81u
                            : lead <= 0xEF ? lead - 0xE0u + 31
                                           : lead - 0xFAu + 47;
    return column < Rows[row].size() ? Rows[row][column] : Replacement;
}

// For each BMP character, its bytes: one byte in the low half, or lead and
// trail; 0 where it does not fit. Characters with two codes get the one
// the system's own conversion writes: the JIS row before NEC's row 13,
// that before IBM's extension, that before NEC's copy of IBM's extension.
// A character fits only when it comes back as itself: the look-alikes that
// input methods type (〜 for ～) are percent-encoded like any other.
using TEncodeTable = std::array<std::uint16_t, 0x10000>;

// Calls enter(unit, code) for every character with a code, in the order
// above: the first code entered for a character is the one to write.
template <class Enter> constexpr void ForEachCode(Enter&& enter)
{
    for (unsigned c = 0; c < 0x80; ++c)
        enter(static_cast<char16_t>(c), static_cast<std::uint16_t>(c));
    for (unsigned c = 0xA1; c <= 0xDF; ++c)
        enter(static_cast<char16_t>(0xFF61 + (c - 0xA1)), static_cast<std::uint16_t>(c));
    const auto enterLeads = [&](unsigned first, unsigned last) {
        for (unsigned lead = first; lead <= last; ++lead)
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F)
                    continue;
                const char16_t unit =
                    DecodePair(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
                if (unit != Replacement)
                    enter(unit, static_cast<std::uint16_t>(lead << 8 | trail));
            }
    };
    enterLeads(0x81, 0x86);
    enterLeads(0x88, 0x9F);
    enterLeads(0xE0, 0xEA);
    enterLeads(0x87, 0x87);
    enterLeads(0xFA, 0xFC);
    enterLeads(0xED, 0xEE);
    enterLeads(PrivateFirstLead, PrivateLastLead);
}

// Built by the compiler: the tables are part of the program's file, read
// from the page cache as they are used, where a table built at run time
// would cost fresh pages and the building.
constinit const TEncodeTable EncodeTable = [] {
    TEncodeTable t{};
    ForEachCode([&](char16_t unit, std::uint16_t code) {
        if (t[unit] == 0)
            t[unit] = code;
    });
    return t;
}();

// For each lead and trail value, the pair's character in UTF-8: up to three
// bytes, their count in the top byte.
constexpr std::size_t Leads = 0xFC - 0x81 + 1, Trails = 0xFC - 0x40 + 1;
using TPairUtf8Table = std::array<std::uint32_t, Leads * Trails>;

constinit const TPairUtf8Table PairUtf8Table = [] {
    TPairUtf8Table t{};
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const char16_t unit =
                sjis::IsLeadValue(static_cast<unsigned char>(lead))
                        && IsTrailValue(static_cast<unsigned char>(trail))
                    ? DecodePair(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail))
                    : Replacement;
            char bytes[4] = {};
            const std::size_t length = utf8::Encode(unit, bytes);
            std::uint32_t packed = static_cast<std::uint32_t>(length) << 24;
            for (std::size_t k = 0; k < length; ++k)
                packed |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k])) << (8 * k);
            t[(lead - 0x81) * Trails + (trail - 0x40)] = packed;
        }
    }
    return t;
}();

constexpr char HexDigits[] = "0123456789ABCDEF";

// Converts three-byte sequences that fit into two bytes each for as long as
// they come (one test per character), at least one; false, with nothing
// done, when the first is not one.
bool ThreeByteRun(const unsigned char* in, std::size_t size, std::size_t& i, char*& at,
                  const TEncodeTable& table)
{
    const std::size_t start = i;
    while (i + 3 <= size) {
        const std::uint32_t word = static_cast<std::uint32_t>(in[i] | in[i + 1] << 8 | in[i + 2] << 16);
        const std::uint32_t cp = (word & 0x0F) << 12 | (word & 0x3F00) >> 2 | (word & 0x3F0000) >> 16;
        // A lead of E0..EF with two continuations; not overlong, no surrogate.
        if ((word & 0xC0C0F0) != 0x8080E0 || cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))
            break;
        const std::uint16_t code = table[cp];
        if (code <= 0xFF)
            break;
        at[0] = static_cast<char>(code >> 8);
        at[1] = static_cast<char>(code & 0xFF);
        at += 2;
        i += 3;
    }
    return i != start;
}

// Writes cp's bytes (or its percent-encoding) at out; returns the new end.
char* PutCodePoint(char* out, char32_t cp, const TEncodeTable& table)
{
    const std::uint16_t code = cp < 0x10000 ? table[cp] : 0;
    if (code != 0 || cp == 0) {
        if (code > 0xFF)
            *out++ = static_cast<char>(code >> 8);
        *out++ = static_cast<char>(code & 0xFF);
        return out;
    }
    char utf8[4];
    const std::size_t length = utf8::Encode(cp, utf8);
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        *out++ = '%';
        *out++ = HexDigits[byte >> 4];
        *out++ = HexDigits[byte & 0x0F];
    }
    return out;
}

// The length of the Shift_JIS unit at the start of bytes: a lead byte with
// its second byte, else one byte.
std::size_t ShiftJisUnitLength(std::string_view bytes)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    return sjis::IsLeadValue(lead) && bytes.size() > 1 && IsTrailValue(static_cast<unsigned char>(bytes[1]))
               ? 2
               : 1;
}

template <class OnChar> void ForEachShiftJisChar(std::string_view bytes, OnChar&& onChar)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            onChar(static_cast<char16_t>(c));
            ++i;
        } else if (ShiftJisUnitLength(bytes.substr(i)) == 2) {
            onChar(DecodePair(c, static_cast<unsigned char>(bytes[i + 1])));
            i += 2;
        } else {
            onChar(IsHalfWidthKatakana(c) ? static_cast<char16_t>(0xFF61 + (c - 0xA1)) : Replacement);
            ++i;
        }
    }
}

// Walks UTF-8 with Shift_JIS fallback: onAscii(run), onCodePoint(cp),
// onShiftJis(unit bytes).
template <class OnAscii, class OnCodePoint, class OnShiftJis>
void ForEachMixedUnit(std::string_view text, OnAscii&& onAscii, OnCodePoint&& onCodePoint,
                      OnShiftJis&& onShiftJis)
{
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t ascii = utf8::AsciiPrefix(text.substr(i));
        if (ascii > 0) {
            onAscii(text.substr(i, ascii));
            i += ascii;
            continue;
        }
        char32_t cp = 0;
        const int length = utf8::Decode(data + i, text.size() - i, cp);
        if (length > 0) {
            onCodePoint(cp);
            i += static_cast<std::size_t>(length);
        } else {
            const std::size_t unit = ShiftJisUnitLength(text.substr(i));
            onShiftJis(text.substr(i, unit));
            i += unit;
        }
    }
}

void AppendUtf16(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

}  // namespace

bool FitsShiftJis(std::u16string_view text)
{
    const TEncodeTable& table = EncodeTable;
    for (const char16_t unit : text)
        if (unit != 0 && table[unit] == 0)
            return false;
    return true;
}

namespace {

// For each BMP character, whether it fits: one bit each, 8 KB that stay in
// the cache where the 128 KB of codes would not.
using TFitBits = std::array<std::uint64_t, 0x10000 / 64>;

constinit const TFitBits FitBits = [] {
    TFitBits b{};
    ForEachCode([&](char16_t unit, std::uint16_t) { b[unit / 64] |= std::uint64_t{1} << (unit % 64); });
    return b;
}();

}  // namespace

bool RoundTripsThroughShiftJis(std::string_view utf8)
{
    // A character fits only when its code converts back to it (EncodeTable),
    // and valid UTF-8 has one form for each character. No character above
    // the BMP fits. The text is valid, so a lead byte tells the length.
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t length = utf8.size();
    // ASCII alone fits without the tables being built.
    std::size_t i = utf8::AsciiPrefix(utf8);
    if (i == length)
        return true;
    const TFitBits& fits = FitBits;
    while (i < length) {
        const unsigned char c = bytes[i];
        std::uint32_t cp;
        if (c < 0x80) {
            i += utf8::AsciiPrefix(utf8.substr(i));
            continue;
        } else if (c >= 0xF0 || i + 1 >= length) {
            return false;
        } else if (c >= 0xE0) {
            if (i + 2 >= length)
                return false;
            cp = (c & 0x0Fu) << 12 | (bytes[i + 1] & 0x3Fu) << 6 | (bytes[i + 2] & 0x3Fu);
            i += 3;
        } else {
            cp = (c & 0x1Fu) << 6 | (bytes[i + 1] & 0x3Fu);
            i += 2;
        }
        if (!((fits[cp / 64] >> (cp % 64)) & 1))
            return false;
    }
    return true;
}

std::string Utf16ToShiftJis(std::u16string_view text)
{
    const TEncodeTable& table = EncodeTable;
    std::string out(text.size() * 12, '\0');
    char* end = out.data();
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            const bool pair =
                cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            cp = pair ? 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00) : Replacement;
        }
        end = PutCodePoint(end, cp, table);
    }
    out.resize(static_cast<std::size_t>(end - out.data()));
    return out;
}

std::size_t Utf8ToShiftJisAt(std::string_view utf8, char* out)
{
    const TEncodeTable& table = EncodeTable;
    const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t size = utf8.size();
    char* at = out;
    for (std::size_t i = 0; i < size;) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            // Eight at a time while they are ASCII: addresses mostly are.
            std::uint64_t word;
            if (i + 8 <= size && (std::memcpy(&word, in + i, 8), (word & 0x8080808080808080ull) == 0)) {
                std::memcpy(at, &word, 8);
                at += 8;
                i += 8;
            } else {
                *at++ = static_cast<char>(c);
                ++i;
            }
        } else if (c >= 0xE0 && c <= 0xEF && ThreeByteRun(in, size, i, at, table)) {
            // Japanese text is mostly runs of three-byte sequences that fit.
        } else {
            char32_t cp = 0;
            const int length = utf8::Decode(in + i, size - i, cp);
            if (length > 0) {
                i += static_cast<std::size_t>(length);
                at = PutCodePoint(at, cp, table);
            } else {
                const std::size_t unit = ShiftJisUnitLength(utf8.substr(i));
                std::memcpy(at, in + i, unit);
                at += unit;
                i += unit;
            }
        }
    }
    return static_cast<std::size_t>(at - out);
}

void AppendUtf8AsShiftJis(std::string& out, std::string_view utf8)
{
    const std::size_t start = out.size();
    out.resize(start + 3 * utf8.size());
    out.resize(start + Utf8ToShiftJisAt(utf8, out.data() + start));
}

std::string Utf8ToShiftJis(std::string_view utf8)
{
    std::string out;
    AppendUtf8AsShiftJis(out, utf8);
    return out;
}

std::u16string ShiftJisToUtf16(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    ForEachShiftJisChar(bytes, [&](char16_t unit) { out += unit; });
    return out;
}

std::size_t ShiftJisToUtf8At(std::string_view bytes, char* out)
{
    const TPairUtf8Table& pairs = PairUtf8Table;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    char* end = out;
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            std::uint64_t word;
            if (i + 8 <= bytes.size()
                && (std::memcpy(&word, in + i, 8), (word & 0x8080808080808080ull) == 0)) {
                std::memcpy(end, &word, 8);
                end += 8;
                i += 8;
            } else {
                *end++ = static_cast<char>(c);
                ++i;
            }
        } else if (sjis::IsLeadValue(c) && i + 1 < bytes.size() && IsTrailValue(in[i + 1])) {
            const std::uint32_t packed = pairs[(c - 0x81u) * Trails + (in[i + 1] - 0x40u)];
            const char utf8[3] = {static_cast<char>(packed & 0xFF), static_cast<char>((packed >> 8) & 0xFF),
                                  static_cast<char>((packed >> 16) & 0xFF)};
            std::memcpy(end, utf8, 3);
            end += packed >> 24;
            i += 2;
        } else {
            end += utf8::Encode(
                IsHalfWidthKatakana(c) ? static_cast<char16_t>(0xFF61 + (c - 0xA1)) : Replacement, end);
            ++i;
        }
    }
    return static_cast<std::size_t>(end - out);
}

std::string ShiftJisToUtf8(std::string_view bytes)
{
    std::string out(bytes.size() * 3, '\0');
    out.resize(ShiftJisToUtf8At(bytes, out.data()));
    return out;
}

std::u16string MixedUtf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    ForEachMixedUnit(
        utf8, [&](std::string_view ascii) { out.append(ascii.begin(), ascii.end()); },
        [&](char32_t cp) { AppendUtf16(out, cp); },
        [&](std::string_view unit) { out += ShiftJisToUtf16(unit); });
    return out;
}
