#include "bills/ReceiptKinds.h"

#include "bills/AmountDerivation.h"
#include "bills/BillKind.h"
#include "format/Capitals.h"

#include <QTime>

namespace pennock::core {

namespace {

using K = ControlKind;
using S = ColumnSource;
using R = OptionRule;
using E = OptionEffect;
using L = BillList::Source;

QString q(const char* text) { return QString::fromUtf8(text); }
QString n(const char* prefix, int line)
{
    return QString::fromUtf8(prefix) + QString::number(line);
}

const QStringList kCells = { q("zdYY"), q("zdQW"), q("zdBW"), q("zdSW"), q("zdWY"), q("zdQY"),
    q("zdBY"), q("zdSY"), q("zdY"), q("zdJ"), q("zdF") };
const QStringList kCellHints = { q("亿元"), q("千万"), q("百万"), q("十万"), q("万元"), q("千元"),
    q("百元"), q("十元"), q("元"), q("角"), q("分") };
const QStringList kCapitalCells = { q("zddxYY"), q("zddxQW"), q("zddxBW"), q("zddxSW"), q("zddxWY"),
    q("zddxQY"), q("zddxBY"), q("zddxSY"), q("zddxY"), q("zddxJ"), q("zddxF") };
const QString kRmb = q("人民币");
const QString kTotalFigures = q("zdHJJEXX");
const QString kTotal = q("zdHJJE");
const QString kCapitals = q("zdJEDX");
const QString kInput = q("inputJEXX");
constexpr std::int64_t kLimitYuan = 1000000000;

struct Family
{
    const char* kind;
    const char* formClass;
    const char* table;
    const char* command;
    const char* popup;
    int lines;
    QStringList lineCells;
    bool counterfoil;
};

BillKind make(const Family& f)
{
    BillKind k;
    k.kind = q(f.kind);
    k.formClass = q(f.formClass);
    k.objectName = k.formClass.mid(1);
    k.table = q(f.table);
    k.menuCommand = q(f.command);
    k.menuCaption = k.kind;
    k.popupCommand = q(f.popup);
    k.popupGroup = q("发票");
    k.payeePlaceholder = q("单击我或红圈选择收款人...:)");
    auto rules = std::make_shared<const LineItemRules>(f.lines, f.lineCells, f.counterfoil);
    k.rules = rules;

    QList<BillControl>& c = k.controls;
    QStringList openers;
    for (int line = 1; line <= f.lines; ++line) {
        c.append({ n("zdSFNR", line), K::Combo, q("品名") });
        c.append({ n("zdHuoHao", line), K::Edit, q("货号") });
        c.append({ n("zdGuiGe", line), K::Edit, q("规格") });
        c.append({ n("zdDW", line), K::Combo, q("单位") });
        c.append({ n("zdSL", line), K::Edit, q("数量") });
        c.append({ n("zdDJ", line), K::Edit, q("单价") });
        c.append({ n("zdJEXX", line), K::ReadOnlyEdit, {}, 0, false });
        c.append({ n("zdJE", line), K::ReadOnlyEdit, q("点击输入金额"), 0, false });
        openers << n("zdJE", line);
        const QStringList lineCells = rules->rowCells(line);
        for (qsizetype i = 0; i < lineCells.size(); ++i)
            c.append({ lineCells[i], K::ReadOnlyEdit,
                kCellHints.value(kCellHints.size() - lineCells.size() + i), 0, false });
        k.lists.append({ n("zdSFNR", line), L::SharedDictionary, q("收费内容") });
        k.lists.append({ n("zdDW", line), L::SharedDictionary, q("计量单位") });
    }
    for (const QString& cell : rules->rowCells(f.lines + 1))
        c.append({ cell, K::ReadOnlyEdit, {}, 0, false });
    c.append({ { kTotalFigures, K::ReadOnlyEdit, {}, 0, false },
        { kTotal, K::ReadOnlyEdit, {}, 15, false } });
    for (const QString& cell : kCapitalCells)
        c.append({ cell, K::ReadOnlyEdit, {}, 0, false });
    c.append({ { kCapitals, K::ReadOnlyEdit, {}, 0, false },
        { kInput, K::AmountInput, q("金额大写(只需输入小写,回车自动转换大写),") },
        { q("zdGKMC"), K::Combo, q("顾客名称"), 200, true, SelectAll::OnDoubleClick },
        { q("zdGKShuiHao"), K::Edit, q("税号") }, { q("KPRen"), K::Combo, q("开票人") },
        { q("SKRen"), K::Combo, q("收款人") }, { q("zdFPDM"), K::Combo, q("票据代码") },
        { q("zdPJBH"), K::Combo, q("票据编号") }, { q("zdRemark"), K::Edit, q("备注") },
        { q("zdNian"), K::ReadOnlyEdit }, { q("zdYue"), K::ReadOnlyEdit },
        { q("zdRi"), K::ReadOnlyEdit }, { q("zdNianYueRi"), K::ReadOnlyEdit },
        { q("SelDate"), K::DatePicker, q("选择日期") } });
    if (f.counterfoil)
        c.append({ q("zdCodeAuto"), K::Edit, q("防伪码") });
    for (int i = 1; i <= 10; ++i)
        c.append({ n("zdDef", i), K::Edit, n("自定义", i) });
    if (f.counterfoil) {
        for (int line = 1; line <= f.lines; ++line) {
            c.append({ n("cgSFNR", line), K::ReadOnlyEdit });
            c.append({ n("cgJE", line), K::ReadOnlyEdit });
            k.twins.append({ n("zdSFNR", line), n("cgSFNR", line) });
            k.twins.append({ n("zdJE", line), n("cgJE", line) });
        }
        c.append({ { q("cgHJJE"), K::ReadOnlyEdit }, { q("cgGKMC"), K::ReadOnlyEdit },
            { q("cgNianYueRi"), K::ReadOnlyEdit }, { q("cgSKRen"), K::ReadOnlyEdit } });
        for (int i = 1; i <= 3; ++i) {
            c.append({ n("cgDef", i), K::ReadOnlyEdit });
            k.twins.append({ n("zdDef", i), n("cgDef", i) });
        }
        k.twins.append({ q("zdGKMC"), q("cgGKMC") });
        k.twins.append({ q("SKRen"), q("cgSKRen") });
        k.twins.append({ kTotal, q("cgHJJE") });
    }
    for (int i = 0; i <= 5; ++i)
        c.append({ QStringLiteral("DEFCHECK%1").arg(i), K::Check });
    c.append({ { q("shpSKR"), K::Shape, q("选取客户名称") },
        { q("shpHKR"), K::Shape, q("选取开票单位信息") } });

    k.roles.amountInput = kInput;
    k.roles.capitals = kCapitals;
    k.roles.figures = kTotal;
    k.roles.amountOpeners = openers;
    k.roles.cells = rules->rowCells(f.lines + 1); // the print pitch is that of the total's cells
    k.roles.year = q("zdNian");
    k.roles.month = q("zdYue");
    k.roles.day = q("zdRi");
    k.roles.dateText = q("zdNianYueRi");
    k.roles.datePicker = q("SelDate");
    k.roles.number = q("zdPJBH");
    k.roles.remark = q("zdRemark");
    k.payee.name = q("zdGKMC");
    k.payee.more = { { q("zdGKShuiHao"), q("识别号") } };
    k.payee.partyType = q("往来单位");
    k.payee.shape = q("shpSKR");
    k.payee.pickerCaption = q("选取客户名称");
    k.payee.showOnPick = true;
    PartySide own;
    own.partyType = q("我方单位");
    own.shape = q("shpHKR");
    own.pickerCaption = q("选取开票单位信息");
    k.moreSides.append(own);
    k.lists.append({ { q("zdGKMC"), L::Companies, q("往来单位") },
        { q("KPRen"), L::Dictionary, q("开票人") }, { q("SKRen"), L::Dictionary, q("收款人") } });

    k.columns = { { q("模板种类"), S::Variant }, { q("其他选项"), S::ItemChecks },
        { q("票据编号"), S::Text, q("zdPJBH") }, { q("票据状态"), S::Status },
        { q("币种"), S::Currency }, { q("合计金额"), S::Figures, kTotalFigures },
        { q("备注"), S::Text, q("zdRemark") }, { q("票据代码"), S::Text, q("zdFPDM") },
        { q("顾客名称"), S::Payee, q("zdGKMC") }, { q("顾客税号"), S::Text, q("zdGKShuiHao") },
        { q("开票人"), S::Text, q("KPRen") }, { q("收款人"), S::Text, q("SKRen") } };
    for (const auto& [column, control] : { std::pair { "收费内容", "zdSFNR" },
             std::pair { "货号", "zdHuoHao" }, std::pair { "规格", "zdGuiGe" },
             std::pair { "单位", "zdDW" }, std::pair { "数量", "zdSL" },
             std::pair { "单价", "zdDJ" }, std::pair { "金额", "zdJEXX" } })
        for (int line = 1; line <= f.lines; ++line)
            k.columns.append({ n(column, line), S::Text, n(control, line) });
    for (int i = 1; i <= 10; ++i)
        k.columns.append({ n("自定义", i), S::Text, n("zdDef", i), true });
    k.columns.append({ q("出票日期"), S::Date });
    // The lines first, so that the stored total meets the amounts it sums.
    for (const BillColumn& col : std::as_const(k.columns))
        if (col.source != S::Figures)
            k.loadOrder << col.column;
    k.loadOrder << q("合计金额");

    const QStringList dateHides
        = { q("zdNian"), q("zdYue"), q("zdRi"), q("zdNianYueRi"), q("cgNianYueRi"), q("SelDate") };
    k.options = {
        { q("cfgJEDXFormat"), q("大写格式："), {}, R::Choice, E::Amount, {}, true, true,
            { q("       00.00 十位发票"), q("      000.00 百位发票"), q("     0000.00 千位发票"),
                q("    00000.00 万位发票"), q("   000000.00 十万位发票"),
                q("  0000000.00 百万位发票"), q(" 00000000.00 千万位发票"),
                q("000000000.00 亿位发票") },
            q("     0000.00 千位发票") },
        { q("cfgDateFormat"), q("日期格式："), {}, R::Choice, E::Date, {}, true, true,
            { q("YYYY-MM-DD"), q("YYYY/MM/DD"), q("YYYY年MM月DD日"), q("YYYYMMDD hh:nn"),
                q("YYYY/MM/DD hh:nn") },
            q("YYYY年MM月DD日") },
        { q("cfgWantPrintRQ"), q("打日期"), {}, R::ZeroUnchecks, E::Show, dateHides, true, true },
        { q("cfgJEDXRMBChecked"), q("大写带\"人民币\""), {}, R::OneChecks, E::Amount, {}, true,
            true },
        { q("cfg2YearChar"), q("两位年"), {}, R::OneChecks, E::Date, {}, true, true },
        { q("cfgTotalJEWithSheep"), q("合计￥"), {}, R::ZeroUnchecks, E::Amount, {}, true, true },
        { q("cfgJENeedSheep"), q("小计￥"), {}, R::OneChecks, E::Amount, {}, true, true },
        { q("cfgHJJENeedQianFF"), q("合计千分符"), {}, R::ZeroUnchecks, E::Amount, {}, true, true },
        { q("cfgJEXXNeedQianFF"), q("小计千分符"), {}, R::OneChecks, E::Amount, {}, true, true },
        { q("cfgJEDXFormatNoStandard"), q("非标准大写"), {}, R::OneChecks, E::Amount, {}, true,
            true },
        { q("cfgJEDXYuan"), q("大写圆"), {}, R::OneChecks, E::Amount, {}, true, true },
        { q("cfgHJJEXXWithYuan"), q("总计小写带元"), {}, R::OneChecks, E::Amount, {}, true, true },
    };
    if (f.counterfoil)
        k.options.append({
            { q("cfgCodeSeeds"), q("防伪码构成："), {}, R::Choice, E::None, {}, true, true,
                { q("0123456789"), q("0123456789ABCDEF"), q("0123456789+-*/<>"),
                    q("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
                    q("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ+-*/<>") } },
            { q("cfgCodeLen"), q("防伪码位数:"), {}, R::Choice, E::None, {}, true, true,
                { q("20"), q("4"), q("6"), q("8"), q("10"), q("12"), q("16"), q("24"), q("32") } },
            { q("cfgAutoCodeBuild"), q("自动生成防伪码"), {}, R::ZeroUnchecks, E::None, {}, true,
                true },
        });
    k.currencyLabel = q("币种：");
    k.refusesVoided = true;
    k.cellPitchDefault = 36;
    k.captions = { { CaptionMoment::TemplateChanged, q("%K(%V)-ID=%N") },
        { CaptionMoment::Saved, q("%K(%V)-ID=%N") },
        { CaptionMoment::ReopenedNew, q("%K（流水号为：%N)") },
        { CaptionMoment::ReopenedHistoric, q("历史票据查看（流水号为：%N)") },
        { CaptionMoment::NewBill, q("新单据-ID=%N") },
        { CaptionMoment::Copied, q("%K(%V)-ID=%N[已复制保存过的单据为一张新单]") } };
    k.newBill.amount = true;
    k.newBill.purpose = false;
    for (int line = 1; line <= f.lines; ++line)
        for (const char* prefix :
            { "zdSFNR", "zdHuoHao", "zdGuiGe", "zdDW", "zdSL", "zdDJ", "zdJE", "zdJEXX" })
            k.newBill.controls << n(prefix, line);
    k.newBill.controls << kCapitals << kTotal << kTotalFigures;
    k.messages.savedNew = q("新") + k.kind + q("保存成功！ ");
    k.messages.savedEdited
        = k.kind + q("修改保存成功（要修改成新") + k.kind + q("请先点击【复制】按钮）！ ");
    k.messages.voided = q("票据已经作废,保存失败！");
    k.messages.askSaveOnClose = q("是否保存该") + k.kind + q("？");
    k.messages.chooseTemplate = q("请选择") + k.kind + q("模板的类型!");
    k.messages.alreadySaved = q("已经保存过了！");
    return k;
}

} // namespace

const BillKind& receiptKind()
{
    static const BillKind kind = make({ "普通发票收据", "TfmCheckReceipts", "DataCheckReceipt",
        "m_new_Receipts", "nIVReceipt", 5, kCells, true });
    return kind;
}

const BillKind& freightKind()
{
    static const BillKind kind = make({ "国际货运发票", "TfmCheckIVIntel", "DataCheckIntel",
        "m_new_IVIntel", "nIVIntel", 6,
        { q("zdYY"), q("zdQW"), q("zdSW"), q("zdWY"), q("zdQY"), q("zdSY"), q("zdY"), q("zdJ") },
        false });
    return kind;
}

QString nonStandardCapitals(const QStringList& cells)
{
    static const QStringList units = { q("亿"), q("仟"), q("佰"), q("拾"), q("万"), q("仟"),
        q("佰"), q("拾"), q("元"), q("角"), q("分") };
    QString out;
    bool taking = false;
    for (qsizetype i = 0; i < cells.size() && i < units.size(); ++i) {
        const QString digit = cells[i].trimmed();
        if (!taking && (digit.isEmpty() || digit == u"零"))
            continue;
        taking = true;
        out += digit + units[i];
    }
    return out;
}

LineItemRules::LineItemRules(int lines, QStringList lineCells, bool counterfoil)
    : mLines(lines)
    , mLineCells(std::move(lineCells))
    , mCounterfoil(counterfoil)
{
}

QStringList LineItemRules::rowCells(int row) const
{
    QStringList out;
    for (const QString& cell : row > mLines ? kCells : mLineCells)
        out << cell + QString::number(row);
    return out;
}

int LineItemRules::lineOf(const QString& name, const QString& prefix) const
{
    if (!name.startsWith(prefix, Qt::CaseInsensitive))
        return 0;
    bool ok = false;
    const int line = name.mid(prefix.size()).toInt(&ok);
    return ok && line >= 1 && line <= mLines ? line : 0;
}

void LineItemRules::writeDate(BillSurface& s, const BillKind&) const
{
    const QDate date = s.billDate();
    s.setText(q("zdNian"),
        s.isChecked(q("cfg2YearChar"))
            ? QStringLiteral("%1").arg(date.year() - 2000, 2, 10, QLatin1Char('0'))
            : date.toString(QStringLiteral("yyyy")));
    s.setText(q("zdYue"), date.toString(QStringLiteral("MM")));
    s.setText(q("zdRi"), date.toString(QStringLiteral("dd")));
    const QString text = formatBillDate(date, s.optionText(q("cfgDateFormat")));
    s.setText(q("zdNianYueRi"), text);
    if (mCounterfoil)
        s.setText(q("cgNianYueRi"), text);
}

QString LineItemRules::committedInput(const QString& typed) const { return typed.trimmed(); }

RuleMessage LineItemRules::recommit(BillSurface& s, const BillKind& kind, const QString&,
    const QString& currencyName, const QString& currencyCode, const QString&) const
{
    return writeAmount(s, kind, {}, currencyName, currencyCode, {});
}

QString LineItemRules::amountTarget(const BillKind& kind) const
{
    return kind.roles.amountOpeners.value(0);
}

void LineItemRules::writeCells(BillSurface& s, int row, Money value, const QString& code) const
{
    const std::array<QString, 11> digits = amountCells(code, value, false);
    // A row of fewer cells holds the lowest units, its last cell the 分: the cells count from
    // the right whatever their names say.
    const QStringList cells = rowCells(row);
    const qsizetype first = qsizetype(digits.size()) - cells.size();
    for (qsizetype i = 0; i < cells.size(); ++i)
        s.setText(cells[i], first + i >= 0 ? digits[size_t(first + i)] : QString());
}

std::optional<Money> LineItemRules::lineAmount(const BillSurface& s, int line) const
{
    const QString text = s.text(n("zdJEXX", line)).trimmed();
    if (text.isEmpty())
        return Money();
    const std::optional<Money> value = Money::parse(text);
    if (!value || !value->isWithin(kLimitYuan))
        return std::nullopt;
    return value;
}

std::optional<Money> LineItemRules::linesTotal(const BillSurface& s) const
{
    Money sum;
    for (int l = 1; l <= mLines; ++l) {
        const std::optional<Money> amount = lineAmount(s, l);
        if (!amount)
            return std::nullopt;
        sum += *amount;
    }
    return sum;
}

bool LineItemRules::hasLineAmounts(const BillSurface& s) const
{
    for (int l = 1; l <= mLines; ++l)
        if (!s.text(n("zdJEXX", l)).trimmed().isEmpty())
            return true;
    return false;
}

RuleMessage LineItemRules::commitLine(BillSurface& s, int line, const QString& code) const
{
    const QString input = n("zdJEXX", line);
    const QString box = n("zdJE", line);
    const bool typed = !s.text(input).trimmed().isEmpty();
    const std::optional<Money> value = lineAmount(s, line);
    if (!value) {
        s.setText(input, {});
        s.setText(box, {});
        writeCells(s, line, Money(), code);
        return { q("错误,非法的数值或溢出！"), q("金额输入") };
    }
    QString shown;
    if (typed) {
        shown = FormatMoney(*value, s.isChecked(q("cfgJEXXNeedQianFF")));
        if (s.isChecked(q("cfgJENeedSheep")))
            shown.prepend(code);
        // The line keeps the amount it shows, in fen, so that its total is the sum of them.
        s.setText(input, value->plainText());
    }
    // A line of nothing and without a name shows nothing.
    if (value->isZero() && s.text(n("zdSFNR", line)).trimmed().isEmpty())
        shown.clear();
    s.setText(box, shown);
    writeCells(s, line, *value, code);
    return {};
}

void LineItemRules::emptyTotal(BillSurface& s, const QString& code) const
{
    s.setText(kInput, {});
    s.setText(kCapitals, {});
    s.setText(kTotalFigures, {});
    s.setText(kTotal, {});
    writeCells(s, mLines + 1, Money(), code);
    for (const QString& cell : kCapitalCells)
        s.setText(cell, {});
    if (mCounterfoil)
        s.setText(q("cgHJJE"), {});
}

RuleMessage LineItemRules::writeTotal(
    BillSurface& s, const QString& text, const QString& currencyName, const QString& code) const
{
    const QString typed = NormalizeAmountText(text.trimmed());
    const std::optional<Money> parsed = typed.isEmpty() ? Money() : Money::parse(typed);
    if (!parsed)
        return { q("金额只能为数值，例如：123.50"), q("金额输入") };
    return writeTotal(s, *parsed, currencyName, code);
}

RuleMessage LineItemRules::writeTotal(
    BillSurface& s, Money value, const QString& currencyName, const QString& code) const
{
    if (!value.isWithin(kLimitYuan))
        return { q("金额值必须介于0~1,000,000,000之间！"), q("金额输入") };
    if (value.isZero()) {
        emptyTotal(s, code);
        s.setText(kTotalFigures, q("0.00"));
        return {};
    }
    s.setText(kTotalFigures, value.plainText());
    QString shown = FormatMoney(value, true);
    if (s.isChecked(q("cfgTotalJEWithSheep")))
        shown.prepend(code);
    if (!s.isChecked(q("cfgHJJENeedQianFF")))
        shown.remove(QLatin1Char(','));
    if (s.isChecked(q("cfgHJJEXXWithYuan")))
        shown += q("元");
    s.setText(kTotal, shown);
    writeCells(s, mLines + 1, value, code);
    const QString digits
        = AmountToDigitCapitals(value.plainText(), 9, q(".00")).value_or(QString());
    const bool fits = digits.size() == kCapitalCells.size();
    QStringList capitalDigits;
    for (qsizetype i = 0; i < kCapitalCells.size(); ++i) {
        const QString digit = fits ? digits.mid(i, 1) : QString();
        s.setText(kCapitalCells[i], digit);
        capitalDigits << digit;
    }
    QString words = s.isChecked(q("cfgJEDXFormatNoStandard")) ? nonStandardCapitals(capitalDigits)
                                                              : AmountToCapitals(value);
    if (currencyName != kRmb || s.isChecked(q("cfgJEDXRMBChecked")))
        words.prepend(currencyName);
    if (s.isChecked(q("cfgJEDXYuan")))
        words.replace(q("元"), q("圆"));
    s.setText(kCapitals, words);
    if (mCounterfoil)
        s.setText(q("cgHJJE"), shown);
    return {};
}

RuleMessage LineItemRules::writeAmount(BillSurface& s, const BillKind&, const QString& text,
    const QString& currencyName, const QString& currencyCode, const QString& target) const
{
    const QString name = currencyName.isEmpty() ? kRmb : currencyName;
    int line = lineOf(target, q("zdJEXX"));
    if (!line)
        line = lineOf(target, q("zdJE"));
    RuleMessage refused;
    if (line) {
        s.setText(n("zdJEXX", line), text);
        refused = commitLine(s, line, currencyCode);
    } else if (!target.isEmpty()) {
        return writeTotal(s, text, name, currencyCode);
    } else {
        for (int l = 1; l <= mLines; ++l)
            if (const RuleMessage m = commitLine(s, l, currencyCode); !refused.refused())
                refused = m;
    }
    // The total is the sum of the lines, also after a refused line has emptied itself; a bill
    // without line amounts keeps a typed total.
    if (hasLineAmounts(s) || line) {
        const Money sum = linesTotal(s).value_or(Money());
        const RuleMessage m = writeTotal(s, sum, name, currencyCode);
        // A total the lines cannot have is not left standing beside them.
        if (m.refused())
            emptyTotal(s, currencyCode);
        return refused.refused() ? refused : m;
    }
    if (refused.refused()) {
        writeTotal(s, Money(), name, currencyCode);
        return refused;
    }
    return writeTotal(s, text.isEmpty() ? s.text(kTotalFigures) : text, name, currencyCode);
}

RuleMessage LineItemRules::finishItem(
    BillSurface& s, const BillKind& kind, const QString& name) const
{
    int line = lineOf(name, q("zdSL"));
    if (!line)
        line = lineOf(name, q("zdDJ"));
    if (line) {
        const QString quantityBox = n("zdSL", line);
        const QString priceBox = n("zdDJ", line);
        const QString quantityText = s.text(quantityBox).trimmed();
        const QString priceText = s.text(priceBox).trimmed();
        const std::optional<Decimal> quantity
            = quantityText.isEmpty() ? Decimal::parse(u"1") : Decimal::parse(quantityText);
        const std::optional<Decimal> price
            = priceText.isEmpty() ? Decimal::parse(u"0") : Decimal::parse(priceText);
        if (!quantity || !price || quantityText.contains(QLatin1Char(','))
            || priceText.contains(QLatin1Char(','))) {
            s.setText(quantityBox, {});
            s.setText(priceBox, {});
            return { q("非法的数量或单价(必须是英文半角的数字和.)！"), q("提示") };
        }
        if (quantityText.isEmpty() && priceText.isEmpty())
            return {};
        const auto [currencyName, code] = s.currency();
        // Rounded once, from the exact product: 1 × 1.005 is 1.01.
        return writeAmount(s, kind, Money::product(*quantity, *price).plainText(), currencyName,
            code, n("zdJEXX", line));
    }
    if (name.compare(kTotalFigures, Qt::CaseInsensitive) == 0) {
        const auto [currencyName, code] = s.currency();
        return writeTotal(
            s, s.text(kTotalFigures), currencyName.isEmpty() ? kRmb : currencyName, code);
    }
    return {};
}

RuleMessage LineItemRules::saveRefusal(const BillSurface& s, const BillKind&) const
{
    const RuleMessage outOfRange { q("金额超过发票范围或者非法，拒绝保存~"), q("提示") };
    if (s.isShown(q("zddxY")) && s.text(q("zddxY")).isEmpty())
        return outOfRange;
    const std::optional<Money> total = Money::parse(NormalizeAmountText(s.text(kTotalFigures)));
    // The stored total is the sum of the stored lines, to the fen.
    if (hasLineAmounts(s)) {
        const std::optional<Money> lines = linesTotal(s);
        if (!lines || !lines->isWithin(kLimitYuan) || (total && *total != *lines))
            return outOfRange;
    }
    if (!total || total->isZero())
        return { q("金额为空,不能保存！"), q("提示") };
    return {};
}

} // namespace pennock::core
