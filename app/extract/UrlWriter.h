#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "engine/UrlSink.h"

// Writes each URL to a descriptor, followed by CR LF, through a buffer of
// 128 KB, so that a long run costs few system calls and no list at all, and
// a reader on a pipe is woken seldom. Batches, already in that form, are
// copied whole or written as they stand. URLs are Shift_JIS; they go out
// in UTF-8 when the output encoding is, or when it is Auto and the input
// they came from is; URLs and batches that come in UTF-8 then go out as
// they stand.
class TUrlWriter final : public TUrlSink {
public:
    TUrlWriter(int fd, TTextEncoding output = TTextEncoding::Auto);
    ~TUrlWriter() override;
    TUrlWriter(const TUrlWriter&) = delete;
    TUrlWriter& operator=(const TUrlWriter&) = delete;

    void Add(std::string_view url) override;
    void AddBatch(const TUrlBatch& batch) override;
    void AddUtf8(std::string_view url) override;
    bool TakesUtf8For(TTextEncoding input) const override;
    // Writes what is buffered; false when any write failed.
    bool Finish();

private:
    bool InUtf8() const;
    std::string_view InUtf8Text(std::string_view shiftJis);
    void Put(std::string_view url);
    void Append(std::string_view bytes);
    void WriteBuffer();
    void Write(std::string_view first, std::string_view second);
    int FFd;
    char* FBuffer;  // from the buffer arena, like the readers' buffers
    std::size_t FFilled = 0;
    bool FFailed = false;
    TTextEncoding FOutput;
    std::unique_ptr<char[]> FUtf8;
    std::size_t FUtf8Size = 0;
    std::string FShiftJis;
};
