#pragma once
// The extraction engine: CP932 byte strings in, URLs out. No Qt here.
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Errors.h"
#include "ExtractOptions.h"
#include "IniFile.h"
#include "ShiftJisCodec.h"
#include "TextEncoding.h"
#include "TrackingParameters.h"
#include "UrlList.h"
#include "UrlSink.h"

// ---- Shift_JIS byte kinds and whole-character search (ShiftJis.cpp) ----
enum class TByteKind { Single, Lead, Second };

bool IsLeadByteValue(unsigned char value);
// Positions are 1-based, as the splitter counts them.
TByteKind ByteKindAt(std::string_view text, std::size_t p);
bool IsDelimiterAt(std::string_view delimiters, std::string_view text, std::size_t p);

// 0-based index of the first occurrence at or after `from` whose first byte
// is not a second byte, or npos. ignoreCase folds ASCII letters only.
std::size_t FindWhole(std::string_view text, std::string_view pattern, std::size_t from = 0,
                      bool ignoreCase = false);
bool ContainsWhole(std::string_view text, std::string_view pattern, bool ignoreCase = false);
// Replaces every whole-character occurrence, left to right, never rescanning
// inserted text.
std::string ReplaceAllWhole(std::string_view text, std::string_view pattern, std::string_view replacement,
                            bool ignoreCase = false);
// The offsets of the occurrences ReplaceAllWhole replaces, ascending, into
// `offsets` (cleared first), so that a caller can replace them itself.
void FindAllWhole(std::string_view text, std::string_view pattern, std::vector<std::size_t>& offsets,
                  bool ignoreCase = false);
// The text with the `length`-byte spans at the ascending, non-overlapping
// offsets replaced; the result is allocated once, at its exact size.
std::string ReplaceSpans(std::string_view text, std::span<const std::size_t> offsets, std::size_t length,
                         std::string_view replacement);
// 0-based index of the last single-byte occurrence of c, or npos.
std::size_t FindLastSingleByte(std::string_view text, char c);

// ---- Field splitter (FieldSplitter.cpp) ----
// Field numbers count from 1; field 0 and fields past the last are empty.
std::string FieldAt(std::string_view text, std::string_view delimiters, int n);
int FieldCount(std::string_view text, std::string_view delimiters);
// Calls onField for fields 1..FieldCount in one pass: the same values the
// FieldCount/FieldAt pattern yields, in linear time.
void ForEachField(std::string_view text, std::string_view delimiters,
                  const std::function<void(std::string_view)>& onField);

// ---- Line recognizer (LineRecognizer.cpp, KanaKeys.cpp) ----
std::string ConvertKanaKeys(std::string_view line);
void ExtractUrlsFromLine(std::string_view line, const TExtractOptions& options, TUrlList& list);
void ExtractUrlsFromLine(std::string_view line, const TExtractOptions& options, TUrlSink& sink);
// The URLs of a line of valid UTF-8, as its Shift_JIS copy gives them,
// without converting the line: only the URLs are converted.
void ExtractUrlsFromUtf8Line(std::string_view line, const TExtractOptions& options, TUrlSink& sink);

// ---- Range expansion and numbering (RangeExpansion.cpp) ----
// The most entries one bracketed range, or all the ranges of one clipboard
// text together, may produce; larger ranges are refused with EFormatError
// before anything of them is appended.
constexpr long long MaxRangeEntries = 1000000;
// Likewise the most bytes of URL text one range may produce, so that a long
// URL with a large range cannot exhaust memory either.
constexpr long long MaxRangeBytes = 256LL << 20;
void AddExpanded(std::string_view url, const TExtractOptions& options, TUrlList& list);
void AddExpanded(std::string_view url, const TExtractOptions& options, TUrlSink& sink);
int ParseRangeBound(std::string_view text);
// Throws EFormatError("書式文字列が長すぎます") for a digit count above 224.
std::string ZeroPad(int value, int digitCount);

// ---- Text sources (TextSources.cpp) ----
// Reads a file as CP932 text lines (CR LF, lone CR dropped, Ctrl-Z at line
// start ends the file, last line without LF kept) and hands each line on.
// Throws EInOutError when the file cannot be opened or read; lines handed on
// before the failure stay handed on.
void ReadTextLines(const std::string& path, const std::function<void(std::string_view)>& onLine);
// The same from a descriptor that stays open, such as standard input: it is
// read from where it stands, whatever it is (pipe, socket, terminal).
void ReadTextLines(int fd, const std::function<void(std::string_view)>& onLine);
// The same lines, each as a Shift_JIS copy of the file would hold it: the
// file's encoding is decided from its first bytes (TextEncoding.h).
void ReadTextLinesAsShiftJis(const std::string& path, const std::function<void(std::string_view)>& onLine);
// The same from a descriptor, telling onRead the bytes of every read of a
// few megabytes at most: it may throw to stop the reading within a line too.
void ReadTextLinesAsShiftJis(int fd, const std::function<void(std::string_view)>& onLine,
                             const std::function<void(std::size_t bytes)>& onRead);
// The same lines from bytes already read.
void SplitTextLines(std::string_view bytes, const std::function<void(std::string_view)>& onLine);
// ReadTextLinesAsShiftJis and ExtractUrlsFromLine for every line, with the same
// results and errors, but lines that cannot hold a URL under the options are
// skipped in bulk without being cut out one by one. The sink's
// InputEncoding chooses the encoding, or, when Auto, learns the decision.
void ExtractFromFile(const std::string& path, const TExtractOptions& options, TUrlList& list);
void ExtractFromFile(const std::string& path, const TExtractOptions& options, TUrlSink& sink);
void ExtractFromFile(int fd, const TExtractOptions& options, TUrlSink& sink);
// The same, ending where a regular file ended when it was opened: a file
// that another program keeps appending to cannot hold the reader forever.
void ExtractFromFileAsOpened(int fd, const TExtractOptions& options, TUrlSink& sink);
// How a large file is shared out among threads.
struct TFileSplit {
    unsigned Threads = 2;                // the calling thread included
    std::size_t PieceBytes = 1 << 18;    // each thread takes the next piece of this much
    std::size_t SmallestFile = 8 << 20;  // smaller files are read on the calling thread alone
    std::size_t BatchBytes = 16 << 20;   // URL text a piece holds before its rest waits for its turn
};
// The same on several threads: a regular file of at least SmallestFile
// bytes is cut into pieces at line starts, extracted side by side, up to
// its size when opened; what it grew by since is read on as a stream. The
// sink is called on the calling thread only, in file order, and sees the
// same URLs and the same error after the same URLs as with ExtractFromFile.
// Other files are read as ExtractFromFile reads them.
void ExtractFromFile(const std::string& path, const TExtractOptions& options, TUrlSink& sink,
                     const TFileSplit& split);
// The whole file as bytes, with the same errors as ReadTextLines.
std::string ReadFileBytes(const std::string& path);
std::string ReadFileBytes(int fd);
// Clipboard text: every CR removed, lines cut by the splitter on LF.
void ExtractFromClipboardText(std::string_view text, const TExtractOptions& options, TUrlList& list);
void ExtractFromClipboardText(std::string_view text, const TExtractOptions& options, TUrlSink& sink);
// A copy that offers the link targets of a web page beside its text: the
// text's URLs, then those the recognizer finds in each target (never kana
// typed), leaving out any the text's URLs already hold. One range budget
// covers the whole copy.
void ExtractFromCopy(std::string_view text, const std::vector<std::string>& targets,
                     const TExtractOptions& options, TUrlSink& sink);
void ExtractFromCopy(std::string_view text, const std::vector<std::string>& targets,
                     const TExtractOptions& options, TUrlList& list);
