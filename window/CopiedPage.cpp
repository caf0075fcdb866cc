#include "CopiedPage.h"

#include <QMimeData>

namespace {

// Where browsers put the address of the page a copy came from.
const char* const PageAddressForms[] = {"text/x-moz-url-priv", "chromium/x-source-url"};

// UTF-16 as some browsers write it, or UTF-8; the first line only.
QString AddressText(const QByteArray& bytes)
{
    QString text;
    if (bytes.size() % 2 == 0 && bytes.contains('\0'))
        text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
    else
        text = QString::fromUtf8(bytes);
    text = text.section(u'\n', 0, 0);
    text.remove(u'\0');
    return text.trimmed();
}

}  // namespace

std::optional<TCopiedPage> CopiedPageOf(const QMimeData& data, const QStringList& formats)
{
    if (!formats.contains(QStringLiteral("text/html")))
        return std::nullopt;
    TCopiedPage page;
    page.Html = data.html().toStdString();
    for (const char* form : PageAddressForms) {
        if (formats.contains(QLatin1String(form))) {
            page.Address = AddressText(data.data(QLatin1String(form))).toStdString();
            break;
        }
    }
    return page;
}
