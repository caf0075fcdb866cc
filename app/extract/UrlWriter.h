#pragma once
#include <string>
#include <string_view>

#include "UrlSink.h"

// Writes each URL to a descriptor, followed by CR LF, through a buffer of
// 128 KB, so that a long run costs few system calls and no list at all, and
// a reader on a pipe is woken seldom.
// Batches, already in that form, are written as they stand.
class TUrlWriter final : public TUrlSink {
public:
    explicit TUrlWriter(int fd);
    void Add(std::string_view url) override;
    void AddBatch(const TUrlBatch& batch) override;
    // Writes what is buffered; false when any write failed.
    bool Finish();

private:
    void WriteBuffer();
    void Write(std::string_view first, std::string_view second);
    int FFd;
    std::string FBuffer;
    bool FFailed = false;
};
