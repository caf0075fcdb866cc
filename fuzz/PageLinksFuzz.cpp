// A copied page's markup, with an address of the page taken off the front
// of the input: the link targets must come out in the form promised (a
// scheme the list knows, no white space at either end) and through the
// recognizer without harm, and the same page must give the same targets.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "engine/Engine.h"
#include "workspace/pagelinks/PageLinks.h"

namespace {

bool HasListScheme(const std::string& target)
{
    std::string lower;
    for (const char c : target.substr(0, target.find(':')))
        lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return lower == "http" || lower == "https" || lower == "ftp" || lower == "mms" || lower == "rtsp";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TInput input(data, size);
    const std::size_t addressLength = input.Byte() % 48;
    const std::string_view rest = input.Rest();
    const std::string address(rest.substr(0, addressLength));
    const std::string_view html = rest.substr(std::min(addressLength, rest.size()));

    const std::vector<std::string> targets = LinkTargetsOfPage(html, address);
    for (const std::string& target : targets) {
        if (target.find(':') == std::string::npos || !HasListScheme(target))
            fuzz::Fail("a target without a list scheme", fuzz::Escaped(target));
        if (target.front() == ' ' || target.back() == ' ')
            fuzz::Fail("a target not trimmed", fuzz::Escaped(target));
    }
    if (LinkTargetsOfPage(html, address) != targets)
        fuzz::Fail("the same page gave other targets", fuzz::Escaped(html));

    std::vector<std::string> shiftJis;
    for (const std::string& target : targets)
        shiftJis.push_back(Utf8ToShiftJis(target));
    TUrlList list;
    try {
        ExtractFromCopy("", shiftJis, TExtractOptions(), list);
    } catch (const EFormatError&) {
        // a refused range is the engine's answer, not a fault
    }
    return 0;
}
