#include "ClipboardCopy.h"

#include <algorithm>
#include <stdexcept>

bool TClipboardCopy::MarkedSecret() const
{
    return Offers(QStringLiteral("x-kde-passwordManagerHint"));
}

bool TClipboardCopy::HasText() const
{
    return Offers(QStringLiteral("text/plain")) || Offers(QStringLiteral("text/plain;charset=utf-8"))
           || Offers(QStringLiteral("text/uri-list"));
}

const std::string& TClipboardCopy::Text()
{
    if (FTextFailed || !HasText())
        throw std::runtime_error("clipboard text unreadable");
    if (!FText) {
        try {
            FText = ReadText();
        } catch (...) {
            FTextFailed = true;
            throw;
        }
    }
    return *FText;
}

bool TClipboardCopy::OffersPicture() const
{
    return std::any_of(FFormats.begin(), FFormats.end(),
                       [](const QString& form) { return form.startsWith(QLatin1String("image/")); });
}

const std::optional<TCopiedPage>& TClipboardCopy::Page()
{
    // Marked read first: a page that failed to read counts as none later.
    if (!FPageRead && Offers(QStringLiteral("text/html"))) {
        FPageRead = true;
        FPage = ReadPage();
    }
    return FPage;
}
