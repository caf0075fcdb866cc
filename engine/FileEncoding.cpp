#include "FileEncoding.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "Utf8Scan.h"

namespace {
// Small, so that deciding touches few fresh pages: a text that is not ASCII
// throughout tells its encoding within its first 64 KiB of other bytes.
constexpr std::size_t DecisionStep = 1 << 16;
}  // namespace

TTextEncoding TFileEncoding::For(std::string_view piece)
{
    if (FEncoding.load() == TTextEncoding::Auto && utf8::AsciiPrefix(piece) < piece.size())
        std::call_once(FDecided, [this] { Decide(); });
    return FEncoding.load();
}

void TFileEncoding::Decide()
{
    // As the line reader decides, but reading ahead from the start of the
    // file, and keeping nothing of a run of ASCII. The room is not filled
    // ahead of the reading.
    TEncodingGate gate;
    std::unique_ptr<char[]> pending;
    std::size_t size = 0, room = 0;
    for (std::size_t offset = 0;;) {
        if (size + DecisionStep > room) {
            room = std::max(2 * room, size + DecisionStep);
            std::unique_ptr<char[]> grown(new char[room]);
            if (size != 0)
                std::memcpy(grown.get(), pending.get(), size);
            pending = std::move(grown);
        }
        const std::size_t got = FFile.ReadAt(pending.get() + size, DecisionStep, offset);
        size += got;
        offset += got;
        const bool whole = got < DecisionStep;
        if (gate.Ready(std::string_view(pending.get(), size), whole)) {
            if (gate.Encoding() != TTextEncoding::Auto)
                break;
            gate.TakeStart();
            size = 0;
        }
    }
    FEncoding = gate.Encoding();
}
