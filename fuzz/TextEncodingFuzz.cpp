// The encoding decision and the UTF-8 and UTF-16 conversions: valid and
// broken UTF-8, Shift_JIS, both mixed, and UTF-16 after its mark. A file read line by line, read in pieces side
// by side, and converted whole must agree; the conversion keeps every line
// break and Ctrl-Z, and on valid UTF-8 it is the conversion of its
// characters. The URLs found are those of the converted lines.
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "FuzzSupport.h"
#include "RandomText.h"
#include "engine/Engine.h"
#include "engine/Utf8Scan.h"

namespace {

// The URLs of a reading: a hash of each, in order, and the first ones
// whole for the report. A range can expand to hundreds of thousands of
// URLs, which kept whole in every reading took hundreds of megabytes under
// the sanitizers, enough to stop the fuzzer for want of memory.
class TUrlRecord {
public:
    void Add(std::string_view url)
    {
        Hashes.push_back(std::hash<std::string_view>{}(url));
        if (First.size() < ShownUrls)
            First.emplace_back(url);
    }
    bool Empty() const { return Hashes.empty(); }
    std::vector<std::size_t> Hashes;
    std::vector<std::string> First;

private:
    static constexpr std::size_t ShownUrls = 64;
};

void RequireSameUrls(const TUrlRecord& expected, const TUrlRecord& actual, const char* what)
{
    if (expected.Hashes != actual.Hashes)
        fuzz::Fail(what, "expected (" + std::to_string(expected.Hashes.size()) + "), first:\n"
                             + fuzz::Listed(expected.First) + "actual ("
                             + std::to_string(actual.Hashes.size()) + "), first:\n"
                             + fuzz::Listed(actual.First));
}

// Each URL as the sink takes it and, when asked, converted to UTF-8.
class TRecordingSink final : public TUrlSink {
public:
    explicit TRecordingSink(bool alsoInUtf8 = false) : FAlsoInUtf8(alsoInUtf8) { }
    void Add(std::string_view url) override
    {
        Urls.Add(url);
        if (FAlsoInUtf8)
            InUtf8.Add(ShiftJisToUtf8(url));
    }
    TUrlRecord Urls, InUtf8;

private:
    bool FAlsoInUtf8;
};

// What a UTF-8 output holds: URLs in Shift_JIS converted, URLs taken in
// UTF-8 as they stand.
class TUtf8RecordingSink final : public TUrlSink {
public:
    void Add(std::string_view url) override { Urls.Add(ShiftJisToUtf8(url)); }
    void AddUtf8(std::string_view url) override { Urls.Add(url); }
    bool TakesUtf8For(TTextEncoding) const override { return true; }
    TUrlRecord Urls;
};

bool IsValidUtf8(std::string_view text)
{
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t at = 0; at < text.size();) {
        char32_t cp;
        const int length = utf8::Decode(data + at, text.size() - at, cp);
        if (length <= 0)
            return false;
        at += static_cast<std::size_t>(length);
    }
    return true;
}

void RequireSameCounts(std::string_view in, std::string_view out)
{
    for (const char c : {'\n', '\r', '\x1A'})
        if (std::count(in.begin(), in.end(), c) != std::count(out.begin(), out.end(), c))
            fuzz::Fail("conversion changed the line bytes", fuzz::Escaped(in) + " -> " + fuzz::Escaped(out));
}

// The refusal of an over-long number pattern is the engine's answer, not a
// fault: both readings must give it, after the same URLs.
template <class Extract> std::string RefusalOf(Extract extract)
{
    try {
        extract();
    } catch (const EFormatError& error) {
        return error.what();
    }
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TInput input(data, size);
    const TExtractOptions options = OptionsFromBits(input.Byte());
    TFileSplit split;
    split.SmallestFile = 0;
    split.PieceBytes = input.Byte() % 16 + 1;
    const std::string_view bytes = input.Rest();

    const std::string converted = Utf8ToShiftJis(bytes);
    RequireSameCounts(bytes, converted);
    if (IsValidUtf8(bytes) && converted != Utf16ToShiftJis(MixedUtf8ToUtf16(bytes)))
        fuzz::Fail("valid UTF-8 converted unlike its characters", fuzz::Escaped(bytes));

    const int fd = ::memfd_create("linkrake-fuzz-encoding", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        fuzz::Fail("cannot make the input file");
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

    TTextEncoding decided = TTextEncoding::Auto;
    std::string whole;
    try {
        whole = WholeTextAsShiftJis(std::string(bytes), TTextEncoding::Auto, &decided);
    } catch (const EUnsupportedEncoding&) {
        // Every reading refuses it alike, before any line.
        TRecordingSink sink;
        for (const auto& read : std::initializer_list<std::function<void()>>{
                 [&] { ReadTextLinesAsShiftJis(path, [](std::string_view) {}); },
                 [&] { ExtractFromFile(path, options, sink); },
                 [&] { ExtractFromFile(path, options, sink, split); }}) {
            try {
                read();
                fuzz::Fail("a reading took UTF-32", fuzz::Escaped(bytes));
            } catch (const EUnsupportedEncoding&) { }
        }
        ::close(fd);
        return 0;
    }
    std::vector<std::string> expected, read;
    SplitTextLines(whole, [&](std::string_view line) { expected.emplace_back(line); });
    ReadTextLinesAsShiftJis(path, [&](std::string_view line) { read.emplace_back(line); });
    fuzz::RequireSameLines(expected, read, "lines read against lines of the whole text");

    TRecordingSink oneByOne(true), inPieces;
    const std::string refusedOne = RefusalOf([&] { ExtractFromFile(path, options, oneByOne); });
    const std::string refusedInPieces = RefusalOf([&] { ExtractFromFile(path, options, inPieces, split); });
    // A sink that writes UTF-8 takes some URLs unconverted: it must still
    // write what converting every URL gives.
    TUtf8RecordingSink utf8OneByOne, utf8InPieces;
    RefusalOf([&] { ExtractFromFile(path, options, utf8OneByOne); });
    RefusalOf([&] { ExtractFromFile(path, options, utf8InPieces, split); });
    ::close(fd);
    RequireSameUrls(oneByOne.Urls, inPieces.Urls, "URLs of pieces against URLs of lines");
    RequireSameUrls(oneByOne.InUtf8, utf8OneByOne.Urls, "URLs taken in UTF-8 against URLs converted");
    RequireSameUrls(oneByOne.InUtf8, utf8InPieces.Urls,
                    "URLs of pieces taken in UTF-8 against URLs converted");
    if (refusedOne != refusedInPieces)
        fuzz::Fail("pieces refused otherwise than lines", refusedOne + " / " + refusedInPieces);
    // The reader finds valid UTF-8 lines' URLs without converting them:
    // they must be those of the converted lines.
    TRecordingSink fromConverted;
    const std::string refusedConverted = RefusalOf([&] {
        for (const std::string& line : expected)
            ExtractUrlsFromLine(line, options, fromConverted);
    });
    RequireSameUrls(fromConverted.Urls, oneByOne.Urls, "URLs of lines against URLs of converted lines");
    if (refusedOne != refusedConverted)
        fuzz::Fail("lines refused otherwise than converted lines", refusedOne + " / " + refusedConverted);
    if (decided == TTextEncoding::Utf8 && oneByOne.InputEncoding != TTextEncoding::Utf8)
        fuzz::Fail("the reader decided otherwise", fuzz::Escaped(bytes));
    if (IsUtf16(decided) && !oneByOne.Urls.Empty() && oneByOne.InputEncoding != decided)
        fuzz::Fail("the reader missed UTF-16", fuzz::Escaped(bytes));
    return 0;
}
