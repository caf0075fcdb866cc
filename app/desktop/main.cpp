// The desktop program: the application titled "Linkrake Professional", its
// main window, and the event loop until that window closes.
#include <algorithm>
#include <exception>

#include <QApplication>
#include <QMessageBox>
#include <QSessionManager>

#include "MainWindow.h"
#include "QtTranslation.h"
#include "ShutdownSignals.h"
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

}  // namespace

int main(int argc, char* argv[])
{
    PreferXWaylandForClipboardNotices();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Linkrake Professional"));
    QApplication::setApplicationDisplayName(QStringLiteral("Linkrake Professional"));
    // The installed desktop entry's id: lets docks match the window to it.
    QApplication::setDesktopFileName(QStringLiteral("io.github.linkrake.Linkrake"));
    QApplication::setWindowIcon(MainIcon());
    InstallQtJapanese(application);
    // Dialogs and message boxes share the window's font.
    QApplication::setFont(MainWindowFonts().Proportional);

    // Before the workspace files are read: a signal from then on saves first.
    TShutdownSignals endingSignals;
    // A window that cannot be built is reported like any other failure; the
    // program then ends.
    try {
        // Next to a portable copy; the user's data folder for an installed one.
        TMainWindow form(nullptr, WorkspaceFolderOfExecutable());
        endingSignals.OnSignal([&form](int) { QCoreApplication::exit(form.SaveWithoutAsking()); });
        // The desktop's logout: the quit that follows it closes the window
        // without saving again.
        QObject::connect(
            &application, &QGuiApplication::commitDataRequest, &form,
            [&form](QSessionManager&) { form.SaveWithoutAsking(); }, Qt::DirectConnection);
        form.show();
        const int status = application.exec();
        return std::max(status, form.EndStatus());
    } catch (const std::exception& failure) {
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              TWorkspace::DefaultErrorText(QString::fromUtf8(failure.what())));
        return 1;
    }
}
