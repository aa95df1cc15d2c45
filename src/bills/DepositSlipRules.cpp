#include "bills/DepositSlipRules.h"

#include "bills/BillKind.h"

namespace pennock::core {

RuleMessage DepositSlipRules::writeAmount(BillSurface& s, const BillKind& kind, const QString& text,
    const QString& currencyName, const QString& currencyCode, const QString&) const
{
    const RuleMessage m = writeBankAmount(s, kind, text, currencyName, currencyCode, true, true);
    // A typed 0 is an amount, unlike an empty box.
    if (!m.refused() && !text.trimmed().isEmpty() && text.trimmed().toDouble() == 0)
        s.setText(kind.roles.figures, QStringLiteral("0.00"));
    return m;
}

} // namespace pennock::core
