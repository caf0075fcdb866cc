#pragma once
// Internal: the recognizer's field rules, first match wins, for one line's
// fields at a time.
#include <string_view>

struct TExtractOptions;
class TUrlSink;

// Kind: how the line's bytes are read (LineKinds.h).
template <class Kind> class TFieldRules {
public:
    TFieldRules(const TExtractOptions& options, TUrlSink& sink);

    // The field is tail followed by value. A tail comes from the spacing
    // steps and is a scheme or "../", which the rules always accept.
    void Recognize(std::string_view tail, std::string_view value) const;
    // A field without a tail whose caller knows whether it holds both a "/"
    // or め and a "." or る, which its kana conversion needs to hold both.
    void RecognizeMarked(std::string_view field, bool slashAndDot) const;

private:
    void RecognizeAsWritten(std::string_view field) const;
    template <class SlashAndDot>
    void RecognizeKanaTyped(std::string_view field, SlashAndDot&& slashAndDot) const;
    template <class Whole, class SlashAndDot>
    void Apply(std::string_view head, Whole&& whole, SlashAndDot&& slashAndDot) const;

    const TExtractOptions& FOptions;
    bool FMemoCode;
    TUrlSink& FSink;
};
