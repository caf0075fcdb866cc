#pragma once
#include <cstddef>
#include <cstring>
#include <string_view>

#include "BufferArena.h"
#include "ShiftJisCodec.h"
#include "UrlSink.h"

// URLs held as lines ending in CR LF in one run of bytes, as the extractor
// prints them: what one thread extracts from its piece of a file while
// another hands earlier pieces on. Clearing keeps the memory for the next
// piece; the memory comes from the buffer arena. The lines are Shift_JIS,
// or, for a sink that writes UTF-8 (SetInUtf8), UTF-8, so that URLs found
// in UTF-8 are never converted at all.
class TUrlBatch final : public TUrlSink {
public:
    // A URL in the batch's own encoding.
    void Add(std::string_view url) override
    {
        Reserve(FBytes + url.size() + 2, FCount + 1);
        std::memcpy(FLines.Data() + FBytes, url.data(), url.size());
        Close(url.size());
    }
    void AddUtf8(std::string_view url) override
    {
        if (FInUtf8)
            return Add(url);
        Reserve(FBytes + 3 * url.size() + 2, FCount + 1);
        Close(Utf8ToShiftJisAt(url, FLines.Data() + FBytes));
    }
    // A URL in Shift_JIS into a batch in UTF-8.
    void AddShiftJisAsUtf8(std::string_view url)
    {
        // At most three bytes for each byte of Shift_JIS.
        Reserve(FBytes + 3 * url.size() + 2, FCount + 1);
        Close(ShiftJisToUtf8At(url, FLines.Data() + FBytes));
    }
    bool TakesUtf8For(TTextEncoding) const override { return FInUtf8; }
    bool InUtf8() const { return FInUtf8; }
    // Only while empty, and only for a batch that goes to a sink that takes
    // UTF-8 (TakesUtf8For): such a sink writes it as it stands.
    void SetInUtf8(bool on) { FInUtf8 = on; }
    std::size_t Count() const { return FCount; }
    std::size_t Bytes() const { return FBytes; }
    std::string_view Lines() const { return std::string_view(FLines.Data(), FBytes); }
    std::string_view operator[](std::size_t i) const
    {
        const std::size_t start = i == 0 ? 0 : Ends()[i - 1] + 2;
        return std::string_view(FLines.Data() + start, Ends()[i] - start);
    }
    // Keeps the first count URLs only.
    void Truncate(std::size_t count)
    {
        FBytes = count == 0 ? 0 : Ends()[count - 1] + 2;
        FCount = count;
    }
    void Clear() { Truncate(0); }
    // Room for bytes of lines and count URLs, so that a batch rarely grows.
    void Reserve(std::size_t bytes, std::size_t count)
    {
        if (bytes > FLines.Capacity())
            FLines.Reserve(bytes, FBytes);
        if (count * sizeof(std::size_t) > FEnds.Capacity())
            FEnds.Reserve(count * sizeof(std::size_t), FCount * sizeof(std::size_t));
    }

private:
    // Ends the URL of `length` bytes written at the end of the lines.
    void Close(std::size_t length)
    {
        char* at = FLines.Data() + FBytes + length;
        at[0] = '\r';
        at[1] = '\n';
        FBytes += length;
        Ends()[FCount++] = FBytes;
        FBytes += 2;
    }
    // Where each URL's CR LF starts. Arena memory is aligned for them.
    std::size_t* Ends() { return reinterpret_cast<std::size_t*>(FEnds.Data()); }
    const std::size_t* Ends() const { return reinterpret_cast<const std::size_t*>(FEnds.Data()); }

    arena::TBuffer FLines;
    arena::TBuffer FEnds;
    std::size_t FBytes = 0;
    std::size_t FCount = 0;
    bool FInUtf8 = false;
};
