#include "TextUtils.h"

#include <algorithm>
#include <climits>

namespace pennock::core {

namespace {

struct CharSize
{
    qsizetype units; // UTF-16 code units: a surrogate pair is one character
    qint64 bytes;
};

CharSize charSizeAt(QStringView text, qsizetype i) noexcept
{
    const QChar c = text[i];
    if (c.unicode() < 0x80)
        return { 1, 1 };
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return { 2, 2 };
    return { 1, 2 };
}

bool isAsciiDigit(QChar c) noexcept { return c >= u'0' && c <= u'9'; }

} // namespace

QStringList SplitText(const QString& text, const QString& separator)
{
    if (separator.isEmpty())
        return { text };
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype found; (found = text.indexOf(separator, start)) >= 0;
         start = found + separator.size()) {
        pieces.append(text.sliced(start, found - start));
    }
    pieces.append(text.sliced(start));
    return pieces;
}

int GbkByteLength(QStringView text) noexcept
{
    qint64 bytes = 0;
    for (qsizetype i = 0; i < text.size();) {
        const CharSize size = charSizeAt(text, i);
        i += size.units;
        bytes += size.bytes;
    }
    return int(std::min<qint64>(bytes, INT_MAX));
}

QStringList BreakTextByWidth(const QString& text, int width)
{
    if (text.isEmpty())
        return {};
    const qint64 lineBytes = 2 * qint64(width);
    qint64 remainingBytes = GbkByteLength(text);
    if (width < 1 || lineBytes >= remainingBytes)
        return { text };

    QStringList lines;
    lines.reserve(remainingBytes / lineBytes + 1);
    qsizetype start = 0;
    // Each line ends on a whole character, even when that overshoots by one byte.
    while (remainingBytes > lineBytes) {
        qsizetype end = start;
        qint64 bytes = 0;
        for (int taken = 0; (taken < width || bytes < lineBytes) && end < text.size(); ++taken) {
            const CharSize size = charSizeAt(text, end);
            end += size.units;
            bytes += size.bytes;
        }
        lines.append(text.sliced(start, end - start));
        start = end;
        remainingBytes -= bytes;
    }
    if (start < text.size())
        lines.append(text.sliced(start));
    return lines;
}

bool IsDecimalText(const QString& text) noexcept
{
    // A blank anywhere fails the character test, so no separate trim is needed.
    const auto isDecimalChar = [](QChar c) { return isAsciiDigit(c) || c == u'.'; };
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isDecimalChar);
}

bool IsDigitText(const QString& text) noexcept
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

int TenthMmToPixels(int tenthMm, int dpi) noexcept
{
    // Integer arithmetic: in floating point, 0.1 mm / 25.4 would blur the exact halves.
    const qint64 product = qint64(tenthMm) * dpi;
    const qint64 magnitude = product < 0 ? -product : product;
    qint64 pixels = magnitude / 254;
    const qint64 remainder = magnitude % 254;
    if (remainder > 127 || (remainder == 127 && pixels % 2 == 1))
        ++pixels;
    return int(std::clamp<qint64>(product < 0 ? -pixels : pixels, INT_MIN, INT_MAX));
}

} // namespace pennock::core
