#pragma once
// Internal: the whole lines of one piece of a regular file, read without
// the rest of the file, so that pieces can be read side by side.
#include <cstddef>
#include <string_view>

#include "BufferArena.h"
#include "FileHandle.h"

// Keeps its memory from one piece to the next.
using TReadBuffer = arena::TBuffer;

// Up to the end of the file.
constexpr std::size_t EndOfFile = static_cast<std::size_t>(-1);

// Bytes read into a buffer, and where in the file they start.
struct TLineBlock {
    std::string_view Bytes;
    std::size_t Offset = 0;
};

// The lines that start at offsets in [from, to), read into buffer: from the
// first line start at or after from (from itself when atLineStart) to the
// end of the line that holds byte to - 1, LF included. Empty when no line
// starts there. A piece thus owns every line that starts in it, and the
// pieces of a file together give each line once.
TLineBlock ReadLinesStartingIn(const TFileHandle& file, std::size_t from, std::size_t to, bool atLineStart,
                               TReadBuffer& buffer);
