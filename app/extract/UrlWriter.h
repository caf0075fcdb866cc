#pragma once
#include <cstdio>
#include <string>

#include "UrlList.h"

// Moves the list's items to a stream, each followed by CR LF, through one
// large buffer, and empties the list so memory stays bounded.
class TUrlWriter {
public:
    explicit TUrlWriter(std::FILE* stream);
    void Drain(TUrlList& list);
    // Writes what is buffered; false when any write failed.
    bool Finish();

private:
    void WriteBuffer();
    std::FILE* FStream;
    std::string FBuffer;
    bool FFailed = false;
};
