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
    // needs. Most fields can be told here, without a call, to start no
    // prefix (a word, a roff request): without both, nothing accepts them.
    void RecognizeMarked(std::string_view field, bool slashAndDot) const
    {
        if (slashAndDot || MayStartPrefixOf(field))
            RecognizeMarkedField(field, slashAndDot);
    }

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

    // A kana (E3) may turn into any first byte. A dot starts only "../",
    // which holds a slash and a dot.
    bool MayStartPrefixOf(std::string_view field) const
    {
        const auto first = static_cast<unsigned char>(field[0]);
        if (first == 0xE3)
            return FOptions.KanaConversion;
        return first != '.' && MayStartPrefix(field[0]);
    }
    void RecognizeMarkedField(std::string_view field, bool slashAndDot) const;
    void RecognizeAsWritten(std::string_view field) const;
    template <class SlashAndDot>
    void RecognizeKanaTyped(std::string_view field, SlashAndDot&& slashAndDot) const;
    template <class Whole, class SlashAndDot>
    void Apply(std::string_view head, Whole&& whole, SlashAndDot&& slashAndDot) const;

    const TExtractOptions& FOptions;
    bool FMemoCode;
    TUrlSink& FSink;
};
