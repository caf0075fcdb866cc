#include "Errors.h"

#include <cerrno>
#include <string>

std::string FileErrorMessage(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        return "ファイルが見つかりません";
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return "不正なファイル名です";
    case EMFILE:
    case ENFILE:
        return "オープンしたファイルが多すぎます";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:  // a folder cannot be read as a file: the desktop calls that access denied
        return "ファイルへのアクセスが拒否されました";
    case ENOSPC:
    case EDQUOT:
        return "ディスクがいっぱいです";
    default:
        return "I/O エラー (" + std::to_string(errnoValue) + ")";
    }
}

EUnsupportedEncoding::EUnsupportedEncoding(const std::string& encoding)
    : EInOutError(EILSEQ, encoding + " のファイルには対応していません")
{ }
