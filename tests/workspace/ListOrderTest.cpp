// The list's order against the platform collator itself: every list is
// also sorted the plain way (one collator key per item, ties by exact
// bytes), and the two must agree item for item.
#include <gtest/gtest.h>

#include <QCollatorSortKey>
#include <random>

#include "workspace/AsciiRanks.h"
#include "workspace/CollatorKeyOrder.h"
#include "workspace/Cp932.h"
#include "workspace/ListOrder.h"

namespace {

using Strings = std::vector<std::string>;

Strings ReferenceOrder(Strings texts, TReading reading)
{
    const QCollator collator = MakeListCollator();
    std::vector<std::pair<QCollatorSortKey, std::string>> keyed;
    for (std::string& text : texts) {
        const std::string read =
            reading == TReading::Forward ? text : std::string(text.rbegin(), text.rend());
        keyed.emplace_back(collator.sortKey(FromCp932(read)), std::move(text));
    }
    std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        const int byKey = a.first.compare(b.first);
        return byKey != 0 ? byKey < 0 : ExactBytesLess(a.second, b.second, reading);
    });
    Strings sorted;
    for (auto& [key, text] : keyed)
        sorted.push_back(std::move(text));
    return sorted;
}

// Pieces of URLs: every printable character, letters of both cases, a long
// shared prefix so that keys run many characters deep.
class TItemMaker {
public:
    explicit TItemMaker(unsigned seed) : FRandom(seed) { }

    std::string Printable(std::size_t length)
    {
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text += static_cast<char>(Below(0x20, 0x7E));
        return text;
    }

    // Few characters in a row from a small set, so that items share prefixes
    // of every length and part at every position.
    std::string Narrow(std::size_t length)
    {
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text += "aAbB/.0"[Below(0, 6)];
        return text;
    }

    std::string AsciiUrl()
    {
        static const char* const starts[] = {"http://www.example.com/", "HTTP://WWW.Example.com/",
                                             "https://host/very/long/shared/path/of/forty/and/more/",
                                             "ftp://", ""};
        std::string url = starts[Below(0, 4)];
        for (std::size_t pieces = Below(0, 6); pieces > 0; --pieces)
            url += Below(0, 2) ? Printable(Below(0, 4)) : Narrow(Below(1, 12));
        return url;
    }

    std::string Japanese()
    {
        std::string text = Below(0, 1) ? "http://jp/" : "";
        for (std::size_t pieces = Below(1, 5); pieces > 0; --pieces) {
            switch (Below(0, 7)) {
            case 0:
                text += {'\x82', static_cast<char>(Below(0x9F, 0xF1))};
                break;  // hiragana
            case 1:
                text += {'\x83', static_cast<char>(Below(0x40, 0x7E))};
                break;  // katakana
            case 2:
                text += {static_cast<char>(Below(0x89, 0x97)), static_cast<char>(Below(0x80, 0xFC))};
                break;
            case 3:
                text += static_cast<char>(Below(0xA1, 0xDF));
                break;  // half-width kana
            case 4:
                text += {'\x82', static_cast<char>(Below(0x60, 0x79))};
                break;  // full-width letters
            case 5:
                text += "\x81\x20\x80\xA0\xFD"[Below(0, 4)];
                break;  // invalid bytes
            case 6:
                text += static_cast<char>(Below(1, 0x1F));
                break;  // control characters
            default:
                text += "\x7F";
                break;
            }
            if (Below(0, 1))
                text += Printable(Below(0, 3));
        }
        return text;
    }

    // Exact duplicates, case variants, reversals and new endings of earlier
    // items: items that share prefixes of every length, parting at every
    // position.
    std::string Variant(const Strings& earlier)
    {
        std::string text = earlier[Below(0, earlier.size() - 1)];
        switch (Below(0, 5)) {
        case 0:
            for (char& c : text)
                if (std::isalpha(static_cast<unsigned char>(c)) && Below(0, 1))
                    c = static_cast<char>(c ^ 0x20);
            break;
        case 1:
            std::reverse(text.begin(), text.end());
            break;
        case 2:
        case 3:
            text = text.substr(0, Below(0, text.size())) + (Below(0, 1) ? Narrow(Below(0, 3)) : Printable(1));
            break;
        case 4:
            Disguise(text);
            break;
        default:
            break;
        }
        return text;
    }

    // Text that collates equal to the original: a control character slipped
    // in, or a letter in its full-width form.
    void Disguise(std::string& text)
    {
        const std::size_t at = Below(0, text.size());
        if (at < text.size() && std::isalpha(static_cast<unsigned char>(text[at])) && Below(0, 1)) {
            const char letter = text[at];
            const bool upper = std::isupper(static_cast<unsigned char>(letter));
            text.replace(at, 1, {'\x82', static_cast<char>((upper ? 0x60 - 'A' : 0x81 - 'a') + letter)});
        } else {
            text.insert(at, 1, "\x01\x1F\x7F"[Below(0, 2)]);
        }
    }

    // At most `otherPerMille` of the items are not printable ASCII.
    Strings List(std::size_t count, std::size_t otherPerMille)
    {
        Strings list{""};
        std::size_t others = 0;
        while (list.size() < count) {
            const std::size_t kind = Below(0, 999);
            std::string item = kind < otherPerMille ? Japanese() : kind < 600 ? AsciiUrl() : Variant(list);
            if (!IsPrintableAscii(item) && ++others > count * otherPerMille / 1000)
                continue;
            list.push_back(std::move(item));
        }
        return list;
    }

private:
    std::size_t Below(std::size_t low, std::size_t high)
    {
        return std::uniform_int_distribution<std::size_t>(low, high)(FRandom);
    }

    std::mt19937 FRandom;
};

TItems ToItems(const Strings& texts)
{
    TItems items;
    for (const std::string& text : texts)
        items.push_back({text, false});
    return items;
}

// The items in the list's order, as the list operations lay them out.
TItems Ordered(const TItems& items, TReading reading)
{
    TItems ordered;
    for (TItemIndex index : ListOrder(items, reading))
        ordered.push_back(items[index]);
    return ordered;
}

Strings ToTexts(const TItems& items)
{
    Strings texts;
    for (const auto& item : items)
        texts.push_back(item.Text);
    return texts;
}

// Lists of only printable ASCII, with a few other items (a share small
// enough to be merged in), and with many.
struct TListKind {
    const char* Name;
    std::size_t OtherPerMille;
};
constexpr TListKind Kinds[] = {{"printable", 0}, {"few others", 30}, {"many others", 300}};

TEST(ListOrder, AgreesWithTheCollatorOnEveryKindOfListInBothReadings)
{
    ASSERT_NE(TAsciiRanks::OfListCollator(), nullptr);
    unsigned seed = 1;
    for (const TListKind& kind : Kinds) {
        for (std::size_t count : {2u, 40u, 2500u}) {
            const Strings texts = TItemMaker(seed++).List(count, kind.OtherPerMille);
            const TItems items = ToItems(texts);
            for (TReading reading : {TReading::Forward, TReading::Backward}) {
                const Strings expected = ReferenceOrder(texts, reading);
                for (std::size_t workers : {1u, 3u}) {
                    Strings sorted;
                    for (TItemIndex index : ListOrder(items, reading, workers))
                        sorted.push_back(texts[index]);
                    ASSERT_EQ(sorted, expected) << kind.Name << ", " << count << " items, "
                                                << (reading == TReading::Forward ? "forward" : "backward")
                                                << ", " << workers << " workers";
                }
            }
        }
    }
}

TEST(ListOrder, SortsAndDeduplicatesWholeListsLikeTheCollator)
{
    for (const TListKind& kind : Kinds) {
        const Strings texts = TItemMaker(100).List(3000, kind.OtherPerMille);
        const TItems items = ToItems(texts);
        const TItems forward = Ordered(items, TReading::Forward);
        EXPECT_EQ(ToTexts(forward), ReferenceOrder(texts, TReading::Forward)) << kind.Name;
        EXPECT_EQ(ToTexts(Ordered(items, TReading::Backward)), ReferenceOrder(texts, TReading::Backward))
            << kind.Name;
        Strings unique = ToTexts(forward);
        const std::vector<std::size_t> later = LaterDuplicates(forward);
        for (auto at = later.rbegin(); at != later.rend(); ++at)
            unique.erase(unique.begin() + static_cast<std::ptrdiff_t>(*at));
        Strings expected = ReferenceOrder(texts, TReading::Forward);
        expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
        EXPECT_EQ(unique, expected) << kind.Name;
    }
}

// Keys cover a few dozen characters at a time; these items part only after
// hundreds, or never, and in letter case only at the very end.
TEST(ListOrder, AgreesOnItemsThatPartOnlyFarIn)
{
    const std::string shared = "http://deep/" + std::string(300, 'x') + "/";
    Strings texts;
    for (int i = 0; i < 400; ++i) {
        texts.push_back(shared + std::to_string(i % 7));
        texts.push_back(shared + std::to_string(i % 5) + (i % 2 ? "a" : "A"));
        texts.push_back(shared);
    }
    texts.push_back(shared + "\x82\xa0");
    const TItems items = ToItems(texts);
    for (TReading reading : {TReading::Forward, TReading::Backward}) {
        for (std::size_t workers : {1u, 2u}) {
            Strings sorted;
            for (TItemIndex index : ListOrder(items, reading, workers))
                sorted.push_back(texts[index]);
            EXPECT_EQ(sorted, ReferenceOrder(texts, reading)) << workers << " workers";
        }
    }
}

TEST(AsciiRanks, RanksLettersOfEitherCaseAlikeAndRefusesOtherRules)
{
    const TAsciiRanks* ascii = TAsciiRanks::OfListCollator();
    ASSERT_NE(ascii, nullptr);
    auto rank = [ascii](unsigned char c) { return ascii->Ranks()[c]; };
    EXPECT_EQ(rank('a'), rank('A'));
    EXPECT_LT(rank('/'), rank('0'));
    EXPECT_LT(rank('9'), rank('a'));
    EXPECT_EQ(rank(0x1F) + rank(0x7F) + rank(0x80) + rank(0xFF), 0);

    // Collators whose order printable text cannot follow by ranks alone.
    QCollator numeric = MakeListCollator();
    numeric.setNumericMode(true);  // "9" before "10"
    EXPECT_FALSE(TAsciiRanks::Derive(numeric));
    QCollator punctuationIgnored = MakeListCollator();
    punctuationIgnored.setIgnorePunctuation(true);
    EXPECT_FALSE(TAsciiRanks::Derive(punctuationIgnored));
    QCollator caseSensitive = MakeListCollator();
    caseSensitive.setCaseSensitivity(Qt::CaseSensitive);  // "a" before "A", yet "Aa" before "ab"
    EXPECT_FALSE(TAsciiRanks::Derive(caseSensitive));
}

TEST(AsciiRanks, TellsPrintableTextFromAnyOtherByte)
{
    EXPECT_TRUE(IsPrintableAscii(""));
    EXPECT_TRUE(IsPrintableAscii(" http://x/~a?b=1&c "));
    for (const char* other : {"a\x1f", "\x7f", "a\x80", "\xff", "\xb1", "\x82\xa0"})
        EXPECT_FALSE(IsPrintableAscii(other)) << other;
    EXPECT_FALSE(IsPrintableAscii(std::string("a\0b", 3)));
}

}  // namespace
