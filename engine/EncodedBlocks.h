#pragma once
// Internal: the URLs of a block of whole lines of an input in either
// encoding. A UTF-8 block is searched for the lines that may hold a URL in
// its own bytes: the triggers are ASCII, which UTF-8 keeps as it is and
// Shift_JIS never hides in a second byte, and, for the kana conversion,
// け, る and め, found here in their UTF-8 form as well. A line of valid
// UTF-8 is read as it stands; only a line with bytes that are not is
// converted whole, as those bytes are taken for Shift_JIS. With a path rule
// or the kana conversion on, a valid block's fields are found from its
// marks instead (TriggeredFields.h).
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "BlockExtraction.h"
#include "ByteKernels.h"
#include "FieldRules.h"
#include "LineKinds.h"
#include "ShiftJisCodec.h"
#include "TextEncoding.h"
#include "TriggeredFields.h"

namespace blocks {

// Index of the first け, る or め (E3 81 91, E3 82 8B, E3 82 81) at or
// after from, or length.
inline std::size_t FindUtf8KanaTrigger(const unsigned char* bytes, std::size_t from, std::size_t length)
{
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i lead = _mm_set1_epi8(static_cast<char>(0xE3));
    const __m128i x81 = _mm_set1_epi8(static_cast<char>(0x81)), x82 = _mm_set1_epi8(static_cast<char>(0x82));
    const __m128i x91 = _mm_set1_epi8(static_cast<char>(0x91)), x8B = _mm_set1_epi8(static_cast<char>(0x8B));
    for (; i + 18 <= length; i += 16) {
        const auto load = [&](std::size_t at) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        };
        const __m128i first = load(i), second = load(i + 1), third = load(i + 2);
        const __m128i ke = _mm_and_si128(_mm_cmpeq_epi8(second, x81), _mm_cmpeq_epi8(third, x91));
        const __m128i ruMe =
            _mm_and_si128(_mm_cmpeq_epi8(second, x82),
                          _mm_or_si128(_mm_cmpeq_epi8(third, x8B), _mm_cmpeq_epi8(third, x81)));
        const int mask =
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(first, lead), _mm_or_si128(ke, ruMe)));
        if (mask != 0)
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    for (; i + 2 < length; ++i)
        if (bytes[i] == 0xE3
            && ((bytes[i + 1] == 0x81 && bytes[i + 2] == 0x91)
                || (bytes[i + 1] == 0x82 && (bytes[i + 2] == 0x8B || bytes[i + 2] == 0x81))))
            return i;
    return length;
}

inline bool IsValidUtf8(std::string_view text)
{
    return kernels::IsValidUtf8(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

// The next hit of a text for candidates::ForEachLineHit: one of the ASCII
// triggers (with ascii.Kana, Shift_JIS kana pairs too) or, with utf8Kana, a
// け, る or め in UTF-8. Each finder's next hit is kept until passed, so
// that neither rescans.
class TUtf8Hits {
public:
    TUtf8Hits(std::string_view text, const candidates::TTriggers& ascii, bool utf8Kana)
        : FBytes(reinterpret_cast<const unsigned char*>(text.data())),
          FLength(text.size()),
          FAscii(ascii),
          FUtf8Kana(utf8Kana)
    { }
    std::size_t operator()(std::size_t from)
    {
        if (!FKnown || FNextAscii < from)
            FNextAscii = candidates::FindHit(FBytes, from, FLength, FAscii);
        if (FUtf8Kana && (!FKnown || FNextKana < from))
            FNextKana = FindUtf8KanaTrigger(FBytes, from, FLength);
        FKnown = true;
        return FUtf8Kana ? std::min(FNextAscii, FNextKana) : FNextAscii;
    }

private:
    const unsigned char* FBytes;
    std::size_t FLength;
    candidates::TTriggers FAscii;
    bool FUtf8Kana;
    bool FKnown = false;
    std::size_t FNextAscii = 0, FNextKana = 0;
};

// As Extract; atStart: the block starts the input (and may hold a
// byte-order mark). beforeLine always sees lines of the block itself.
template <class BeforeLine>
bool ExtractEncoded(std::string_view block, TTextEncoding encoding, bool atStart,
                    const TExtractOptions& options, TUrlSink& sink, std::string& spare,
                    std::string& converted, BeforeLine&& beforeLine)
{
    if (encoding != TTextEncoding::Utf8)
        return Extract(block, options, sink, spare, beforeLine);
    if (atStart && block.substr(0, Utf8ByteOrderMark.size()) == Utf8ByteOrderMark)
        block.remove_prefix(Utf8ByteOrderMark.size());
    bool linesValid = false;  // the whole block is valid UTF-8
    const auto onLine = [&](const candidates::TRawLine& line) {
        std::string_view bytes = line.Bytes;
        beforeLine(bytes.data());
        if (!line.LoneCr && !bytes.empty() && bytes.back() == '\r')
            bytes.remove_suffix(1);
        const auto withoutLoneCrs = [&](std::string_view text) {
            if (!line.LoneCr)
                return text;
            spare.clear();
            AppendWithoutCr(spare, text);
            return std::string_view(spare);
        };
        if (linesValid || IsValidUtf8(bytes))
            return ExtractUrlsFromUtf8Line(withoutLoneCrs(bytes), options, sink);
        // Converted before the lone CRs go: a CR ends the character before
        // it, as it does when the whole text is converted.
        // Grown, never shrunk, so that no line pays for clearing it.
        if (converted.size() < 3 * bytes.size())
            converted.resize(3 * bytes.size());
        const std::string_view shiftJis(converted.data(), Utf8ToShiftJisAt(bytes, converted.data()));
        ExtractUrlsFromLine(withoutLoneCrs(shiftJis), options, sink);
    };
    const candidates::TTriggers triggers = TriggersFor(options);
    candidates::TTriggers withoutKana = triggers;
    withoutKana.Kana = false;
    // With a path rule or the kana conversion most lines hold a trigger, and
    // the fields of a valid block are found without cutting out its lines.
    if (triggers.Slash && IsValidUtf8(block)) {
        linesValid = true;
        const TFieldRules<linekinds::TUtf8> rules(options, sink);
        const auto onWholeLine = [&](std::string_view bytes) {
            // A CR other than the last byte is one that no LF follows.
            const bool loneCr = bytes.size() > 1 && std::memchr(bytes.data(), '\r', bytes.size() - 1);
            onLine(candidates::TRawLine{bytes, loneCr});
        };
        const auto lineByLine = [&](std::string_view lines) {
            return candidates::ForEachLineHit(lines, TUtf8Hits(lines, withoutKana, triggers.Kana), onLine);
        };
        return ForEachTriggeredField(
            block, triggers.Kana, triggers.ParentPaths, beforeLine,
            [&](std::string_view field, bool slashAndDot) { rules.RecognizeMarked(field, slashAndDot); },
            onWholeLine, lineByLine);
    }
    if (!triggers.Kana)
        return candidates::ForEachCandidateLine(block, triggers, onLine);
    // Shift_JIS kana pairs (taken from bytes that are not UTF-8) are found
    // at any alignment, which valid UTF-8 meets often: a line found only so
    // is converted when it is not valid UTF-8.
    const auto onKanaLine = [&](const candidates::TRawLine& line) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(line.Bytes.data());
        const std::size_t length = line.Bytes.size();
        if (line.LoneCr || candidates::FindHit(bytes, 0, length, withoutKana) < length
            || FindUtf8KanaTrigger(bytes, 0, length) < length || !IsValidUtf8(line.Bytes))
            onLine(line);
    };
    return candidates::ForEachLineHit(block, TUtf8Hits(block, triggers, true), onKanaLine);
}

}  // namespace blocks
