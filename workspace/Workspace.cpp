#include "Workspace.h"

#include <exception>
#include <utility>

TWorkspace::TWorkspace(TWorkspaceServices& services, std::string programFolder)
    : FServices(services), FProgramFolder(std::move(programFolder))
{
    ReadFiles = [this](const std::vector<std::string>& paths) {
        for (const std::string& path : paths)
            ExtractFromFile(path, Options, List);
        return true;
    };
}

void TWorkspace::Run(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        FServices.ReportError(DefaultErrorText(QString::fromUtf8(error.what())));
    }
}

QString TWorkspace::DefaultErrorText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QChar(u'.'))
        return message + u'.';
    return message;
}
