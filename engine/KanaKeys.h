#pragma once
// Internal: the kana keyboard conversion into a caller's buffer, so the
// recognizer can reuse one buffer for every field, and of a text's first
// bytes only, so it can test a field's prefix without converting the rest.
// Each in Shift_JIS and in valid UTF-8, where a kana is three bytes.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Indexed by (lead - 0x81) * 256 + second, for the leads 0x81 to 0x83 that
// kana have; 0 where nothing is converted.
extern const std::array<unsigned char, 3 * 256> KanaKeyLookup;

// The first byte of text's conversion; text is not empty.
inline char FirstConvertedByte(std::string_view text)
{
    const auto c = static_cast<unsigned char>(text[0]);
    if (c < 0x81 || c > 0x83 || text.size() < 2)
        return text[0];
    const unsigned char key =
        KanaKeyLookup[static_cast<std::size_t>(c - 0x81) * 256 + static_cast<unsigned char>(text[1])];
    return key != 0 ? static_cast<char>(key) : text[0];
}

// The conversion written to out, which must hold line.size() bytes; returns
// the bytes written.
std::size_t ConvertKanaKeysTo(std::string_view line, char* out);
// Converts from the start until at least `wanted` bytes are out or the text
// ends; out must hold wanted + 1 bytes. Returns the bytes written.
std::size_t ConvertKanaKeysHead(std::string_view line, char* out, std::size_t wanted);

// The same for valid UTF-8: a character becomes the key its Shift_JIS form
// sits on. The head may end inside a character; out must hold wanted bytes.
char FirstConvertedUtf8Kana(std::string_view text);
inline char FirstConvertedUtf8Byte(std::string_view text)
{
    // Only a kana, E3 in UTF-8, converts.
    return static_cast<unsigned char>(text[0]) == 0xE3 ? FirstConvertedUtf8Kana(text) : text[0];
}
std::size_t ConvertUtf8KanaKeysTo(std::string_view line, char* out);
std::size_t ConvertUtf8KanaKeysHead(std::string_view line, char* out, std::size_t wanted);
