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
    QString amountTarget(const BillKind& kind) const override;
};

} // namespace pennock::core
