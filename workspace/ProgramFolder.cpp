#include "Workspace.h"
#include "WorkspaceFolder.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

#include "SaveReport.h"

std::string ExtractFolder(const std::string& path)
{
    const std::size_t slash = FindLastSingleByte(path, '/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ProgramFolderOfExecutable()
{
    // The real path, so that a symbolic link to the program still finds the
    // workspace files next to the program itself.
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath("/proc/self/exe", nullptr), &std::free);
    std::string executable;
    if (resolved)
        executable = resolved.get();
    else if (QCoreApplication::instance())
        executable = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
    return ProgramFolderOf(executable);
}

std::string ProgramFolderOf(const std::string& executable)
{
    // The path is in the file system's encoding (UTF-8), not CP932: there a
    // "/" byte is always a separator, while the CP932 reading would take the
    // one after a name ending in, say, "デ" (E3 83 87) for a second byte and
    // put the workspace files in the parent folder.
    const std::size_t slash = executable.rfind('/');
    if (slash == std::string::npos)
        return "./";
    return executable.substr(0, slash) + "/";
}

namespace {

// Creates each missing folder of path for the user alone: what the program
// keeps there is nobody else's. Folders that exist keep their permissions.
void MakePrivateFolders(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    ::mkdir(path.c_str(), 0700);  // without a trailing "/"
}

}  // namespace

std::string ChooseWorkspaceFolder(const std::string& programFolder, bool installed,
                                  bool programFolderWritable, const std::string& userDataFolder)
{
    // Installed means the user data folder even for root, who could write
    // into the prefix but would leave files there that no package owns.
    if (installed || !programFolderWritable)
        return userDataFolder;
    return programFolder;
}

std::string WorkspaceFolderFor(const std::string& programFolder, const std::string& userDataFolder)
{
    const bool installed = access((programFolder + InstalledMarker).c_str(), F_OK) == 0;
    const bool writable = access(programFolder.c_str(), W_OK) == 0;
    const std::string folder = ChooseWorkspaceFolder(programFolder, installed, writable, userDataFolder);
    if (folder != userDataFolder)
        return folder;
    if (folder.empty())
        throw std::runtime_error(
            QStringLiteral("環境変数 HOME が設定されていないため、データフォルダーの場所が決まりません。")
                .toStdString());
    MakePrivateFolders(folder);
    // Found now, not as a failing close: XDG_DATA_HOME naming a file, say.
    struct stat info { };
    const bool exists = ::stat(folder.c_str(), &info) == 0;
    if (!exists || !S_ISDIR(info.st_mode)) {
        const QString reason = SystemErrorReason(exists ? ENOTDIR : errno);
        throw std::runtime_error(QStringLiteral("%1 を作成できません（%2）。")
                                     .arg(QFile::decodeName(QByteArray::fromStdString(folder)), reason)
                                     .toStdString());
    }
    return folder;
}

std::string UserDataFolder()
{
    // Without either variable the toolkit would answer "//.local/share".
    if (qEnvironmentVariable("XDG_DATA_HOME").isEmpty() && qEnvironmentVariable("HOME").isEmpty())
        return {};
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QFile::encodeName(base).toStdString() + "/linkrake/";
}

std::string WorkspaceFolderOfExecutable()
{
    return WorkspaceFolderFor(ProgramFolderOfExecutable(), UserDataFolder());
}
