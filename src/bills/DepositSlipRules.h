#pragma once

#include "bills/BillRules.h"

namespace pennock::core {

/// The deposit slip's amount: the figures always carry the currency code and the capitals the
/// currency name; an amount of 0 empties both copies' cells and shows "0.00".
class DepositSlipRules final : public BillRules
{
public:
    RuleMessage writeAmount(BillSurface& s, const BillKind& kind, const QString& text,
        const QString& currencyName, const QString& currencyCode,
        const QString& target) const override;
};

} // namespace pennock::core
