#include "FileWriting.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <dirent.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/Errors.h"

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

// Writes every piece until one fails; the first failure's errno is kept.
int WriteAll(int fd, const TFileContents& contents)
{
    int error = 0;
    contents([&](std::string_view piece) {
        if (error == 0)
            error = WriteAll(fd, piece);
    });
    return error;
}

TFileContents Whole(std::string_view bytes)
{
    return [bytes](const TPieceSink& sink) { sink(bytes); };
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The new file keeps the permissions of the one it replaces; a first file
// is the user's alone: memos and lists are nobody else's business on a
// shared machine.
mode_t PermissionsFor(const std::string& path)
{
    struct stat existing { };
    if (::stat(path.c_str(), &existing) == 0)
        return existing.st_mode & 07777;
    return 0600;
}

// What mkstemp puts in place of the X's.
bool IsRandomSuffix(std::string_view suffix)
{
    const std::size_t length = std::strlen(TemporaryFileSuffix);
    if (suffix.size() != length || suffix[0] != TemporaryFileSuffix[0])
        return false;
    for (const char c : suffix.substr(1))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
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
    WriteFileTruncating(path, Whole(bytes));
}

void WriteFileTruncating(const std::string& path, const TFileContents& contents)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        ThrowFileError(errno);
    const int writeError = WriteAll(fd, contents);
    const int closeError = ::close(fd) == 0 ? 0 : errno;
    if (writeError != 0 || closeError != 0)
        ThrowFileError(writeError != 0 ? writeError : closeError);
}

void WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    WriteFileAtomically(path, Whole(bytes));
}

void WriteFileAtomically(const std::string& requestedPath, const TFileContents& contents)
{
    const std::string path = ResolvedTarget(requestedPath);
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string temporary =
        path.substr(0, nameStart) + TemporaryFilePrefix + path.substr(nameStart) + TemporaryFileSuffix;
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        ThrowFileError(errno);

    int error = WriteAll(fd, contents);
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

std::string SaveTargetOf(const std::string& path)
{
    return ResolvedTarget(path);
}

bool IsTemporaryOf(const std::string& name, const std::string& targetName)
{
    const std::string start = TemporaryFilePrefix + targetName;
    return name.size() == start.size() + std::strlen(TemporaryFileSuffix)
           && name.compare(0, start.size(), start) == 0
           && IsRandomSuffix(std::string_view(name).substr(start.size()));
}

int RemoveStaleTemporaries(const std::string& folder, const std::vector<std::string>& targetNames,
                           int minimumAgeSeconds)
{
    DIR* entries = ::opendir(folder.c_str());
    if (!entries)
        return 0;
    const std::time_t cutoff = std::time(nullptr) - minimumAgeSeconds;
    int removed = 0;
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        // Only the names the saves make: a user's own file that merely looks
        // alike stays.
        if (std::none_of(targetNames.begin(), targetNames.end(),
                         [&](const std::string& target) { return IsTemporaryOf(name, target); }))
            continue;
        const std::string path = folder + "/" + name;
        struct stat info { };
        // Only plain files, and only ones a save still under way (another
        // copy of the program) cannot be writing.
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_mtime < cutoff
            && ::unlink(path.c_str()) == 0)
            ++removed;
    }
    ::closedir(entries);
    return removed;
}
