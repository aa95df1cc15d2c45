#include "bills/RemittanceRules.h"

#include "bills/BillKind.h"
#include "format/Capitals.h"
#include "format/Money.h"

namespace pennock::core {

namespace {
constexpr std::int64_t kLimitYuan = 1000000000;

bool isOneOf(const QStringList& names, const QString& name)
{
    return std::any_of(names.begin(), names.end(),
        [&name](const QString& n) { return n.compare(name, Qt::CaseInsensitive) == 0; });
}

void emptyTotals(BillSurface& s, const BillRoles& r)
{
    s.setText(r.figures, {});
    s.setText(r.capitals, {});
}

RuleMessage writeTotalOf(BillSurface& s, const BillRoles& r, Money total,
    const QString& currencyName, const QString& currencyCode)
{
    if (!total.isWithin(kLimitYuan)) {
        emptyTotals(s, r);
        return { QStringLiteral("金额值必须介于0~1,000,000,000之间！"),
            QStringLiteral("金额输入") };
    }
    if (total.isZero()) {
        emptyTotals(s, r);
        return {};
    }
    s.setText(r.figures, currencyCode + FormatMoney(total, true));
    s.setText(r.capitals, currencyName + AmountToCapitals(total));
    return {};
}
} // namespace

const QStringList& RemittanceRules::amounts()
{
    static const QStringList names
        = { QStringLiteral("XIANHJE"), QStringLiteral("GOUHJE"), QStringLiteral("QITAJE") };
    return names;
}

QString RemittanceRules::amountTarget(const BillKind&) const { return amounts().first(); }

bool RemittanceRules::anyAmount(const BillSurface& s)
{
    return std::any_of(amounts().begin(), amounts().end(),
        [&s](const QString& name) { return !NormalizeAmountText(s.text(name)).isEmpty(); });
}

RuleMessage RemittanceRules::writeTotal(
    BillSurface& s, const BillKind& kind, const QString& currencyName, const QString& currencyCode)
{
    const BillRoles& r = kind.roles;
    Money total;
    for (const QString& name : amounts()) {
        const QString plain = NormalizeAmountText(s.text(name));
        if (plain.isEmpty()) {
            s.setText(name, {});
            continue;
        }
        const std::optional<Money> value = Money::parse(plain);
        if (!value) {
            emptyTotals(s, r);
            return { QStringLiteral("金额转换出错：") + s.text(name),
                QStringLiteral("金额输入错误") };
        }
        s.setText(name, currencyCode + FormatMoney(*value, true));
        total += *value;
    }
    return writeTotalOf(s, r, total, currencyName, currencyCode);
}

RuleMessage RemittanceRules::writeAmount(BillSurface& s, const BillKind& kind, const QString& text,
    const QString& currencyName, const QString& currencyCode, const QString& target) const
{
    if (isOneOf(amounts(), target)) {
        s.setText(target, text);
        return writeTotal(s, kind, currencyName, currencyCode);
    }
    // Reopening shows the stored total when the three amounts did not come back with it.
    if (anyAmount(s))
        return writeTotal(s, kind, currencyName, currencyCode);
    Money total;
    if (!text.trimmed().isEmpty()) {
        const std::optional<Money> value = Money::parse(NormalizeAmountText(text));
        if (!value) {
            emptyTotals(s, kind.roles);
            return { QStringLiteral("金额转换出错：") + text, QStringLiteral("金额输入错误") };
        }
        total = *value;
    }
    return writeTotalOf(s, kind.roles, total, currencyName, currencyCode);
}

RuleMessage RemittanceRules::recommit(BillSurface& s, const BillKind& kind, const QString& text,
    const QString& currencyName, const QString& currencyCode, const QString& target) const
{
    if (anyAmount(s))
        return writeTotal(s, kind, currencyName, currencyCode);
    return writeAmount(s, kind, text, currencyName, currencyCode, target);
}

RuleMessage RemittanceRules::saveRefusal(const BillSurface& s, const BillKind& kind) const
{
    if (!anyAmount(s))
        return {};
    const auto [name, code] = s.currency();
    ShadowSurface now(s);
    if (const RuleMessage m = writeTotal(now, kind, name, code); m.refused())
        return m;
    for (const QString& total : { kind.roles.figures, kind.roles.capitals })
        if (now.text(total) != s.text(total))
            return { totalsDisagreeMessage(), QStringLiteral("提示") };
    return {};
}

} // namespace pennock::core
