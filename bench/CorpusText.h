#pragma once
// A deterministic Shift_JIS test text: Japanese prose with URLs in every
// form the recognizer meets (anchors, bare, "www.", "ttp://", kana-typed,
// relative paths, bracketed ranges), lines ended by CR LF.
#include <cstddef>
#include <string>
#include <string_view>

std::string MakeCorpus(std::size_t bytes, unsigned seed = 1);

// UTF-8 to CP932 through the C library's converter; throws when a
// character has no CP932 form.
std::string ToCp932(std::string_view utf8);
