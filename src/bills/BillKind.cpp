#include "bills/BillKind.h"

namespace pennock::core {

namespace {

QList<BillControl> chequeControls()
{
    using K = ControlKind;
    QList<BillControl> c = {
        { QStringLiteral("zdNian"), K::Edit, QStringLiteral("大写年") },
        { QStringLiteral("zdYue"), K::Edit, QStringLiteral("大写月") },
        { QStringLiteral("zdRi"), K::Edit, QStringLiteral("大写日") },
        { QStringLiteral("zdNianYueRi"), K::ReadOnlyEdit, {} },
        { QStringLiteral("SelDate"), K::DatePicker, QStringLiteral("点击选择日期") },
        { QStringLiteral("cgNian"), K::Edit, QStringLiteral("存根年") },
        { QStringLiteral("cgYue"), K::Edit, QStringLiteral("存根月") },
        { QStringLiteral("cgRi"), K::Edit, QStringLiteral("存根日") },
        { QStringLiteral("zdOutComp"), K::SortedCombo,
            QStringLiteral("出票单位全称，支持助记码输入"), 200 },
        { QStringLiteral("zdOutBankAcct"), K::Combo, QStringLiteral("出票开户号账号"), 200, true },
        { QStringLiteral("zdOutBank"), K::Edit, QStringLiteral("出票开户行名称"), 40, true },
        { QStringLiteral("zdInComp"), K::Combo, QStringLiteral("收款单位全称,支持助记码输入"),
            200 },
        { QStringLiteral("cgInComp"), K::ReadOnlyEdit, {} },
        { QStringLiteral("zdYT"), K::Combo, {} },
        { QStringLiteral("cgYT"), K::Edit, {} },
        { QStringLiteral("zdJEDX"), K::ReadOnlyEdit, QStringLiteral("点击输入金额"), 0, false,
            false },
        { QStringLiteral("zdJEXX"), K::ReadOnlyEdit, {}, 0, false, false },
        { QStringLiteral("cgJEXX"), K::ReadOnlyEdit, {} },
    };
    for (const QString& cell : amountCellNames())
        c.append({ cell, K::ReadOnlyEdit, {}, 0, false, false });
    c.append({ QStringLiteral("inputJEXX"), K::AmountInput,
        QStringLiteral("金额大写(只需输入小写,回车自动转换大写),") });
    c.append({ QStringLiteral("zdZFMM"), K::Edit, QStringLiteral("支付密码"), 40 });
    c.append({ QStringLiteral("zdPJBH"), K::Combo, {}, 0, true });
    c.append({ QStringLiteral("zdRemark"), K::Memo, QStringLiteral("备注说明"), 0, true });
    c.append({ QStringLiteral("zdDef1"), K::Combo, QStringLiteral("自定义1"), 0, true });
    c.append({ QStringLiteral("zdDef2"), K::Combo, QStringLiteral("自定义2"), 0, true });
    for (int i = 3; i <= 5; ++i)
        c.append({ QStringLiteral("zdDef%1").arg(i), K::Edit, {} });
    for (int i = 0; i <= 5; ++i)
        c.append({ QStringLiteral("DEFCHECK%1").arg(i), K::Check, {} });
    c.append({ QStringLiteral("shpHKR"), K::Shape, QStringLiteral("点击选取出票账户") });
    c.append({ QStringLiteral("shpskr"), K::Shape, QStringLiteral("点击选取收款单位") });
    return c;
}

QList<BillColumn> chequeColumns()
{
    using S = ColumnSource;
    QList<BillColumn> c = {
        { QStringLiteral("模板种类"), S::Variant },
        { QStringLiteral("其他选项"), S::ItemChecks },
        { QStringLiteral("票据编号"), S::Text, QStringLiteral("zdPJBH") },
        { QStringLiteral("票据状态"), S::Status },
        { QStringLiteral("备注"), S::Text, QStringLiteral("zdRemark") },
        { QStringLiteral("币种"), S::Currency },
        { QStringLiteral("金额"), S::Amount },
        { QStringLiteral("出票日期"), S::Date },
        { QStringLiteral("收款人全称"), S::Payee, QStringLiteral("zdInComp") },
        { QStringLiteral("出票人全称"), S::Text, QStringLiteral("zdOutComp") },
        { QStringLiteral("出票人账号"), S::Text, QStringLiteral("zdOutBankAcct") },
        { QStringLiteral("付款行名称"), S::Text, QStringLiteral("zdOutBank") },
        { QStringLiteral("支付密码"), S::Text, QStringLiteral("zdZFMM") },
        { QStringLiteral("用途"), S::Purpose, QStringLiteral("zdYT") },
    };
    for (int i = 1; i <= 5; ++i)
        c.append(
            { QStringLiteral("自定义%1").arg(i), S::Text, QStringLiteral("zdDef%1").arg(i), true });
    return c;
}

QList<BillOption> bankOptions()
{
    using R = OptionRule;
    using E = OptionEffect;
    QStringList dates = { QStringLiteral("zdNian"), QStringLiteral("zdYue"), QStringLiteral("zdRi"),
        QStringLiteral("SelDate"), QStringLiteral("cgNian"), QStringLiteral("cgYue"),
        QStringLiteral("cgRi") };
    QStringList figures = { QStringLiteral("zdJEXX") };
    figures << amountCellNames();
    return {
        { QStringLiteral("cfgPrintOutBankAcct"), QStringLiteral("打印出票账号"), {}, R::OneChecks,
            E::Date },
        { QStringLiteral("cfgPrintOutBank"), QStringLiteral("打印付款银行"), {}, R::OneChecks,
            E::Date },
        { QStringLiteral("cfgDateChinese"), QStringLiteral("大写正联日期"), {}, R::OneChecks,
            E::Date },
        { QStringLiteral("cfgJEDXRMBChecked"), QStringLiteral("大写含人民币"),
            QStringLiteral("当币种为人民币时，金额大写是否前置人民币"), R::OneChecks, E::Amount },
        { QStringLiteral("cfgJEDXWithMoneyName"), QStringLiteral("大写前置币种"),
            QStringLiteral("大写金额前附带币种名"), R::ZeroUnchecks, E::Amount },
        { QStringLiteral("cfgJEXXWithMoneyCode"), QStringLiteral("小写前置币种"),
            QStringLiteral("小写金额前附带币种缩写"), R::ZeroUnchecks, E::Amount },
        { QStringLiteral("cfgNoPrtDate"), QStringLiteral("不打印出票日期"), {}, R::NotRemembered,
            E::Hide, dates },
        { QStringLiteral("cfgNoPrtOutter"), QStringLiteral("不打印出票人"), {}, R::NotRemembered,
            E::Hide,
            { QStringLiteral("zdOutComp"), QStringLiteral("zdOutBank"),
                QStringLiteral("zdOutBankAcct") } },
        { QStringLiteral("cfgNoPrtSheep"), QStringLiteral("不打印限位符￥"), {}, R::NotRemembered,
            E::Amount },
        { QStringLiteral("cfgNoPrtJEXX"), QStringLiteral("不打印小写格"), {}, R::NotRemembered,
            E::Hide, figures },
        { QStringLiteral("cfgNoPrtJEDX"), QStringLiteral("不打印大写"), {}, R::NotRemembered,
            E::Hide, { QStringLiteral("zdJEDX") }, false },
    };
}

BillKind makeCheque()
{
    BillKind k;
    k.kind = QStringLiteral("支票");
    k.formClass = QStringLiteral("TfmCheckZP");
    k.objectName = QStringLiteral("fmCheckZP");
    k.table = QStringLiteral("DataZPTable");
    k.controls = chequeControls();
    k.columns = chequeColumns();
    k.loadOrder
        = { QStringLiteral("其他选项"), QStringLiteral("票据编号"), QStringLiteral("票据状态"),
              QStringLiteral("币种"), QStringLiteral("金额"), QStringLiteral("收款人全称"),
              QStringLiteral("用途"), QStringLiteral("支付密码"), QStringLiteral("出票人全称"),
              QStringLiteral("出票人账号"), QStringLiteral("付款行名称"), QStringLiteral("备注"),
              QStringLiteral("出票日期"), QStringLiteral("自定义1"), QStringLiteral("自定义2"),
              QStringLiteral("自定义3"), QStringLiteral("自定义4"), QStringLiteral("自定义5") };
    k.options = bankOptions();
    k.printSkips = { { QStringLiteral("ZDOUTBANK"), QStringLiteral("cfgPrintOutBank") },
        { QStringLiteral("ZDOUTBANKACCT"), QStringLiteral("cfgPrintOutBankAcct") } };
    k.registeredCopies = { { QStringLiteral("付款行名称"), QStringLiteral("zdOutBank") },
        { QStringLiteral("出票人账号"), QStringLiteral("zdOutBankAcct") } };
    k.payeePlaceholder = QStringLiteral("单击我或红圈选择收款人...:)");
    k.refusesVoided = true;
    k.repeatPrint = true;
    k.cellPitchDefault = 35;
    k.messages.savedNew = QStringLiteral("新支票保存成功！ ");
    k.messages.savedEdited
        = QStringLiteral("支票修改保存成功（要修改成新支票请先点击【复制】按钮）！ ");
    k.messages.voided = QStringLiteral("支票已经作废,保存失败！");
    k.messages.askSaveOnClose = QStringLiteral("是否保存该支票？");
    k.messages.chooseTemplate = QStringLiteral("请选择支票模板的类型!");
    return k;
}

} // namespace

const BillControl* BillKind::control(const QString& name) const
{
    for (const BillControl& c : controls)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

const BillOption* BillKind::option(const QString& name) const
{
    for (const BillOption& o : options)
        if (o.name.compare(name, Qt::CaseInsensitive) == 0)
            return &o;
    return nullptr;
}

const BillKind& chequeKind()
{
    static const BillKind kind = makeCheque();
    return kind;
}

const BillKind* findBillKind(const QString& kind)
{
    if (kind == chequeKind().kind)
        return &chequeKind();
    return nullptr;
}

QStringList billKindNames() { return { chequeKind().kind }; }

const QStringList& amountCellNames()
{
    static const QStringList names = { QStringLiteral("zdYY"), QStringLiteral("zdQW"),
        QStringLiteral("zdBW"), QStringLiteral("zdSW"), QStringLiteral("zdWY"),
        QStringLiteral("zdQY"), QStringLiteral("zdBY"), QStringLiteral("zdSY"),
        QStringLiteral("zdY"), QStringLiteral("zdJ"), QStringLiteral("zdF") };
    return names;
}

} // namespace pennock::core
