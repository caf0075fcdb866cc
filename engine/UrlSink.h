#pragma once
#include <limits>
#include <string>
#include <string_view>

#include "TextEncoding.h"
#include "UrlList.h"

class TUrlBatch;

// Where the engine puts each URL the moment it accepts it. The text lives
// only for the call; a sink that keeps it copies it. Callers that stream
// URLs out (the command-line extractor) write them straight on instead of
// building a list first.
class TUrlSink {
public:
    virtual ~TUrlSink() = default;
    virtual void Add(std::string_view url) = 0;
    // Every URL of a batch, in order. Sinks that can take the batch's text
    // whole override this.
    virtual void AddBatch(const TUrlBatch& batch);
    // A URL in UTF-8 whose Shift_JIS copy converts back to exactly these
    // bytes: the same as Add of that copy. A sink that writes its URLs out
    // in UTF-8 overrides it to skip the two conversions.
    virtual void AddUtf8(std::string_view url);
    // Whether AddUtf8 saves work while the input is in that encoding. Safe
    // from any thread.
    virtual bool TakesUtf8For(TTextEncoding) const { return false; }

    // Range entries this sink still takes. A clipboard text sets it for its
    // whole length, so that a few large ranges in one copied text cannot add
    // up to more than one range may expand to; a range past it is refused
    // before anything of it is added.
    long long RangeEntriesLeft = std::numeric_limits<long long>::max();
    // The encoding of the file being read: chosen by the caller, or Auto,
    // which the reader replaces by its decision before handing on any URL
    // that depends on it.
    TTextEncoding InputEncoding = TTextEncoding::Auto;
};

// Appends every URL to a list, as the window's operations expect.
class TUrlListSink final : public TUrlSink {
public:
    explicit TUrlListSink(TUrlList& list) : FList(list) { }
    void Add(std::string_view url) override { FList.Append(std::string(url)); }

private:
    TUrlList& FList;
};
