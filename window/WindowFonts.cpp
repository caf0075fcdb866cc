#include "WindowFonts.h"

#include <QStringList>

namespace {

constexpr int FontPixels = 12;

QFont PixelFont(const QStringList& families, QFont::StyleHint hint)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPixelSize(FontPixels);
    return font;
}

}  // namespace

TFormFonts MainWindowFonts()
{
    return {PixelFont({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")}, QFont::SansSerif),
            PixelFont({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")}, QFont::Monospace)};
}
