#include <gtest/gtest.h>

#include <ostream>

#include "engine/Engine.h"

namespace {

struct TStripCase {
    const char* Name;
    std::string Url;
    std::string Expected;  // the URL itself when nothing is removed
};

void PrintTo(const TStripCase& row, std::ostream* out)
{
    *out << row.Name;
}

class TrackingStrip : public testing::TestWithParam<TStripCase> { };

TEST_P(TrackingStrip, RemovesOnlyTrackingPieces)
{
    const TStripCase& row = GetParam();
    std::string stripped = "untouched";
    const bool changed = StripTrackingParameters(row.Url, stripped);
    EXPECT_EQ(changed, row.Expected != row.Url);
    EXPECT_EQ(changed ? stripped : row.Url, row.Expected);
    if (!changed) {
        EXPECT_EQ(stripped, "untouched");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrackingStrip,
    testing::Values(
        TStripCase{"no query", "http://x.jp/a", "http://x.jp/a"},
        TStripCase{"nothing to remove", "http://x.jp/?a=1&b=2", "http://x.jp/?a=1&b=2"},
        TStripCase{"order kept", "http://x.jp/?b=2&utm_source=m&a=1&fbclid=Z&c", "http://x.jp/?b=2&a=1&c"},
        TStripCase{"first piece takes the separator after it", "http://x.jp/?gclid=1&a=1&b=2",
                   "http://x.jp/?a=1&b=2"},
        TStripCase{"first two pieces", "http://x.jp/?utm_a=1&utm_b=2&a=1", "http://x.jp/?a=1"},
        TStripCase{"last piece", "http://x.jp/?a=1&utm_medium=x", "http://x.jp/?a=1"},
        TStripCase{"query left empty loses its mark", "http://x.jp/p?utm_source=a&utm_medium=b",
                   "http://x.jp/p"},
        TStripCase{"fragment kept", "http://x.jp/?a=1&fbclid=2#top?utm_x=1", "http://x.jp/?a=1#top?utm_x=1"},
        TStripCase{"emptied query before a fragment", "http://x.jp/?fbclid=2#s", "http://x.jp/#s"},
        TStripCase{"mark inside the fragment", "http://x.jp/#a?utm_source=1", "http://x.jp/#a?utm_source=1"},
        TStripCase{"empty query", "http://x.jp/?", "http://x.jp/?"},
        TStripCase{"empty pieces stay", "http://x.jp/?a&&utm_b=1&&c", "http://x.jp/?a&&&c"},
        TStripCase{"html ampersands", "http://x.jp/?a=1&amp;utm_source=x&amp;b=2",
                   "http://x.jp/?a=1&amp;b=2"},
        TStripCase{"html ampersand after a removed first piece", "http://x.jp/?mc_cid=1&amp;b=2",
                   "http://x.jp/?b=2"},
        TStripCase{"name without a value", "http://x.jp/?spm&a", "http://x.jp/?a"},
        TStripCase{"prefix alone", "http://x.jp/?utm_=1&a", "http://x.jp/?a"},
        TStripCase{"near misses kept", "http://x.jp/?utm=1&xutm_source=2&UTM_source=3&fbclid2=4&gclid_=5",
                   "http://x.jp/?utm=1&xutm_source=2&UTM_source=3&fbclid2=4&gclid_=5"},
        TStripCase{"value that looks like a name", "http://x.jp/?a=fbclid", "http://x.jp/?a=fbclid"},
        TStripCase{"kanji bytes kept", "http://x.jp/\x95\\?q=\x8C\x9F&utm_term=\x8C\x9F",
                   "http://x.jp/\x95\\?q=\x8C\x9F"}));

}  // namespace
