#pragma once
// Internal: the URLs of a block of whole lines of an input in either
// encoding. A UTF-8 block is searched for the lines that may hold a URL in
// its own bytes (the triggers are ASCII, which UTF-8 keeps as it is and
// Shift_JIS never hides in a second byte), and only those are converted.
// The kana conversion's triggers are Shift_JIS pairs: with it on, the block
// is converted whole first.
#include <string>
#include <string_view>

#include "BlockExtraction.h"
#include "ShiftJisCodec.h"
#include "TextEncoding.h"

namespace blocks {

// Whether the lines beforeLine sees lie in `converted` rather than in the
// block.
inline bool ConvertsWhole(TTextEncoding encoding, const TExtractOptions& options)
{
    return encoding == TTextEncoding::Utf8 && options.KanaConversion;
}

// As Extract; atStart: the block starts the input (and may hold a
// byte-order mark).
template <class BeforeLine>
bool ExtractEncoded(std::string_view block, TTextEncoding encoding, bool atStart,
                    const TExtractOptions& options, TUrlSink& sink, std::string& spare,
                    std::string& converted, BeforeLine&& beforeLine)
{
    if (encoding != TTextEncoding::Utf8)
        return Extract(block, options, sink, spare, beforeLine);
    if (ConvertsWhole(encoding, options))
        return Extract(Utf8BlockAsShiftJis(block, atStart, converted), options, sink, spare, beforeLine);
    if (atStart && block.substr(0, Utf8ByteOrderMark.size()) == Utf8ByteOrderMark)
        block.remove_prefix(Utf8ByteOrderMark.size());
    const auto onLine = [&](const candidates::TRawLine& line) {
        std::string_view bytes = line.Bytes;
        beforeLine(bytes.data());
        if (line.LoneCr) {
            spare.clear();
            AppendWithoutCr(spare, bytes);
            bytes = spare;
        } else if (!bytes.empty() && bytes.back() == '\r') {
            bytes.remove_suffix(1);
        }
        converted.clear();
        AppendUtf8AsShiftJis(converted, bytes);
        ExtractUrlsFromLine(converted, options, sink);
    };
    return candidates::ForEachCandidateLine(block, TriggersFor(options), onLine);
}

}  // namespace blocks
