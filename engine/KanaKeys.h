#pragma once
// Internal: the kana keyboard conversion into a caller's buffer, so the
// recognizer can reuse one buffer for every line.
#include <string>
#include <string_view>

void ConvertKanaKeysInto(std::string_view line, std::string& out);
