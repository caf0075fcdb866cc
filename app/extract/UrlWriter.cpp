#include "UrlWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include "engine/BufferArena.h"
#include "engine/ShiftJisCodec.h"
#include "engine/UrlBatch.h"

namespace {

constexpr std::size_t BufferSize = 1 << 17;
// The reader of a pipe then takes the output in fewer, larger pieces, and
// both sides switch less often. Refused by some systems; that is harmless.
constexpr int PipeSize = 1 << 20;
constexpr std::string_view LineEnd = "\r\n";

}  // namespace

TUrlWriter::TUrlWriter(int fd, TTextEncoding output)
    : FFd(fd), FBuffer(arena::Allocate(BufferSize)), FOutput(output)
{
    ::fcntl(FFd, F_SETPIPE_SZ, PipeSize);
}

TUrlWriter::~TUrlWriter()
{
    arena::Release(FBuffer);
}

bool TUrlWriter::TakesUtf8For(TTextEncoding input) const
{
    // A UTF-16 input's URLs go out in UTF-8: one line ending for all.
    const TTextEncoding encoding = FOutput == TTextEncoding::Auto ? input : FOutput;
    return encoding == TTextEncoding::Utf8 || IsUtf16(encoding);
}

bool TUrlWriter::InUtf8() const
{
    return TakesUtf8For(InputEncoding);
}

void TUrlWriter::Add(std::string_view url)
{
    if (InUtf8())
        url = InUtf8Text(url);
    Put(url);
}

void TUrlWriter::AddUtf8(std::string_view url)
{
    if (!InUtf8())
        return Add(Utf8ToShiftJis(url));
    Put(url);
}

void TUrlWriter::Put(std::string_view url)
{
    if (FFilled + url.size() + LineEnd.size() > BufferSize) {
        WriteBuffer();
        if (url.size() + LineEnd.size() > BufferSize)
            return Write(url, LineEnd);
    }
    Append(url);
    Append(LineEnd);
}

void TUrlWriter::AddBatch(const TUrlBatch& batch)
{
    // CR LF reads the same in both encodings.
    std::string_view lines = batch.Lines();
    if (batch.InUtf8() && !InUtf8())
        lines = FShiftJis = Utf8ToShiftJis(lines);
    else if (!batch.InUtf8() && InUtf8())
        lines = InUtf8Text(lines);
    // A batch that fits is copied like single URLs; else it goes out as it
    // stands, behind what is buffered, in the same call.
    if (FFilled + lines.size() <= BufferSize)
        return Append(lines);
    Write(std::string_view(FBuffer, FFilled), lines);
    FFilled = 0;
}

std::string_view TUrlWriter::InUtf8Text(std::string_view shiftJis)
{
    // Grown, never shrunk, and never filled ahead, so that no URL pays for
    // clearing it and a huge one touches only the pages it is written to.
    if (FUtf8Size < 3 * shiftJis.size()) {
        FUtf8.reset(new char[3 * shiftJis.size()]);
        FUtf8Size = 3 * shiftJis.size();
    }
    return std::string_view(FUtf8.get(), ShiftJisToUtf8At(shiftJis, FUtf8.get()));
}

void TUrlWriter::Append(std::string_view bytes)
{
    std::memcpy(FBuffer + FFilled, bytes.data(), bytes.size());
    FFilled += bytes.size();
}

void TUrlWriter::WriteBuffer()
{
    Write(std::string_view(FBuffer, FFilled), {});
    FFilled = 0;
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
        const auto done = static_cast<std::size_t>(written);
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
