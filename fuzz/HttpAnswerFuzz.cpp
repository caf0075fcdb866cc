// The link checker's reading of an answer from the network: whatever bytes
// a host sends, and however they are split on the way, the reader comes to
// the same end (the same status and fields, and the connection kept unless
// bytes beyond the answer came with it), and a complete answer always has a
// final status.
#include <string>

#include "FuzzSupport.h"
#include "linkcheck/HttpAnswerReader.h"

namespace {

struct TEnd {
    THttpAnswerReader::TState State;
    THttpAnswerReader Reader;
};

TEnd Read(std::string_view bytes, std::size_t piece, std::int64_t limit)
{
    THttpAnswerReader reader(limit);
    THttpAnswerReader::TState state = THttpAnswerReader::TState::More;
    for (std::size_t at = 0; at < bytes.size() && state == THttpAnswerReader::TState::More; at += piece) {
        const std::string_view part = bytes.substr(at, piece);
        state = reader.Feed(QByteArray(part.data(), static_cast<qsizetype>(part.size())));
    }
    return {state, reader};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TInput input(data, size);
    const std::size_t piece = input.Byte() % 32 + 1;
    const std::int64_t limit = input.Byte() % 4 == 0 ? 16 : 64 << 10;
    const std::string bytes(input.Rest());
    TEnd whole = Read(bytes, bytes.size() + 1, limit);
    TEnd split = Read(bytes, piece, limit);
    if (whole.State != split.State)
        fuzz::Fail("an answer read differently when split", bytes);
    for (TEnd* end : {&whole, &split})
        if (end->State == THttpAnswerReader::TState::More)
            end->State = end->Reader.Closed();
    if (whole.State != split.State)
        fuzz::Fail("an answer ended differently when split", bytes);
    if (whole.State != THttpAnswerReader::TState::Done)
        return 0;
    const TLinkAnswer& a = whole.Reader.Answer();
    const TLinkAnswer& b = split.Reader.Answer();
    if (a.Status < 200 || a.Status > 999)
        fuzz::Fail("a complete answer without a final status", bytes);
    if (a.Status != b.Status || a.Location != b.Location || a.RetryAfter != b.RetryAfter)
        fuzz::Fail("an answer whose fields depend on how it was split", bytes);
    // Bytes beyond a complete answer close the connection only when they
    // have arrived with it; later ones are caught by the connection.
    if (whole.Reader.KeepOpen() && !split.Reader.KeepOpen())
        fuzz::Fail("a connection kept only when its answer came at once", bytes);
    return 0;
}
