#pragma once
// Internal: the kana keyboard conversion of valid UTF-8 in 64-byte AVX-512
// steps, for KanaKeys.cpp, which falls back to a character at a time.
#include <cstddef>

namespace kanasteps {

// Whether the processor has the steps (byte compress, AVX-512 VBMI2).
extern const bool CanConvert;

// Converts in, given keys (the 256 keys of E3 80..83 xx by the second
// byte's two low bits and the third byte's six, 0 where none), into out,
// which holds length bytes; o is set to the bytes written. Returns how far
// it went: short of length only in text that is not UTF-8.
std::size_t Convert(const unsigned char* in, std::size_t length, char* out, std::size_t& o,
                    const unsigned char* keys);

}  // namespace kanasteps
