#include "FieldRules.h"
#include "Engine.h"
#include "LineKinds.h"

#include <cstring>
#include <string>
#include <type_traits>

namespace {

// Inlined by force, as are StartsWithScheme and Apply: with the rules for
// two kinds of line the compiler would no longer do it, at a cost to every
// field.
[[gnu::always_inline]] inline bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::memcmp(text.data(), prefix.data(), prefix.size()) == 0;
}

[[gnu::always_inline]] inline bool StartsWithScheme(std::string_view field)
{
    switch (field.front()) {
    case 'h':
        return StartsWith(field, "http://") || StartsWith(field, "https://");
    case 'f':
        return StartsWith(field, "ftp://");
    case 'm':
        return StartsWith(field, "mms://");
    case 'r':
        return StartsWith(field, "rtsp://");
    default:
        return false;
    }
}

// Room that only grows, so that filling it never clears it first.
class TScratch {
public:
    char* Room(std::size_t size)
    {
        if (FBytes.size() < size)
            FBytes.resize(size);
        return FBytes.data();
    }

private:
    std::string FBytes;
};

// Adds a URL of the line, in Shift_JIS as the sink takes it; a URL of a
// UTF-8 line goes straight to a sink that writes UTF-8 when nothing on the
// way would change it.
template <class Kind> void Add(std::string_view url, const TExtractOptions& options, TUrlSink& sink)
{
    if constexpr (std::is_same_v<Kind, linekinds::TUtf8>) {
        if ((!options.RangeExpansion || !std::memchr(url.data(), '[', url.size()))
            && sink.TakesUtf8For(TTextEncoding::Utf8) && RoundTripsThroughShiftJis(url))
            return sink.AddUtf8(url);
    }
    AddExpanded(Kind::AsShiftJis(url), options, sink);
}

// Adds prefix followed by text as convert writes it: copied, or converted
// from kana.
template <class Kind, class Convert>
void AddJoined(std::string_view prefix, std::string_view text, Convert&& convert,
               const TExtractOptions& options, TUrlSink& sink)
{
    thread_local TScratch scratch;
    char* url = scratch.Room(prefix.size() + text.size());
    std::memcpy(url, prefix.data(), prefix.size());
    const std::size_t written = convert(text, url + prefix.size());
    Add<Kind>(std::string_view(url, prefix.size() + written), options, sink);
}

std::size_t Copy(std::string_view text, char* out)
{
    std::memcpy(out, text.data(), text.size());
    return text.size();
}

template <class Kind>
void AddWithPrefix(std::string_view prefix, std::string_view field, const TExtractOptions& options,
                   TUrlSink& sink)
{
    AddJoined<Kind>(prefix, field, Copy, options, sink);
}

// The prefix rules read no more than "https://".
constexpr std::size_t HeadLength = 8;

}  // namespace

template <class Kind>
TFieldRules<Kind>::TFieldRules(const TExtractOptions& options, TUrlSink& sink)
    : FOptions(options), FMemoCode(options.MemoLine.size() == 3 && options.MemoLine == "KKK"), FSink(sink)
{ }

template <class Kind> void TFieldRules<Kind>::Recognize(std::string_view tail, std::string_view value) const
{
    if (tail.empty()) {
        if (!FOptions.KanaConversion)
            return RecognizeAsWritten(value);
        return RecognizeKanaTyped(value, [value] { return Kind::MayConvertToSlashAndDot(value); });
    }
    if (FOptions.KanaConversion)
        AddJoined<Kind>(tail, value, Kind::ConvertKanaKeysTo, FOptions, FSink);
    else
        AddJoined<Kind>(tail, value, Copy, FOptions, FSink);
}

template <class Kind> void TFieldRules<Kind>::RecognizeMarked(std::string_view field, bool slashAndDot) const
{
    if (!FOptions.KanaConversion)
        return RecognizeAsWritten(field);
    RecognizeKanaTyped(field, [slashAndDot] { return slashAndDot; });
}

template <class Kind> void TFieldRules<Kind>::RecognizeAsWritten(std::string_view field) const
{
    // Most fields are words of text; without the slash-and-dot rule their
    // first byte settles them.
    if (FOptions.SlashDotRule || MayStartPrefix(field.front()))
        Apply(
            field, [field] { return field; }, [] { return true; });
}

// With the kana conversion on, a field is converted lazily: its first bytes
// for the prefix rules, the whole only when it is accepted or when the
// slash-and-dot rule must look inside.
template <class Kind>
template <class SlashAndDot>
void TFieldRules<Kind>::RecognizeKanaTyped(std::string_view field, SlashAndDot&& slashAndDot) const
{
    // Fields of ASCII, file names and the like, need no conversion at all.
    const auto whole = [field]() -> std::string_view {
        if (!Kind::MayHoldKana(field))
            return field;
        thread_local TScratch scratch;
        char* converted = scratch.Room(field.size());
        return std::string_view(converted, Kind::ConvertKanaKeysTo(field, converted));
    };
    // Most fields are Japanese text whose first character cannot begin any
    // prefix; one converted character tells.
    char head[HeadLength + 1];
    head[0] = Kind::FirstConvertedByte(field);
    if (!MayStartPrefix(head[0]))
        return Apply(std::string_view(head, 1), whole, slashAndDot);
    if (!Kind::MayHoldKana(field.substr(0, HeadLength)))
        return Apply(field.substr(0, HeadLength), whole, slashAndDot);
    Apply(std::string_view(head, Kind::ConvertKanaKeysHead(field, head, HeadLength)), whole, slashAndDot);
}

// head: the field's first bytes as the rules see them; whole(): the entire
// field as the rules see it; slashAndDot(): whether the field as written may
// turn into one holding both "/" and ".", asked only with the kana
// conversion on.
template <class Kind>
template <class Whole, class SlashAndDot>
[[gnu::always_inline]] inline void TFieldRules<Kind>::Apply(std::string_view head, Whole&& whole,
                                                            SlashAndDot&& slashAndDot) const
{
    if (StartsWithScheme(head))
        return Add<Kind>(whole(), FOptions, FSink);
    if (FOptions.WwwRule && StartsWith(head, "www."))
        return AddWithPrefix<Kind>("http://", whole(), FOptions, FSink);
    if (FMemoCode && StartsWith(head, "ww."))
        return AddWithPrefix<Kind>("http://w", whole(), FOptions, FSink);
    if (FOptions.ParentPathRule && StartsWith(head, "../"))
        return Add<Kind>(whole(), FOptions, FSink);
    // With the conversion on, a test on the raw bytes first passes every
    // field the slash-and-dot rule could accept: only め and る turn into
    // "/" and ".".
    if (FOptions.SlashDotRule && (!FOptions.KanaConversion || slashAndDot())) {
        const std::string_view text = whole();
        if (Kind::Holds(text, '/') && Kind::Holds(text, '.'))
            return Add<Kind>(text, FOptions, FSink);
    }
    if (FOptions.RootPathRule && StartsWith(head, "/"))
        return Add<Kind>(whole(), FOptions, FSink);
}

template class TFieldRules<linekinds::TShiftJis>;
template class TFieldRules<linekinds::TUtf8>;
