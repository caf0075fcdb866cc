// Clipboard text through the extraction engine under every combination of
// the recognition switches, compared with the literal rendering of the rules
// that the engine tests keep.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "RandomText.h"
#include "ReferenceEngine.h"
#include "engine/Engine.h"

namespace {

struct TOutcome {
    std::vector<std::string> Urls;
    std::optional<std::string> Error;
};

template <typename Extract> TOutcome Run(Extract extract)
{
    TUrlList list;
    TOutcome outcome;
    try {
        extract(list);
    } catch (const EFormatError& error) {
        outcome.Error = error.what();
    }
    for (const auto& item : list.Items())
        outcome.Urls.push_back(item.Text);
    return outcome;
}

// A range may expand to a million entries, and a short text can hold many:
// past this many entries the comparison takes seconds and gigabytes under
// the sanitizers, so such inputs are left out.
constexpr long long MaxEntriesCompared = 100000;

// How many entries AddExpanded makes of an accepted URL, roughly.
long long EntriesOf(std::string_view url)
{
    const std::size_t open = FindWhole(url, "[");
    const std::size_t close = FindWhole(url, "]");
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return 1;
    const std::string_view bracket = url.substr(open, close - open + 1);
    const int start = ParseRangeBound(FieldAt(bracket, "[]- ", 1));
    const int end = ParseRangeBound(FieldAt(bracket, "[]- ", 2));
    if (start == -1 || end == -1)
        return 1;
    const long long entries = std::max<long long>(start, end) - start + 1;
    return entries > MaxRangeEntries ? 0 : entries;  // refused before anything is appended
}

bool TooManyEntries(std::string_view text, TExtractOptions options)
{
    if (!options.RangeExpansion)
        return false;
    options.RangeExpansion = false;  // the URLs as they would reach the expansion
    TUrlList urls;
    ExtractFromClipboardText(text, options, urls);
    long long entries = 0;
    for (const auto& url : urls.Items())
        entries += EntriesOf(url.Text);
    return entries > MaxEntriesCompared;
}

// The clipboard source written out step by step: CRs removed, lines taken
// one field number at a time from the splitter on LF.
void ReferenceClipboard(std::string_view text, const TExtractOptions& options, TUrlList& list)
{
    std::string withoutCr;
    for (const char c : text)
        if (c != '\r')
            withoutCr.push_back(c);
    const int lines = reference::FieldCount(withoutCr, "\n");
    for (int i = 1; i <= lines; ++i)
        reference::ExtractUrlsFromLine(reference::FieldAt(withoutCr, "\n", i), options, list);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TInput input(data, size);
    const TExtractOptions options = OptionsFromBits(input.Byte());
    const std::string_view text = input.Rest();
    if (TooManyEntries(text, options))
        return -1;  // not kept in the corpus

    const TOutcome fast = Run([&](TUrlList& list) { ExtractFromClipboardText(text, options, list); });
    const TOutcome slow = Run([&](TUrlList& list) { ReferenceClipboard(text, options, list); });
    fuzz::RequireSameLines(slow.Urls, fast.Urls, "clipboard URLs differ from the literal rules");
    if (fast.Error != slow.Error)
        fuzz::Fail("clipboard errors differ from the literal rules",
                   fast.Error.value_or("none") + " / " + slow.Error.value_or("none"));
    return 0;
}
