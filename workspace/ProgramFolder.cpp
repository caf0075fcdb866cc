#include "Workspace.h"

#include <climits>
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
    const std::string folder = ExtractFolder(executable);
    return folder.empty() && executable.empty() ? std::string("./") : folder + "/";
}
