#include "Workspace.h"

#include <cstdlib>
#include <memory>

#include <QCoreApplication>
#include <QFile>

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
