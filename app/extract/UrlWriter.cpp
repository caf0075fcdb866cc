#include "UrlWriter.h"

#include <cerrno>

#include <unistd.h>

namespace {
constexpr std::size_t BufferSize = 1 << 16;
}  // namespace

TUrlWriter::TUrlWriter(int fd) : FFd(fd)
{
    FBuffer.reserve(BufferSize + 4096);
}

void TUrlWriter::Add(std::string_view url)
{
    FBuffer.append(url).append("\r\n");
    if (FBuffer.size() >= BufferSize)
        WriteBuffer();
}

void TUrlWriter::WriteBuffer()
{
    const char* data = FBuffer.data();
    std::size_t left = FFailed ? 0 : FBuffer.size();
    while (left > 0) {
        const ssize_t written = ::write(FFd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            FFailed = true;
            break;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    FBuffer.clear();
}

bool TUrlWriter::Finish()
{
    WriteBuffer();
    return !FFailed;
}
