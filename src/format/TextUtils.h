#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// Pieces between separators; a trailing separator gives a trailing empty piece.
QStringList SplitText(const QString& text, const QString& separator);

/// Byte length in the GBK code page: below U+0080 one byte, any other character two.
int GbkByteLength(QStringView text) noexcept;

/// Lines of at least `width` characters reaching 2 * width GBK bytes; never splits a character.
QStringList BreakTextByWidth(const QString& text, int width);

/// Trimmed text not empty and every character of the untrimmed text "." or a digit.
bool IsDecimalText(const QString& text) noexcept;

/// Trimmed text not empty and every character of the untrimmed text a digit.
bool IsDigitText(const QString& text) noexcept;

/// round(tenthMm / 10 / 25.4 * dpi), ties to even.
int TenthMmToPixels(int tenthMm, int dpi) noexcept;

} // namespace pennock::core
