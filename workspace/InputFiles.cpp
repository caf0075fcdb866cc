#include "InputFiles.h"

#include <cerrno>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

ENotRegularFile::ENotRegularFile() : EInOutError(ENODEV, NotRegularFileReason().toStdString())
{ }

EFileNotRead::EFileNotRead(const std::string& path, const QString& reason)
    : std::runtime_error(NotReadText(path, reason).toStdString())
{ }

QString NotReadText(const std::string& path, const QString& reason)
{
    return QStringLiteral("%1 を読み込めません（%2）。")
        .arg(QFile::decodeName(QByteArray::fromStdString(path)), reason);
}

QString NotRegularFileReason()
{
    return QStringLiteral("通常のファイルではありません");
}

QString OutOfMemoryReason()
{
    return QStringLiteral("メモリが足りません");
}

TRegularFile::TRegularFile(const std::string& path)
    : FFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
{
    if (FFd < 0) {
        const int code = errno;
        throw EInOutError(code, FileErrorMessage(code));
    }
    struct stat info { };
    const int error = ::fstat(FFd, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (error != 0 || !S_ISREG(info.st_mode)) {
        ::close(FFd);
        if (error != 0)
            throw EInOutError(error, FileErrorMessage(error));
        throw ENotRegularFile();
    }
    ::fcntl(FFd, F_SETFL, ::fcntl(FFd, F_GETFL) & ~O_NONBLOCK);
}

TRegularFile::~TRegularFile()
{
    ::close(FFd);
}

bool IsSpecialFile(const std::string& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

void ExtractFromInputFile(const std::string& path, const TExtractOptions& options, TUrlList& list)
{
    try {
        const TRegularFile file(path);
        TUrlListSink sink(list);
        ExtractFromFileAsOpened(file.Fd(), options, sink);
    } catch (const ENotRegularFile&) {
        throw EFileNotRead(path, NotRegularFileReason());
    } catch (const EUnsupportedEncoding& refusal) {
        throw EFileNotRead(path, QString::fromUtf8(refusal.what()));
    } catch (const std::bad_alloc&) {
        throw EFileNotRead(path, OutOfMemoryReason());
    }
}
