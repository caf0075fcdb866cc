#pragma once
// The list's collator restricted to printable ASCII, where it is cheap: for
// the common collators such text compares as a plain sequence of character
// ranks, letters of either case sharing one. The ranks are read from the
// collator itself and checked against it, so a collator with other rules
// for these characters is noticed rather than silently contradicted.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include <QCollator>

class TAsciiRanks {
public:
    // The ranks of the list's collator, worked out at first use; null when
    // that collator does not order printable ASCII text by ranks alone.
    static const TAsciiRanks* OfListCollator();
    // Works the ranks out from any collator; none when the check fails.
    static std::optional<TAsciiRanks> Derive(const QCollator& collator);

    // 1 and up in collation order for printable ASCII (0x20 to 0x7E); 0 for
    // any other byte.
    const std::uint8_t* Ranks() const { return FRanks.data(); }

private:
    std::array<std::uint8_t, 256> FRanks{};
};

// Whether every byte of `text` has a rank.
bool IsPrintableAscii(std::string_view text);
