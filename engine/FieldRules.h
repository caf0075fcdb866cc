#pragma once
// Internal: the recognizer's field rules, first match wins, for one line's
// fields at a time.
#include <string_view>

#include "Engine.h"

// Kind: how the line's bytes are read (LineKinds.h).
template <class Kind> class TFieldRules {
public:
    TFieldRules(const TExtractOptions& options, TUrlSink& sink);

    // The field is tail followed by value. A tail comes from the spacing
    // steps and is a scheme or "../", which the rules always accept.
    void Recognize(std::string_view tail, std::string_view value) const;
    // A field of valid UTF-8 without a tail, whose caller knows whether it
    // holds both a "/" or め and a "." or る, which the slash-and-dot rule
    // needs. The caller hands on only fields that hold both or begin with
    // a byte that may start a prefix: nothing accepts the rest.
    void RecognizeMarked(std::string_view field, bool slashAndDot) const;

private:
    // Whether a prefix rule can accept a field that begins with c, as the
    // rules see it.
    static bool MayStartPrefix(char c)
    {
        switch (c) {
        case 'h':
        case 'f':
        case 'm':
        case 'r':
        case 'w':
        case '.':
        case '/':
            return true;
        default:
            return false;
        }
    }

    void RecognizeAsWritten(std::string_view field) const;
    template <class SlashAndDot>
    void RecognizeKanaTyped(std::string_view field, SlashAndDot&& slashAndDot) const;
    template <class Whole, class SlashAndDot>
    void Apply(std::string_view head, Whole&& whole, SlashAndDot&& slashAndDot) const;

    const TExtractOptions& FOptions;
    bool FMemoCode;
    TUrlSink& FSink;
};
