#include "UrlDrag.h"

#include <QList>
#include <QMimeData>
#include <QUrl>

#include "BrowserTargets.h"
#include "Cp932.h"
#include "ListText.h"

QMimeData* UrlDragData(const TUrlList& list)
{
    const std::vector<std::string> items = SelectedItems(list);
    if (items.empty())
        return nullptr;
    std::string text;
    QList<QUrl> urls;
    for (const std::string& item : items) {
        if (!text.empty())
            text += LineEnd;
        text += item;
        const std::string address = BrowserAddressOf(item);
        const QUrl url(FromCp932(address), QUrl::TolerantMode);
        if (!address.empty() && url.isValid())
            urls.push_back(url);
    }
    auto* data = new QMimeData;
    if (!urls.isEmpty())
        data->setUrls(urls);
    data->setText(FromCp932(text));
    return data;
}

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
