#pragma once

#include "bills/BillRules.h"
#include "format/Money.h"

#include <QStringList>

#include <optional>

namespace pennock::core {

struct BillKind;

/// The ordinary invoice or receipt with five lines ("普通发票收据").
const BillKind& receiptKind();
/// The international freight invoice with six lines ("国际货运发票").
const BillKind& freightKind();

/// The capitals of a total read from its capital cells 亿 … 分: each digit with its unit, from
/// the first cell that holds a digit other than 零 ("壹仟贰佰零拾叁元伍角零分" for 1203.5).
QString nonStandardCapitals(const QStringList& cells);

/// The value rules of the bills with lines: a line's amount from quantity × price or typed, its
/// digit cells, the total of the lines in figures, cells, capital cells and capital words by the
/// options of the bar, the date in the chosen format.
class LineItemRules : public BillRules
{
public:
    /// `lineCells`: the digit-cell prefixes a line has ("zdYY" … "zdF"); the line number follows.
    LineItemRules(int lines, QStringList lineCells, bool counterfoil);

    int lines() const noexcept { return mLines; }
    /// The cells of a row: 1 … lines, or lines + 1 for the total.
    QStringList rowCells(int row) const;

    void writeDate(BillSurface& s, const BillKind& kind) const override;
    QString committedInput(const QString& typed) const override;
    /// `target` a line's amount box: that line typed; the total's boxes: the total typed; none:
    /// every line again, and the total of the lines (or `text`, or the stored total, when no line
    /// holds an amount).
    RuleMessage writeAmount(BillSurface& s, const BillKind& kind, const QString& text,
        const QString& currencyName, const QString& currencyCode,
        const QString& target) const override;
    QString amountTarget(const BillKind& kind) const override;
    /// Every line again and their total: an amount typed before may since have been computed.
    RuleMessage recommit(BillSurface& s, const BillKind& kind, const QString& text,
        const QString& currencyName, const QString& currencyCode,
        const QString& target) const override;
    /// Quantity and price give the line's amount; an edited total in figures is converted.
    RuleMessage finishItem(
        BillSurface& s, const BillKind& kind, const QString& name) const override;
    RuleMessage saveRefusal(const BillSurface& s, const BillKind& kind) const override;

    /// The line (1 …) a control belongs to when its name is `prefix` + number; 0 otherwise.
    int lineOf(const QString& name, const QString& prefix) const;

private:
    /// A line that is no amount or out of range empties itself and is refused.
    RuleMessage commitLine(BillSurface& s, int line, const QString& code) const;
    /// A line's amount (0 when empty); none when it is no amount within the bill's range.
    std::optional<Money> lineAmount(const BillSurface& s, int line) const;
    /// The sum of the lines; none while a line is no amount.
    std::optional<Money> linesTotal(const BillSurface& s) const;
    bool hasLineAmounts(const BillSurface& s) const;
    RuleMessage writeTotal(BillSurface& s, const QString& text, const QString& currencyName,
        const QString& code) const;
    RuleMessage writeTotal(
        BillSurface& s, Money value, const QString& currencyName, const QString& code) const;
    /// Every presentation of the total empty.
    void emptyTotal(BillSurface& s, const QString& code) const;
    void writeCells(BillSurface& s, int row, Money value, const QString& code) const;

    int mLines;
    QStringList mLineCells;
    bool mCounterfoil;
};

} // namespace pennock::core
