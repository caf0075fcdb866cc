// The link checker's input: a list file's lines in either encoding, each
// taken as an address, and answers that carry the same bytes as Location
// and Retry-After. Lines are never empty and never hold a line break; an
// address the rules accept is http or https with a host and no user
// information, and every chain of answers ends within its limits.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "app/check/CheckCommandLine.h"
#include "engine/Errors.h"
#include "linkcheck/LinkOutcome.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TInput input(data, size);
    const std::uint8_t choice = input.Byte();
    const TTextEncoding encodings[] = {TTextEncoding::Auto, TTextEncoding::Utf8, TTextEncoding::ShiftJis};
    std::vector<std::string> lines;
    try {
        lines = UrlLines(std::string(input.Rest()), encodings[choice % 3]);
    } catch (const EUnsupportedEncoding&) {
        return 0;  // a UTF-32 input, refused as the extractor refuses it
    }
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);
    for (const std::string& line : lines) {
        if (line.empty() || line.find('\n') != std::string::npos)
            fuzz::Fail("a line empty or holding a line break", line);
        const QString text = QString::fromStdString(line);
        const std::optional<QUrl> url = CheckableUrl(text);
        if (!url)
            continue;
        if ((url->scheme() != QLatin1String("http") && url->scheme() != QLatin1String("https"))
            || url->host().isEmpty() || !url->userInfo().isEmpty())
            fuzz::Fail("an address taken that is not to be checked", line);
        TLinkChain chain(*url);
        const TLinkRules rules;
        const int statuses[] = {301, 302, 429, 503, 308};
        int steps = 0;
        for (;; ++steps) {
            const int status = statuses[static_cast<std::size_t>(steps + choice) % 5];
            const TLinkChain::TStep step =
                chain.NextStep({status, TLinkReason::None, text, text}, rules, now);
            if (step.Kind == TLinkChain::TStep::Done)
                break;
            if (steps > 60)
                fuzz::Fail("a chain of answers that never ends", line);
        }
    }
    return 0;
}
