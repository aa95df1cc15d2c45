#include "bills/CkspKind.h"

#include "bills/BillKind.h"
#include "format/Capitals.h"

#include <QHash>
#include <QMutex>
#include <QRegularExpression>

namespace pennock::core {

namespace {

using K = ControlKind;
using S = ColumnSource;
using R = OptionRule;
using E = OptionEffect;
using L = BillList::Source;

QString q(const char* text) { return QString::fromUtf8(text); }

const QString kPrompt = QStringLiteral("提示");
const QString kWithCode = QStringLiteral("cfgTotalJEWithSheep");
const QString kCapitalsWithName = QStringLiteral("cfgJEDXWithMoneyName");
const QString kRmbCapitalsWithRmb = QStringLiteral("cfgRMBJEDXWithRMB");
const QString kRmb = QStringLiteral("人民币");

bool is(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The line a control of the seven belongs to (1-7), 0 when it is not one of `prefix`.
int lineOf(const QString& name, const QString& prefix)
{
    if (name.size() != prefix.size() + 1 || !name.startsWith(prefix, Qt::CaseInsensitive))
        return 0;
    const int n = name.back().digitValue();
    return n >= 1 && n <= CkspRules::kLines ? n : 0;
}

QString lineName(const char* prefix, int line) { return q(prefix) + QString::number(line); }

QList<BillControl> controls()
{
    QList<BillControl> c = {
        { q("zdXiaoHComp"), K::Combo, q("销货单位全称"), 200 },
        { q("zdXiaoHAddr"), K::Edit, q("销货方地址") },
        { q("zdXiaoHPhone"), K::Edit, q("销货方电话") },
        { q("zdXiaoHAcct"), K::Edit, q("销货方账号") },
        { q("zdXiaoHBank"), K::Edit, q("销货方开户行") },
        { q("zdGouHComp"), K::Combo, q("购货单位全称"), 200 },
        { q("zdGouHAddr"), K::Edit, q("购货方地址") },
        { q("zdGouHPhone"), K::Edit, q("购货方电话") },
        { q("zdGouHAcct"), K::Edit, q("购货方账号") },
        { q("zdGouHBank"), K::Edit, q("购货方开户行") },
        { q("zdCheckDMNo"), K::Edit, q("发票代码") },
        { q("zdCheckNo"), K::Combo, q("单号或编号") },
        { q("zdHeTongNo"), K::Edit, q("合同号码") },
        { q("zdXYZNo"), K::Combo, q("信用证号") },
        { q("zdMaoYiFS"), K::Combo, q("贸易方式") },
        { q("zdShouHuiFS"), K::Combo, q("收汇方式") },
        { q("zdYunShuFS"), K::Combo, q("运输方式") },
        { q("zdQiYunPort"), K::Combo, q("启运港") },
        { q("zdZhuanYunPort"), K::Combo, q("转运港") },
        { q("zdMuDiPort"), K::Combo, q("目的港") },
        { q("KPRen"), K::Combo, q("开票人") },
    };
    for (int n = 1; n <= CkspRules::kLines; ++n)
        c.append({ { lineName("zdOrderNo", n), K::Edit, q("订单号码") },
            { lineName("zdSPMC", n), K::Combo, q("商品名称") },
            { lineName("zdDW", n), K::Combo, q("单位") },
            { CkspRules::quantity(n), K::Edit, q("数量") },
            { CkspRules::price(n), K::Edit, q("单价") },
            { CkspRules::sales(n), K::Edit, q("销售额(数量×单价，也可直接输入)") },
            { CkspRules::fob(n), K::Edit, q("离岸价(如：256.89 或 USD256.89)") } });
    c.append({
        { CkspRules::kCurrencyName, K::ReadOnlyEdit, q("外币名称") },
        { CkspRules::kRate, K::Edit, q("当期汇率(如: 100:680.23)") },
        { CkspRules::kForeignFigures, K::ReadOnlyEdit, q("外币小写") },
        { CkspRules::kForeignCapitals, K::ReadOnlyEdit, q("外币大写") },
        { CkspRules::kRmbFigures, K::ReadOnlyEdit, q("人民币小写") },
        { CkspRules::kRmbCapitals, K::ReadOnlyEdit, q("人民币大写") },
        { CkspRules::kFobForeign, K::ReadOnlyEdit, q("离岸价外币合计") },
        { CkspRules::kFobRmb, K::ReadOnlyEdit, q("离岸价人民币合计") },
        // Carries the currency's code from a currency change to the totals; never laid out.
        { CkspRules::kCurrencyCode, K::ReadOnlyEdit },
        { q("zdRemark"), K::Edit, q("备注") },
        { q("zdDef1"), K::Combo, q("自定义1") },
        { q("zdDef2"), K::Combo, q("自定义2") },
        { q("zdDef3"), K::Combo, q("自定义3") },
        { q("zdNian"), K::ReadOnlyEdit, q("年") },
        { q("zdYue"), K::ReadOnlyEdit, q("月") },
        { q("zdRi"), K::ReadOnlyEdit, q("日") },
        { q("zdNianYueRi"), K::ReadOnlyEdit, q("日期") },
        { q("SelDate"), K::DatePicker, q("选择日期") },
        { q("shpHKR"), K::Shape, q("选取销货方单位") },
        { q("shpSKR"), K::Shape, q("选取购货方单位") },
    });
    for (int i = 0; i <= 12; ++i)
        c.append({ QStringLiteral("DEFCHECK%1").arg(i), K::Check });
    return c;
}

QList<BillColumn> columns()
{
    const auto text = [](const char* column, const QString& control) {
        return BillColumn { q(column), S::Text, control };
    };
    const auto t
        = [&text](const char* column, const char* control) { return text(column, q(control)); };
    QList<BillColumn> c = { { q("模板种类"), S::Variant }, t("发票代码", "zdCheckDMNo"),
        // The history lists and registers numbers under both names; both are written.
        t("票据编号", "zdCheckNo"), t("发票编号", "zdCheckNo"), { q("出票日期"), S::Date },
        { q("购方单位"), S::Payee, q("zdGouHComp") }, t("购方地址", "zdGouHAddr"),
        t("购方电话", "zdGouHPhone"), t("购方账号", "zdGouHAcct"), t("购方开户行", "zdGouHBank"),
        { q("币种"), S::Currency }, text("金额合计", CkspRules::kForeignFigures),
        text("当期汇率", CkspRules::kRate), text("离岸价合计", CkspRules::kFobForeign),
        t("开票人", "KPRen"), t("合同号码", "zdHeTongNo"), t("贸易方式", "zdMaoYiFS"),
        t("收汇方式", "zdShouHuiFS"), t("信用证号", "zdXYZNo"), t("运输方式", "zdYunShuFS"),
        t("启运港", "zdQiYunPort"), t("转运港", "zdZhuanYunPort"), t("目的港", "zdMuDiPort"),
        t("销方单位", "zdXiaoHComp"), t("销方地址", "zdXiaoHAddr"), t("销方电话", "zdXiaoHPhone"),
        t("销方账号", "zdXiaoHAcct"), t("销方开户行", "zdXiaoHBank") };
    for (int n = 1; n <= CkspRules::kLines; ++n) {
        const QString k = QString::number(n);
        c.append({ { q("订单号码") + k, S::Text, lineName("zdOrderNo", n) },
            { q("商品名称") + k, S::Text, lineName("zdSPMC", n) },
            { q("单位") + k, S::Text, lineName("zdDW", n) },
            { q("数量") + k, S::Text, CkspRules::quantity(n) },
            { q("单价") + k, S::Text, CkspRules::price(n) },
            { q("销售额") + k, S::Text, CkspRules::sales(n) },
            { q("离岸价") + k, S::Text, CkspRules::fob(n) } });
    }
    c.append({ t("自定义1", "zdDef1"), t("自定义2", "zdDef2"), t("自定义3", "zdDef3"),
        t("备注", "zdRemark"), { q("勾选项"), S::ItemChecks }, { q("票据状态"), S::Status } });
    return c;
}

// Reopening reads the number from 发票编号 (a registered blank has only that one) and the
// currency last: its change writes the totals from everything read before.
QStringList loadOrder(const QList<BillColumn>& columns)
{
    QStringList order;
    for (const BillColumn& c : columns)
        if (c.column != u"票据编号" && c.source != S::Currency)
            order << c.column;
    order << q("币种");
    return order;
}

BillKind makeExportInvoice()
{
    BillKind k;
    k.kind = q("出口商品发票");
    k.formClass = q("TfmCheckCKSP");
    k.objectName = q("fmCheckCKSP");
    k.table = q("DataCKSPTable");
    k.menuCommand = q("m_new_CKSP");
    k.menuCaption = k.kind;
    k.popupCommand = q("nIVCKSP");
    k.popupGroup = q("发票");
    k.controls = controls();
    k.roles.year = q("zdNian");
    k.roles.month = q("zdYue");
    k.roles.day = q("zdRi");
    k.roles.dateText = q("zdNianYueRi");
    k.roles.datePicker = q("SelDate");
    k.roles.number = q("zdCheckNo");
    k.roles.remark = q("zdRemark");

    k.drawer.name = q("zdXiaoHComp");
    k.drawer.bank = q("zdXiaoHBank");
    k.drawer.account = q("zdXiaoHAcct");
    k.drawer.more = { { q("zdXiaoHAddr"), q("地址") }, { q("zdXiaoHPhone"), q("电话") } };
    k.drawer.partyType = q("我方单位");
    k.drawer.shape = q("shpHKR");
    k.drawer.pickerCaption = q("选取销货方单位");
    k.payee.name = q("zdGouHComp");
    k.payee.bank = q("zdGouHBank");
    k.payee.account = q("zdGouHAcct");
    k.payee.more = { { q("zdGouHAddr"), q("地址") }, { q("zdGouHPhone"), q("电话") } };
    k.payee.partyType = q("往来单位");
    k.payee.shape = q("shpSKR");
    k.payee.pickerCaption = q("选取购货方单位");
    for (PartySide* side : { &k.drawer, &k.payee }) {
        side->showOnChange = true; // a typed full name fills the side from its party
        side->showOnPick = true;
    }

    k.lists = { { q("zdXiaoHComp"), L::Companies, q("我方单位") },
        { q("zdGouHComp"), L::Companies, q("往来单位") },
        { q("KPRen"), L::Dictionary, q("开票人") },
        { q("zdZhuanYunPort"), L::Dictionary, q("转运港") },
        { q("zdQiYunPort"), L::Dictionary, q("启运港") },
        { q("zdMuDiPort"), L::Dictionary, q("目的港") },
        { q("zdYunShuFS"), L::Dictionary, q("运输方式") },
        { q("zdXYZNo"), L::Dictionary, q("信用证号") },
        { q("zdShouHuiFS"), L::Dictionary, q("收汇方式") },
        { q("zdMaoYiFS"), L::Dictionary, q("贸易方式") } };
    for (int n = 1; n <= CkspRules::kLines; ++n)
        k.lists.append({ { lineName("zdSPMC", n), L::Dictionary, q("商品名称") },
            { lineName("zdDW", n), L::Dictionary, q("计量单位") } });
    for (int n = 1; n <= 3; ++n)
        k.lists.append({ lineName("zdDef", n), L::Dictionary, lineName("自定义", n) });

    k.columns = columns();
    k.loadOrder = loadOrder(k.columns);

    k.options = {
        { kCapitalsWithName, q("大写前置币种"), {}, R::ZeroUnchecks, E::Amount, {}, true, true },
        { kRmbCapitalsWithRmb, q("大写带人民币"), {}, R::ZeroUnchecks, E::Amount, {}, true, true },
        { kWithCode, q("合计小写带币种"), {}, R::OneChecks, E::Amount, {}, true, true },
        { q("cfgDateFormat"), q("日期格式："), {}, R::Choice, E::Date, {}, true, true,
            { q("YYYY-MM-DD"), q("YYYY/MM/DD"), q("YYYY年MM月DD日"), q("YYYYMMDD hh:nn"),
                q("YYYY/MM/DD hh:nn") },
            q("YYYY年MM月DD日") },
    };
    k.currencyLabel = q("币种：");
    k.buttonCaptions = { { q("btSaveSKRen"), q("存购货方") } };
    k.registeredCopies = { { q("发票代码"), q("zdCheckDMNo") } };
    k.refusesVoided = true;
    k.askSaveWhenFilled = { q("zdGouHComp"), CkspRules::kForeignFigures };
    k.captions = {
        { CaptionMoment::Opened, q("%K(%V)-ID=%N") },
        { CaptionMoment::TemplateChanged, q("%K(%V)-ID=%N") },
        { CaptionMoment::Saved, q("%K-单号：%N") },
        { CaptionMoment::ReopenedNew, q("%K（流水号为：%N)") },
        { CaptionMoment::ReopenedHistoric, q("历史票据查看（流水号为：%N)") },
        { CaptionMoment::NewBill, q("新%K-ID=%N") },
        { CaptionMoment::Copied, q("%K-%V ID=%N") },
    };
    QStringList emptied = { q("zdGouHAddr"), q("zdGouHPhone"), q("zdGouHAcct"), q("zdGouHBank"),
        q("zdCheckNo"), q("zdHeTongNo"), q("zdXYZNo") };
    for (int n = 1; n <= CkspRules::kLines; ++n)
        emptied << lineName("zdOrderNo", n) << lineName("zdSPMC", n) << lineName("zdDW", n)
                << CkspRules::quantity(n) << CkspRules::price(n) << CkspRules::sales(n)
                << CkspRules::fob(n);
    k.newBill = { true, false, emptied }; // the amount: the totals follow the emptied lines
    k.messages.savedNew = q("【出口商品发票】填写保存成功！ ");
    k.messages.savedEdited = k.messages.savedNew;
    k.messages.voided = q("票据已经作废,保存失败！");
    k.messages.askSaveOnClose = q("是否保存该出口商品发票？");
    k.messages.chooseTemplate = q("请选择出口商品发票模板的类型!");
    k.messages.copyUnsaved = q("  未保存单据不需要复制！   ");
    k.messages.alreadySaved = q("已经保存过了！");
    k.rules = std::make_shared<const CkspRules>();
    return k;
}

const QRegularExpression& compiled(const QString& pattern)
{
    // The patterns are the rules' own few; each is compiled once.
    static QMutex mutex;
    static QHash<QString, QRegularExpression> cache;
    const QMutexLocker lock(&mutex);
    auto it = cache.find(pattern);
    if (it == cache.end())
        it = cache.insert(pattern, QRegularExpression(pattern));
    return *it;
}

} // namespace

const QString CkspRules::kRate = QStringLiteral("zdExchRate");
const QString CkspRules::kCurrencyName = QStringLiteral("zdWaiBiName");
const QString CkspRules::kCurrencyCode = QStringLiteral("zdWaiBiCode");
const QString CkspRules::kForeignFigures = QStringLiteral("zdWaiHJXX");
const QString CkspRules::kForeignCapitals = QStringLiteral("zdWaiHJDX");
const QString CkspRules::kRmbFigures = QStringLiteral("zdRmbHJXX");
const QString CkspRules::kRmbCapitals = QStringLiteral("zdRmbHJDX");
const QString CkspRules::kFobForeign = QStringLiteral("zdFobWaiHJXX");
const QString CkspRules::kFobRmb = QStringLiteral("zdFobRmbHJXX");

QString CkspRules::quantity(int line) { return lineName("zdAmount", line); }
QString CkspRules::price(int line) { return lineName("zdPrice", line); }
QString CkspRules::sales(int line) { return lineName("zdSum", line); }
QString CkspRules::fob(int line) { return lineName("zdD2Price", line); }

const BillKind& exportInvoiceKind()
{
    static const BillKind kind = makeExportInvoice();
    return kind;
}

QString lastPatternMatch(const QString& text, const QString& pattern)
{
    QString last;
    QRegularExpressionMatchIterator it = compiled(pattern).globalMatch(text);
    while (it.hasNext())
        last = it.next().captured(0);
    return last.trimmed();
}

namespace {

// The last run of an amount's figures, and whether a minus stands before it and its currency.
std::pair<QString, bool> amountRun(const QString& text)
{
    static const QRegularExpression run(QStringLiteral("[0-9,.]{1,16}"));
    static const QRegularExpression minusBefore(QStringLiteral("[-－−][\\s\\p{L}\\p{Sc}]*$"));
    QRegularExpressionMatch last;
    QRegularExpressionMatchIterator it = run.globalMatch(text);
    while (it.hasNext())
        last = it.next();
    if (!last.hasMatch())
        return {};
    const bool negative
        = minusBefore.match(QStringView(text).left(last.capturedStart())).hasMatch();
    return { last.captured(0).trimmed(), negative };
}

struct RateParts
{
    QString base;
    QString value;
    QString message;
};

RateParts rateParts(const QString& rate)
{
    QString text = rate.trimmed();
    text.replace(u'：', u':');
    if (text.isEmpty())
        return { {}, {}, q("没有输入汇率！") };
    // One digit each side is a rate too ("1:7.1", and "0:680" is refused as a zero base).
    QString found = lastPatternMatch(text, QStringLiteral("[0-9.]{1,8}:[0-9.,]{1,8}"));
    found.remove(u',');
    const qsizetype colon = found.indexOf(u':');
    const RateParts parts { found.left(colon), found.mid(colon + 1), {} };
    if (colon < 0 || !Decimal::parse(parts.base) || !Decimal::parse(parts.value))
        return { {}, {}, q("没有输入正确的汇率(如: 100:680.23等)！") };
    if (Decimal::parse(parts.base)->isZero())
        return { {}, {}, q("无效的外汇汇率！") };
    return parts;
}

} // namespace

std::optional<double> amountInText(const QString& text)
{
    const auto [run, negative] = amountRun(text);
    const std::optional<double> value = run.isEmpty() ? std::nullopt : ParseAmount(run);
    if (!value)
        return std::nullopt; // "," is dropped; a run of stops alone is no number
    return negative ? -*value : *value;
}

std::optional<Money> moneyInText(const QString& text)
{
    const auto [run, negative] = amountRun(text);
    const std::optional<Money> value = run.isEmpty() ? std::nullopt : Money::parse(run);
    if (!value || value->isHuge())
        return std::nullopt;
    return negative ? -*value : *value;
}

RateConversion convertAtRate(double amount, const QString& rate)
{
    const RateParts parts = rateParts(rate);
    if (!parts.message.isEmpty())
        return { 0, parts.message };
    const double base = ParseAmount(parts.base).value_or(0);
    const double value = ParseAmount(parts.value).value_or(0);
    return { amount * value / base, {} };
}

RateConversion convertAtRate(Money amount, const QString& rate)
{
    const RateParts parts = rateParts(rate);
    if (!parts.message.isEmpty())
        return { 0, parts.message };
    const Money converted
        = Money::atRate(amount, *Decimal::parse(parts.value), *Decimal::parse(parts.base))
              .value_or(Money());
    return { converted.toDouble(), {}, converted };
}

RuleMessage CkspRules::writeAmount(BillSurface& s, const BillKind&, const QString& text,
    const QString& currencyName, const QString& currencyCode, const QString&) const
{
    if (!text.trimmed().isEmpty())
        return { QStringLiteral("the amounts of 出口商品发票 come from its lines: give the "
                                "quantities and prices (zdAmount1=…, zdPrice1=…)"),
            kPrompt };
    s.setText(kCurrencyName, currencyName);
    s.setText(kCurrencyCode, currencyCode);
    return writeTotals(s);
}

RuleMessage CkspRules::saveRefusal(const BillSurface& s, const BillKind& kind) const
{
    if (s.text(kind.payee.name).trimmed().isEmpty())
        return { QStringLiteral("购货单位不能为空"), QStringLiteral("提示") };
    if (s.text(kForeignFigures).trimmed().isEmpty())
        return { QStringLiteral("购货及金额项目必须填写才能保存~"), QStringLiteral("提示") };
    const Sums sum = sums(s);
    if (!sum.badSales.isEmpty())
        return { q("不正确的金额(") + sum.badSales + q(")！"), kPrompt };
    if (!sum.badFob.isEmpty())
        return { q("请输入正确的离岸价(如：256.89 或 USD256.89)！"), kPrompt };
    // What the lines make now, beside what the bill shows.
    ShadowSurface now(s);
    writeTotals(now);
    for (const QString& total :
        { kForeignFigures, kForeignCapitals, kRmbFigures, kRmbCapitals, kFobForeign, kFobRmb })
        if (now.text(total) != s.text(total))
            return { totalsDisagreeMessage(), kPrompt };
    return {};
}

RuleMessage CkspRules::finishItem(BillSurface& s, const BillKind&, const QString& name) const
{
    int line = lineOf(name, QStringLiteral("zdAmount"));
    if (line == 0)
        line = lineOf(name, QStringLiteral("zdPrice"));
    if (line > 0) {
        const QString qty = s.text(quantity(line)).trimmed();
        const QString each = s.text(price(line)).trimmed();
        s.setText(sales(line), {});
        if (qty.isEmpty() && each.isEmpty())
            return writeTotals(s);
        // An empty quantity counts as one piece, an empty price as nothing.
        const std::optional<Decimal> count
            = qty.isEmpty() ? Decimal::parse(u"1") : Decimal::parse(qty);
        const std::optional<Decimal> unit
            = each.isEmpty() ? Decimal::parse(u"0") : Decimal::parse(each);
        if (!count || !unit) {
            writeTotals(s);
            return { q("非法的数量或单价(必须是英文半角的数字和.)！"), kPrompt };
        }
        // Rounded once, from the exact product, as the totals read it back.
        s.setText(sales(line), FormatMoney(Money::product(*count, *unit), true));
        return writeTotals(s);
    }
    if (is(name, kRate)) {
        QString rate = s.text(kRate);
        if (rate.contains(u'：'))
            s.setText(kRate, rate.replace(u'：', u':'));
        return writeTotals(s);
    }
    if (lineOf(name, QStringLiteral("zdSum")) > 0 || lineOf(name, QStringLiteral("zdD2Price")) > 0
        || is(name, kForeignCapitals) || is(name, kRmbCapitals))
        return writeTotals(s);
    return {};
}

CkspRules::Sums CkspRules::sums(const BillSurface& s)
{
    Sums out;
    const auto add = [&s](QString (*control)(int), Money& total) -> QString {
        for (int n = 1; n <= kLines; ++n) {
            const QString text = s.text(control(n)).trimmed();
            if (text.isEmpty())
                continue;
            const std::optional<Money> amount = moneyInText(text);
            if (!amount)
                return text;
            total += *amount;
        }
        return {};
    };
    out.badSales = add(&CkspRules::sales, out.sales);
    out.badFob = add(&CkspRules::fob, out.fob);
    return out;
}

RuleMessage CkspRules::writeTotals(BillSurface& s) const
{
    // Both sums first: a line that is no amount leaves its totals as they were.
    const Sums sum = sums(s);
    RuleMessage problem;
    if (!sum.badSales.isEmpty())
        problem = { q("不正确的金额(") + sum.badSales + q(")！"), kPrompt };

    const QString code = s.text(kCurrencyCode);
    const QString name = s.text(kCurrencyName);
    const QString rate = s.text(kRate);
    // Nothing to convert says nothing of the rate.
    const RateConversion salesRmb
        = !sum.sales.isZero() ? convertAtRate(sum.sales, rate) : RateConversion {};
    const RateConversion fobRmb
        = !sum.fob.isZero() ? convertAtRate(sum.fob, rate) : RateConversion {};
    if (sum.badSales.isEmpty()) {
        const bool withCode = s.isChecked(kWithCode);
        const bool none = sum.sales.isZero();
        s.setText(kForeignFigures,
            none ? QString() : (withCode ? code : QString()) + FormatMoney(sum.sales, true));
        s.setText(kForeignCapitals,
            none ? QString()
                 : (s.isChecked(kCapitalsWithName) ? name : QString())
                    + AmountToCapitals(sum.sales));
        const bool noRmb = none || salesRmb.refused();
        s.setText(kRmbFigures,
            noRmb ? QString()
                  : (withCode ? QStringLiteral("RMB") : QString())
                    + FormatMoney(salesRmb.money, true));
        s.setText(kRmbCapitals,
            noRmb ? QString()
                  : (s.isChecked(kRmbCapitalsWithRmb) ? kRmb : QString())
                    + AmountToCapitals(salesRmb.money));
        if (salesRmb.refused())
            problem = { salesRmb.message, kPrompt };
    }
    if (sum.badFob.isEmpty()) {
        s.setText(kFobForeign, sum.fob.isZero() ? QString() : code + FormatMoney(sum.fob, true));
        s.setText(kFobRmb,
            sum.fob.isZero() || fobRmb.refused()
                ? QString()
                : QStringLiteral("RMB") + FormatMoney(fobRmb.money, true));
        if (fobRmb.refused() && !problem.refused())
            problem = { fobRmb.message, kPrompt };
    } else if (!problem.refused()) {
        problem = { q("请输入正确的离岸价(如：256.89 或 USD256.89)！"), kPrompt };
    }
    return problem;
}

} // namespace pennock::core
