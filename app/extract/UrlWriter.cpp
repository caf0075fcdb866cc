#include "UrlWriter.h"

namespace {
constexpr std::size_t BufferSize = 1 << 20;
}  // namespace

TUrlWriter::TUrlWriter(std::FILE* stream) : FStream(stream)
{
    FBuffer.reserve(BufferSize + 4096);
}

void TUrlWriter::Drain(TUrlList& list)
{
    for (const TUrlList::TItem& item : list.Items()) {
        FBuffer.append(item.Text).append("\r\n");
        if (FBuffer.size() >= BufferSize)
            WriteBuffer();
    }
    list.Clear();
}

void TUrlWriter::WriteBuffer()
{
    if (!FBuffer.empty() && std::fwrite(FBuffer.data(), 1, FBuffer.size(), FStream) != FBuffer.size())
        FFailed = true;
    FBuffer.clear();
}

bool TUrlWriter::Finish()
{
    WriteBuffer();
    if (std::fflush(FStream) != 0)
        FFailed = true;
    return !FFailed;
}
