#pragma once
// Where the running copy of a workspace folder answers later starts: a
// socket in a folder only its user can enter, named after the workspace
// folder's device and inode, so that every path to the folder (a bind
// mount, another TMPDIR) meets the same copy.
#include <string>

#include <sys/types.h>

// The user's private folder, found from the uid alone so that su, sudo and
// cron agree: runtimeDir when it is the user's and 0700, else a 0700 folder
// under home, made when missing. Empty when neither is to be had.
std::string ChoosePrivateFolder(uid_t uid, const std::string& runtimeDir, const std::string& home);
std::string PrivateFolderOfThisUser();
// "linkrake-<device>-<inode>" of the workspace folder; empty when it cannot
// be examined.
std::string SocketNameOf(const std::string& workspaceFolder);

// A socket's path in a folder, kept open so that a path too long for a
// socket address (107 bytes) is reached through /proc/self/fd.
class TSocketPath {
public:
    TSocketPath(const std::string& folder, const std::string& name);
    ~TSocketPath();
    TSocketPath(const TSocketPath&) = delete;
    TSocketPath& operator=(const TSocketPath&) = delete;

    bool Usable() const { return !FAddress.empty(); }
    // What bind() and connect() are given.
    const std::string& Address() const { return FAddress; }
    // The node's identity, to remove only one's own socket.
    bool Identify(dev_t& device, ino_t& inode) const;
    void RemoveIf(dev_t device, ino_t inode) const;
    void Remove() const;

private:
    int FFolderFd = -1;
    std::string FName;
    std::string FAddress;
};

enum class TBind { Listening, Occupied, Failed };
// A listening socket (non-blocking) at the path, or -1. A socket file
// nobody listens on is replaced; a listener is never.
int ListenAt(const TSocketPath& path, TBind& result);
// Whether the peer of a connected socket runs under this process's uid.
bool PeerIsThisUser(int fd);
