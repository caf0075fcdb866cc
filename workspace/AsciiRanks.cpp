#include "AsciiRanks.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QCollatorSortKey>

#include "CollatorKeyOrder.h"

namespace {

constexpr unsigned char FirstPrintable = 0x20, LastPrintable = 0x7E;

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Ranks compared one by one; a text that is a prefix of the other comes first.
int CompareByRanks(const std::string& a, const std::string& b, const std::uint8_t* ranks)
{
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int ra = ranks[static_cast<unsigned char>(a[i])], rb = ranks[static_cast<unsigned char>(b[i])];
        if (ra != rb)
            return ra < rb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Every text of up to two printable characters, which catches contractions,
// expansions, ignorable characters and differences below the first level,
// plus longer texts drawn from a fixed sequence: some of any characters,
// some of a few that differ in case, class or level only, so that many of
// them part late.
std::vector<std::string> CheckTexts()
{
    std::vector<std::string> texts{""};
    for (unsigned char a = FirstPrintable; a <= LastPrintable; ++a) {
        texts.emplace_back(1, static_cast<char>(a));
        for (unsigned char b = FirstPrintable; b <= LastPrintable; ++b)
            texts.push_back({static_cast<char>(a), static_cast<char>(b)});
    }
    std::uint32_t state = 12345;
    auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 16; };
    const std::string few = "aAbB-_.0/ :~";
    const unsigned span = LastPrintable - FirstPrintable + 1u;
    for (int i = 0; i < 3000; ++i) {
        std::string text(3 + next() % 10, ' ');
        for (char& c : text)
            c = i % 2 ? few[next() % few.size()] : static_cast<char>(FirstPrintable + next() % span);
        texts.push_back(std::move(text));
    }
    return texts;
}

}  // namespace

const TAsciiRanks* TAsciiRanks::OfListCollator()
{
    static const std::optional<TAsciiRanks> derived = Derive(MakeListCollator());
    return derived ? &*derived : nullptr;
}

std::optional<TAsciiRanks> TAsciiRanks::Derive(const QCollator& collator)
{
    TAsciiRanks out;
    const QCollatorSortKey empty = collator.sortKey(QString());
    std::vector<std::pair<QCollatorSortKey, unsigned char>> characters;
    for (unsigned char c = FirstPrintable; c <= LastPrintable; ++c)
        characters.emplace_back(collator.sortKey(QString(QChar(c))), c);
    std::stable_sort(characters.begin(), characters.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    std::uint8_t rank = 0;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        if (characters[i].first.compare(empty) == 0)
            return std::nullopt;  // an ignorable character has no rank of its own
        if (i == 0 || characters[i].first.compare(characters[i - 1].first) != 0)
            ++rank;
        out.FRanks[characters[i].second] = rank;
    }

    // Sorted by the collator, neighbours must compare the same way by ranks;
    // both orders being total, they then agree on every pair.
    std::vector<std::string> texts = CheckTexts();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const std::string& text : texts)
        keys.push_back(collator.sortKey(Latin1(text)));
    std::vector<std::size_t> order(texts.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return keys[a].compare(keys[b]) < 0; });
    for (std::size_t i = 1; i < order.size(); ++i) {
        const int byCollator = keys[order[i - 1]].compare(keys[order[i]]);
        const int byRanks = CompareByRanks(texts[order[i - 1]], texts[order[i]], out.FRanks.data());
        if ((byCollator < 0) != (byRanks < 0) || (byCollator == 0) != (byRanks == 0))
            return std::nullopt;
    }
    return out;
}

bool IsPrintableAscii(std::string_view text)
{
    // A byte outside 0x20 to 0x7E sets the top bit of itself, of itself plus
    // one or of itself minus 0x20. No early exit: the loop then runs on whole
    // vectors of bytes.
    unsigned char outside = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        outside |= static_cast<unsigned char>(byte | static_cast<unsigned char>(byte + 1u)
                                              | static_cast<unsigned char>(byte - 0x20u));
    }
    return (outside & 0x80u) == 0 && text.size() <= UINT32_MAX;
}
