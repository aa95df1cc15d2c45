#include "bills/AcceptanceRules.h"

#include "bills/AmountDerivation.h"
#include "bills/BillKind.h"
#include "format/Capitals.h"

namespace pennock::core {

const QString AcceptanceRules::kDueDate = QStringLiteral("zdTimeOutDate");

namespace {
const QString kRmb = QStringLiteral("人民币");
const QString kAmountCaption = QStringLiteral("金额输入");

void emptyAmount(BillSurface& s, const BillRoles& r)
{
    for (const QString& name : QStringList { r.figures, r.capitals } + r.cells)
        if (!name.isEmpty())
            s.setText(name, {});
}
} // namespace

QString AcceptanceRules::committedInput(const QString& typed) const { return typed; }

RuleMessage AcceptanceRules::writeAmount(BillSurface& s, const BillKind& kind, const QString& text,
    const QString& currencyName, const QString& currencyCode, const QString&) const
{
    const BillRoles& r = kind.roles;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        emptyAmount(s, r);
        return {};
    }
    bool ok = false;
    const double number = trimmed.toDouble(&ok);
    if (!ok)
        return { QStringLiteral("金额只能为数值，例如：123.50  ！"), kAmountCaption };
    const Money value = Money::parse(trimmed).value_or(Money::fromDouble(number));
    if (!value.isWithin(1000000000))
        return { QStringLiteral("金额值必须介于0~1,000,000,000之间！"), kAmountCaption };
    s.setText(r.figures, FormatMoney(value, false));
    QString capitals = AmountToCapitals(value);
    if (currencyName != kRmb)
        capitals.prepend(currencyName);
    const std::array<QString, 11> cells
        = amountCells(currencyCode, value, s.isChecked(QStringLiteral("cfgNoPrtSheep")));
    for (qsizetype i = 0; i < r.cells.size() && i < qsizetype(cells.size()); ++i)
        s.setText(r.cells[i], cells[size_t(i)]);
    if (s.isChecked(QStringLiteral("cfgJEDXRMBChecked")) && !capitals.isEmpty()
        && !capitals.startsWith(kRmb))
        capitals.prepend(kRmb);
    s.setText(r.capitals, capitals);
    return {};
}

RuleMessage AcceptanceRules::finishItem(BillSurface& s, const BillKind&, const QString& name) const
{
    if (name.compare(kDueDate, Qt::CaseInsensitive) != 0)
        return {};
    const QString text = s.text(kDueDate).trimmed();
    if (text.isEmpty())
        return {};
    const std::optional<QString> due = dueDateInCapitals(text, s.billDate());
    if (!due)
        return { QStringLiteral("请输入正确的日期格式(如：2009.12.15 或 2009-12-15 ),"
                                "若是出票后的多少天，请输入如：+180 ."),
            QStringLiteral("提示") };
    s.setText(kDueDate, *due);
    return {};
}

} // namespace pennock::core
