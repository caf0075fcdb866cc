#include <gtest/gtest.h>

#include <sstream>

#include "CorpusText.h"
#include "ReferenceEngine.h"
#include "engine/Engine.h"

namespace {

void ExpectSameAsReference(const std::string& corpus, const TExtractOptions& options)
{
    std::istringstream lines(corpus);
    std::string line;
    std::size_t urls = 0;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        TUrlList fast, slow;
        ExtractUrlsFromLine(line, options, fast);
        reference::ExtractUrlsFromLine(line, options, slow);
        ASSERT_EQ(fast.Items().size(), slow.Items().size()) << line;
        for (std::size_t i = 0; i < fast.Count(); ++i)
            ASSERT_EQ(fast[i], slow[i]);
        urls += fast.Count();
    }
    EXPECT_GT(urls, 1000u);
}

}  // namespace

TEST(CorpusEquivalence, DefaultsMatchTheLiteralSteps)
{
    ExpectSameAsReference(MakeCorpus(400000, 3), TExtractOptions{});
}

TEST(CorpusEquivalence, EveryOptionMatchesTheLiteralSteps)
{
    TExtractOptions options;
    options.KanaConversion = options.ParentPathRule = options.RootPathRule = options.SlashDotRule =
        options.RangeExpansion = true;
    options.SchemeRule = false;
    options.MemoLine = "KKK";
    ExpectSameAsReference(MakeCorpus(400000, 5), options);
    options.SchemeRule = true;
    ExpectSameAsReference(MakeCorpus(200000, 7), options);
}
