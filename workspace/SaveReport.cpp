#include "SaveReport.h"

#include <cerrno>
#include <cstring>

#include <QFile>
#include <QStringList>

#include "Errors.h"

namespace {

QString PathText(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

QString FileProblemReason(const std::exception& failure)
{
    const auto* fileError = dynamic_cast<const EInOutError*>(&failure);
    if (!fileError)
        return QString::fromUtf8(failure.what());
    switch (fileError->Code) {
    case EISDIR:
        return QStringLiteral("フォルダーです");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("アクセスが拒否されました");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクがいっぱいです");
    default:
        break;
    }
    // A failure that carries a text of its own (a settings file too large)
    // keeps it; the generic file error texts say less than the system's.
    if (FileErrorMessage(fileError->Code) != fileError->what())
        return QString::fromUtf8(fileError->what());
    return QString::fromLocal8Bit(std::strerror(fileError->Code));
}

QString NotReadAtStartReason()
{
    return QStringLiteral("起動時に読み込めませんでした");
}

QString UnreadableFilesText(const TFileProblems& problems)
{
    QStringList lines;
    for (const TFileProblem& problem : problems)
        lines << QStringLiteral("%1 を読み込めません（%2）。終了時に保存しません。")
                     .arg(PathText(problem.Path), problem.Reason);
    return lines.join(u'\n');
}

QString UnsavedFilesText(const TFileProblems& problems)
{
    QStringList lines;
    for (const TFileProblem& problem : problems)
        lines << PathText(problem.Path) + QStringLiteral("：") + problem.Reason;
    return lines.join(u'\n');
}

QString CloseWithoutSavingQuestion()
{
    return QStringLiteral("保存できなかったファイルがあります。保存せずに終了しますか？");
}
