#pragma once
// Internal: the engine's byte-class scans, in 64-byte AVX-512 steps, 32-byte
// AVX2 steps or 16-byte SSE2 steps, the widest the processor has (chosen
// once); on processors other than x86, byte by byte.
#include <cstddef>
#include <cstdint>

namespace kernels {

constexpr unsigned char CtrlZ = 0x1A;

// The step width in use, in bytes. Tests narrow it to run every width the
// processor has; a width wider than the processor has gives its widest.
std::size_t StepWidth();
void UseStepWidth(std::size_t bytes);

// Index of the first byte at or after from, or length, that is ":" or ".",
// or `slash` (pass ":" when slashes do not count), or a Ctrl-Z, or a CR not
// followed by LF; with kana, also a lead byte 0x82 followed by the second
// byte of け, る or め.
std::size_t FindHit(const unsigned char* bytes, std::size_t from, std::size_t length, unsigned char slash,
                    bool kana);

// Index of the first "://", "ww." or (with parentPaths) "../" at or after
// from, at its colon or its first dot, with the "ww" at or after from; or of
// the first Ctrl-Z or CR not followed by LF; or length.
std::size_t FindAnchor(const unsigned char* bytes, std::size_t from, std::size_t length, bool parentPaths);

// Index of the first LF, or of the first CR not followed by LF, at or after
// from; or length.
std::size_t FindLineEnd(const unsigned char* bytes, std::size_t from, std::size_t length);

// Sets bit i % 64 of word i / 64 in specials for each special byte of the
// recognizer (space, double quote, "<", ">", apostrophe, NUL), in colons
// for each ":", in dots for each "." and in wwDots for each "." of a
// "ww."; the words are written whole. Returns whether any byte is a double
// quote.
bool MarkLine(const unsigned char* bytes, std::size_t length, std::uint64_t* specials, std::uint64_t* colons,
              std::uint64_t* dots, std::uint64_t* wwDots);

// Whether the bytes hold a "/" or め (0x82 0xDF), and a "." or る (0x82
// 0xE9), found at any alignment: what the kana conversion of them needs to
// hold both "/" and ".".
bool MayConvertToSlashAndDot(const unsigned char* bytes, std::size_t length);

// The same for valid UTF-8: a "/" or め (E3 82 81), and a "." or る (E3 82
// 8B).
bool MayConvertUtf8ToSlashAndDot(const unsigned char* bytes, std::size_t length);

// Sets, in the words of marks (written whole), the bit of each "/" and "."
// of valid UTF-8 and, with kana, of the first byte of each め and る: a
// field the recognizer can accept holds one of them.
void MarkUtf8Triggers(const unsigned char* bytes, std::size_t length, std::uint64_t* marks, bool kana);

// What a block of valid UTF-8 lines holds, bit i % 64 of word i / 64.
struct TFieldMarks {
    std::uint64_t Ends;      // the recognizer's special bytes, CR and LF: no field runs over one
    std::uint64_t Lines;     // LF
    std::uint64_t Slashes;   // "/" and, with kana, the first byte of め: the field triggers,
    std::uint64_t Dots;      // with "." and, with kana, the first byte of る
    std::uint64_t Careful;   // the first byte of "://" and (with parentPaths) "../", a CR
                             // not followed by LF (a last CR is not), a Ctrl-Z
    std::uint64_t Prefixes;  // bytes a prefix rule's match may start with: h f m r w / and,
                             // with kana, the first byte of a kana typed on one of those keys
};

// Marks bytes into (length + 63) / 64 marks, written whole.
void MarkUtf8Fields(const unsigned char* bytes, std::size_t length, bool kana, bool parentPaths,
                    TFieldMarks* marks);

// Whether the bytes are valid UTF-8: no overlong form, surrogate, code
// point above U+10FFFF, or sequence cut short.
bool IsValidUtf8(const unsigned char* bytes, std::size_t length);

}  // namespace kernels
