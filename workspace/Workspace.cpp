#include "Workspace.h"

#include "InputFiles.h"

#include <exception>
#include <utility>

#include <QScopedValueRollback>

TWorkspace::TWorkspace(TWorkspaceServices& services, std::string programFolder)
    : Files(*this, services, std::move(programFolder)), Exports(*this, services), FServices(services)
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
    const bool outermost = !FRunning;
    {
        const QScopedValueRollback running(FRunning, true);
        try {
            handler();
        } catch (const EFileNotRead& refusal) {
            FServices.ReportError(QString::fromUtf8(refusal.what()));  // a sentence of its own
        } catch (const std::exception& error) {
            FServices.ReportError(DefaultErrorText(QString::fromUtf8(error.what())));
        }
        // Items a handler (or the part of it before a failure) added at the
        // end without telling.
        ListModel.Appended();
    }
    if (outermost)
        emit CommandEnded();
}

void TWorkspace::SetStatus(const QString& text)
{
    FStatusLine = text;
    emit StatusChanged(FStatusLine);
}

void TWorkspace::SetUrlEntry(std::string text)
{
    if (text == UrlEntry)
        return;
    UrlEntry = std::move(text);
    emit UrlEntryChanged();
}

QString TWorkspace::DefaultErrorText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QChar(u'.'))
        return message + u'.';
    return message;
}

void TWorkspace::LoadWorkspace()
{
    Files.LoadAll();
    emit OptionsLoaded();
    Monitoring.Switch(Options.ClipboardMonitoring);
    Monitoring.SetPaused(false);
}
