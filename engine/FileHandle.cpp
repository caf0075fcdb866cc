#include "FileHandle.h"

#include "Errors.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void ThrowFileError(int code)
{
    throw EInOutError(code, FileErrorMessage(code));
}

}  // namespace

TFileHandle::TFileHandle(const std::string& path) : FFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
{
    if (FFd < 0)
        ThrowFileError(errno);
    Inspect();
}

TFileHandle::TFileHandle(int fd) : FFd(fd), FOwned(false)
{
    Inspect();
}

TFileHandle::~TFileHandle()
{
    if (FOwned)
        ::close(FFd);
}

std::size_t TFileHandle::Read(char* buffer, std::size_t size)
{
    if (OnRead)
        size = std::min(size, WatchedReadBytes);
    if (FEndsAtRegularSize)
        size = std::min(size, FRegularSize - std::min(FPosition, FRegularSize));
    if (size == 0)
        return 0;
    for (;;) {
        const ssize_t got = ::read(FFd, buffer, size);
        if (got >= 0) {
            FPosition += static_cast<std::size_t>(got);
            if (OnRead)
                OnRead(static_cast<std::size_t>(got));
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR)
            ThrowFileError(errno);
    }
}

void TFileHandle::Seek(std::size_t offset)
{
    if (::lseek(FFd, static_cast<off_t>(offset), SEEK_SET) < 0)
        ThrowFileError(errno);
    FPosition = offset;
}

void TFileHandle::EndAtSizeWhenOpened()
{
    if (!FRegular)
        return;  // streams are read to their end
    const off_t here = ::lseek(FFd, 0, SEEK_CUR);
    FPosition = here < 0 ? 0 : static_cast<std::size_t>(here);
    FEndsAtRegularSize = true;
}

std::size_t TFileHandle::ReadAt(char* buffer, std::size_t size, std::size_t offset) const
{
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t got = ::pread(FFd, buffer + filled, size - filled, static_cast<off_t>(offset + filled));
        if (got == 0)
            break;
        if (got > 0)
            filled += static_cast<std::size_t>(got);
        else if (errno != EINTR)
            ThrowFileError(errno);
    }
    return filled;
}

void TFileHandle::Inspect()
{
    struct stat info { };
    if (::fstat(FFd, &info) != 0)
        Fail(errno);
    if (S_ISDIR(info.st_mode))
        Fail(EISDIR);
    FRegular = S_ISREG(info.st_mode);
    if (FRegular)
        FRegularSize = static_cast<std::size_t>(info.st_size);
}

void TFileHandle::Fail(int code)
{
    if (FOwned)
        ::close(FFd);
    ThrowFileError(code);
}
