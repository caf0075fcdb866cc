// The desktop program: the application titled "Linkrake Professional", its
// main window, and the event loop until that window closes.
#include <algorithm>
#include <exception>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QSessionManager>

#include "DesktopCommandLine.h"
#include "MainWindow.h"
#include "QtTranslation.h"
#include "RunningCopy.h"
#include "ShortcutOpening.h"
#include "ShutdownSignals.h"
#include "StartInTray.h"
#include "WindowActivation.h"
#include "WindowArtwork.h"
#include "WindowFonts.h"
#include "Workspace.h"
#include "WorkspaceFolder.h"

namespace {

// On Wayland a program in the background is not told when the clipboard
// changes, so monitoring would stay silent. XWayland tells X11 programs, so
// the program runs there unless the user chose a platform.
void PreferXWaylandForClipboardNotices()
{
    const bool wayland = qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
                         || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
    if (wayland && qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

QStringList Arguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void SetUpApplication(QApplication& application)
{
    QApplication::setApplicationName(QStringLiteral("Linkrake Professional"));
    QApplication::setApplicationDisplayName(QStringLiteral("Linkrake Professional"));
    // The installed desktop entry's id: lets docks match the window to it.
    QApplication::setDesktopFileName(QStringLiteral("io.github.linkrake.Linkrake"));
    QApplication::setWindowIcon(MainIcon());
    InstallQtJapanese(application);
    // Dialogs and message boxes share the window's font.
    QApplication::setFont(MainWindowFonts().Proportional);
}

void ReportUnansweredCopy()
{
    QMessageBox::critical(
        nullptr, QApplication::applicationName(),
        QStringLiteral("このフォルダーのLinkrakeは既に起動していますが、応答がありません。"));
}

int RunMainWindow(QApplication& application, const std::string& folder, TRunningCopy& runningCopy,
                  bool minimized)
{
    // Before the workspace files are read: a signal from then on saves first.
    TShutdownSignals endingSignals;
    // A window that cannot be built is reported like any other failure; the
    // program then ends.
    try {
        TMainWindow form(nullptr, folder);
        endingSignals.OnSignal([&form, &runningCopy](int) {
            runningCopy.StopAnswering();
            QCoreApplication::exit(form.SaveWithoutAsking());
        });
        // The desktop's logout: the quit that follows it closes the window
        // without saving again.
        QObject::connect(
            &application, &QGuiApplication::commitDataRequest, &form,
            [&form](QSessionManager&) { form.SaveWithoutAsking(); }, Qt::DirectConnection);
        runningCopy.QuietWhileClosing(&form);
        // Tied to the window: a request that comes after it is gone is ignored.
        QObject::connect(&runningCopy, &TRunningCopy::Requested, &form, [&form](const TCopyRequest& request) {
            if (request.ShowWindow)
                BringBackForLaterStart(form, request, [&form] { form.RestoreFromTray(); });
        });
        if (minimized)
            StartInTray(form);
        else
            form.show();
        const int status = application.exec();
        return std::max(status, form.EndStatus());
    } catch (const std::exception& failure) {
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              TWorkspace::DefaultErrorText(QString::fromUtf8(failure.what())));
        return 1;
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    TDesktopCommand command;
    if (const std::optional<int> status = ParseDesktopCommandLine(Arguments(argc, argv), command))
        return *status;
    // Taken before the platform reads and clears them: a later start hands
    // them to the running copy.
    TCopyRequest request;
    request.ShowWindow = !command.Minimized;
    request.ActivationToken = qgetenv("XDG_ACTIVATION_TOKEN");
    request.StartupId = qgetenv("DESKTOP_STARTUP_ID");

    PreferXWaylandForClipboardNotices();
    QApplication application(argc, argv);
    SetUpApplication(application);
    if (command.OpenShortcuts)
        return OpenShortcutFiles(command.Files);

    // Next to a portable copy; the user's data folder for an installed one.
    const std::string folder = WorkspaceFolderOfExecutable();
    TRunningCopy runningCopy(QFile::decodeName(QByteArray::fromStdString(folder)));
    switch (runningCopy.Claim(request)) {
    case TClaim::Handed:
        return 0;
    case TClaim::Unanswered:
        ReportUnansweredCopy();
        return 1;
    case TClaim::Owner:
    case TClaim::Unguarded:
        break;
    }
    return RunMainWindow(application, folder, runningCopy, command.Minimized);
}
