#pragma once
// One change of the clipboard, looked at once. Its owner is asked which
// forms it offers a single time: an owner that never answers then costs one
// time-out of the toolkit per change, not one per question. What the copy
// needs is read of those forms afterwards, each at most once.
#include <optional>
#include <string>

#include <QStringList>

class TClipboardCopy {
public:
    virtual ~TClipboardCopy() = default;
    TClipboardCopy(const TClipboardCopy&) = delete;
    TClipboardCopy& operator=(const TClipboardCopy&) = delete;

    // Empty when nobody owns the clipboard or its owner did not answer.
    const QStringList& Formats() const { return FFormats; }
    bool Offers(const QString& format) const { return FFormats.contains(format); }
    // Password managers mark their copies as secret; the mark's presence
    // counts, whatever its value.
    bool MarkedSecret() const;
    // Plain text, or links, which read as text.
    bool HasText() const;
    // The text as CP932, read when first asked for; throws when it cannot be
    // read, then and every later time.
    const std::string& Text();

protected:
    explicit TClipboardCopy(QStringList formats) : FFormats(std::move(formats)) { }
    // Called at most once, and only when HasText.
    virtual std::string ReadText() = 0;

private:
    QStringList FFormats;
    std::optional<std::string> FText;
    bool FTextFailed = false;
};
