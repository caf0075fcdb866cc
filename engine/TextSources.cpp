#include "Engine.h"
#include "FieldScan.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t ChunkSize = 1 << 18;
constexpr char CtrlZ = 0x1A;

[[noreturn]] void ThrowFileError(int code)
{
    throw EInOutError(code, FileErrorMessage(code));
}

class TFileHandle {
public:
    explicit TFileHandle(const std::string& path) : FFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        if (FFd < 0)
            ThrowFileError(errno);
        RefuseFolder();
    }
    // Reads a descriptor the caller keeps open, such as standard input.
    explicit TFileHandle(int fd) : FFd(fd), FOwned(false) { RefuseFolder(); }
    ~TFileHandle()
    {
        if (FOwned)
            ::close(FFd);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;

    // Bytes read into buffer; 0 at the end of the file.
    std::size_t Read(char* buffer, std::size_t size)
    {
        for (;;) {
            const ssize_t got = ::read(FFd, buffer, size);
            if (got >= 0)
                return static_cast<std::size_t>(got);
            if (errno != EINTR)
                ThrowFileError(errno);
        }
    }

private:
    void RefuseFolder()
    {
        struct stat info { };
        if (::fstat(FFd, &info) != 0)
            Fail(errno);
        if (S_ISDIR(info.st_mode))
            Fail(EISDIR);
    }
    [[noreturn]] void Fail(int code)
    {
        if (FOwned)
            ::close(FFd);
        ThrowFileError(code);
    }
    int FFd;
    bool FOwned = true;
};

void AppendWithoutCr(std::string& line, std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const void* cr = std::memchr(bytes.data() + at, '\r', bytes.size() - at);
        const std::size_t end =
            cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - bytes.data()) : bytes.size();
        line.append(bytes.substr(at, end - at));
        at = end + 1;
    }
}

// Cuts a byte stream into lines. A line whose bytes lie inside one chunk and
// hold no CR but the one before its LF is handed on without copying.
class TLineCutter {
public:
    explicit TLineCutter(const std::function<void(std::string_view)>& onLine) : FOnLine(onLine) { }

    // False once a Ctrl-Z at the start of a line has ended the text.
    bool Feed(std::string_view chunk)
    {
        std::size_t nextCr = 0;  // position of the next CR in chunk, looked up lazily
        bool crKnown = false;
        for (std::size_t at = 0; at < chunk.size();) {
            if (!FInLine && chunk[at] == CtrlZ)
                return false;
            const void* lf = std::memchr(chunk.data() + at, '\n', chunk.size() - at);
            if (!lf) {
                AppendWithoutCr(FPending, chunk.substr(at));
                FInLine = true;
                return true;
            }
            const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(lf) - chunk.data());
            if (!crKnown || nextCr < at) {
                const void* cr = std::memchr(chunk.data() + at, '\r', chunk.size() - at);
                nextCr =
                    cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - chunk.data()) : chunk.size();
                crKnown = true;
            }
            std::string_view line = chunk.substr(at, end - at);
            const bool plainCrLf = nextCr == end - 1 && end > at;
            if (plainCrLf)
                line.remove_suffix(1);
            if (!FInLine && (plainCrLf || nextCr > end)) {
                FOnLine(line);
            } else {
                AppendWithoutCr(FPending, line);
                FOnLine(FPending);
                FPending.clear();
                FInLine = false;
            }
            at = end + 1;
        }
        return true;
    }

    void Finish()
    {
        if (!FInLine)
            return;
        FOnLine(FPending);
        FPending.clear();
        FInLine = false;
    }

private:
    const std::function<void(std::string_view)>& FOnLine;
    std::string FPending;
    bool FInLine = false;  // bytes of the current line have been seen
};

void ReadLinesFrom(TFileHandle& file, const std::function<void(std::string_view)>& onLine)
{
    const std::unique_ptr<char[]> buffer(new char[ChunkSize]);
    TLineCutter cutter(onLine);
    for (;;) {
        const std::size_t got = file.Read(buffer.get(), ChunkSize);
        if (got == 0)
            break;
        if (!cutter.Feed(std::string_view(buffer.get(), got)))
            return;
    }
    cutter.Finish();
}

std::string ReadBytesFrom(TFileHandle& file)
{
    std::string contents;
    const std::unique_ptr<char[]> buffer(new char[ChunkSize]);
    while (const std::size_t got = file.Read(buffer.get(), ChunkSize))
        contents.append(buffer.get(), got);
    return contents;
}

}  // namespace

void ReadTextLines(const std::string& path, const std::function<void(std::string_view)>& onLine)
{
    TFileHandle file(path);
    ReadLinesFrom(file, onLine);
}

void ReadTextLines(int fd, const std::function<void(std::string_view)>& onLine)
{
    TFileHandle file(fd);
    ReadLinesFrom(file, onLine);
}

void SplitTextLines(std::string_view bytes, const std::function<void(std::string_view)>& onLine)
{
    TLineCutter cutter(onLine);
    if (cutter.Feed(bytes))
        cutter.Finish();
}

std::string ReadFileBytes(const std::string& path)
{
    TFileHandle file(path);
    return ReadBytesFrom(file);
}

std::string ReadFileBytes(int fd)
{
    TFileHandle file(fd);
    return ReadBytesFrom(file);
}

void ExtractFromFile(const std::string& path, const TExtractOptions& options, TUrlList& list)
{
    ReadTextLines(path, [&](std::string_view line) { ExtractUrlsFromLine(line, options, list); });
}

void ExtractFromClipboardText(std::string_view text, const TExtractOptions& options, TUrlList& list)
{
    std::string withoutCr;
    withoutCr.reserve(text.size());
    AppendWithoutCr(withoutCr, text);
    fields::ScanFields(withoutCr, fields::MakeDelimiterTable("\n"), [&](std::string_view line) {
        if (line.empty())
            return false;
        ExtractUrlsFromLine(line, options, list);
        return true;
    });
}
