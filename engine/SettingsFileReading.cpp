#include "Engine.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Refuse(int code, const std::string& message)
{
    throw EInOutError(code, message);
}

// Closes the descriptor on every way out.
struct TOpenFile {
    int Fd;
    ~TOpenFile() { ::close(Fd); }
};

}  // namespace

std::string ReadSettingsFileBytes(const std::string& path)
{
    // Non-blocking, so that a pipe put in the file's place cannot hang the
    // start; it is refused below like any other file that is not regular.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        Refuse(errno, FileErrorMessage(errno));
    const TOpenFile file{fd};
    struct stat info { };
    if (::fstat(fd, &info) != 0)
        Refuse(errno, FileErrorMessage(errno));
    if (S_ISDIR(info.st_mode))
        Refuse(EISDIR, FileErrorMessage(EISDIR));
    if (!S_ISREG(info.st_mode))
        Refuse(ENODEV, "通常のファイルではありません");
    const std::string tooLarge = "16 MiB を超えています";
    if (static_cast<unsigned long long>(info.st_size) > MaxSettingsFileBytes)
        Refuse(EFBIG, tooLarge);

    // The file may grow while it is read; reading stops one chunk past the
    // limit at the latest.
    std::string contents;
    contents.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            Refuse(errno, FileErrorMessage(errno));
        }
        contents.append(chunk, static_cast<std::size_t>(n));
        if (contents.size() > MaxSettingsFileBytes)
            Refuse(EFBIG, tooLarge);
    }
    return contents;
}
