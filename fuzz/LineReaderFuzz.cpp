// File bytes through the text-file line reader, delivered in pieces of
// varying size so that every line rule meets a read boundary, and compared
// with the lines the plain rules give.
#include <string>
#include <vector>

#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include "FuzzSupport.h"
#include "engine/Engine.h"

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
// the boundaries the input asks for. The socket holds a few hundred pieces,
// so past MaxPieces the rest goes as one, and no writer thread is needed.
constexpr int MaxPieces = 200;

std::vector<std::string> LinesOfPieces(std::string_view bytes, std::size_t oddPiece, std::size_t evenPiece)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0)
        fuzz::Fail("cannot make a socket pair");
    std::string_view rest = bytes;
    for (int piece = 1; !rest.empty(); ++piece) {
        const std::size_t size = piece == MaxPieces ? rest.size() : piece % 2 ? oddPiece : evenPiece;
        const std::string_view sent = rest.substr(0, size);
        if (::send(ends[1], sent.data(), sent.size(), MSG_NOSIGNAL | MSG_DONTWAIT)
            != static_cast<ssize_t>(sent.size()))
            fuzz::Fail("the socket did not take a piece");
        rest.remove_prefix(sent.size());
    }
    ::shutdown(ends[1], SHUT_WR);
    std::vector<std::string> lines;
    ReadTextLines(ends[0], [&](std::string_view line) { lines.emplace_back(line); });
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
