#pragma once
// Internal helpers for walking CP932 text with byte kinds known, shared by
// the engine's scanners. Not part of the public interface.
#include <array>
#include <cstddef>
#include <string_view>

namespace sjis {

constexpr bool IsLeadValue(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

inline constexpr std::array<bool, 256> LeadTable = [] {
    std::array<bool, 256> table{};
    for (std::size_t c = 0; c < table.size(); ++c)
        table[c] = IsLeadValue(static_cast<unsigned char>(c));
    return table;
}();

inline unsigned char At(std::string_view text, std::size_t i)
{
    return static_cast<unsigned char>(text[i]);
}

// Answers "is the byte at i a second byte?" for increasing i in amortised
// constant time. The answer rests only on the parity of the run of lead
// values just before i; the cursor remembers that run at the last position
// asked, so each byte is walked over at most once.
class TSecondByteCursor {
public:
    explicit TSecondByteCursor(std::string_view text) : FText(text) { }

    // i must not decrease between calls.
    bool IsSecondAt(std::size_t i)
    {
        std::size_t run = 0;
        std::size_t q = i;
        while (q > FPos && LeadTable[At(FText, q - 1)]) {
            --q;
            ++run;
        }
        if (q == FPos && i != FPos)
            run += FRun;
        if (i == FPos)
            run = FRun;
        FPos = i;
        FRun = run;
        return (run & 1) != 0 && At(FText, i) != 0;
    }

private:
    std::string_view FText;
    std::size_t FPos = 0;
    std::size_t FRun = 0;  // lead values immediately before FPos
};

}  // namespace sjis
