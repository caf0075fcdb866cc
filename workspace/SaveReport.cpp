#include "SaveReport.h"

#include <cerrno>

#include <QFile>
#include <QStringList>

#include "engine/Errors.h"

namespace {

QString PathText(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

QString SystemErrorReason(int code)
{
    switch (code) {
    case EISDIR:
        return QStringLiteral("フォルダーです");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("アクセスが拒否されました");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクがいっぱいです");
    case ENOENT:
        return QStringLiteral("ファイルまたはフォルダーが見つかりません");
    case ENOTDIR:
        return QStringLiteral("パスの途中にフォルダーでないものがあります");
    case ELOOP:
        return QStringLiteral("シンボリックリンクをたどれません");
    case EIO:
        return QStringLiteral("入出力エラーが起きました");
    case ENAMETOOLONG:
        return QStringLiteral("名前が長すぎます");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("使用中です");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("通常のファイルではありません");
    default:
        // The generic texts are Japanese too; the system's own are not.
        return QString::fromUtf8(FileErrorMessage(code));
    }
}

QString FileProblemReason(const std::exception& failure)
{
    const auto* fileError = dynamic_cast<const EInOutError*>(&failure);
    if (!fileError)
        return QString::fromUtf8(failure.what());
    // A failure that carries a text of its own (a settings file too large)
    // keeps it; the generic file error texts say less than the reason's.
    if (FileErrorMessage(fileError->Code) != fileError->what())
        return QString::fromUtf8(fileError->what());
    return SystemErrorReason(fileError->Code);
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
