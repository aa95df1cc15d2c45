#pragma once

#include "bills/BillRules.h"

namespace pennock::core {

/// The acceptance bill's rules: the older amount rule (the figures as typed, "0.00" without
/// separators, capitals with the currency name only for foreign money) and the due date written
/// in capitals when the user finishes it.
class AcceptanceRules final : public BillRules
{
public:
    static const QString kDueDate; ///< "zdTimeOutDate"

    QString committedInput(const QString& typed) const override;
    RuleMessage writeAmount(BillSurface& s, const BillKind& kind, const QString& text,
        const QString& currencyName, const QString& currencyCode,
        const QString& target) const override;
    RuleMessage finishItem(
        BillSurface& s, const BillKind& kind, const QString& name) const override;
};

} // namespace pennock::core
