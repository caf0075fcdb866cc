#include "FileEncoding.h"

#include <string>

#include "Utf8Scan.h"

namespace {
// Small, so that deciding touches few fresh pages: a text that is not ASCII
// throughout tells its encoding within its first 64 KiB of other bytes.
constexpr std::size_t DecisionStep = 1 << 16;
}  // namespace

TTextEncoding TFileEncoding::For(std::string_view piece, bool atFileStart)
{
    if (FEncoding.load() == TTextEncoding::Auto && utf8::AsciiPrefix(piece) < piece.size())
        std::call_once(FDecided, [&] { Decide(atFileStart ? piece : std::string_view()); });
    return FEncoding.load();
}

void TFileEncoding::Decide(std::string_view start)
{
    // From the file's first bytes when they are at hand: reading them again
    // would cost fresh pages.
    if (TEncodingGate gate; gate.Ready(start, false) && gate.Encoding() != TTextEncoding::Auto) {
        FEncoding = gate.Encoding();
        return;
    }
    // As the line reader decides, but reading ahead from the start of the
    // file, and keeping nothing of a run of ASCII.
    TEncodingGate gate;
    std::string pending;
    for (std::size_t offset = 0;;) {
        const std::size_t old = pending.size();
        pending.resize(old + DecisionStep);
        const std::size_t got = FFile.ReadAt(pending.data() + old, DecisionStep, offset);
        pending.resize(old + got);
        offset += got;
        const bool whole = got < DecisionStep;
        if (gate.Ready(pending, whole)) {
            if (gate.Encoding() != TTextEncoding::Auto)
                break;
            gate.TakeStart();
            pending.clear();
        }
    }
    FEncoding = gate.Encoding();
}
