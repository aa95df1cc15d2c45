#pragma once

#include "bills/BillRules.h"
#include "format/Money.h"

#include <QString>

#include <optional>

namespace pennock::core {

struct BillKind;

/// The export commodity invoice ("出口商品发票").
const BillKind& exportInvoiceKind();

/// The trimmed text of the last match of `pattern` in `text`, searched through the whole text
/// with letter case counting; empty when nothing matches.
QString lastPatternMatch(const QString& text, const QString& pattern);

/// The amount a sales amount or FOB price stands for: its last run of digits, "," and "."
/// ("USD1,256.89" -> 1256.89), negative when a "-" stands before the run and its currency
/// ("-50", "USD-50", "-USD50"); none when the text has no such run or the run is no number.
std::optional<double> amountInText(const QString& text);
/// The same, exact and rounded at the fen; a run too large for any bill is none.
std::optional<Money> moneyInText(const QString& text);

/// An amount converted at an exchange rate written "base:value" ("100:680.23").
struct RateConversion
{
    double value = 0; ///< the converted amount; 0 when the rate is refused
    QString message {}; ///< why the rate is refused; empty when it is not
    Money money {}; ///< the converted amount rounded at the fen (of a Money amount)
    bool refused() const { return !message.isEmpty(); }
};
RateConversion convertAtRate(double amount, const QString& rate);
/// The same for an exact amount, rounded once at the fen.
RateConversion convertAtRate(Money amount, const QString& rate);

/// The export invoice's value rules: a line's sales amount from its quantity and price, and
/// the totals of the sales amounts and of the FOB prices in the foreign currency and, at the
/// exchange rate, in RMB. The amount box takes no amount: the totals come from the lines.
class CkspRules : public BillRules
{
public:
    static const QString kRate; ///< "zdExchRate"
    static const QString kCurrencyName; ///< "zdWaiBiName"
    static const QString kCurrencyCode; ///< a control no template shows: the currency's code
    static const QString kForeignFigures; ///< "zdWaiHJXX"
    static const QString kForeignCapitals; ///< "zdWaiHJDX"
    static const QString kRmbFigures; ///< "zdRmbHJXX"
    static const QString kRmbCapitals; ///< "zdRmbHJDX"
    static const QString kFobForeign; ///< "zdFobWaiHJXX"
    static const QString kFobRmb; ///< "zdFobRmbHJXX"
    static constexpr int kLines = 7;

    /// Line n's quantity, price, sales amount and FOB price (n from 1 to 7).
    static QString quantity(int line);
    static QString price(int line);
    static QString sales(int line);
    static QString fob(int line);

    /// Takes the currency and writes the totals again; an amount given here is refused.
    RuleMessage writeAmount(BillSurface& s, const BillKind& kind, const QString& text,
        const QString& currencyName, const QString& currencyCode,
        const QString& target) const override;
    /// A quantity or price writes its line's sales amount and the totals; a sales amount, FOB
    /// price, the rate and either capital total write the totals.
    RuleMessage finishItem(
        BillSurface& s, const BillKind& kind, const QString& name) const override;
    /// Writes every total from the lines, the rate and the currency on the surface. The first
    /// problem met is returned; an unreadable line leaves its totals as they were.
    RuleMessage writeTotals(BillSurface& s) const;
    /// A bill without a buyer or without a foreign total is not stored, nor one with a line
    /// that is no amount or with a total that is not what its lines make.
    RuleMessage saveRefusal(const BillSurface& s, const BillKind& kind) const override;

private:
    struct Sums
    {
        Money sales;
        Money fob;
        QString badSales; ///< the first sales amount that is no amount; empty when none
        QString badFob;
    };
    static Sums sums(const BillSurface& s);
};

} // namespace pennock::core
