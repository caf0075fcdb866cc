#pragma once
#include <string>
#include <string_view>

#include "UrlSink.h"

// Writes each URL to a descriptor, followed by CR LF, through a buffer of
// 64 KB, so that a long run costs few system calls and no list at all.
class TUrlWriter final : public TUrlSink {
public:
    explicit TUrlWriter(int fd);
    void Add(std::string_view url) override;
    // Writes what is buffered; false when any write failed.
    bool Finish();

private:
    void WriteBuffer();
    int FFd;
    std::string FBuffer;
    bool FFailed = false;
};
