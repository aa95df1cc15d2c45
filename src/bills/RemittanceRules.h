#pragma once

#include "bills/BillRules.h"

#include <QStringList>

namespace pennock::core {

/// The overseas remittance application: three amounts (spot, purchased, other) typed through
/// the amount box, each shown with the currency code, and their total in figures and capitals.
class RemittanceRules final : public BillRules
{
public:
    /// The spot, purchased and other amounts.
    static const QStringList& amounts();

    RuleMessage writeAmount(BillSurface& s, const BillKind& kind, const QString& text,
        const QString& currencyName, const QString& currencyCode,
        const QString& target) const override;
    /// The amounts shown again in the currency and totalled; none is typed anew, so the order
    /// in which amounts, options and the currency came never changes the total.
    RuleMessage recommit(BillSurface& s, const BillKind& kind, const QString& text,
        const QString& currencyName, const QString& currencyCode,
        const QString& target) const override;
    QString amountTarget(const BillKind& kind) const override;
    /// A total that is not the sum of the amounts shown is not stored.
    RuleMessage saveRefusal(const BillSurface& s, const BillKind& kind) const override;

private:
    static bool anyAmount(const BillSurface& s);
    /// Each amount shown with the code, and their total.
    static RuleMessage writeTotal(BillSurface& s, const BillKind& kind, const QString& currencyName,
        const QString& currencyCode);
};

} // namespace pennock::core
