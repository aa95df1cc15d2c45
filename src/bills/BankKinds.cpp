#include "bills/BankKinds.h"

#include "bills/AcceptanceRules.h"
#include "bills/BillKind.h"
#include "bills/BillRules.h"
#include "bills/DepositSlipRules.h"
#include "bills/RemittanceRules.h"

namespace pennock::core {

namespace {

using K = ControlKind;
using S = ColumnSource;
using R = OptionRule;
using E = OptionEffect;
using L = BillList::Source;

const QString kOwn = QStringLiteral("我方单位");
const QString kOther = QStringLiteral("往来单位");
const QString kPlaceholder = QStringLiteral("单击我或红圈选择收款人...:)");

QString q(const char* text) { return QString::fromUtf8(text); }

QStringList cellsWith(const QString& prefix)
{
    QStringList out;
    for (const QString& cell : amountCellNames())
        out << prefix + cell.mid(2);
    return out;
}

QList<BillControl> dateControls(bool counterfoil, bool counterfoilReadOnly)
{
    QList<BillControl> c = {
        { q("zdNian"), K::Edit, q("大写年") },
        { q("zdYue"), K::Edit, q("大写月") },
        { q("zdRi"), K::Edit, q("大写日") },
        { q("zdNianYueRi"), K::ReadOnlyEdit },
        { q("SelDate"), K::DatePicker, q("点击选择日期") },
    };
    if (counterfoil) {
        const K k = counterfoilReadOnly ? K::ReadOnlyEdit : K::Edit;
        c.append({ { q("cgNian"), k, q("存根年") }, { q("cgYue"), k, q("存根月") },
            { q("cgRi"), k, q("存根日") } });
    }
    return c;
}

QList<BillControl> amountControls(bool counterfoilFigures, bool counterfoilCells)
{
    QList<BillControl> c = {
        { q("zdJEDX"), K::ReadOnlyEdit, q("点击输入金额"), 0, false },
        { q("zdJEXX"), K::ReadOnlyEdit, {}, 0, false },
    };
    if (counterfoilFigures)
        c.append({ q("cgJEXX"), K::ReadOnlyEdit });
    for (const QString& cell : amountCellNames())
        c.append({ cell, K::ReadOnlyEdit, {}, 0, false });
    if (counterfoilCells)
        for (const QString& cell : cellsWith(q("cg")))
            c.append({ cell, K::ReadOnlyEdit, {}, 0, false });
    c.append({ q("inputJEXX"), K::AmountInput, q("金额大写(只需输入小写,回车自动转换大写),") });
    return c;
}

QList<BillControl> drawerControls()
{
    return {
        { q("zdOutComp"), K::SortedCombo, q("出票单位全称，支持助记码输入"), 200, true,
            SelectAll::OnDoubleClick },
        { q("zdOutBankAcct"), K::Combo, q("出票开户号账号"), 200, true, SelectAll::OnDoubleClick },
        { q("zdOutBank"), K::Edit, q("出票开户行名称"), 40, true, SelectAll::OnDoubleClick },
    };
}

BillControl payeeControl()
{
    return { q("zdInComp"), K::Combo, q("收款单位全称,支持助记码输入"), 200, true,
        SelectAll::OnDoubleClick };
}

/// The payee's name, bank and account.
QList<BillControl> payeeBankControls()
{
    return { payeeControl(), { q("zdInBank"), K::Edit, q("收款人银行") },
        { q("zdInBankAcct"), K::Combo, {}, 200 } };
}

QList<BillControl> tailControls(bool numberList, bool userLists)
{
    QList<BillControl> c = {
        { q("zdPJBH"), numberList ? K::Combo : K::Edit, numberList ? QString() : q("票据编号") },
        { q("zdRemark"), K::Memo, q("备注说明") },
        { q("zdDef1"), userLists ? K::Combo : K::Edit, q("自定义1") },
        { q("zdDef2"), userLists ? K::Combo : K::Edit, q("自定义2") },
    };
    for (int i = 3; i <= 5; ++i)
        c.append({ QStringLiteral("zdDef%1").arg(i), K::Edit });
    for (int i = 0; i <= 5; ++i)
        c.append({ QStringLiteral("DEFCHECK%1").arg(i), K::Check });
    return c;
}

BillRoles bankRoles(bool counterfoilFigures, bool counterfoilDate)
{
    BillRoles r;
    r.amountInput = q("inputJEXX");
    r.capitals = q("zdJEDX");
    r.figures = q("zdJEXX");
    if (counterfoilFigures)
        r.figuresCounterfoil = q("cgJEXX");
    r.cells = amountCellNames();
    r.amountOpeners = { r.capitals, r.figures };
    r.year = q("zdNian");
    r.month = q("zdYue");
    r.day = q("zdRi");
    r.dateText = q("zdNianYueRi");
    r.datePicker = q("SelDate");
    if (counterfoilDate)
        r.counterfoilDate = { q("cgNian"), q("cgYue"), q("cgRi") };
    r.number = q("zdPJBH");
    r.remark = q("zdRemark");
    return r;
}

PartySide drawerSide()
{
    PartySide s;
    s.name = q("zdOutComp");
    s.bank = q("zdOutBank");
    s.account = q("zdOutBankAcct");
    s.partyType = kOwn;
    s.shape = q("shpHKR");
    s.pickerCaption = q("选取付款行");
    return s;
}

PartySide payeeSide(bool bankAndAccount)
{
    PartySide s;
    s.name = q("zdInComp");
    if (bankAndAccount) {
        s.bank = q("zdInBank");
        s.account = q("zdInBankAcct");
    }
    s.partyType = kOther;
    s.shape = q("shpskr");
    s.pickerCaption = q("选取收款人");
    return s;
}

QList<BillColumn> headColumns(bool status, const BillColumn& amount)
{
    QList<BillColumn> c = {
        { q("模板种类"), S::Variant },
        { q("其他选项"), S::ItemChecks },
        { q("票据编号"), S::Text, q("zdPJBH") },
    };
    if (status)
        c.append({ q("票据状态"), S::Status });
    c.append({ { q("备注"), S::Text, q("zdRemark") }, { q("币种"), S::Currency }, amount,
        { q("出票日期"), S::Date } });
    return c;
}

QList<BillColumn> userColumns()
{
    QList<BillColumn> c;
    for (int i = 1; i <= 5; ++i)
        c.append(
            { QStringLiteral("自定义%1").arg(i), S::Text, QStringLiteral("zdDef%1").arg(i), true });
    return c;
}

QStringList columnOrder(const QList<BillColumn>& columns)
{
    QStringList out;
    for (const BillColumn& c : columns)
        if (c.source != S::Variant)
            out << c.column;
    return out;
}

QStringList dateHides(bool counterfoil)
{
    QStringList h = { q("zdNian"), q("zdYue"), q("zdRi"), q("SelDate") };
    if (counterfoil)
        h << q("cgNian") << q("cgYue") << q("cgRi");
    return h;
}

QStringList figureHides() { return QStringList { q("zdJEXX") } + amountCellNames(); }

const QList<BillList>& companyLists()
{
    static const QList<BillList> lists
        = { { q("zdOutComp"), L::Companies, kOwn }, { q("zdInComp"), L::Companies, kOther } };
    return lists;
}

QList<BillList> userLists()
{
    return { { q("zdDef1"), L::Dictionary, q("自定义1") },
        { q("zdDef2"), L::Dictionary, q("自定义2") } };
}

/// The option bar of every bank bill but the cheque.
QList<BillOption> familyOptions(
    bool miniYear, bool prefixBoxes, bool dateCounterfoil, bool hidesDrawer, bool capitalsOptional)
{
    QList<BillOption> o = {
        { q("cfgDateChinese"), q("大写日期"), {}, R::OneChecks, E::Date, {}, true, true },
        { q("cfgJEDXRMBChecked"), q("大写带人民币"), {}, R::OneChecks, E::Amount, {}, true, true },
    };
    if (miniYear)
        o.append({ q("cfgMiniYear"), q("2位年"), {}, R::OneChecks, E::Date, {}, true, true });
    if (prefixBoxes)
        o.append({ { q("cfgJEDXWithMoneyName"), q("大写前置币种"), q("大写金额前附带币种名"),
                       R::ZeroUnchecks, E::Amount },
            { q("cfgJEXXWithMoneyCode"), q("小写前置币种"), q("小写金额前附带币种缩写"),
                R::ZeroUnchecks, E::Amount } });
    o.append({ q("cfgNoPrtDate"), q("不打印出票日期"), {}, R::NotRemembered, E::Hide,
        dateHides(dateCounterfoil) });
    o.append({ q("cfgNoPrtOutter"), q("不打印出票人"), {}, R::NotRemembered,
        hidesDrawer ? E::Hide : E::None,
        hidesDrawer ? QStringList { q("zdOutComp"), q("zdOutBank"), q("zdOutBankAcct") }
                    : QStringList {} });
    o.append({ { q("cfgNoPrtSheep"), q("不打印限位符￥"), {}, R::NotRemembered, E::Amount },
        { q("cfgNoPrtJEXX"), q("不打印小写格"), {}, R::NotRemembered, E::Hide, figureHides() },
        { q("cfgNoPrtJEDX"), q("不打印大写"), {}, R::NotRemembered, E::Hide, { q("zdJEDX") },
            capitalsOptional } });
    return o;
}

/// Messages and captions of the bank bills told with the kind's name.
void familyTexts(BillKind& k, bool exclamationWithoutBlank)
{
    const QString& n = k.kind;
    k.messages.savedEdited = n + q("修改保存成功（要修改成新") + n + q("请先点击【复制】按钮）！")
        + (exclamationWithoutBlank ? QString() : q(" "));
    k.messages.savedNew
        = q("新") + n + (exclamationWithoutBlank ? q("保存成功!") : q("保存成功！ "));
    k.messages.askSaveOnClose = q("是否保存该") + n + q("？");
    k.messages.chooseTemplate = q("请选择") + n + q("模板的类型!");
    k.messages.copyUnsaved = q("未保存单据不需要复制即为一张新单！");
    k.captions = {
        { CaptionMoment::TemplateChanged, q("%K（%V）-ID=%N") },
        { CaptionMoment::Saved, q("%K(%V)-ID=%N") },
        { CaptionMoment::ReopenedHistoric, q("历史票据查看（流水号为：%N)") },
        { CaptionMoment::ReopenedNew, q("%K（流水号为：%N)") },
        { CaptionMoment::NewBill, q("新%K-ID=-1") },
        { CaptionMoment::Copied, q("已复制保存过的单据为一张新单~") },
    };
    k.rememberCaption = q("记住选项");
}

/// The cheque's caption: kind, variant and serial, with a note for some moments.
QHash<CaptionMoment, QString> noteCaptions(const QHash<CaptionMoment, QString>& notes)
{
    QHash<CaptionMoment, QString> out;
    for (CaptionMoment m :
        { CaptionMoment::TemplateChanged, CaptionMoment::Saved, CaptionMoment::ReopenedHistoric,
            CaptionMoment::ReopenedNew, CaptionMoment::NewBill, CaptionMoment::Copied }) {
        const QString note = notes.value(m);
        out.insert(m, q("%K(%V)-ID=%N") + (note.isEmpty() ? QString() : q("[") + note + q("]")));
    }
    return out;
}

void common(BillKind& k, const char* kind, const char* formClass, const char* table)
{
    k.kind = q(kind);
    k.formClass = q(formClass);
    k.objectName = k.formClass.mid(1); // "TfmCheckZP" is the component "fmCheckZP"
    k.table = q(table);
    k.payeePlaceholder = kPlaceholder;
    static const auto shared = std::make_shared<const BillRules>();
    k.rules = shared;
}

BillKind makeCheque()
{
    BillKind k;
    common(k, "支票", "TfmCheckZP", "DataZPTable");
    k.menuCommand = q("m_new_zp");
    k.menuCaption = q("支票");
    k.shortcut = q("Ctrl+B");
    k.popupCommand = q("nZP");
    k.controls = dateControls(true, false) + drawerControls();
    k.controls.append({ payeeControl(), { q("cgInComp"), K::ReadOnlyEdit },
        { q("zdYT"), K::Combo, {}, 0, true, SelectAll::OnDoubleClick }, { q("cgYT"), K::Edit } });
    k.controls += amountControls(true, false);
    k.controls.append({ q("zdZFMM"), K::Edit, q("支付密码"), 40 });
    k.controls += tailControls(true, true);
    k.controls.append({ { q("shpHKR"), K::Shape, q("点击选取出票账户") },
        { q("shpskr"), K::Shape, q("点击选取收款单位") } });
    k.roles = bankRoles(true, true);
    k.roles.purpose = q("zdYT");
    k.drawer = drawerSide();
    k.drawer.bankOnLeave = true;
    k.payee = payeeSide(false);
    k.payee.enter = PartySide::Enter::Mnemonic;
    k.payee.showOnPick = true;
    k.twins = { { q("zdInComp"), q("cgInComp") }, { q("zdYT"), q("cgYT") } };
    k.lists = companyLists() + userLists();
    k.lists.append({ q("zdYT"), L::SharedDictionary, q("用途") });
    k.columns = headColumns(true, { q("金额"), S::Amount });
    k.columns.append({ { q("收款人全称"), S::Payee, q("zdInComp") },
        { q("出票人全称"), S::Text, q("zdOutComp") },
        { q("出票人账号"), S::Text, q("zdOutBankAcct") },
        { q("付款行名称"), S::Text, q("zdOutBank") }, { q("支付密码"), S::Text, q("zdZFMM") },
        { q("用途"), S::Text, q("zdYT") } });
    k.columns += userColumns();
    k.loadOrder = { q("其他选项"), q("票据编号"), q("票据状态"), q("币种"), q("金额"),
        q("收款人全称"), q("用途"), q("支付密码"), q("出票人全称"), q("出票人账号"),
        q("付款行名称"), q("备注"), q("出票日期"), q("自定义1"), q("自定义2"), q("自定义3"),
        q("自定义4"), q("自定义5") };
    k.options = {
        { q("cfgPrintOutBankAcct"), q("打印出票账号"), {}, R::OneChecks, E::Date, {}, true, true },
        { q("cfgPrintOutBank"), q("打印付款银行"), {}, R::OneChecks, E::Date, {}, true, true },
        { q("cfgDateChinese"), q("大写正联日期"), {}, R::OneChecks, E::Date, {}, true, true },
        { q("cfgJEDXRMBChecked"), q("大写含人民币"), q("当币种为人民币时，金额大写是否前置人民币"),
            R::OneChecks, E::Amount, {}, true, true },
        { q("cfgJEDXWithMoneyName"), q("大写前置币种"), q("大写金额前附带币种名"), R::ZeroUnchecks,
            E::Amount, {}, true, true },
        { q("cfgJEXXWithMoneyCode"), q("小写前置币种"), q("小写金额前附带币种缩写"),
            R::ZeroUnchecks, E::Amount, {}, true, true },
        { q("cfgNoPrtDate"), q("不打印出票日期"), {}, R::NotRemembered, E::Hide, dateHides(true) },
        { q("cfgNoPrtOutter"), q("不打印出票人"), {}, R::NotRemembered, E::Hide,
            { q("zdOutComp"), q("zdOutBank"), q("zdOutBankAcct") } },
        { q("cfgNoPrtSheep"), q("不打印限位符￥"), {}, R::NotRemembered, E::Amount },
        { q("cfgNoPrtJEXX"), q("不打印小写格"), {}, R::NotRemembered, E::Hide, figureHides() },
        { q("cfgNoPrtJEDX"), q("不打印大写"), {}, R::NotRemembered, E::Hide, { q("zdJEDX") },
            false },
    };
    k.printSkips = { { q("ZDOUTBANK"), q("cfgPrintOutBank") },
        { q("ZDOUTBANKACCT"), q("cfgPrintOutBankAcct") } };
    k.registeredCopies
        = { { q("付款行名称"), q("zdOutBank") }, { q("出票人账号"), q("zdOutBankAcct") } };
    k.refusesVoided = true;
    k.makesDepositSlip = true;
    k.cellPitchDefault = 35;
    k.captions = noteCaptions({ { CaptionMoment::ReopenedNew, q("新") },
        { CaptionMoment::ReopenedHistoric, q("历史") }, { CaptionMoment::NewBill, q("新建") },
        { CaptionMoment::Copied, q("已复制保存过的单据为一张新单") } });
    k.messages.savedNew = q("新支票保存成功！ ");
    k.messages.savedEdited = q("支票修改保存成功（要修改成新支票请先点击【复制】按钮）！ ");
    k.messages.voided = q("支票已经作废,保存失败！");
    k.messages.askSaveOnClose = q("是否保存该支票？");
    k.messages.chooseTemplate = q("请选择支票模板的类型!");
    return k;
}

BillKind makeDepositSlip()
{
    BillKind k;
    common(k, "进账单", "TfmCheckJZD", "DataJZDTable");
    k.menuCommand = q("m_new_jzd");
    k.menuCaption = q("进账单");
    k.shortcut = q("Ctrl+A");
    k.popupCommand = q("nJZD");
    k.controls = dateControls(true, true) + drawerControls();
    k.controls += payeeBankControls();
    k.controls.append({ { q("zdPJZL"), K::Combo },
        { .name = q("zdPJZS"), .kind = K::Combo, .completes = false }, { q("zdPJHM"), K::Edit } });
    for (const char* twin : { "cgOutComp", "cgOutBank", "cgOutBankAcct", "cgInComp", "cgInBank",
             "cgInBankAcct", "cgPJZL", "cgPJZS", "cgPJHM" })
        k.controls.append({ q(twin), K::ReadOnlyEdit });
    k.controls += amountControls(false, true);
    k.controls += tailControls(false, false);
    k.controls.append({ { q("shpHKR"), K::Shape, q("点击选取出票账户") },
        { q("shpskr"), K::Shape, q("点击选取收款单位") } });
    k.roles = bankRoles(false, true);
    k.roles.counterfoilCells = cellsWith(q("cg"));
    k.drawer = drawerSide();
    k.payee = payeeSide(true);
    for (PartySide* side : { &k.drawer, &k.payee }) {
        side->bankOnType = true;
        side->accountsOnLeave = true;
        side->bankByAccount = true;
    }
    for (const char* item : { "OutComp", "OutBank", "OutBankAcct", "InComp", "InBank", "InBankAcct",
             "PJZL", "PJZS", "PJHM" })
        k.twins.append({ q("zd") + q(item), q("cg") + q(item) });
    k.lists = companyLists();
    k.lists.append({ { q("zdPJZL"), L::SharedDictionary, q("票据种类") },
        { q("zdPJZS"), L::Fixed, {},
            { q("1"), q("2"), q("3"), q("4"), q("5"), q("6"), q("7"), q("8"), q("9") } } });
    k.columns = headColumns(false, { q("金额"), S::Figures, q("zdJEXX") });
    k.columns.append({ { q("收款人全称"), S::Payee, q("zdInComp") },
        { q("收款人开户行"), S::Text, q("zdInBank") },
        { q("收款人账号"), S::Text, q("zdInBankAcct") },
        { q("出票人全称"), S::Text, q("zdOutComp") },
        { q("出票人账号"), S::Text, q("zdOutBankAcct") },
        { q("付款行名称"), S::Text, q("zdOutBank") }, { q("票据张数"), S::Text, q("zdPJZS") },
        { q("票据种类"), S::Text, q("zdPJZL") }, { q("票据号码"), S::Text, q("zdPJHM") } });
    k.columns += userColumns();
    k.loadOrder = columnOrder(k.columns);
    k.options = familyOptions(true, false, true, true, false);
    k.options.append(
        { q("cfgChangeInOuter"), q("交换收款单位和出票单位"), {}, R::NotRemembered, E::SwapSides });
    k.newBill = { false, false, {} };
    familyTexts(k, false);
    static const auto rules = std::make_shared<const DepositSlipRules>();
    k.rules = rules;
    return k;
}

BillKind makeAcceptance()
{
    BillKind k;
    common(k, "承兑汇票", "TfmCheckCDHP", "DataCDHPTable");
    k.menuCommand = q("m_new_cdhp");
    k.menuCaption = q("承兑汇票");
    k.popupCommand = q("nCDHP");
    k.controls = dateControls(false, false) + drawerControls();
    k.controls += payeeBankControls();
    k.controls.append({ { q("zdCDXYBH"), K::Edit, {}, 0, true, SelectAll::OnClick },
        { AcceptanceRules::kDueDate, K::Edit, q("汇票到期日，输入yyyy.mm.dd回车自动转大写日期") },
        { q("zdOutBankNO"), K::Edit, q("出票银行行号") },
        { q("zdOutBankAddr"), K::Edit, q("出票银行地址") } });
    k.controls += amountControls(false, false);
    k.controls += tailControls(false, true);
    k.controls.append({ { q("shpHKR"), K::Shape, q("点击选取出票账户") },
        { q("shpskr"), K::Shape, q("点击选取收款单位") } });
    k.roles = bankRoles(false, false);
    k.drawer = drawerSide();
    k.drawer.showOnPick = true;
    k.payee = payeeSide(true);
    k.payee.enter = PartySide::Enter::FullNameThenMnemonic;
    k.lists = companyLists() + userLists();
    k.columns = headColumns(true, { q("金额"), S::Figures, q("zdJEXX") });
    k.columns.append({ { q("承兑协议号"), S::Text, q("zdCDXYBH") },
        { q("汇票到期日"), S::Text, AcceptanceRules::kDueDate },
        { q("收款人全称"), S::Payee, q("zdInComp") }, { q("收款人开户行"), S::Text, q("zdInBank") },
        { q("收款人账号"), S::Text, q("zdInBankAcct") },
        { q("出票人全称"), S::Text, q("zdOutComp") },
        { q("出票人账号"), S::Text, q("zdOutBankAcct") },
        { q("付款行名称"), S::Text, q("zdOutBank") },
        { q("付款行行号"), S::Text, q("zdOutBankNO") },
        { q("付款行地址"), S::Text, q("zdOutBankAddr") } });
    k.columns += userColumns();
    k.loadOrder = columnOrder(k.columns);
    k.options = familyOptions(false, true, false, true, true);
    k.repeatPrint = false;
    k.newBill = { false, false, {} };
    familyTexts(k, false);
    static const auto rules = std::make_shared<const AcceptanceRules>();
    k.rules = rules;
    return k;
}

BillKind makeTransfer(const char* kind, const char* formClass, const char* table, bool numberList)
{
    BillKind k;
    common(k, kind, formClass, table);
    k.controls = dateControls(true, false) + drawerControls();
    k.controls.append({ { q("zdOutProv"), K::Combo }, { q("zdOutCity"), K::Combo }, payeeControl(),
        { q("cgInComp"), K::ReadOnlyEdit }, { q("zdInBank"), K::Edit, q("收款人银行") },
        { q("zdInBankAcct"), K::Combo, {}, 200 }, { q("zdInProv"), K::Combo },
        { q("zdInCity"), K::Combo }, { q("zdYT"), K::Combo, {}, 0, true, SelectAll::OnDoubleClick },
        { q("cgYT"), K::Edit } });
    for (const char* twin : { "cgInProv", "cgInCity", "cgOutProv", "cgOutCity" })
        k.controls.append({ q(twin), K::ReadOnlyEdit });
    k.controls += amountControls(true, false);
    k.controls.append({ q("zdZFMM"), K::Edit, q("支付密码"), 40 });
    k.controls += tailControls(numberList, true);
    k.controls.append({ { q("shpHKR"), K::Shape, q("点击选取出票账户") },
        { q("shpskr"), K::Shape, q("点击选取收款单位") } });
    k.roles = bankRoles(true, true);
    k.roles.purpose = q("zdYT");
    k.drawer = drawerSide();
    k.payee = payeeSide(true);
    for (PartySide* side : { &k.drawer, &k.payee }) {
        side->showOnChange = true;
        side->accountsOnLeave = true;
        side->bankByAccount = true;
    }
    k.twins = { { q("zdInComp"), q("cgInComp") }, { q("zdYT"), q("cgYT") },
        { q("zdInProv"), q("cgInProv") }, { q("zdInCity"), q("cgInCity") },
        { q("zdOutProv"), q("cgOutProv") }, { q("zdOutCity"), q("cgOutCity") } };
    k.lists = companyLists() + userLists();
    k.lists.append({ { q("zdYT"), L::Dictionary, q("用途") }, { q("zdInProv"), L::Provinces },
        { q("zdOutProv"), L::Provinces }, { q("zdInCity"), L::Cities, q("zdInProv") },
        { q("zdOutCity"), L::Cities, q("zdOutProv") } });
    k.columns = headColumns(false, { q("金额"), S::Figures, q("zdJEXX") });
    k.columns.append({ { q("用途"), S::Text, q("zdYT") },
        { q("收款人全称"), S::Payee, q("zdInComp") }, { q("收款人开户行"), S::Text, q("zdInBank") },
        { q("收款人账号"), S::Text, q("zdInBankAcct") }, { q("收款人省"), S::Text, q("zdInProv") },
        { q("收款人市县"), S::Text, q("zdInCity") }, { q("出票人全称"), S::Text, q("zdOutComp") },
        { q("出票人账号"), S::Text, q("zdOutBankAcct") },
        { q("出票人开户行"), S::Text, q("zdOutBank") }, { q("出票人省"), S::Text, q("zdOutProv") },
        { q("出票人市县"), S::Text, q("zdOutCity") } });
    k.columns += userColumns();
    k.loadOrder = columnOrder(k.columns);
    k.options = familyOptions(true, true, true, true, true);
    k.makesDepositSlip = true;
    familyTexts(k, false);
    return k;
}

BillKind makeWireTransfer()
{
    BillKind k = makeTransfer("电汇单", "TfmCheckDHD", "DataDHDTable", true);
    k.menuCommand = q("m_new_dhd");
    k.menuCaption = q("电汇单-贷记业务凭证");
    k.shortcut = q("Ctrl+D");
    k.popupCommand = q("nDHD");
    k.opensBesideOthers = true;
    k.registeredCopies
        = { { q("出票人开户行"), q("zdOutBank") }, { q("出票人账号"), q("zdOutBankAcct") } };
    k.newBill = { false, false, {} };
    k.captions = noteCaptions(
        { { CaptionMoment::ReopenedNew, q("新开") }, { CaptionMoment::ReopenedHistoric, q("历史") },
            { CaptionMoment::Saved, q("已保存") }, { CaptionMoment::NewBill, q("新") },
            { CaptionMoment::Copied, q("已复制保存过的单据为一张新单") } });
    return k;
}

BillKind makeCustom()
{
    BillKind k = makeTransfer("定制单", "TfmCheckDef", "DataDEFTable", false);
    k.menuCommand = q("m_new_Def");
    k.menuCaption = q("定制单");
    k.popupCommand = q("nDef");
    k.newBill = { true, false, { q("zdInBank"), q("zdInBankAcct") } };
    return k;
}

BillKind makeCashDeposit()
{
    BillKind k;
    common(k, "缴款单", "TfmCheckJKD", "DataJKDTable");
    k.menuCommand = q("m_new_JKD");
    k.menuCaption = q("现金缴款单");
    k.popupCommand = q("nJKD");
    k.popupCaption = q("缴款单");
    k.opensBesideOthers = true;
    k.controls = dateControls(false, false);
    k.controls += payeeBankControls();
    k.controls.append({ { q("zdInContactor"), K::Combo },
        { q("zdYT"), K::Combo, {}, 0, true, SelectAll::OnDoubleClick },
        { q("zdMoney"), K::Edit, q("备注") } });
    k.controls += amountControls(false, false);
    k.controls += tailControls(false, true);
    k.controls.append({ q("shpskr"), K::Shape, q("点击选取收款单位") });
    k.roles = bankRoles(false, false);
    k.roles.purpose = q("zdYT");
    k.payee = payeeSide(true);
    k.payee.bankOnType = true;
    k.lists = { { q("zdInComp"), L::Companies, kOther }, { q("zdYT"), L::Dictionary, q("自定义1") },
        { q("zdDef1"), L::Dictionary, q("自定义1") }, { q("zdDef2"), L::Dictionary, q("自定义1") },
        { q("zdInContactor"), L::Dictionary, q("缴款人") } };
    k.columns = headColumns(false, { q("金额"), S::Figures, q("zdJEXX") });
    k.columns.append({ { q("用途"), S::Text, q("zdYT") },
        { q("收款人联系人"), S::Text, q("zdInContactor") },
        { q("收款人全称"), S::Payee, q("zdInComp") }, { q("收款人开户行"), S::Text, q("zdInBank") },
        { q("收款人账号"), S::Text, q("zdInBankAcct") } });
    k.columns += userColumns();
    k.loadOrder = columnOrder(k.columns);
    k.options = familyOptions(true, true, false, false, false);
    k.newBill = { true, true, {} };
    familyTexts(k, true);
    return k;
}

BillKind makeRemittance()
{
    BillKind k;
    common(k, "境外汇款申请书", "TfmCheckJWH", "DataJWHTable");
    k.menuCommand = q("m_new_JWH");
    k.menuCaption = q("境外汇款申请");
    k.popupCommand = q("nJWH");
    k.popupCaption = q("境外汇款申请书");
    k.payeePlaceholder.clear();
    k.controls = { { q("zdNianYueRi"), K::ReadOnlyEdit },
        { q("SelDate"), K::DatePicker, q("点击选择日期") } };
    k.controls.append({ { q("OuterComp"), K::SortedCombo, q("汇款人名称，支持助记码输入"), 200 },
        { q("InnerComp"), K::SortedCombo, q("收款人名称，支持助记码输入"), 200 } });
    for (const char* name : { "OUTERCOMPADDR", "OUTERPHONE", "ZZJGDM", "GRSFZH", "InnerAddr",
             "InnerBank", "InnerBankAddr", "InnerBankAcct", "INNERCOUNTRY", "INNERCOUNTRYCODE",
             "INNERAGENTBANK", "INNERAGENTBANKADDR", "INNERAGENTBANKACCT", "ZCZYRQ", "JYBM1",
             "JYJE1", "JYFY1", "JYBM2", "JYJE2", "JYFY2", "HTH", "FPH", "WHJPJH", "SQRXM" })
        k.controls.append({ q(name), K::Edit });
    for (const char* account : { "XianHACCT", "GouHACCT", "QitaACCT" }) {
        k.controls.append({ q(account), K::Combo });
        k.lists.append({ q(account), L::Dictionary, q("外汇账户") });
    }
    for (const QString& amount : RemittanceRules::amounts())
        k.controls.append({ amount, K::ReadOnlyEdit, q("点击输入金额"), 0, false });
    k.controls.append({ { q("TOTALJEXX"), K::ReadOnlyEdit, q("合计金额自动汇总无需输入") },
        { q("TOTALJEDX"), K::ReadOnlyEdit, q("合计金额自动汇总无需输入") }, { q("BGDNO"), K::Memo },
        { q("BGDJE"), K::Memo }, { q("BGDHZJE"), K::Memo },
        { q("HuiKRRemark"), K::Memo, q("备注说明") },
        { q("inputJEXX"), K::AmountInput, q("金额大写(只需输入小写,回车自动转换大写),") },
        { q("zdPJBH"), K::Edit, q("票据编号") } });
    for (int i = 1; i <= 5; ++i)
        k.controls.append({ QStringLiteral("zdDef%1").arg(i), K::Edit });
    for (int i = 0; i <= 5; ++i)
        k.controls.append({ QStringLiteral("DEFCHECK%1").arg(i), K::Check });
    k.controls.append({ { q("SelOutComp"), K::Shape, q("选择汇款人及地址") },
        { q("SelInComp"), K::Shape, q("选取收款人及银行账户") },
        { q("SelInAgentBank"), K::Shape, q("选取收款人代理行及账号") } });
    k.roles.amountInput = q("inputJEXX");
    k.roles.capitals = q("TOTALJEDX");
    k.roles.figures = q("TOTALJEXX");
    k.roles.amountOpeners = RemittanceRules::amounts();
    k.roles.dateText = q("zdNianYueRi");
    k.roles.datePicker = q("SelDate");
    k.roles.number = q("zdPJBH");
    k.roles.remark = q("HuiKRRemark");
    k.drawer.name = q("OuterComp");
    k.drawer.more = { { q("OUTERCOMPADDR"), q("地址") }, { q("OUTERPHONE"), q("电话") } };
    k.drawer.partyType = kOwn;
    k.drawer.shape = q("SelOutComp");
    k.drawer.pickerCaption = q("选择汇款人及地址");
    k.payee.name = q("InnerComp");
    k.payee.bank = q("InnerBank");
    k.payee.account = q("InnerBankAcct");
    k.payee.more = { { q("InnerBankAddr"), q("开户行地址") }, { q("InnerAddr"), q("地址") } };
    k.payee.partyType = kOther;
    k.payee.shape = q("SelInComp");
    k.payee.pickerCaption = q("选取收款人及银行账户");
    for (PartySide* side : { &k.drawer, &k.payee }) {
        side->enter = PartySide::Enter::FullNameThenMnemonic;
        side->showOnPick = true;
        k.lists.append({ side->name, L::Companies, side->partyType });
    }
    PartySide agent;
    agent.name = q("INNERAGENTBANK");
    agent.nameColumn = q("开户银行");
    agent.account = q("INNERAGENTBANKACCT");
    agent.more = { { q("INNERAGENTBANKADDR"), q("开户行地址") } };
    agent.partyType = kOther;
    agent.shape = q("SelInAgentBank");
    agent.pickerCaption = q("选取收款人代理行及账号");
    k.moreSides = { agent };
    k.columns = headColumns(false, { q("金额"), S::Figures, q("TOTALJEXX") });
    k.columns[3].control = q("HuiKRRemark");
    k.columns.append({ { q("收款人全称"), S::Text, q("InnerComp") },
        { q("收款人开户行"), S::Text, q("InnerBank") },
        { q("收款人账号"), S::Text, q("InnerBankAcct") },
        { q("出票人全称"), S::Text, q("OuterComp") } });
    k.columns += userColumns();
    k.loadOrder = columnOrder(k.columns);
    BillOption format { q("cfgDateFormat"), q("日期格式："), {}, R::Choice, E::Date, {}, true, true,
        { q("YYYY年MM月DD日"), q("YYYY-MM-DD"), q("YYYY/MM/DD"), q("YYYYMMDD hh:nn"),
            q("YYYY/MM/DD hh:nn") } };
    k.options = { format };
    k.currencyLabel = q("外币种:");
    k.newBill = { false, false, {} };
    familyTexts(k, true);
    k.messages.copyUnsaved = q("未保存单据不需要【复制】即为一张新单！");
    static const auto rules = std::make_shared<const RemittanceRules>();
    k.rules = rules;
    return k;
}

} // namespace

const QStringList& amountCellNames()
{
    static const QStringList names = { QStringLiteral("zdYY"), QStringLiteral("zdQW"),
        QStringLiteral("zdBW"), QStringLiteral("zdSW"), QStringLiteral("zdWY"),
        QStringLiteral("zdQY"), QStringLiteral("zdBY"), QStringLiteral("zdSY"),
        QStringLiteral("zdY"), QStringLiteral("zdJ"), QStringLiteral("zdF") };
    return names;
}

namespace {
// Each descriptor is made once, on first use.
template <BillKind (*make)()> const BillKind& once()
{
    static const BillKind kind = make();
    return kind;
}
} // namespace

const BillKind& chequeKind() { return once<makeCheque>(); }
const BillKind& depositSlipKind() { return once<makeDepositSlip>(); }
const BillKind& acceptanceKind() { return once<makeAcceptance>(); }
const BillKind& wireTransferKind() { return once<makeWireTransfer>(); }
const BillKind& cashDepositKind() { return once<makeCashDeposit>(); }
const BillKind& remittanceKind() { return once<makeRemittance>(); }
const BillKind& customKind() { return once<makeCustom>(); }

} // namespace pennock::core
