#include "ShortcutOpening.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMessageBox>

#include "engine/Errors.h"
#include "window/BrowserOpener.h"
#include "window/DesktopServices.h"
#include "workspace/InternetShortcut.h"
#include "workspace/SaveReport.h"

namespace {

// A shortcut is a few lines: what lies beyond is not read, so that a huge
// file costs no time before its box.
constexpr std::size_t ShortcutReadLimit = 64 * 1024;
constexpr int ShownUrlLength = 200;

// Non-blocking, so that a pipe of that name cannot hang the handler.
std::string ReadShortcutFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw EInOutError(errno, FileErrorMessage(errno));
    struct stat info { };
    const bool statted = ::fstat(fd, &info) == 0;
    std::string contents(statted && S_ISREG(info.st_mode) ? ShortcutReadLimit : 0, '\0');
    std::size_t filled = 0;
    while (filled < contents.size()) {
        const ssize_t n = ::read(fd, contents.data() + filled, contents.size() - filled);
        if (n <= 0 && !(n < 0 && errno == EINTR))
            break;
        filled += static_cast<std::size_t>(std::max<ssize_t>(n, 0));
    }
    const int code = errno;
    ::close(fd);
    if (!statted)
        throw EInOutError(code, FileErrorMessage(code));
    if (S_ISDIR(info.st_mode))
        throw EInOutError(EISDIR, FileErrorMessage(EISDIR));
    if (!S_ISREG(info.st_mode))
        throw EInOutError(ENODEV, "通常のファイルではありません");
    contents.resize(filled);
    return contents;
}

QString ShownUrl(const QUrl& url)
{
    const QString text = url.toString();
    return text.size() > ShownUrlLength ? text.left(ShownUrlLength) + QStringLiteral("…") : text;
}

// One box for all, also on standard error for a start from a terminal or a
// script. Names come from outside: never shown as markup.
void Warn(const QStringList& lines)
{
    for (const QString& line : lines)
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), lines.join(u'\n'),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

int OpenShortcutFiles(const QStringList& files)
{
    QStringList problems;
    std::vector<QUrl> urls;
    for (const QString& file : files) {
        try {
            const QUrl url = ShortcutBrowserUrl(ReadShortcutFile(file));
            if (url.isEmpty())
                problems << QStringLiteral("%1 を開けません（インターネットショートカットではありません）。")
                                .arg(file);
            else
                urls.push_back(url);
        } catch (const std::exception& failure) {
            problems << QStringLiteral("%1 を開けません（%2）。").arg(file, FileProblemReason(failure));
        }
    }
    // As ブラウザで開く asks: many files selected by mistake open nothing.
    const bool agreed =
        urls.size() <= static_cast<std::size_t>(BrowserOpenWithoutAsking)
        || AskYesNo(nullptr, QStringLiteral("%1件のURLを開きますか？").arg(urls.size()), false);
    for (const QUrl& url : agreed ? urls : std::vector<QUrl>()) {
        if (!QDesktopServices::openUrl(url))
            problems << QStringLiteral("%1 をブラウザで開けませんでした。").arg(ShownUrl(url));
    }
    if (problems.isEmpty())
        return 0;
    Warn(problems);
    return 1;
}
