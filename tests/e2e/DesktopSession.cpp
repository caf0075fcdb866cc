#include "DesktopSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#ifndef LINKRAKE_BINARY
#error "LINKRAKE_BINARY must name the program under test"
#endif

TCommandResult RunCommand(const QString& program, const QStringList& arguments, const QByteArray& input,
                          int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    TCommandResult result;
    if (!process.waitForStarted(timeoutMs))
        return result;
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return result;
    }
    result.ExitCode = process.exitCode();
    result.Output = process.readAllStandardOutput();
    return result;
}

void Pause(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        Pause(25);
    }
    return true;
}

namespace XClipboard {

// xclip keeps serving the selection from a child process after the command
// itself returns; a silent shell keeps its pipes from holding us up.
static void Own(const QStringList& xclipArguments, const QByteArray& data)
{
    QStringList arguments{QStringLiteral("-c"),
                          QStringLiteral("exec xclip -selection clipboard %1 >/dev/null 2>&1")
                              .arg(xclipArguments.join(QLatin1Char(' ')))};
    RunCommand(QStringLiteral("sh"), arguments, data);
}

void SetText(const QByteArray& utf8)
{
    Own({QStringLiteral("-i")}, utf8);
}

void SetImage(const QByteArray& png)
{
    Own({QStringLiteral("-t"), QStringLiteral("image/png"), QStringLiteral("-i")}, png);
}

QByteArray Text()
{
    const TCommandResult result = RunCommand(
        QStringLiteral("xclip"),
        {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")}, {}, 3000);
    return result.ExitCode == 0 ? result.Output : QByteArray();
}

QByteArray Targets()
{
    return RunCommand(QStringLiteral("xclip"),
                      {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                       QStringLiteral("TARGETS"), QStringLiteral("-o")},
                      {}, 3000)
        .Output;
}

bool ReducedTo(const QByteArray& url)
{
    SetText("見て " + url + " です");
    return WaitFor([&] { return Text() == url; });
}

bool LeftAlone(const QByteArray& url)
{
    const QByteArray text = "見て " + url + " です";
    SetText(text);
    Pause(800);
    return Text() == text;
}

}  // namespace XClipboard

TBackgroundProgram::TBackgroundProgram(const QString& program, const QStringList& arguments)
    : FProcess(std::make_unique<QProcess>())
{
    FProcess->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess->setStandardOutputFile(QProcess::nullDevice());
    FProcess->start(program, arguments);
    FProcess->waitForStarted(5000);
}

TBackgroundProgram::~TBackgroundProgram()
{
    FProcess->terminate();
    if (!FProcess->waitForFinished(3000)) {
        FProcess->kill();
        FProcess->waitForFinished(1000);
    }
}

bool TBackgroundProgram::Running() const
{
    return FProcess->state() == QProcess::Running;
}

void ClickInWindow(const QString& window, int x, int y, int button, int repeat, int delayMs)
{
    QStringList arguments{QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                          QString::number(x),          QString::number(y),         QStringLiteral("click"),
                          QStringLiteral("--repeat"),  QString::number(repeat)};
    if (delayMs >= 0)
        arguments << QStringLiteral("--delay") << QString::number(delayMs);
    RunCommand(QStringLiteral("xdotool"), arguments << QString::number(button));
}

QStringList FindWindows(const QString& exactName, bool onlyVisible)
{
    QStringList arguments{QStringLiteral("search")};
    if (onlyVisible)
        arguments << QStringLiteral("--onlyvisible");
    arguments << QStringLiteral("--name") << QStringLiteral("^%1$").arg(exactName);
    QStringList windows;
    for (const QByteArray& id :
         RunCommand(QStringLiteral("xdotool"), arguments, {}, 3000).Output.split('\n')) {
        if (!id.trimmed().isEmpty())
            windows << QString::fromLatin1(id.trimmed());
    }
    return windows;
}

QString FindWindow(const QString& exactName, bool onlyVisible)
{
    const QStringList windows = FindWindows(exactName, onlyVisible);
    return windows.isEmpty() ? QString() : windows.first();
}

QString TrayIconWindow()
{
    // The tray host reparents embedded icons into its panel window; the
    // program's icon is the panel's child of the program's window class.
    const QList<QByteArray> lines =
        RunCommand(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")}, {}, 3000)
            .Output.split('\n');
    qsizetype panelIndent = -1;
    for (const QByteArray& line : lines) {
        const qsizetype indent = line.size() - line.trimmed().size();
        if (line.contains("(\"panel\" \"trayer\")")) {
            panelIndent = indent;
            continue;
        }
        if (panelIndent < 0)
            continue;
        if (indent <= panelIndent)
            panelIndent = -1;
        else if (line.contains("(\"linkrake\" "))
            return QString::fromLatin1(line.trimmed().split(' ').first());
    }
    return {};
}

QString WindowState(const QString& window)
{
    const QByteArray output =
        RunCommand(QStringLiteral("xprop"), {QStringLiteral("-id"), window, QStringLiteral("WM_STATE")}, {},
                   3000)
            .Output;
    for (const char* state : {"Normal", "Iconic", "Withdrawn"}) {
        if (output.contains(QByteArray("window state: ") + state))
            return QString::fromLatin1(state);
    }
    return {};
}

TProgramUnderTest::TProgramUnderTest(const QByteArray& settingsCp932, const QByteArray& listCp932)
{
    const QString binary = FFolder.filePath(QStringLiteral("linkrake"));
    QFile::copy(QStringLiteral(LINKRAKE_BINARY), binary);
    QFile::setPermissions(binary, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto write = [this](const QString& name, const QByteArray& bytes) {
        QFile file(FFolder.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    };
    write(QStringLiteral("Linkrake.ini"), settingsCp932);
    if (!listCp932.isEmpty())
        write(QStringLiteral("List.txt"), listCp932);
}

TProgramUnderTest::~TProgramUnderTest()
{
    if (FProcess && FProcess->state() != QProcess::NotRunning) {
        FProcess->kill();
        FProcess->waitForFinished(3000);
    }
}

static std::unique_ptr<QProcess> StartOnX(const QString& program, const QStringList& arguments,
                                          QProcess::ProcessChannelMode channels)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(channels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process->setProcessEnvironment(environment);
    process->start(program, arguments);
    process->waitForStarted(5000);
    return process;
}

// Standard error is kept for the test to read.
std::unique_ptr<QProcess> TProgramUnderTest::StartAgain(const QStringList& arguments) const
{
    return StartOnX(FFolder.filePath(QStringLiteral("linkrake")), arguments,
                    QProcess::ForwardedOutputChannel);
}

int ExitStatus(QProcess& process, int timeoutMs)
{
    if (process.state() != QProcess::NotRunning && !process.waitForFinished(timeoutMs))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool TProgramUnderTest::Launch(const QStringList& arguments)
{
    FWindow.clear();
    FProcess = StartOnX(FFolder.filePath(QStringLiteral("linkrake")), arguments, QProcess::ForwardedChannels);
    return FProcess->state() == QProcess::Running;
}

qint64 TProgramUnderTest::Pid() const
{
    return FProcess ? FProcess->processId() : 0;
}

bool TProgramUnderTest::Start(const QStringList& arguments)
{
    if (!Launch(arguments))
        return false;
    const bool shown = WaitFor([this] { return !(FWindow = VisibleWindow()).isEmpty(); }, 10000);
    Pause(300);  // let the program finish start-up after mapping its window
    return shown;
}

QString TProgramUnderTest::VisibleWindow() const
{
    return FindWindow(QStringLiteral("Linkrake Professional"), true);
}

QString TProgramUnderTest::AnyWindow() const
{
    if (!FWindow.isEmpty())
        return FWindow;
    // The main window, even hidden or minimized, is the one the window
    // manager has known: the program's helper windows carry its title too.
    for (const QString& window : FindWindows(QStringLiteral("Linkrake Professional"), false))
        if (!WindowState(window).isEmpty())
            return window;
    return {};
}

bool TProgramUnderTest::Close()
{
    RunCommand(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), AnyWindow()});
    return Exited();
}

bool TProgramUnderTest::Exited(int timeoutMs)
{
    return FProcess && (FProcess->state() == QProcess::NotRunning || FProcess->waitForFinished(timeoutMs));
}

QByteArray TProgramUnderTest::File(const QString& name) const
{
    QFile file(FFolder.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TProgramUnderTest::ClickAt(int x, int y, int button, int repeat)
{
    ClickInWindow(AnyWindow(), x, y, button, repeat);
}

void TProgramUnderTest::Key(const QString& keys)
{
    RunCommand(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
}
