#include "ShortcutOpening.h"

#include <cstdio>
#include <exception>

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMessageBox>

#include "IniFile.h"
#include "InternetShortcut.h"
#include "SaveReport.h"

namespace {

// Also on standard error, for a start from a terminal or a script.
void Warn(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), text, QMessageBox::Ok);
    box.exec();
}

bool OpenShortcutFile(const QString& path)
{
    QUrl url;
    try {
        // Refuses directories, pipes and huge files as the settings reader
        // does, and text in UTF-32 as the input files' reader does.
        url = ShortcutBrowserUrl(ReadSettingsFileBytes(QFile::encodeName(path).toStdString()));
    } catch (const std::exception& failure) {
        Warn(QStringLiteral("%1 を開けません（%2）。").arg(path, FileProblemReason(failure)));
        return false;
    }
    if (url.isEmpty()) {
        Warn(QStringLiteral("%1 を開けません（インターネットショートカットではありません）。").arg(path));
        return false;
    }
    if (!QDesktopServices::openUrl(url)) {
        Warn(QStringLiteral("%1 をブラウザで開けませんでした。").arg(url.toString()));
        return false;
    }
    return true;
}

}  // namespace

int OpenShortcutFiles(const QStringList& files)
{
    bool all = true;
    for (const QString& file : files)
        all = OpenShortcutFile(file) && all;
    return all ? 0 : 1;
}
