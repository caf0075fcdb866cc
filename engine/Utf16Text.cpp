#include "Utf16Text.h"

#include "ShiftJisCodec.h"

namespace {

constexpr char16_t Replacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

}  // namespace

void TUtf16Decoder::Append(std::string_view bytes, bool last, std::string& out)
{
    FBytes.append(bytes);
    const auto* data = reinterpret_cast<const unsigned char*>(FBytes.data());
    const std::size_t count = FBytes.size() / 2;
    FUnits.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned first = data[2 * i], second = data[2 * i + 1];
        FUnits[i] = static_cast<char16_t>(FBigEndian ? first << 8 | second : second << 8 | first);
    }
    std::size_t kept = FBytes.size() % 2;
    if (!last && count > 0 && IsHighSurrogate(FUnits.back())) {
        FUnits.pop_back();
        kept += 2;
    }
    if (last && kept > 0)
        FUnits += Replacement;
    out += Utf16ToShiftJis(FUnits);
    FBytes.erase(0, last ? FBytes.size() : FBytes.size() - kept);
}

std::string Utf16AsShiftJis(std::string_view bytes, bool bigEndian)
{
    std::string out;
    TUtf16Decoder(bigEndian).Append(bytes, true, out);
    return out;
}
