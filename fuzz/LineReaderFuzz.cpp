// File bytes through the text-file line reader, delivered in pieces of
// varying size so that every line rule meets a read boundary, and compared
// with the lines the plain rules give.
#include <string>
#include <thread>
#include <vector>

#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include "Engine.h"
#include "FuzzSupport.h"

namespace {

std::vector<std::string> LinesOfFile(std::string_view bytes)
{
    // A file in memory, opened again by name as the program opens its files.
    const int fd = ::memfd_create("linkrake-fuzz-lines", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        fuzz::Fail("cannot make the input file");
    std::vector<std::string> lines;
    ReadTextLines("/proc/self/fd/" + std::to_string(fd),
                  [&](std::string_view line) { lines.emplace_back(line); });
    ::close(fd);
    return lines;
}

// Each read of a packet socket returns exactly one piece, so the reader sees
// the boundaries the input asks for.
std::vector<std::string> LinesOfPieces(std::string_view bytes, std::size_t oddPiece, std::size_t evenPiece)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0)
        fuzz::Fail("cannot make a socket pair");
    std::thread writer([&] {
        std::string_view rest = bytes;
        for (bool odd = true; !rest.empty(); odd = !odd) {
            const std::string_view piece = rest.substr(0, odd ? oddPiece : evenPiece);
            if (::send(ends[1], piece.data(), piece.size(), MSG_NOSIGNAL)
                != static_cast<ssize_t>(piece.size()))
                fuzz::Fail("cannot send a piece");
            rest.remove_prefix(piece.size());
        }
        ::shutdown(ends[1], SHUT_WR);
    });
    std::vector<std::string> lines;
    ReadTextLines(ends[0], [&](std::string_view line) { lines.emplace_back(line); });
    writer.join();
    ::close(ends[0]);
    ::close(ends[1]);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TInput input(data, size);
    const std::size_t oddPiece = input.Byte();
    const std::size_t evenPiece = input.Byte() % 16 + 1;
    const std::string_view bytes = input.Rest();

    const std::vector<std::string> expected = fuzz::PlainTextLines(bytes);
    if (oddPiece == 0)
        fuzz::RequireSameLines(expected, LinesOfFile(bytes), "lines of a file");
    else
        fuzz::RequireSameLines(expected, LinesOfPieces(bytes, oddPiece, evenPiece), "lines read in pieces");
    return 0;
}
