#include "UrlDrag.h"

#include <QList>
#include <QMimeData>
#include <QUrl>

#include "workspace/Cp932.h"

std::optional<std::string> DroppedText(const QMimeData* data)
{
    if (!data)
        return std::nullopt;
    if (data->hasUrls()) {
        QStringList links;
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile())
                return std::nullopt;  // files are the window's own drop
            links << url.toString();
        }
        if (!links.isEmpty())
            return ToCp932(links.join(QStringLiteral("\r\n")));
    }
    if (data->hasText())
        return ToCp932(data->text());
    return std::nullopt;
}
