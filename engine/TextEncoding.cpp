#include "TextEncoding.h"

#include <utility>

#include "ByteKernels.h"
#include "Errors.h"
#include "ShiftJisCodec.h"
#include "Utf16Text.h"
#include "Utf8Scan.h"

namespace {

using namespace std::string_view_literals;

constexpr std::string_view ByteOrderMark = Utf8ByteOrderMark;
constexpr std::string_view Utf16LeMark = "\xFF\xFE"sv, Utf16BeMark = "\xFE\xFF"sv;

}  // namespace

std::optional<TTextEncoding> ByteOrderMarkEncoding(std::string_view bytes, bool whole)
{
    // The UTF-32 mark begins with the UTF-16 one, so it is asked first.
    const struct {
        std::string_view Mark;
        TTextEncoding Encoding;
    } marks[] = {
        {"\xFF\xFE\0\0"sv, TTextEncoding::Auto},
        {ByteOrderMark, TTextEncoding::Utf8},
        {Utf16LeMark, TTextEncoding::Utf16Le},
        {Utf16BeMark, TTextEncoding::Utf16Be},
    };
    for (const auto& [mark, encoding] : marks) {
        if (bytes.substr(0, mark.size()) == mark) {
            if (encoding == TTextEncoding::Auto)
                throw EUnsupportedEncoding("UTF-32");
            return encoding;
        }
        if (!whole && bytes.size() < mark.size() && mark.substr(0, bytes.size()) == bytes)
            return std::nullopt;
    }
    return TTextEncoding::Auto;
}

std::optional<TTextEncoding> DecideEncoding(std::string_view bytes, bool whole, bool atStart)
{
    if (atStart) {
        const std::optional<TTextEncoding> marked = ByteOrderMarkEncoding(bytes, whole);
        if (marked != TTextEncoding::Auto)
            return marked;
    }
    const std::size_t first = utf8::AsciiPrefix(bytes);
    if (first == bytes.size())
        return whole ? std::optional(TTextEncoding::ShiftJis) : std::nullopt;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t bound = first + Utf8EvidenceBytes;
    std::size_t at = first;
    // Whole characters checked in bulk first, up to a character start at or
    // before the bound; what is left, or text found invalid, is decoded one
    // character at a time, which tells a sequence cut short by the end.
    if (bound < bytes.size()) {
        std::size_t cut = bound;
        for (int back = 0; back < 3 && utf8::IsContinuation(data[cut]); ++back)
            --cut;
        if (!utf8::IsContinuation(data[cut]) && kernels::IsValidUtf8(data + first, cut - first))
            at = cut;
    }
    while (at < bytes.size() && at < bound) {
        char32_t cp;
        const int length = utf8::Decode(data + at, bytes.size() - at, cp);
        if (length == utf8::Invalid || (length == utf8::CutShort && whole))
            return TTextEncoding::ShiftJis;
        if (length == utf8::CutShort)
            return std::nullopt;
        at += static_cast<std::size_t>(length);
    }
    if (whole || bytes.size() >= bound)
        return TTextEncoding::Utf8;
    return std::nullopt;
}

std::string WholeTextAsShiftJis(std::string bytes, TTextEncoding encoding, TTextEncoding* decided)
{
    TEncodingGate gate(encoding);
    gate.Ready(bytes, true);
    if (decided)
        *decided = gate.Encoding();
    if (IsUtf16(gate.Encoding())) {
        const bool bigEndian = gate.Encoding() == TTextEncoding::Utf16Be;
        std::string_view text = bytes;
        if (text.substr(0, 2) == (bigEndian ? Utf16BeMark : Utf16LeMark))
            text.remove_prefix(2);
        return Utf16AsShiftJis(text, bigEndian);
    }
    if (gate.Encoding() != TTextEncoding::Utf8)
        return bytes;
    std::string converted;
    Utf8BlockAsShiftJis(bytes, true, converted);
    return converted;
}

bool TEncodingGate::Ready(std::string_view pending, bool whole)
{
    if (FEncoding != TTextEncoding::Auto)
        return true;
    if (!whole && utf8::AsciiPrefix(pending) == pending.size())
        return true;
    const std::optional<TTextEncoding> decided = DecideEncoding(pending, whole, FAtStart);
    if (decided)
        FEncoding = *decided;
    return decided.has_value();
}

bool TEncodingGate::TakeStart()
{
    return std::exchange(FAtStart, false);
}

std::string_view Utf8BlockAsShiftJis(std::string_view block, bool atStart, std::string& spare)
{
    if (atStart && block.substr(0, ByteOrderMark.size()) == ByteOrderMark)
        block.remove_prefix(ByteOrderMark.size());
    spare.clear();
    AppendUtf8AsShiftJis(spare, block);
    return spare;
}
