#pragma once
// Internal: a file's bytes as the line reader cuts them. A file that a
// UTF-16 byte-order mark opens is converted into Shift_JIS text on the way,
// since its line feeds are not single bytes; any other goes on as it stands.
#include <cstddef>
#include <optional>
#include <string>

#include "FileHandle.h"
#include "TextEncoding.h"
#include "Utf16Text.h"

class TTextInput {
public:
    // A gate still at Auto is told when the mark says UTF-16; a chosen
    // encoding wins over the mark.
    TTextInput(TFileHandle& file, TEncodingGate& gate) : FFile(file), FGate(gate) { }
    // As TFileHandle::Read: 0 only at the end.
    std::size_t Read(char* buffer, std::size_t size);

private:
    void ReadMark();
    TFileHandle& FFile;
    TEncodingGate& FGate;
    bool FStarted = false;
    bool FEnded = false;
    std::string FPending;  // read ahead or converted, not yet handed on
    std::size_t FHandedOn = 0;
    std::optional<TUtf16Decoder> FDecoder;
    std::string FRaw;
};

// Whether a file read from its start is UTF-16 by its mark, unless chosen
// is not Auto. Throws as ByteOrderMarkEncoding.
bool StartsAsUtf16(const TFileHandle& file, TTextEncoding chosen);
