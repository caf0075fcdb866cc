#pragma once
// A deterministic URL list as a user's list grows over months of
// harvesting: popular hosts recur, paths end in the usual file types, about
// 10 % of the items repeat an earlier item exactly and 5 % repeat one with
// its letter case changed. The items come in shuffled order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TUrlListShape {
    std::size_t Count = 1000000;
    std::uint64_t Seed = 1;
    // Share of the items whose path carries Shift_JIS words (kana and kanji).
    double JapaneseShare = 0.0;
};

std::vector<std::string> MakeUrlList(const TUrlListShape& shape);

// The list as the workspace list file holds it: one item per line, CR LF.
std::string UrlListFileText(const std::vector<std::string>& items);
