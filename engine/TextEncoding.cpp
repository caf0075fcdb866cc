#include "TextEncoding.h"

#include <utility>

#include "ShiftJisCodec.h"
#include "Utf8Scan.h"

namespace {
constexpr std::string_view ByteOrderMark = Utf8ByteOrderMark;
}  // namespace

std::optional<TTextEncoding> DecideEncoding(std::string_view bytes, bool whole, bool atStart)
{
    if (atStart && bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark)
        return TTextEncoding::Utf8;
    if (atStart && !whole && bytes.size() < ByteOrderMark.size()
        && ByteOrderMark.substr(0, bytes.size()) == bytes)
        return std::nullopt;
    const std::size_t first = utf8::AsciiPrefix(bytes);
    if (first == bytes.size())
        return whole ? std::optional(TTextEncoding::ShiftJis) : std::nullopt;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t bound = first + Utf8EvidenceBytes;
    for (std::size_t at = first; at < bytes.size() && at < bound;) {
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
