// linkrake-check as a user runs it, against a scripted loopback server.
#include <csignal>

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "ScriptedWebServer.h"

namespace {

struct TRun {
    int Status;
    QByteArray Out, Err;
};

TRun RunChecker(const QStringList& arguments, const QByteArray& input = {}, int stopAfterMs = -1)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(LINKRAKE_CHECK), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (stopAfterMs >= 0) {
        // The server answers only while the event loop runs.
        QEventLoop pause;
        QTimer::singleShot(stopAfterMs, &pause, &QEventLoop::quit);
        pause.exec();
        kill(static_cast<pid_t>(process.processId()), SIGTERM);
    }
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

}  // namespace

TEST(LinkCheckCommand, PrintsOneLineForEachUrlInInputOrder)
{
    TScriptedWebServer host(QHostAddress(QStringLiteral("127.0.0.6")));
    host.Script = {{"/gone", {404}},
                   {"/old", {301, "/new"}},
                   {"/slow", TScriptedAnswer().Delayed(200)},
                   {"/hang", TScriptedAnswer().Hanging()}};
    const QByteArray base = host.Base().toUtf8();
    // Shift_JIS text with a CR LF line end and an empty line.
    const QByteArray input =
        base + "/slow\r\n" + base + "/gone\n\n" + base + "/old\n" + "ftp://x/\x83\x65\n" + base + "/ok\n";
    const TRun run = RunChecker({QStringLiteral("--timeout"), QStringLiteral("5")}, input);
    EXPECT_EQ(run.Status, 1) << run.Err.toStdString();
    EXPECT_EQ(run.Out.toStdString(),
              QByteArray("ok\t200\t" + base + "/slow\t\n" + "dead\t404\t" + base + "/gone\t404\n"
                         + "moved\t200\t" + base + "/old\t" + base + "/new\n"
                         + "skipped\t-\tftp://x/テ\tnot http\n" + "ok\t200\t" + base + "/ok\t\n")
                  .toStdString());

    QTemporaryDir dir;
    QFile list(dir.filePath(QStringLiteral("list.txt")));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(base + "/ok\n");
    list.close();
    const TRun fine = RunChecker({list.fileName()});
    EXPECT_EQ(fine.Status, 0);
    EXPECT_EQ(fine.Out.toStdString(), ("ok\t200\t" + base + "/ok\t\n").toStdString());

    const TRun missing =
        RunChecker({list.fileName(), dir.filePath(QStringLiteral("missing")), list.fileName()});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_TRUE(missing.Err.contains("missing")) << missing.Err.toStdString();
    EXPECT_EQ(missing.Out.toStdString(), fine.Out.toStdString())
        << "what was read before the failure is checked, nothing after it";
    for (const QStringList& bad :
         {QStringList{QStringLiteral("--per-host"), QStringLiteral("7")},
          QStringList{QStringLiteral("--timeout"), QStringLiteral("0")},
          QStringList{QStringLiteral("--jobs")}, QStringList{QStringLiteral("--what")}})
        EXPECT_EQ(RunChecker(bad).Status, 2) << bad.join(' ').toStdString();

    // Stopped while a host hangs: what was decided, in order, is printed.
    const TRun stopped = RunChecker({}, base + "/ok\n" + base + "/hang\n" + base + "/ok\n", 1000);
    EXPECT_EQ(stopped.Status, 128 + SIGTERM);
    EXPECT_EQ(stopped.Out.toStdString(), ("ok\t200\t" + base + "/ok\t\n").toStdString());
}
