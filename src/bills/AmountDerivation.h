#pragma once

#include "format/Money.h"

#include <QString>
#include <QStringList>

#include <array>

namespace pennock::core {

/// The options that shape an amount on a bank bill.
struct AmountOptions
{
    bool figuresWithCode = true; ///< `cfgJEXXWithMoneyCode`
    bool capitalsWithName = true; ///< `cfgJEDXWithMoneyName`
    bool capitalsKeepRmb = false; ///< `cfgJEDXRMBChecked`
    bool noSymbol = false; ///< `cfgNoPrtSheep`
};

/// Every presentation of one amount: figures (and their counterfoil copy), capitals and the
/// eleven digit cells 亿 … 分 in the order of `amountCellNames`.
struct AmountDerivation
{
    enum class Problem { None, NotANumber, OutOfRange };

    Problem problem = Problem::None;
    QString figures;
    QString counterfoil;
    QString capitals;
    std::array<QString, 11> cells;

    /// The message of a refused amount (caption "金额输入"); empty when accepted.
    QString message() const;
};

/// The presentations of an amount text in figures (empty is 0). Refuses text that is not a
/// number and amounts outside 0 to under 1,000,000,000; 0 gives every presentation empty.
AmountDerivation deriveAmount(const QString& text, const QString& currencyName,
    const QString& currencyCode, const AmountOptions& options);

/// The digit cells of an amount: the integer digits from the 元 cell leftwards, 角 and 分 of the
/// amount rounded at the fen as its figures are, and the currency code in the cell left of the
/// highest digit unless `noSymbol`. All empty for 0 or less.
std::array<QString, 11> amountCells(const QString& currencyCode, Money value, bool noSymbol);
/// The same for a number; a positive one that rounds to no fen still shows 0.00.
std::array<QString, 11> amountCells(const QString& currencyCode, double value, bool noSymbol);

/// The amount's shortest decimal text, never with an exponent.
QString shortestDecimalText(double value);

/// A typed character the amount box refuses: blank, "-" and everything from "Z" up (lower-case
/// letters and every full-width or other double-byte character).
bool isRefusedAmountChar(QChar c) noexcept;

} // namespace pennock::core
