#include "bills/BillRules.h"

#include "bills/AmountDerivation.h"
#include "bills/BillKind.h"
#include "format/Capitals.h"

#include <QLocale>
#include <QTime>

namespace pennock::core {

namespace {
const QString kDateChinese = QStringLiteral("cfgDateChinese");
const QString kMiniYear = QStringLiteral("cfgMiniYear");
const QString kDateFormat = QStringLiteral("cfgDateFormat");
} // namespace

QString ShadowSurface::text(const QString& name) const
{
    const auto it = mWritten.constFind(name.toLower());
    return it != mWritten.constEnd() ? *it : mBase.text(name);
}

void ShadowSurface::setText(const QString& name, const QString& text)
{
    mWritten.insert(name.toLower(), text);
}

QString totalsDisagreeMessage() { return QStringLiteral("合计金额与明细金额不符，拒绝保存~"); }

void swapSides(BillSurface& s, const BillKind& kind)
{
    const auto read
        = [&s](const QString& name) { return name.isEmpty() ? QString() : s.text(name); };
    const auto write = [&s](const QString& name, const QString& text) {
        if (!name.isEmpty())
            s.setText(name, text);
    };
    const PartySide& d = kind.drawer;
    const PartySide& p = kind.payee;
    QString payeeName = read(p.name);
    if (payeeName == kind.payeePlaceholder)
        payeeName.clear();
    const QStringList drawer = { read(d.name), read(d.bank), read(d.account) };
    const QStringList payee = { payeeName, read(p.bank), read(p.account) };
    write(d.name, payee[0]);
    write(d.bank, payee[1]);
    write(d.account, payee[2]);
    write(p.name, drawer[0]);
    write(p.bank, drawer[1]);
    write(p.account, drawer[2]);
}

QString formatBillDate(const QDate& date, const QString& format)
{
    const QString f = format.trimmed();
    if (f == u"YYYY/MM/DD")
        return date.toString(QStringLiteral("yyyy/MM/dd"));
    if (f == u"YYYY年MM月DD日")
        return date.toString(QStringLiteral("yyyy年MM月dd日"));
    if (f == u"YYYYMMDD hh:nn" || f == u"YYYY/MM/DD hh:nn") {
        const QString day = date.toString(
            f.startsWith(u"YYYY/") ? QStringLiteral("yyyy/MM/dd") : QStringLiteral("yyyyMMdd"));
        return day + QLatin1Char(' ') + QTime::currentTime().toString(QStringLiteral("hh:mm"));
    }
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

std::optional<QString> dueDateInCapitals(const QString& typed, const QDate& billDate)
{
    QString text = typed.trimmed();
    if (text.contains(u'年'))
        return text;
    QDate due;
    if (text.contains(u'+')) {
        bool ok = false;
        const int days = text.remove(u'+').trimmed().toInt(&ok);
        if (ok)
            due = billDate.addDays(days);
    } else {
        text.replace(u'.', u'-').replace(u'/', u'-');
        due = QDate::fromString(text, QStringLiteral("yyyy-M-d"));
    }
    if (!due.isValid())
        return std::nullopt;
    return DateNumberToCapitals(due.toString(QStringLiteral("yyyy"))) + QStringLiteral("年")
        + DateNumberToCapitals(due.toString(QStringLiteral("MM"))) + QStringLiteral("月")
        + DateNumberToCapitals(due.toString(QStringLiteral("dd"))) + QStringLiteral("日");
}

void BillRules::writeDate(BillSurface& s, const BillKind& kind) const
{
    const BillRoles& r = kind.roles;
    const QDate date = s.billDate();
    const QString year = date.toString(QStringLiteral("yyyy"));
    const QString month = date.toString(QStringLiteral("MM"));
    const QString day = date.toString(QStringLiteral("dd"));
    const bool chinese = s.isChecked(kDateChinese);
    const QString shortYear = s.isChecked(kMiniYear) && !chinese ? year.mid(2, 2) : year;
    const auto write = [&s](const QString& name, const QString& text) {
        if (!name.isEmpty())
            s.setText(name, text);
    };
    write(r.year, chinese ? DateNumberToCapitals(year) : shortYear);
    write(r.month, chinese ? DateNumberToCapitals(month) : month);
    write(r.day, chinese ? DateNumberToCapitals(day) : day);
    const QStringList digits = { shortYear, month, day };
    for (qsizetype i = 0; i < r.counterfoilDate.size() && i < digits.size(); ++i)
        write(r.counterfoilDate[i], digits[i]);
    write(r.dateText,
        kind.option(kDateFormat) ? formatBillDate(date, s.optionText(kDateFormat))
                                 : date.toString(QStringLiteral("yyyy-MM-dd")));
}

QString BillRules::committedInput(const QString& typed) const { return NormalizeAmountText(typed); }

RuleMessage BillRules::saveRefusal(const BillSurface&, const BillKind&) const { return {}; }

RuleMessage BillRules::recommit(BillSurface& s, const BillKind& kind, const QString& text,
    const QString& currencyName, const QString& currencyCode, const QString& target) const
{
    return writeAmount(s, kind, text, currencyName, currencyCode, target);
}

RuleMessage writeBankAmount(BillSurface& s, const BillKind& kind, const QString& text,
    const QString& currencyName, const QString& currencyCode, bool figuresWithCode,
    bool capitalsWithName)
{
    AmountOptions o;
    o.figuresWithCode = figuresWithCode;
    o.capitalsWithName = capitalsWithName;
    o.capitalsKeepRmb = s.isChecked(QStringLiteral("cfgJEDXRMBChecked"));
    o.noSymbol = s.isChecked(QStringLiteral("cfgNoPrtSheep"));
    const AmountDerivation d = deriveAmount(text, currencyName, currencyCode, o);
    if (d.problem != AmountDerivation::Problem::None)
        return { d.message(), QStringLiteral("金额输入") };
    const BillRoles& r = kind.roles;
    const auto write = [&s](const QString& name, const QString& value) {
        if (!name.isEmpty())
            s.setText(name, value);
    };
    if (d.figures.isEmpty())
        write(r.amountInput, {});
    write(r.figures, d.figures);
    write(r.figuresCounterfoil, d.counterfoil);
    for (qsizetype i = 0; i < r.cells.size() && i < qsizetype(d.cells.size()); ++i)
        write(r.cells[i], d.cells[size_t(i)]);
    for (qsizetype i = 0; i < r.counterfoilCells.size() && i < qsizetype(d.cells.size()); ++i)
        write(r.counterfoilCells[i], d.cells[size_t(i)]);
    write(r.capitals, d.capitals);
    return {};
}

RuleMessage BillRules::writeAmount(BillSurface& s, const BillKind& kind, const QString& text,
    const QString& currencyName, const QString& currencyCode, const QString&) const
{
    return writeBankAmount(s, kind, text, currencyName, currencyCode,
        s.isChecked(QStringLiteral("cfgJEXXWithMoneyCode")),
        s.isChecked(QStringLiteral("cfgJEDXWithMoneyName")));
}

QString BillRules::amountTarget(const BillKind& kind) const { return kind.roles.amountInput; }

RuleMessage BillRules::finishItem(BillSurface&, const BillKind&, const QString&) const
{
    return {};
}

} // namespace pennock::core
