#include "ReferenceEngine.h"

#include <utility>
#include <vector>

namespace reference {

namespace {

char Fold(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool MatchesAt(std::string_view text, std::size_t i, std::string_view pattern, bool ignoreCase)
{
    if (text.size() - i < pattern.size())
        return false;
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        const char a = text[i + k], b = pattern[k];
        if (ignoreCase ? Fold(a) != Fold(b) : a != b)
            return false;
    }
    return true;
}

}  // namespace

std::string ReplaceAll(std::string_view text, std::string_view pattern, std::string_view replacement,
                       bool ignoreCase)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (MatchesAt(text, i, pattern, ignoreCase) && ByteKindAt(text, i + 1) != TByteKind::Second) {
            out.append(replacement);
            i += pattern.size();
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

std::string FieldAt(std::string_view text, std::string_view d, int n)
{
    const std::size_t length = text.size();
    auto byteAt = [&](std::size_t p) { return text[p - 1]; };
    std::size_t p = 1, s = 0, e = 0;
    int k = 0;
    while (k != n && p <= length) {
        while (p <= length && IsDelimiterAt(d, text, p))
            ++p;
        if (p > length)
            break;
        s = p;
        if (byteAt(p) == '"') {
            ++p;
            while (p <= length && byteAt(p) != '"')
                ++p;
            ++p;
        } else {
            while (p <= length && byteAt(p) != '"' && !IsDelimiterAt(d, text, p))
                ++p;
        }
        e = p;
        ++k;
    }
    if (k == 0 || k < n)
        return {};
    std::string value(text.substr(s - 1, std::min(e - 1, length) - (s - 1)));
    if (!value.empty() && value.front() == '"')
        value.erase(0, 1);
    if (!value.empty() && value.back() == '"')
        value.pop_back();
    return value;
}

int FieldCount(std::string_view text, std::string_view delimiters)
{
    int k = 0;
    while (!reference::FieldAt(text, delimiters, k + 1).empty())
        ++k;
    return k;
}

const std::vector<std::pair<std::string, std::string>>& KanaTable()
{
    static const std::vector<std::pair<std::string, std::string>> table = [] {
        const char* hiragana[] = {"ぬ", "ふ", "あ", "う", "え", "お", "や", "ゆ", "よ", "わ", "ほ", "へ",
                                  "ー", "た", "て", "い", "す", "か", "ん", "な", "に", "ら", "せ", "゛",
                                  "゜", "ち", "と", "し", "は", "き", "く", "ま", "の", "り", "れ", "け",
                                  "む", "つ", "さ", "そ", "ひ", "こ", "み", "も", "ね", "る", "め", "ろ"};
        const char* hiraganaKeys = "1234567890-~|qwertyuiop@[asdfghjkl;:]zxcvbnm,./_";
        const char* katakana[] = {"ホ", "ヘ", "タ", "テ", "イ", "ス", "カ", "ン", "ナ", "ニ",
                                  "ラ", "セ", "チ", "ト", "シ", "ハ", "キ", "ク", "マ", "ノ",
                                  "リ", "ツ", "サ", "ソ", "ヒ", "コ", "ミ", "モ"};
        const char* katakanaKeys = "=^QWERTYUIOPASDFGHJKLZXCVBNM";
        std::vector<std::pair<std::string, std::string>> pairs;
        for (std::size_t i = 0; i < std::size(hiragana); ++i)
            pairs.emplace_back(ToCp932(hiragana[i]), std::string(1, hiraganaKeys[i]));
        for (std::size_t i = 0; i < std::size(katakana); ++i)
            pairs.emplace_back(ToCp932(katakana[i]), std::string(1, katakanaKeys[i]));
        return pairs;
    }();
    return table;
}

std::string ConvertKanaKeys(std::string_view line)
{
    std::string text(line);
    for (const auto& [kana, key] : KanaTable())
        text = ReplaceAll(text, kana, key, false);
    return text;
}

void ExtractUrlsFromLine(std::string_view line, const TExtractOptions& options, TUrlList& list)
{
    const std::string_view schemes[] = {"http://", "https://", "ftp://", "mms://", "rtsp://"};
    std::string w(line);
    for (std::string_view scheme : schemes)
        w = ReplaceAll(w, scheme, " " + std::string(scheme), true);
    if (options.SchemeRule)
        w = ReplaceAll(w, "://", " http://", true);
    if (options.ParentPathRule)
        w = ReplaceAll(w, "../", " ../", true);
    if (options.KanaConversion)
        w = ConvertKanaKeys(w);

    const std::string_view set = " \"<>'";
    auto startsWith = [](const std::string& f, std::string_view p) { return f.rfind(p, 0) == 0; };
    const int n = FieldCount(w, set);
    for (int i = 1; i <= n; ++i) {
        const std::string f = FieldAt(w, set, i);
        bool scheme = false;
        for (std::string_view s : schemes)
            scheme = scheme || startsWith(f, s);
        if (scheme)
            AddExpanded(f, options, list);
        else if (options.WwwRule && startsWith(f, "www."))
            AddExpanded("http://" + f, options, list);
        else if (options.MemoLine == "KKK" && startsWith(f, "ww."))
            AddExpanded("http://w" + f, options, list);
        else if (options.ParentPathRule && startsWith(f, "../"))
            AddExpanded(f, options, list);
        else if (options.SlashDotRule && ReplaceAll(f, "/", "", false) != f
                 && ReplaceAll(f, ".", "", false) != f)
            AddExpanded(f, options, list);
        else if (options.RootPathRule && startsWith(f, "/"))
            AddExpanded(f, options, list);
    }
}

}  // namespace reference
