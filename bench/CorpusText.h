#pragma once
// A deterministic Shift_JIS test text: Japanese prose with URLs in every
// form the recognizer meets (anchors, bare, "www.", "ttp://", kana-typed,
// relative paths, bracketed ranges), lines ended by CR LF.
#include <cstddef>
#include <string>

std::string MakeCorpus(std::size_t bytes, unsigned seed = 1);
