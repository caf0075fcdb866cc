#pragma once
// Internal: UTF-16 bytes as the Shift_JIS text a copy of them would hold.
// A UTF-16 input is converted whole before its lines are cut: its line
// feeds are two bytes, and 0x0A also occurs inside other characters.
#include <string>
#include <string_view>

class TUtf16Decoder {
public:
    explicit TUtf16Decoder(bool bigEndian) : FBigEndian(bigEndian) { }
    // Appends the text of the next bytes to out. A byte or a high surrogate
    // cut off at their end waits for the next call; last: none follows, and
    // either becomes U+FFFD, as does a lone surrogate anywhere.
    void Append(std::string_view bytes, bool last, std::string& out);

private:
    bool FBigEndian;
    std::string FBytes;  // what the last call kept, then this call's bytes
    std::u16string FUnits;
};

// Bytes after the byte-order mark, all at once.
std::string Utf16AsShiftJis(std::string_view bytes, bool bigEndian);
