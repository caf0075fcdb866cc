#pragma once
// Internal: the one decision of a file read in pieces side by side. Pieces
// of ASCII never ask; the first piece holding anything else decides for all
// from the file's own first bytes.
#include <atomic>
#include <mutex>
#include <string_view>

#include "FileHandle.h"
#include "TextEncoding.h"

class TFileEncoding {
public:
    TFileEncoding(const TFileHandle& file, TTextEncoding chosen) : FFile(file), FEncoding(chosen) { }
    // The encoding to read a piece's bytes in: Auto for ASCII while no
    // piece needed to know. Safe from several threads at once. A piece at
    // the start of the file is usually long enough to decide from itself.
    TTextEncoding For(std::string_view piece, bool atFileStart);
    TTextEncoding Encoding() const { return FEncoding.load(); }

private:
    void Decide(std::string_view start);
    const TFileHandle& FFile;
    std::atomic<TTextEncoding> FEncoding;
    std::once_flag FDecided;
};
