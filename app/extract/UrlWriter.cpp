#include "UrlWriter.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include "UrlBatch.h"

namespace {

constexpr std::size_t BufferSize = 1 << 17;
// The reader of a pipe then takes the output in fewer, larger pieces, and
// both sides switch less often. Refused by some systems; that is harmless.
constexpr int PipeSize = 1 << 20;

}  // namespace

TUrlWriter::TUrlWriter(int fd) : FFd(fd)
{
    FBuffer.reserve(BufferSize + 4096);
    ::fcntl(FFd, F_SETPIPE_SZ, PipeSize);
}

void TUrlWriter::Add(std::string_view url)
{
    FBuffer.append(url).append("\r\n");
    if (FBuffer.size() >= BufferSize)
        WriteBuffer();
}

void TUrlWriter::AddBatch(const TUrlBatch& batch)
{
    // A batch that fits is copied like single URLs; else it goes out as it
    // stands, behind what is buffered, in the same call.
    if (FBuffer.size() + batch.Bytes() <= BufferSize) {
        FBuffer.append(batch.Lines());
        if (FBuffer.size() >= BufferSize)
            WriteBuffer();
        return;
    }
    Write(FBuffer, batch.Lines());
    FBuffer.clear();
}

void TUrlWriter::WriteBuffer()
{
    Write(FBuffer, {});
    FBuffer.clear();
}

void TUrlWriter::Write(std::string_view first, std::string_view second)
{
    while (!FFailed && (!first.empty() || !second.empty())) {
        iovec parts[2] = {{const_cast<char*>(first.data()), first.size()},
                          {const_cast<char*>(second.data()), second.size()}};
        const ssize_t written = ::writev(FFd, parts, 2);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            FFailed = true;
            break;
        }
        auto done = static_cast<std::size_t>(written);
        const std::size_t fromFirst = std::min(done, first.size());
        first.remove_prefix(fromFirst);
        second.remove_prefix(done - fromFirst);
    }
}

bool TUrlWriter::Finish()
{
    WriteBuffer();
    return !FFailed;
}
