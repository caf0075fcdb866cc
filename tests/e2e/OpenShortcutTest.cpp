// The shortcut files' handler as a file manager starts it: one start with
// every file, each URL handed to the desktop's launcher (a stand-in on
// PATH), one box naming the files that cannot be used.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "DesktopSession.h"

namespace {

const QString Title = QStringLiteral("Linkrake Professional");

class OpenShortcut : public ::testing::Test {
protected:
    OpenShortcut()
    {
        Write(QStringLiteral("xdg-open"), "#!/bin/sh\necho \"$1\" >> '" + Log().toUtf8() + "'\n");
        QFile::setPermissions(Path(QStringLiteral("xdg-open")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString Path(const QString& name) const { return FFiles.filePath(name); }
    QString Log() const { return Path(QStringLiteral("opened.txt")); }
    void Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Opened() const
    {
        QFile file(Log());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The program's PATH: the stand-in first, or no launcher at all.
    void UseLauncher(bool present)
    {
        FPath = present ? FFiles.path() + QLatin1Char(':') + qEnvironmentVariable("PATH")
                        : QStringLiteral("/nonexistent");
    }
    // Runs the handler, answering each box with Return; gives its exit status.
    int Run(const QStringList& names, int& boxes)
    {
        QStringList arguments{QStringLiteral("--open-shortcut")};
        for (const QString& name : names)
            arguments << Path(name);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("PATH"), FPath);
        environment.remove(QStringLiteral("BROWSER"));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        process.start(QDir(FProgram.Folder()).filePath(QStringLiteral("linkrake")), arguments);
        process.waitForStarted(5000);
        boxes = 0;
        while (process.state() != QProcess::NotRunning && !process.waitForFinished(100)) {
            const QString box = FindWindow(Title, true);
            if (box.isEmpty())
                continue;
            ++boxes;
            RunCommand(QStringLiteral("xdotool"),
                       {QStringLiteral("windowactivate"), QStringLiteral("--sync"), box});
            RunCommand(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
            WaitFor([&] { return FindWindow(Title, true) != box; });
            if (boxes > 10)
                process.kill();
        }
        FErrors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QTemporaryDir FFiles;
    QString FPath;
    TProgramUnderTest FProgram{"[SYSTEM]\r\n", "http://kept/\r\n"};
    QString FErrors;
};

}  // namespace

TEST_F(OpenShortcut, OpensGoodFilesAndNamesTheBadOnesTogetherInOneBox)
{
    Write(QStringLiteral("good.url"), "[InternetShortcut]\r\nURL=http://good.example/a?b=1\r\n");
    Write(QStringLiteral("www.url"), "[InternetShortcut]\r\nURL=www.two.example/\r\n");
    Write(QStringLiteral("local.url"), "[InternetShortcut]\r\nURL=file:///etc/passwd\r\n");
    Write(QStringLiteral("notes.url"), "just some text\r\n");
    QDir(FFiles.path()).mkdir(QStringLiteral("folder.url"));
    UseLauncher(true);

    int boxes = 0;
    EXPECT_EQ(Run({QStringLiteral("good.url"), QStringLiteral("local.url"), QStringLiteral("notes.url"),
                   QStringLiteral("folder.url"), QStringLiteral("www.url")},
                  boxes),
              1);
    EXPECT_EQ(boxes, 1);
    // The launcher runs detached and may write after the program ended.
    const QByteArray opened = "http://good.example/a?b=1\nhttp://www.two.example/\n";
    EXPECT_TRUE(WaitFor([&] { return Opened() == opened; })) << Opened().toStdString();
    const QString notShortcut =
        QStringLiteral(" を開けません（インターネットショートカットではありません）。");
    EXPECT_TRUE(FErrors.contains(Path(QStringLiteral("local.url")) + notShortcut)) << FErrors.toStdString();
    EXPECT_TRUE(FErrors.contains(Path(QStringLiteral("notes.url")) + notShortcut));
    EXPECT_TRUE(FErrors.contains(Path(QStringLiteral("folder.url"))
                                 + QStringLiteral(" を開けません（フォルダーです）。")));

    // The workspace is neither read nor written.
    EXPECT_FALSE(QFile::exists(QDir(FProgram.Folder()).filePath(QStringLiteral("Memo1.txt"))));
    EXPECT_FALSE(QFile::exists(QDir(FProgram.Folder()).filePath(QStringLiteral("Linkrake.lock"))));
}

TEST_F(OpenShortcut, EndsWithZeroWhenEveryFileOpenedAndNamesTheUrlTheDesktopRefused)
{
    Write(QStringLiteral("good.url"), "[InternetShortcut]\r\nURL=http://good.example/\r\n");
    UseLauncher(true);
    int boxes = 0;
    EXPECT_EQ(Run({QStringLiteral("good.url")}, boxes), 0);
    EXPECT_EQ(boxes, 0);

    UseLauncher(false);
    EXPECT_EQ(Run({QStringLiteral("good.url")}, boxes), 1);
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(FErrors.contains(QStringLiteral("http://good.example/ をブラウザで開けませんでした。")))
        << FErrors.toStdString();
}

TEST_F(OpenShortcut, AsksBeforeOpeningMoreThanTenAndReadsOnlyTheStartOfAHugeFile)
{
    QStringList names;
    for (int i = 0; i < 11; ++i) {
        names << QStringLiteral("many%1.url").arg(i);
        Write(names.last(),
              "[InternetShortcut]\r\nURL=http://many.example/" + QByteArray::number(i) + "\r\n");
    }
    UseLauncher(true);
    int boxes = 0;
    EXPECT_EQ(Run(names, boxes), 0);  // Return answers the default, no
    EXPECT_EQ(boxes, 1);
    Pause(500);
    EXPECT_EQ(Opened(), QByteArray());

    // A megabyte of address: only its start is read, and the box comes at once.
    Write(QStringLiteral("huge.url"),
          "[InternetShortcut]\r\nURL=http://huge.example/" + QByteArray(1 << 20, 'a'));
    UseLauncher(false);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(Run({QStringLiteral("huge.url")}, boxes), 1);
    EXPECT_LT(timer.elapsed(), 4000);
    // The address in the box is cut short.
    EXPECT_TRUE(FErrors.contains(
        QStringLiteral("http://huge.example/%1… をブラウザで開けませんでした。").arg(QString(180, u'a'))));
}
