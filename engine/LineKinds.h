#pragma once
// Internal: the two ways the recognizer reads a line's bytes. As Shift_JIS,
// where a byte of ASCII value may be the second byte of a character; or as
// valid UTF-8, where it never is, a kana typed for a key is three bytes,
// and an accepted URL is converted to Shift_JIS as it leaves.
//
// Valid UTF-8 gives the URLs of its Shift_JIS copy without the line being
// converted: the conversion goes character by character, keeps ASCII as it
// is and makes no ASCII byte part of a character, so the delimiters,
// anchors and fields stand where they stood; a character that Shift_JIS
// cannot hold becomes a percent-encoding, which no rule reads as an anchor,
// just as no rule reads its UTF-8 bytes as one.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "ByteKernels.h"
#include "Engine.h"
#include "KanaKeys.h"
#include "ShiftJisCodec.h"
#include "ShiftJisScan.h"

namespace linekinds {

struct TShiftJis {
    using TKinds = sjis::TSecondByteCursor;

    // Whether the byte at i is the second byte of a character, by the run
    // of lead values before it; for a question asked seldom.
    static bool IsSecondByteAt(const unsigned char* bytes, std::size_t i)
    {
        std::size_t run = 0;
        for (std::size_t q = i; q > 0 && sjis::LeadTable[bytes[q - 1]]; --q)
            ++run;
        return run % 2 == 1 && bytes[i] != 0;
    }
    static char FirstConvertedByte(std::string_view text) { return ::FirstConvertedByte(text); }
    static std::size_t ConvertKanaKeysHead(std::string_view text, char* out, std::size_t wanted)
    {
        return ::ConvertKanaKeysHead(text, out, wanted);
    }
    static std::size_t ConvertKanaKeysTo(std::string_view text, char* out)
    {
        return ::ConvertKanaKeysTo(text, out);
    }
    static bool MayConvertToSlashAndDot(std::string_view raw)
    {
        return kernels::MayConvertToSlashAndDot(reinterpret_cast<const unsigned char*>(raw.data()),
                                                raw.size());
    }
    static bool Holds(std::string_view text, char c) { return ContainsWhole(text, std::string_view(&c, 1)); }
    // False when no byte can start a kana (leads 0x81 to 0x83): the kana
    // conversion leaves such text as it is.
    static bool MayHoldKana(std::string_view text)
    {
        for (const char c : text)
            if (static_cast<unsigned char>(c) - 0x81u <= 2u)
                return true;
        return false;
    }
    static std::string_view AsShiftJis(std::string_view url) { return url; }
};

struct TUtf8 {
    struct TKinds {
        explicit TKinds(std::string_view) { }
        static bool IsSecondAt(std::size_t) { return false; }
    };

    static bool IsSecondByteAt(const unsigned char*, std::size_t) { return false; }
    static char FirstConvertedByte(std::string_view text) { return FirstConvertedUtf8Byte(text); }
    static std::size_t ConvertKanaKeysHead(std::string_view text, char* out, std::size_t wanted)
    {
        return ConvertUtf8KanaKeysHead(text, out, wanted);
    }
    static std::size_t ConvertKanaKeysTo(std::string_view text, char* out)
    {
        return ConvertUtf8KanaKeysTo(text, out);
    }
    static bool MayConvertToSlashAndDot(std::string_view raw)
    {
        return kernels::MayConvertUtf8ToSlashAndDot(reinterpret_cast<const unsigned char*>(raw.data()),
                                                    raw.size());
    }
    static bool Holds(std::string_view text, char c) { return std::memchr(text.data(), c, text.size()); }
    // False when no kana (E3 in UTF-8) starts in text. A field's head, at
    // most eight bytes, is tested without a call.
    static bool MayHoldKana(std::string_view text)
    {
        if (text.size() > 8)
            return std::memchr(text.data(), 0xE3, text.size());
        if (text.size() < 8) {
            for (const char c : text)
                if (static_cast<unsigned char>(c) == 0xE3)
                    return true;
            return false;
        }
        std::uint64_t word;
        std::memcpy(&word, text.data(), 8);
        word ^= 0xE3E3E3E3E3E3E3E3u;  // an E3 byte becomes zero
        return ((word - 0x0101010101010101u) & ~word & 0x8080808080808080u) != 0;
    }
    // The URL as its Shift_JIS copy holds it, in room kept for the thread:
    // grown, never shrunk, and never filled ahead, so that the pages only
    // the rare percent-encodings could need are never touched.
    static std::string_view AsShiftJis(std::string_view url)
    {
        thread_local std::unique_ptr<char[]> room;
        thread_local std::size_t roomSize = 0;
        if (roomSize < 3 * url.size()) {
            room.reset(new char[3 * url.size()]);
            roomSize = 3 * url.size();
        }
        return std::string_view(room.get(), Utf8ToShiftJisAt(url, room.get()));
    }
};

}  // namespace linekinds
