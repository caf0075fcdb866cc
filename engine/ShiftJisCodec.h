#pragma once
// Code page 932 and Unicode, without any toolkit: the one table every part
// of the program shares, so that all agree on which characters Shift_JIS
// can hold. A character that cannot be held is written as the
// percent-encoding of its UTF-8 bytes (%F0%9F%98%80), as browsers send it.
#include <string>
#include <string_view>

// True when the table can write every character of the text.
bool FitsShiftJis(std::u16string_view text);

// Unicode text as Shift_JIS, percent-encoding what does not fit. A lone
// surrogate counts as U+FFFD.
std::string Utf16ToShiftJis(std::u16string_view text);

// UTF-8 text as Shift_JIS, likewise. Bytes that are not valid UTF-8 are
// taken as Shift_JIS bytes and copied as they stand, a lead byte together
// with its second byte.
void AppendUtf8AsShiftJis(std::string& out, std::string_view utf8);
// The same into out, which holds at least three bytes per byte of utf8
// (nothing grows more); returns the length written.
std::size_t Utf8ToShiftJisAt(std::string_view utf8, char* out);
std::string Utf8ToShiftJis(std::string_view utf8);
// Whether text of valid UTF-8 comes back byte for byte from its Shift_JIS
// copy: every character fits, none is percent-encoded.
bool RoundTripsThroughShiftJis(std::string_view utf8);

// Shift_JIS bytes as Unicode. A byte or pair the code page does not define
// becomes U+FFFD.
std::u16string ShiftJisToUtf16(std::string_view bytes);
std::string ShiftJisToUtf8(std::string_view bytes);
// The same into out, which holds at least three bytes per byte of bytes.
std::size_t ShiftJisToUtf8At(std::string_view bytes, char* out);

// UTF-8 whose invalid bytes are Shift_JIS bytes (as Utf8ToShiftJis reads
// it), as Unicode, nothing percent-encoded.
std::u16string MixedUtf8ToUtf16(std::string_view utf8);
