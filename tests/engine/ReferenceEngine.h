#pragma once
// Slow, literal renderings of the engine's rules, written apart from the
// production code so the fast paths can be checked against them.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CorpusText.h"
#include "engine/Engine.h"

namespace reference {

// Every whole-character occurrence, left to right, each found by asking
// ByteKindAt about its first byte.
std::string ReplaceAll(std::string_view text, std::string_view pattern, std::string_view replacement,
                       bool ignoreCase);
std::string FieldAt(std::string_view text, std::string_view delimiters, int n);
int FieldCount(std::string_view text, std::string_view delimiters);
// The 76 kana (CP932, converted from UTF-8 with iconv) and their keys, in run order.
const std::vector<std::pair<std::string, std::string>>& KanaTable();
// The 76 replacements one after another.
std::string ConvertKanaKeys(std::string_view line);
void ExtractUrlsFromLine(std::string_view line, const TExtractOptions& options, TUrlList& list);

using ::ToCp932;

}  // namespace reference
