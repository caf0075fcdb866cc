#include "Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "Engine.h"

// Qt's ICU converter for this code page swaps the control bytes 0x1A, 0x1C
// and 0x7F, substitutes the unassigned pair FC FC for characters it cannot
// map, and silently drops a lead byte at the end of its input. So ASCII and
// half-width katakana are mapped here directly, ICU only sees complete
// double-byte pairs, and its failures are turned into visible replacements.

namespace {

constexpr char16_t DecodeReplacement = 0xFFFD;
constexpr char EncodeReplacement = '?';

bool IsTrailByteValue(unsigned char value)
{
    return (value >= 0x40 && value <= 0x7E) || (value >= 0x80 && value <= 0xFC);
}

bool IsHalfWidthKatakana(unsigned char value)
{
    return value >= 0xA1 && value <= 0xDF;
}

// Decodes a run of double-byte pairs in one converter call; an ICU
// substitution (U+001A) can only stand for an unmapped pair here.
void AppendDecodedPairs(QString& out, const QByteArray& pairs)
{
    if (pairs.isEmpty())
        return;
    // Stateless and only ever asked for its output, so one per thread will do.
    thread_local QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    QString decoded = decoder.decode(pairs);
    decoded.replace(QChar(0x1A), QChar(DecodeReplacement));
    out += decoded;
}

// Encodes a run of non-ASCII characters; an ICU substitution (FC FC, never a
// real character) becomes "?", one per character it stood for.
void AppendEncodedRun(std::string& out, QStringView run)
{
    if (run.isEmpty())
        return;
    thread_local QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(run);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (IsLeadByteValue(byte) && i + 1 < bytes.size()) {
            if (byte == 0xFC && static_cast<unsigned char>(bytes[i + 1]) == 0xFC)
                out += EncodeReplacement;
            else
                out.append(bytes.constData() + i, 2);
            ++i;
        } else {
            out += static_cast<char>(byte);
        }
    }
}

}  // namespace

QString FromCp932(const std::string& bytes)
{
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    QByteArray pairs;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const bool hasTrail =
            i + 1 < bytes.size() && IsTrailByteValue(static_cast<unsigned char>(bytes[i + 1]));
        if (IsLeadByteValue(byte) && hasTrail) {
            pairs.append(bytes.data() + i, 2);
            ++i;
            continue;
        }
        AppendDecodedPairs(out, pairs);
        pairs.clear();
        if (byte < 0x80)
            out += QChar(byte);
        else if (IsHalfWidthKatakana(byte))
            out += QChar(0xFF61 + (byte - 0xA1));
        else
            out += QChar(DecodeReplacement);  // stray lead byte or unassigned byte
    }
    AppendDecodedPairs(out, pairs);
    return out;
}

std::string ToCp932(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    qsizetype runStart = -1;
    auto flushRun = [&](qsizetype end) {
        if (runStart >= 0)
            AppendEncodedRun(out, QStringView(text).mid(runStart, end - runStart));
        runStart = -1;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80) {
            flushRun(i);
            out += static_cast<char>(unit);
        } else if (unit >= 0xFF61 && unit <= 0xFF9F) {
            flushRun(i);
            out += static_cast<char>(0xA1 + (unit - 0xFF61));
        } else if (QChar::isSurrogate(unit)) {
            // Nothing beyond the BMP exists in CP932, and a lone surrogate
            // would be dropped by the converter: one "?" per character.
            flushRun(i);
            out += EncodeReplacement;
            if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
        } else if (runStart < 0) {
            runStart = i;
        }
    }
    flushRun(text.size());
    return out;
}
