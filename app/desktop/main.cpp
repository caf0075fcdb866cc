// The desktop program: the application titled "Linkrake Professional", its
// main window, and the event loop until that window closes.
#include <algorithm>
#include <cstdio>
#include <exception>

#include <QApplication>
#include <QMessageBox>
#include <QSessionManager>

#include "DesktopCommandLine.h"
#include "RunningCopy.h"
#include "ShortcutOpening.h"
#include "ShutdownSignals.h"
#include "StartInTray.h"
#include "WindowActivation.h"
#include "window/DesktopServices.h"
#include "window/MainWindow.h"
#include "window/QtTranslation.h"
#include "window/TrayResidence.h"
#include "window/WindowArtwork.h"
#include "window/WindowFonts.h"
#include "workspace/Workspace.h"
#include "workspace/WorkspaceFolder.h"

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

// Without any display the toolkit would abort with a message of its own.
bool DisplayAvailable(const TDesktopCommand& command)
{
    if (command.DisplayChosen || qEnvironmentVariableIsSet("QT_QPA_PLATFORM")
        || !qEnvironmentVariable("DISPLAY").isEmpty() || !qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty())
        return true;
    std::fputs("linkrake: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set)\n",
               stderr);
    return false;
}

// Also on standard error, for a start from a terminal or a script.
void ReportStartFailure(const QString& text)
{
    std::fprintf(stderr, "linkrake: %s\n", text.toLocal8Bit().constData());
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);  // a path is shown as it is
    box.exec();
}

// Asks again when the lock is another computer's and the user takes it over.
TClaim ClaimFolder(TRunningCopy& runningCopy, const TCopyRequest& request)
{
    const TClaim claim = runningCopy.Claim(request);
    if (claim != TClaim::Foreign)
        return claim;
    const QString question =
        QStringLiteral(
            "このフォルダーは別のコンピューター（%1）のLinkrakeが使用中の可能性があります。続行しますか？")
            .arg(runningCopy.ForeignHost());
    return AskYesNo(nullptr, question, false) ? runningCopy.Claim(request, true) : TClaim::Foreign;
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
                BringBackForLaterStart(form, request, [&form] { form.Tray().ComeBack(); });
        });
        QObject::connect(&runningCopy, &TRunningCopy::LockTrouble, &form, [&form](const QString& text) {
            form.Workspace().SetStatus(QStringLiteral("エラー＞") + text);
        });
        if (minimized)
            StartInTray(form);
        else
            form.show();
        const int status = application.exec();
        return std::max(status, form.EndStatus());
    } catch (const std::exception& failure) {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationName(),
                        TWorkspace::DefaultErrorText(QString::fromUtf8(failure.what())), QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        box.exec();
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
    if (!DisplayAvailable(command))
        return 1;
    QApplication application(argc, argv);
    SetUpApplication(application);
    if (command.OpenShortcuts)
        return OpenShortcutFiles(command.Files);

    // Next to a portable copy; the user's data folder for an installed one.
    std::string folder;
    try {
        folder = WorkspaceFolderOfExecutable();
    } catch (const std::exception& failure) {
        ReportStartFailure(QString::fromUtf8(failure.what()));
        return 1;
    }
    TRunningCopy runningCopy(folder);
    switch (ClaimFolder(runningCopy, request)) {
    case TClaim::Handed:
        return 0;
    case TClaim::Unanswered:
        ReportStartFailure(
            QStringLiteral("このフォルダーのLinkrakeは既に起動していますが、応答がありません。"));
        return 1;
    case TClaim::Failed:
        ReportStartFailure(runningCopy.FailureText());
        return 1;
    case TClaim::Foreign:
        return 1;
    case TClaim::Owner:
    case TClaim::Unguarded:
        break;
    }
    return RunMainWindow(application, folder, runningCopy, command.Minimized);
}
