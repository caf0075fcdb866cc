#include "UrlListCorpus.h"

#include <array>
#include <cctype>
#include <string_view>
#include <utility>

namespace {

// A small generator of our own: the list must come out the same with any
// standard library.
class TRandom {
public:
    explicit TRandom(std::uint64_t seed) : FState(seed * 0x9E3779B97F4A7C15ull + 1) { }
    std::uint64_t Next()
    {
        FState += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = FState;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
    bool Chance(double p) { return static_cast<double>(Next() >> 11) * 0x1.0p-53 < p; }
    // Small indexes far more often than large ones, as with popular hosts.
    std::size_t Skewed(std::size_t n)
    {
        const double u = static_cast<double>(Next() >> 11) * 0x1.0p-53;
        return static_cast<std::size_t>(u * u * u * static_cast<double>(n));
    }
    template <class T, std::size_t N> const T& Pick(const std::array<T, N>& from) { return from[Below(N)]; }

private:
    std::uint64_t FState;
};

constexpr std::array<std::string_view, 3> Schemes{"http://", "https://", "ftp://"};
constexpr std::array<std::string_view, 14> Domains{".com",   ".jp",  ".co.jp", ".ne.jp", ".or.jp",
                                                   ".ac.jp", ".net", ".org",   ".info",  ".biz",
                                                   ".de",    ".io",  ".tv",    ".com.tw"};
constexpr std::array<std::string_view, 16> Extensions{".html", ".htm", ".zip", ".jpg", ".png", ".gif",
                                                      ".mp3",  ".pdf", ".lzh", ".txt", ".cgi", ".php",
                                                      ".JPG",  ".mpg", ".exe", ".css"};
constexpr std::array<std::string_view, 20> Syllables{"ka",  "ki",  "ku",  "ne",  "to",  "ra", "mi",
                                                     "so",  "ya",  "ha",  "no",  "ri",  "su", "te",
                                                     "net", "web", "san", "hon", "pix", "dat"};
// Shift_JIS words: hiragana, katakana and kanji.
constexpr std::array<std::string_view, 10> JapaneseWords{
    "\x82\xa0\x82\xa2\x82\xa4",  // あいう
    "\x83\x7d\x83\x93\x83\x4b",  // マンガ
    "\x93\xfa\x96\x7b\x8c\xea",  // 日本語
    "\x8e\x91\x97\xbf",          // 資料
    "\x89\xe6\x91\x9c",          // 画像
    "\x83\x79\x81\x5b\x83\x57",  // ページ
    "\x82\xb1\x82\xea",          // これ
    "\x95\x5c\x8e\xa6",          // 表示
    "\xb6\xc0\xb6\xc5",          // ｶﾀｶﾅ (half-width)
    "\x93\x8c\x8b\x9e",          // 東京
};

std::string Word(TRandom& random, std::size_t syllables)
{
    std::string word;
    for (std::size_t i = 0; i < syllables; ++i)
        word += random.Pick(Syllables);
    if (random.Chance(0.4))
        word += std::to_string(random.Below(10000));
    return word;
}

std::vector<std::string> MakeHosts(TRandom& random, std::size_t count)
{
    std::vector<std::string> hosts;
    hosts.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string host = random.Chance(0.5) ? "www." : "";
        if (random.Chance(0.2))
            (host += Word(random, 1)) += '.';
        host += Word(random, 2 + random.Below(2));
        if (random.Chance(0.15))
            (host += '-') += Word(random, 1);
        hosts.push_back(host.append(random.Pick(Domains)));
    }
    return hosts;
}

std::string PathSegment(TRandom& random, bool japanese)
{
    if (japanese && random.Chance(0.5))
        return std::string(random.Pick(JapaneseWords));
    std::string segment = Word(random, 1 + random.Below(3));
    if (random.Chance(0.1))
        segment[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(segment[0])));
    if (random.Chance(0.08))
        segment.insert(0, 1, '~');
    else if (random.Chance(0.08))
        segment += random.Chance(0.5) ? "_" : "-";
    return segment;
}

std::string MakeUrl(TRandom& random, const std::vector<std::string>& hosts, const TUrlListShape& shape)
{
    const bool japanese = random.Chance(shape.JapaneseShare);
    std::string url(Schemes[random.Chance(0.6) ? 0 : random.Chance(0.9) ? 1 : 2]);
    url += hosts[random.Skewed(hosts.size())];
    const std::size_t segments = 1 + random.Below(3);
    for (std::size_t i = 0; i < segments; ++i)
        (url += '/') += PathSegment(random, japanese);
    url += "/";
    if (random.Chance(0.75))
        url += PathSegment(random, japanese) + std::string(random.Pick(Extensions));
    if (random.Chance(0.1))
        (url += "?id=") += std::to_string(random.Below(100000)) + (random.Chance(0.5) ? "&p=2" : "");
    else if (random.Chance(0.04))
        url += "#top";
    return url;
}

// Flips the case of some letters; the result differs from the original.
bool ChangeCase(TRandom& random, std::string& url)
{
    bool changed = false;
    for (char& c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalpha(byte) && (!changed || random.Chance(0.1))) {
            c = static_cast<char>(std::islower(byte) ? std::toupper(byte) : std::tolower(byte));
            changed = true;
        }
    }
    return changed;
}

}  // namespace

std::vector<std::string> MakeUrlList(const TUrlListShape& shape)
{
    TRandom random(shape.Seed);
    const std::vector<std::string> hosts = MakeHosts(random, 20000);
    std::vector<std::string> items;
    items.reserve(shape.Count);
    const std::size_t repeats = shape.Count / 10, caseVariants = shape.Count / 20;
    while (items.size() < shape.Count - repeats - caseVariants)
        items.push_back(MakeUrl(random, hosts, shape));
    const std::size_t originals = items.size();
    while (items.size() < shape.Count - repeats) {
        std::string variant = items[random.Below(originals)];
        if (ChangeCase(random, variant))
            items.push_back(std::move(variant));
    }
    while (items.size() < shape.Count)
        items.push_back(items[random.Below(originals)]);
    for (std::size_t i = items.size(); i > 1; --i)
        std::swap(items[i - 1], items[random.Below(i)]);
    return items;
}

std::string UrlListFileText(const std::vector<std::string>& items)
{
    std::size_t bytes = 0;
    for (const std::string& item : items)
        bytes += item.size() + 2;
    std::string text;
    text.reserve(bytes);
    for (const std::string& item : items) {
        text += item;
        text += "\r\n";
    }
    return text;
}
