#pragma once
// Drives the desktop program from outside, as a user's other programs
// would: a window manager, an optional tray host, xclip for the clipboard
// and xdotool/wmctrl for the windows. Runs inside an X server (xvfb-run).
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

struct TCommandResult {
    int ExitCode = -1;
    QByteArray Output;
};

TCommandResult RunCommand(const QString& program, const QStringList& arguments, const QByteArray& input = {},
                          int timeoutMs = 10000);

// Polls until the condition holds or the time is up; keeps the Qt event
// loop of the test turning meanwhile.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000);
void Pause(int ms);

// The clipboard of the X server, through xclip.
namespace XClipboard {
void SetText(const QByteArray& utf8);
void SetImage(const QByteArray& png);
// Empty when nobody owns the clipboard or it holds no text.
QByteArray Text();
QByteArray Targets();
// Copies a sentence around the URL; true once monitoring has reduced the
// clipboard to the URL alone.
bool ReducedTo(const QByteArray& url);
// Copies a sentence around the URL; true when it is still there a moment later.
bool LeftAlone(const QByteArray& url);
}  // namespace XClipboard

// A helper program that lives for the test's duration (window manager,
// tray host).
class TBackgroundProgram {
public:
    TBackgroundProgram(const QString& program, const QStringList& arguments);
    ~TBackgroundProgram();
    bool Running() const;

private:
    std::unique_ptr<QProcess> FProcess;
};

// A copy of the program in a folder of its own, so that its settings, list
// and memo files land there.
class TProgramUnderTest {
public:
    explicit TProgramUnderTest(const QByteArray& settingsCp932, const QByteArray& listCp932 = {});
    ~TProgramUnderTest();

    // Starts the program and waits for its window (not for --minimized).
    bool Start(const QStringList& arguments = {});
    // Starts the program only.
    bool Launch(const QStringList& arguments = {});
    qint64 Pid() const;
    // Another start of the same copy, as a user's second click would make.
    std::unique_ptr<QProcess> StartAgain(const QStringList& arguments = {}) const;
    // The main window's id while it is mapped (viewable), else empty.
    QString VisibleWindow() const;
    QString AnyWindow() const;
    // Asks the window to close, as the title bar's close button does.
    bool Close();
    bool Exited(int timeoutMs = 20000);
    QByteArray File(const QString& name) const;
    QString Folder() const { return FFolder.path(); }
    // Clicks at a point of the window's client area.
    void ClickAt(int x, int y, int button = 1, int repeat = 1);
    void Key(const QString& keys);

private:
    QTemporaryDir FFolder;
    std::unique_ptr<QProcess> FProcess;
    QString FWindow;
};

// A process's exit status once it ends within the time, else -1.
int ExitStatus(QProcess& process, int timeoutMs = 20000);

// Clicks at a point of a window; repeated clicks come delayMs apart
// (negative: xdotool's own pause).
void ClickInWindow(const QString& window, int x, int y, int button = 1, int repeat = 1, int delayMs = -1);
// The id of a window whose name is exactly that, or empty.
QString FindWindow(const QString& exactName, bool onlyVisible);
QStringList FindWindows(const QString& exactName, bool onlyVisible);
// The program's icon embedded in the tray host's panel, or empty.
QString TrayIconWindow();
// The X window state of a window: "Normal", "Iconic", "Withdrawn" or empty.
QString WindowState(const QString& window);
