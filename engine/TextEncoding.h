#pragma once
// How each input is read: every text that reaches the recognizer is
// Shift_JIS. An input in UTF-8 is converted line by line into the text a
// Shift_JIS copy of it would hold, one in UTF-16 before its lines are cut;
// which one an input is gets decided once, from its first bytes.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class TTextEncoding { Auto, ShiftJis, Utf8, Utf16Le, Utf16Be };

constexpr bool IsUtf16(TTextEncoding encoding)
{
    return encoding == TTextEncoding::Utf16Le || encoding == TTextEncoding::Utf16Be;
}

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

// The encoding a user names for an input ("auto", "utf-8", "shift_jis");
// nullopt for any other name.
constexpr std::optional<TTextEncoding> InputEncodingNamed(std::string_view name)
{
    if (name == "auto")
        return TTextEncoding::Auto;
    if (name == "utf-8")
        return TTextEncoding::Utf8;
    if (name == "shift_jis")
        return TTextEncoding::ShiftJis;
    return std::nullopt;
}

// What a byte-order mark at the start of an input tells: UTF-8 or UTF-16
// (for the whole input: its ASCII looks like ASCII with NULs), Auto when
// there is none, nullopt while too few bytes are there to tell. Throws
// EUnsupportedEncoding for a UTF-32 mark.
std::optional<TTextEncoding> ByteOrderMarkEncoding(std::string_view bytes, bool whole);

// UTF-8 is assumed when the input starts with a byte-order mark, or when
// its bytes are valid UTF-8 from the first non-ASCII byte on for this many
// bytes (or to its end).
constexpr std::size_t Utf8EvidenceBytes = 64 << 10;

// The decision on bytes, read from the start of the input (atStart) or
// after bytes that were all ASCII; nullopt while more bytes are needed.
// whole: the bytes run to the end of the input. An input of ASCII only is
// Shift_JIS, which reads the same.
std::optional<TTextEncoding> DecideEncoding(std::string_view bytes, bool whole, bool atStart = true);

// The bytes of a whole input as Shift_JIS text: converted when the
// encoding, decided now when Auto, is UTF-8 or UTF-16. The decided encoding goes to
// `decided` when given.
std::string WholeTextAsShiftJis(std::string bytes, TTextEncoding encoding, TTextEncoding* decided = nullptr);

// A block of whole lines of a UTF-8 input as Shift_JIS, in spare; the
// byte-order mark dropped when the block starts the input.
std::string_view Utf8BlockAsShiftJis(std::string_view block, bool atStart, std::string& spare);

// One input's decision as its blocks of whole lines go by: blocks of ASCII
// go on at once, and the first block with anything else waits until
// enough bytes are there to decide.
class TEncodingGate {
public:
    explicit TEncodingGate(TTextEncoding chosen = TTextEncoding::Auto) : FEncoding(chosen) { }
    // pending: the bytes read but not yet handed on. True when they may go
    // on: the encoding is known, or they are ASCII.
    bool Ready(std::string_view pending, bool whole);
    // Whether the block about to be handed on starts the input; from then
    // on the next does not.
    bool TakeStart();
    // Decided elsewhere: a UTF-16 input, told by its mark.
    void Choose(TTextEncoding encoding) { FEncoding = encoding; }
    // Auto while undecided.
    TTextEncoding Encoding() const { return FEncoding; }

private:
    TTextEncoding FEncoding;
    bool FAtStart = true;
};
