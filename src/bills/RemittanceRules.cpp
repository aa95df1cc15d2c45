#include "bills/RemittanceRules.h"

#include "bills/BillKind.h"
#include "format/Capitals.h"

namespace pennock::core {

const QStringList& RemittanceRules::amounts()
{
    static const QStringList names
        = { QStringLiteral("XIANHJE"), QStringLiteral("GOUHJE"), QStringLiteral("QITAJE") };
    return names;
}

QString RemittanceRules::amountTarget(const BillKind&) const { return amounts().first(); }

RuleMessage RemittanceRules::writeAmount(BillSurface& s, const BillKind& kind, const QString& text,
    const QString& currencyName, const QString& currencyCode, const QString& target) const
{
    const BillRoles& r = kind.roles;
    const auto emptyTotals = [&] {
        s.setText(r.figures, {});
        s.setText(r.capitals, {});
    };
    const auto isAmount
        = [&target](const QString& name) { return name.compare(target, Qt::CaseInsensitive) == 0; };
    double total = 0;
    if (std::any_of(amounts().begin(), amounts().end(), isAmount)) {
        s.setText(target, text);
        for (const QString& name : amounts()) {
            const QString plain = NormalizeAmountText(s.text(name));
            if (plain.isEmpty()) {
                s.setText(name, {});
                continue;
            }
            const std::optional<double> value = ParseAmount(plain);
            if (!value) {
                emptyTotals();
                return { QStringLiteral("金额转换出错：") + s.text(name),
                    QStringLiteral("金额输入错误") };
            }
            s.setText(name, currencyCode + FormatMoney(*value, true));
            total += *value;
        }
    } else if (!text.trimmed().isEmpty()) {
        // Reopening shows the stored total; the three amounts are not stored.
        const std::optional<double> value = ParseAmount(NormalizeAmountText(text));
        if (!value) {
            emptyTotals();
            return { QStringLiteral("金额转换出错：") + text, QStringLiteral("金额输入错误") };
        }
        total = *value;
    }
    if (total >= 1000000000.0) {
        emptyTotals();
        return { QStringLiteral("金额值必须介于0~1,000,000,000之间！"),
            QStringLiteral("金额输入") };
    }
    if (total > 0) {
        s.setText(r.figures, currencyCode + FormatMoney(total, true));
        s.setText(r.capitals,
            currencyName
                + AmountToCapitals(FormatMoney(total, false)).value_or(QString()).trimmed());
    } else {
        emptyTotals();
    }
    return {};
}

} // namespace pennock::core
