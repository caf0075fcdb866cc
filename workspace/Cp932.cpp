#include "Cp932.h"

#include "engine/Engine.h"

namespace {

constexpr std::string_view ByteOrderMark = Utf8ByteOrderMark;

std::u16string_view Units(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QString FromUnits(const std::u16string& units)
{
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}

}  // namespace

QString FromCp932(const std::string& bytes)
{
    return FromUnits(ShiftJisToUtf16(bytes));
}

std::string ToCp932(const QString& text)
{
    return Utf16ToShiftJis(Units(text));
}

std::string MemoBytesFromText(QString text)
{
    text.replace(u'\n', QStringLiteral("\r\n"));
    if (FitsShiftJis(Units(text)))
        return ToCp932(text);
    return std::string(ByteOrderMark) + text.toStdString();
}

QString MemoTextFromBytes(const std::string& bytes)
{
    QString text = std::string_view(bytes).substr(0, ByteOrderMark.size()) == ByteOrderMark
                       ? FromUnits(MixedUtf8ToUtf16(std::string_view(bytes).substr(ByteOrderMark.size())))
                       : FromCp932(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}
