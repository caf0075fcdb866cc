#pragma once
// Internal: the one decision of a file read in pieces side by side. Pieces
// of ASCII never ask; the first piece holding anything else decides for all
// from the file's own first bytes.
#include <atomic>
#include <mutex>
#include <string_view>

#include "FileHandle.h"
#include "PieceReading.h"
#include "TextEncoding.h"

class TFileEncoding {
public:
    TFileEncoding(const TFileHandle& file, TTextEncoding chosen) : FFile(file), FEncoding(chosen) { }
    // The encoding to read a piece's bytes in: Auto for ASCII while no
    // piece needed to know. Safe from several threads at once.
    TTextEncoding For(std::string_view piece);
    TTextEncoding Encoding() const { return FEncoding.load(); }
    // Where in the file the line starts that starts at `at` in converted,
    // the conversion of block: lines are kept one for one.
    static std::size_t FileOffset(const TLineBlock& block, std::string_view converted, std::size_t at);

private:
    void Decide();
    const TFileHandle& FFile;
    std::atomic<TTextEncoding> FEncoding;
    std::once_flag FDecided;
};
