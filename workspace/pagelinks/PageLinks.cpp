#include "PageLinks.h"

#include <algorithm>
#include <memory>
#include <optional>

#include <QUrl>
#include <libxml/HTMLparser.h>

namespace {

// What the parse collects: targets as written, and the first base address.
struct TCollected {
    std::vector<std::string> Targets;
    std::optional<std::string> Base;
};

bool IsHtmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// Trimmed, and without the tabs and line breaks inside, which browsers drop
// from addresses too.
std::string Cleaned(std::string_view href)
{
    while (!href.empty() && IsHtmlSpace(href.front()))
        href.remove_prefix(1);
    while (!href.empty() && IsHtmlSpace(href.back()))
        href.remove_suffix(1);
    std::string text;
    for (const char c : href)
        if (c != '\t' && c != '\n' && c != '\r')
            text += c;
    return text;
}

std::optional<std::string_view> AttributeOf(const xmlChar** attributes, std::string_view wanted)
{
    for (; attributes && attributes[0]; attributes += 2) {
        const std::string_view name = reinterpret_cast<const char*>(attributes[0]);
        if (name == wanted && attributes[1])
            return std::string_view(reinterpret_cast<const char*>(attributes[1]));
    }
    return std::nullopt;
}

// The parser hands element and attribute names in lower case, with
// character references in values already decoded.
void OnElement(void* context, const xmlChar* element, const xmlChar** attributes)
{
    auto& collected = *static_cast<TCollected*>(context);
    const std::string_view name = reinterpret_cast<const char*>(element);
    if (name == "a" || name == "area") {
        if (const auto href = AttributeOf(attributes, "href"))
            collected.Targets.push_back(Cleaned(*href));
    } else if (name == "base" && !collected.Base) {
        if (const auto href = AttributeOf(attributes, "href"))
            collected.Base = Cleaned(*href);
    }
}

void Silently(void*, const char*, ...)
{ }

TCollected Collect(std::string_view html)
{
    TCollected collected;
    // Only the start of elements is asked for: no tree is built, and with
    // no entity or resource callbacks and no network, nothing is loaded.
    htmlSAXHandler handler{};
    handler.startElement = OnElement;
    handler.warning = Silently;
    handler.error = Silently;
    handler.fatalError = Silently;
    const std::unique_ptr<htmlParserCtxt, void (*)(htmlParserCtxtPtr)> parser(
        htmlCreatePushParserCtxt(&handler, &collected, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8),
        htmlFreeParserCtxt);
    if (!parser)
        return collected;
    // The text is UTF-8 whatever charset the markup declares.
    htmlCtxtUseOptions(parser.get(),
                       HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_IGNORE_ENC);
    constexpr std::size_t Piece = 1 << 16;
    do {
        const std::size_t size = std::min(html.size(), Piece);
        htmlParseChunk(parser.get(), html.data(), static_cast<int>(size), size == html.size() ? 1 : 0);
        html.remove_prefix(size);
    } while (!html.empty());
    return collected;
}

// The scheme before the first ":", or empty for a relative address (as
// "www.x" is to a browser).
std::string SchemeOf(std::string_view address)
{
    const std::size_t colon = address.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return {};
    std::string scheme;
    for (std::size_t i = 0; i < colon; ++i) {
        char c = address[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
            return {};
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        scheme += c;
    }
    return scheme;
}

bool IsListScheme(std::string_view scheme)
{
    return scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "mms" || scheme == "rtsp";
}

QUrl UrlOf(std::string_view text)
{
    return QUrl(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

// The address relatives are resolved against: the base, itself resolved
// against the page, or the page; invalid when neither is absolute.
QUrl BaseOf(const std::optional<std::string>& base, std::string_view pageAddress)
{
    const QUrl page = SchemeOf(pageAddress).empty() ? QUrl() : UrlOf(pageAddress);
    if (!base)
        return page;
    if (!SchemeOf(*base).empty())
        return UrlOf(*base);
    return page.isValid() ? page.resolved(UrlOf(*base)) : QUrl();
}

}  // namespace

std::vector<std::string> LinkTargetsOfPage(std::string_view html, std::string_view pageAddress)
{
    if (html.size() > MaxPageBytes)
        return {};
    TCollected collected = Collect(html);
    const QUrl base = BaseOf(collected.Base, pageAddress);
    std::vector<std::string> targets;
    for (std::string& target : collected.Targets) {
        if (target.empty())
            continue;
        if (!SchemeOf(target).empty()) {
            if (IsListScheme(SchemeOf(target)))
                targets.push_back(std::move(target));
            continue;
        }
        if (!base.isValid() || !IsListScheme(base.scheme().toLower().toStdString()))
            continue;
        const QUrl resolved = base.resolved(UrlOf(target));
        if (resolved.isValid() && IsListScheme(resolved.scheme().toLower().toStdString()))
            targets.push_back(resolved.toString(QUrl::EncodeSpaces).toStdString());
    }
    return targets;
}
