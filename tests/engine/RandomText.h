#pragma once
// Deterministic random texts made of the pieces that trip the engine up:
// delimiters, quotes, NUL, lead bytes, second bytes equal to ASCII signs,
// schemes in both cases, kana, brackets and line breaks.
#include <random>
#include <string>

#include "engine/ExtractOptions.h"

inline std::string RandomText(std::mt19937& random, int maxPieces)
{
    static const char* const pieces[] = {
        " ",        "\"",       "<",         ">",
        "'",        "\n",       "\r",        "" /* NUL */,
        "\x81",     "\x82",     "\x83",      "\xE0",
        "\x81[",    "\x95\\",   "[",         "]",
        "-",        ":",        "/",         ".",
        "h",        "t",        "p",         "s",
        "w",        "a",        "0",         "9",
        "http://",  "HTTP://",  "https://",  "ftp://",
        "mms://",   "rtsp://",  "hTtPs://",  "://",
        "www.",     "ww.",      "../",       "\x82\xad\x82\xa9\x82\xa9\x82\xb9\x82\xaf\x82\xdf\x82\xdf",
        "\x82\xc4", "\x81\x5b", "\x83\x7a",  "\x82\xaa",
        "[01-03]",  "[8-11]",   "[$0A-$0C]", "\x1a",
        "\xff",     "\xa0"};
    std::uniform_int_distribution<int> count(0, maxPieces);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::string text;
    for (int n = count(random); n > 0; --n) {
        const std::size_t i = pick(random);
        if (pieces[i][0] == '\0')
            text.push_back('\0');
        else
            text.append(pieces[i]);
    }
    return text;
}

// One of the 256 combinations of the switches and the hidden memo code that
// also accepts "ww.". The clipboard fuzz target's stored inputs name their
// combination by these bits, so their order stays.
inline TExtractOptions OptionsFromBits(int b)
{
    TExtractOptions options;
    options.WwwRule = b & 0x01;
    options.SchemeRule = b & 0x02;
    options.KanaConversion = b & 0x04;
    options.RangeExpansion = b & 0x08;
    options.ParentPathRule = b & 0x10;
    options.RootPathRule = b & 0x20;
    options.SlashDotRule = b & 0x40;
    options.MemoLine = (b & 0x80) ? "KKK" : "";
    return options;
}
