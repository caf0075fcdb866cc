#include "ClipboardCopy.h"

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
