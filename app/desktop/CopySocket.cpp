#include "CopySocket.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr std::size_t MaxSocketPath = sizeof(sockaddr_un::sun_path) - 1;

bool PrivateFolder(const std::string& path, uid_t uid)
{
    struct stat info { };
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == uid
           && (info.st_mode & 0777) == 0700;
}

bool AddressOf(const std::string& path, sockaddr_un& address)
{
    if (path.size() > MaxSocketPath)
        return false;
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Whether something accepts connections at the path.
bool SomeoneListens(const std::string& path)
{
    sockaddr_un address{};
    if (!AddressOf(path, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    const bool refused = !connected && (errno == ECONNREFUSED || errno == ENOENT);
    ::close(fd);
    return !refused;
}

}  // namespace

std::string ChoosePrivateFolder(uid_t uid, const std::string& runtimeDir, const std::string& home)
{
    if (PrivateFolder(runtimeDir, uid))
        return runtimeDir + "/";
    if (home.empty() || home[0] != '/')
        return {};
    const std::string folder = home + "/.local/state/linkrake";
    for (std::size_t slash = home.size(); slash != std::string::npos; slash = folder.find('/', slash + 1))
        ::mkdir(folder.substr(0, slash).c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
    struct stat info { };
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid)
        return {};
    if ((info.st_mode & 0777) != 0700 && ::chmod(folder.c_str(), 0700) != 0)
        return {};
    return folder + "/";
}

std::string PrivateFolderOfThisUser()
{
    const uid_t uid = ::geteuid();
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    ::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found);
    return ChoosePrivateFolder(uid, "/run/user/" + std::to_string(uid), found ? found->pw_dir : "");
}

std::string SocketNameOf(const std::string& workspaceFolder)
{
    struct stat info { };
    if (::stat(workspaceFolder.c_str(), &info) != 0)
        return {};
    char name[64];
    std::snprintf(name, sizeof name, "linkrake-%llx-%llx", static_cast<unsigned long long>(info.st_dev),
                  static_cast<unsigned long long>(info.st_ino));
    return name;
}

TSocketPath::TSocketPath(const std::string& folder, const std::string& name) : FName(name)
{
    if (folder.empty() || name.empty())
        return;
    FFolderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (FFolderFd < 0)
        return;
    FAddress = folder + name;
    if (FAddress.size() > MaxSocketPath)
        FAddress = "/proc/self/fd/" + std::to_string(FFolderFd) + "/" + name;
    if (FAddress.size() > MaxSocketPath)
        FAddress.clear();
}

TSocketPath::~TSocketPath()
{
    if (FFolderFd >= 0)
        ::close(FFolderFd);
}

bool TSocketPath::Identify(dev_t& device, ino_t& inode) const
{
    struct stat info { };
    if (FFolderFd < 0 || ::fstatat(FFolderFd, FName.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    device = info.st_dev;
    inode = info.st_ino;
    return true;
}

void TSocketPath::RemoveIf(dev_t device, ino_t inode) const
{
    dev_t nowDevice = 0;
    ino_t nowInode = 0;
    if (Identify(nowDevice, nowInode) && nowDevice == device && nowInode == inode)
        Remove();
}

void TSocketPath::Remove() const
{
    if (FFolderFd >= 0)
        ::unlinkat(FFolderFd, FName.c_str(), 0);
}

int ListenAt(const TSocketPath& path, TBind& result)
{
    result = TBind::Failed;
    sockaddr_un address{};
    if (!path.Usable() || !AddressOf(path.Address(), address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    // Only the lock's holder comes here: a socket left there is stale
    // unless a copy still listens on it (one whose lock was deleted).
    for (int round = 0; round < 2; ++round) {
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            if (::listen(fd, 16) == 0) {
                result = TBind::Listening;
                return fd;
            }
            break;
        }
        if (errno != EADDRINUSE)
            break;
        if (SomeoneListens(path.Address())) {
            result = TBind::Occupied;
            break;
        }
        path.Remove();
    }
    ::close(fd);
    return -1;
}

bool PeerIsThisUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}
