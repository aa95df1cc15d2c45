#pragma once

#include "format/Money.h"

#include <QString>

#include <optional>

namespace pennock::core {

/// Amount in capital words, e.g. 1010 -> "壹仟零壹拾元整".
/// Negative amounts and amounts of 10^13 yuan or more give an empty text.
QString AmountToCapitals(double amount);

/// The same for an exact amount; empty for a negative or huge one.
QString AmountToCapitals(Money amount);

/// The same for amount text as a field or an edit gives it ("1,234.56" is accepted), rounded
/// at the fen from its decimal digits; nullopt when the text is not a number.
std::optional<QString> AmountToCapitals(const QString& amountText);

/// One capital digit per cell, padded with "零" to `cells` integer digits, decimals by `mode`
/// ("0": none, "0.0"/".0": one, anything else: two). "超出位数限制" when the integer part
/// does not fit; "零" for 0; empty for a negative or out-of-range amount;
/// nullopt when the text is not a number.
std::optional<QString> AmountToDigitCapitals(
    const QString& amountText, int cells, const QString& mode);

/// A date part in capitals: "03" -> "零叁", "2024" -> "贰零贰肆"; empty for no valid day/month.
QString DateNumberToCapitals(const QString& part);

/// Two decimals, halves away from zero; with `thousands`, "1,234,567.89".
QString FormatMoney(double amount, bool thousands = false);
/// The same for an exact amount.
QString FormatMoney(Money amount, bool thousands = false);

/// Only "0"-"9" and "." of the typed text, full-width digits and stops translated, commas dropped.
QString NormalizeAmountText(const QString& text);

/// The number an amount text stands for (blanks trimmed, "," removed); nullopt when it is none.
std::optional<double> ParseAmount(const QString& text);

} // namespace pennock::core
