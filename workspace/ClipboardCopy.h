#pragma once
// One change of the clipboard, looked at once. Its owner is asked which
// forms it offers a single time: an owner that never answers then costs one
// time-out of the toolkit per change, not one per question. What the copy
// needs is read of those forms afterwards, each at most once.
#include <optional>
#include <string>

#include <QStringList>

// A copied or dropped part of a web page: its markup and, where the
// browser tells it, the address of the page, both UTF-8.
struct TCopiedPage {
    std::string Html;
    std::string Address;
};

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
    // The copy offers a picture (image/*).
    bool OffersPicture() const;
    // The page it offers beside its text (text/html), read when first asked
    // for; nullopt when there is none. Throws when it cannot be read.
    const std::optional<TCopiedPage>& Page();

protected:
    explicit TClipboardCopy(QStringList formats) : FFormats(std::move(formats)) { }
    // Called at most once, and only when HasText.
    virtual std::string ReadText() = 0;
    // Called at most once, and only when text/html is offered.
    virtual std::optional<TCopiedPage> ReadPage() { return std::nullopt; }

private:
    QStringList FFormats;
    std::optional<std::string> FText;
    bool FTextFailed = false;
    std::optional<TCopiedPage> FPage;
    bool FPageRead = false;
};
