#include "Workspace.h"

#include "InputFiles.h"

#include <exception>
#include <utility>

TWorkspace::TWorkspace(TWorkspaceServices& services, std::string programFolder)
    : FServices(services), FProgramFolder(std::move(programFolder))
{
    History.Watcher = &ListModel;
    ReadFiles = [this](const std::vector<std::string>& paths, const TReadDone& done) {
        for (const std::string& path : paths)
            ExtractFromInputFile(path, Options, List);
        done(true);
    };
}

void TWorkspace::Run(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const EFileNotRead& refusal) {
        FServices.ReportError(QString::fromUtf8(refusal.what()));  // a sentence of its own
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
