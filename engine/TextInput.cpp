#include "TextInput.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t MarkBytes = 4;
constexpr std::size_t RawStep = 1 << 16;
}  // namespace

void TTextInput::ReadMark()
{
    // A pipe may give the mark's bytes one by one.
    std::optional<TTextEncoding> marked;
    while (!(marked = ByteOrderMarkEncoding(FPending, FEnded))) {
        char bytes[MarkBytes];
        const std::size_t got = FFile.Read(bytes, MarkBytes - FPending.size());
        FPending.append(bytes, got);
        FEnded = got == 0;
    }
    if (!IsUtf16(*marked))
        return;
    FGate.Choose(*marked);
    FDecoder.emplace(*marked == TTextEncoding::Utf16Be);
    const std::string head = FPending.substr(2);
    FPending.clear();
    FDecoder->Append(head, FEnded, FPending);
}

std::size_t TTextInput::Read(char* buffer, std::size_t size)
{
    if (!FStarted) {
        FStarted = true;
        if (FGate.Encoding() == TTextEncoding::Auto)
            ReadMark();
    }
    while (FHandedOn == FPending.size()) {
        if (FEnded)
            return 0;
        if (!FDecoder)
            return FFile.Read(buffer, size);
        FRaw.resize(RawStep);
        const std::size_t got = FFile.Read(FRaw.data(), RawStep);
        FEnded = got == 0;
        FPending.clear();
        FHandedOn = 0;
        FDecoder->Append(std::string_view(FRaw.data(), got), FEnded, FPending);
    }
    const std::size_t count = std::min(size, FPending.size() - FHandedOn);
    std::memcpy(buffer, FPending.data() + FHandedOn, count);
    FHandedOn += count;
    return count;
}

bool StartsAsUtf16(const TFileHandle& file, TTextEncoding chosen)
{
    if (chosen != TTextEncoding::Auto)
        return false;
    char head[MarkBytes];
    const std::size_t got = file.ReadAt(head, MarkBytes, 0);
    const std::optional<TTextEncoding> marked = ByteOrderMarkEncoding(std::string_view(head, got), true);
    return marked && IsUtf16(*marked);
}
