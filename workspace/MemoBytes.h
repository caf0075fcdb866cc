#pragma once
// A memo pad's file written back from the bytes it was read from.
#include <string>
#include <string_view>

// The bytes with the memo saving rules applied and nothing else changed:
// leading empty lines dropped, every line ended by CR LF, a final line break
// after a non-empty memo. Bytes the text conversion cannot carry (invalid
// Shift_JIS, lone CRs) stay as they were.
std::string MemoFileFromBytesRead(std::string_view bytes);
