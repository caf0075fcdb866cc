#pragma once
// The list's collation: ascending, case-insensitive, Japanese-aware (the
// platform collator), with items that collate equal ordered by their exact
// bytes so that exact duplicates always end up next to each other.
#include <array>
#include <cstdint>
#include <optional>

#include <QCollator>

QCollator MakeListCollator();

// The list's collator restricted to printable ASCII, where it is cheap: for
// the common collators such text compares as a plain sequence of character
// ranks, letters of either case sharing one. The ranks are read from the
// collator itself and checked against it, so a collator with other rules
// for these characters is noticed rather than silently contradicted.
class TAsciiCollation {
public:
    // The ranks of the list's collator, worked out at first use; null when
    // that collator does not order printable ASCII text by ranks alone.
    static const TAsciiCollation* OfListCollator();
    // Works the ranks out from any collator; none when the check fails.
    static std::optional<TAsciiCollation> Derive(const QCollator& collator);

    // 1 and up in collation order for printable ASCII (0x20 to 0x7E); 0 for
    // any other byte.
    const std::uint8_t* Ranks() const { return FRanks.data(); }

private:
    std::array<std::uint8_t, 256> FRanks{};
};
