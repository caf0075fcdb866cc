#include "FileWriting.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Errors.h"

namespace {

[[noreturn]] void ThrowFileError(int code)
{
    throw EInOutError(code, FileErrorMessage(code));
}

// Writes everything or returns the errno of the first failure (0 on success).
int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The new file keeps the permissions of the one it replaces; a first file
// gets the usual permissions for the user's umask.
mode_t PermissionsFor(const std::string& path)
{
    struct stat existing { };
    if (::stat(path.c_str(), &existing) == 0)
        return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A symbolic link is followed, so that a workspace file kept elsewhere
// through a link is updated there instead of being replaced by a plain file.
std::string ResolvedTarget(const std::string& path)
{
    struct stat link { };
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

void SyncFolder(const std::string& folder)
{
    // Best effort: the rename itself already happened, and some file systems
    // refuse to sync a directory.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

void WriteFileTruncating(const std::string& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        ThrowFileError(errno);
    const int writeError = WriteAll(fd, bytes);
    const int closeError = ::close(fd) == 0 ? 0 : errno;
    if (writeError != 0 || closeError != 0)
        ThrowFileError(writeError != 0 ? writeError : closeError);
}

void WriteFileAtomically(const std::string& requestedPath, std::string_view bytes)
{
    const std::string path = ResolvedTarget(requestedPath);
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        ThrowFileError(errno);

    int error = WriteAll(fd, bytes);
    if (error == 0 && ::fchmod(fd, PermissionsFor(path)) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        ThrowFileError(error);
    }
    SyncFolder(FolderOf(path));
}
