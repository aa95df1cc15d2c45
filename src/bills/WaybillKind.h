#pragma once

#include "bills/BillRules.h"

#include <QStringList>

#include <optional>

namespace pennock::core {

struct BillKind;

/// The express waybill ("快递单").
const BillKind& waybillKind();

/// The choices of "金额大写1格式:", in their order.
const QStringList& waybillCapitalFormats();

/// The figures typed into the capital field as a format shows them; nullopt when the figures
/// are not a number.
std::optional<QString> waybillCapitals(const QString& figures, const QString& format);

/// The waybill's value rules: no amount box; the capital field converts its figures by the
/// chosen format when it is finished.
class WaybillRules : public BillRules
{
public:
    static const QString kCapitals; ///< the capital field
    static const QString kFormat; ///< the option choosing its format

    RuleMessage writeAmount(BillSurface& s, const BillKind& kind, const QString& text,
        const QString& currencyName, const QString& currencyCode,
        const QString& target) const override;
    RuleMessage finishItem(
        BillSurface& s, const BillKind& kind, const QString& name) const override;
};

} // namespace pennock::core
