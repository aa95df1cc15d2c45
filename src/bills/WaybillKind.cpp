#include "bills/WaybillKind.h"

#include "bills/BillKind.h"
#include "format/Capitals.h"

#include <QRegularExpression>

namespace pennock::core {

namespace {

using K = ControlKind;
using S = ColumnSource;
using R = OptionRule;
using E = OptionEffect;
using L = BillList::Source;

QString q(const char* text) { return QString::fromUtf8(text); }

const QString kPrintFigures = q("打印小写金额");
const QString kTraditional = q("打印中国传统大写金额");

// The ten boxes of a side that a party fills, and the party column each shows.
QList<std::pair<QString, QString>> sideBoxes(bool sender)
{
    if (sender)
        return { { q("zdHKRLXR"), q("联系人") }, { q("zdHKRS"), q("省") },
            { q("zdHKRXS"), q("市") }, { q("edtFJRTown"), q("镇区") }, { q("zdHkrDZ"), q("地址") },
            { q("zdhkrDH"), q("电话") }, { q("hkrHandset"), q("手机") },
            { q("edtCountryFrom"), q("国家") }, { q("zdHKRYB"), q("邮编") } };
    return { { q("zdSKRLXR"), q("联系人") }, { q("zdSKRS"), q("省") }, { q("zdSKRXS"), q("市") },
        { q("edtSJRTown"), q("镇区") }, { q("zdSkrDZ"), q("地址") }, { q("zdskrDH"), q("电话") },
        { q("skrHandset"), q("手机") }, { q("edtCountryDest"), q("国家") },
        { q("zdSKRYB"), q("邮编") } };
}

QList<BillControl> controls()
{
    QList<BillControl> c = {
        { q("zdHKR"), K::Combo, {}, 80 },
        { q("zdHKRLXR"), K::Edit, q("寄方联系人") },
        { q("zdHkrDZ"), K::Memo, q("寄方地址") },
        { q("edtCountryFrom"), K::Edit, q("寄方所在国家") },
        { q("zdHKRS"), K::Edit, q("寄方所在省") },
        { q("zdHKRXS"), K::Edit, q("寄方所在县/市") },
        { q("edtFJRTown"), K::Edit, q("发件人镇/区") },
        { q("zdhkrDH"), K::Edit, q("寄方联系电话") },
        { q("hkrHandset"), K::Edit, q("寄件方手机") },
        { q("zdHKRYB"), K::Edit, q("寄方邮编") },
        { q("cbFromSite"), K::Combo, q("请在字典管理中修改始发站为您所在地区") },
        { q("zdSign"), K::Combo, q("寄件人签名-可在字典管理中修改预选项，设计模式中设置默认值"),
            50 },
        { q("zdSKR"), K::Combo, {}, 80 },
        { q("zdSKRLXR"), K::Edit, q("收方联系人") },
        { q("zdSkrDZ"), K::Memo, q("收件方地址") },
        { q("edtCountryDest"), K::Edit, q("收方所在国家") },
        { q("zdSKRS"), K::Edit, q("收方所在省") },
        { q("zdSKRXS"), K::Edit, q("收方所在县/市") },
        { q("edtSJRTown"), K::Edit, q("收件人镇/区") },
        { q("zdskrDH"), K::Edit, q("收方联系电话") },
        { q("skrHandset"), K::Edit, q("收方手机") },
        { q("zdSKRYB"), K::Edit, q("收方邮编") },
        { q("cbDestSite"), K::Combo, q("目的站") },
        { q("SelDate"), K::DatePicker },
        { q("zdNian"), K::Edit, q("寄出年") },
        { q("zdYue"), K::Edit, q("寄出月") },
        { q("zdRi"), K::Edit, q("寄出日") },
        { q("zdTime"), K::Edit, q("寄出时") },
        { q("zdWPNR"), K::Memo, q("物品内容(鼠标双击下拉选择)") },
        { .name = q("edtAmount"),
            .kind = K::Combo,
            .hint = q("可在设计模式中设置默认值，或者字典管理中设置下拉预选项"),
            .completes = false },
        { q("edtWeight"), K::Edit, q("重量") },
        { q("edtMoney"), K::Edit, q("总费用") },
        { q("zdPJBH"), K::Edit, q("速递单号") },
        { q("zdUserCode"), K::Combo, {}, 50 },
        { q("zdBz"), K::Memo, q("备注说明(鼠标双击下拉选择)") },
        { q("zdYunFee"), K::Edit, q("运费") },
        { q("zdBaoZFee"), K::Edit, q("包装费") },
        { q("zdJiaJiFee"), K::Edit, q("加急费") },
        { q("zdSongHFee"), K::Edit, q("送货费") },
        { q("zdShouxuFee"), K::Edit, q("手续费") },
        { q("zdQiTaFee"), K::Edit, q("其他费") },
        { q("zdBJJE"), K::Edit, q("保价金额") },
        { q("zdBJFee"), K::Edit, q("保价费") },
        { q("zdDaisJE"), K::Edit, q("代收金额") },
        { q("zdTiJi"), K::Edit, q("体积") },
        { WaybillRules::kCapitals, K::Edit,
            q("金额大写(只需输入小写),如启用大写，请在设计模式里设定其等宽打印参数") },
        { q("zdDef1"), K::Combo, q("自定义1") },
        { q("zdDef2"), K::Combo, q("自定义2") },
        { q("zdDef3"), K::Edit },
        { q("zdDef4"), K::Edit },
        { q("zdDef5"), K::Edit },
        { q("zdJFKHBM"), K::Edit, q("寄方客户编号") },
        { q("zdSFKHBM"), K::Edit, q("收方客户编号") },
        { q("zdTxt1"), K::Edit, q("固定文字") },
        { q("zdTxt2"), K::Edit, q("固定文字") },
        { q("shpHKR"), K::Shape, q("点击选取寄件人") },
        { q("shpskr"), K::Shape, q("点击选取收件人") },
        // Pick lists laid over the box being edited; no template places them.
        { q("Cb_S"), K::Combo },
        { q("Cb_XS"), K::Combo },
        { q("cbCountry"), K::Combo },
        { q("cb_zdWPNR"), K::Combo, {}, 80 },
        { q("cbBZ"), K::Combo, {}, 200 },
    };
    for (int i = 0; i <= 12; ++i)
        c.append({ QStringLiteral("DEFCHECK%1").arg(i), K::Check });
    return c;
}

QStringList recipientBoxes()
{
    return { q("zdSKR"), q("zdSKRLXR"), q("zdSKRS"), q("zdSKRXS"), q("zdskrDH"), q("zdSKRYB"),
        q("zdSkrDZ"), q("edtSJRTown"), q("skrHandset"), q("edtCountryDest"), q("cbDestSite") };
}

QStringList senderBoxes()
{
    return { q("zdHKR"), q("zdHKRLXR"), q("zdHKRS"), q("zdHKRXS"), q("zdhkrDH"), q("zdHKRYB"),
        q("zdHkrDZ"), q("edtFJRTown"), q("hkrHandset"), q("edtCountryFrom"), q("cbFromSite"),
        q("zdSign") };
}

BillKind makeWaybill()
{
    BillKind k;
    k.kind = q("快递单");
    k.formClass = q("TfmCheckKDD");
    k.objectName = q("fmCheckKDD");
    k.table = q("DataKDDTable");
    k.menuCommand = q("m_new_kdd");
    k.menuCaption = q("填写快递单");
    k.popupCommand = q("nKDD");
    k.popupCaption = k.kind;
    k.payeePlaceholder = q("单击我或红圈选择收件人...:)");
    k.controls = controls();
    k.roles.datePicker = q("SelDate");
    k.roles.year = q("zdNian");
    k.roles.month = q("zdYue");
    k.roles.day = q("zdRi");
    k.roles.number = q("zdPJBH");
    k.roles.remark = q("zdBz");

    k.drawer.name = q("zdHKR");
    k.drawer.more = sideBoxes(true);
    k.drawer.partyType = q("我方单位");
    k.drawer.shape = q("shpHKR");
    k.drawer.pickerCaption = q("选择发件人资料");
    k.payee.name = q("zdSKR");
    k.payee.more = sideBoxes(false);
    k.payee.partyType = q("往来单位");
    k.payee.shape = q("shpskr");
    k.payee.pickerCaption = q("选择收件人资料");
    for (PartySide* side : { &k.drawer, &k.payee }) {
        side->enter = PartySide::Enter::FullNameThenMnemonic;
        side->showOnPick = true;
    }

    k.lists = {
        { q("zdHKR"), L::Companies, q("我方单位") },
        { q("zdSKR"), L::Companies, q("往来单位") },
        { q("Cb_S"), L::Provinces },
        { q("cbCountry"), L::SharedDictionary, q("国家") },
        { q("cb_zdWPNR"), L::AllDictionary, q("物品内容") },
        { q("cbBZ"), L::AllDictionary, q("备注") },
        { q("zdSign"), L::AllDictionary, q("发件人签名") },
        { q("cbFromSite"), L::AllDictionary, q("始发站") },
        { q("cbDestSite"), L::AllDictionary, q("目的站") },
        { q("zdUserCode"), L::AllDictionary, q("快递帐号") },
        { q("zdDef1"), L::Dictionary, q("自定义1") },
        { q("zdDef2"), L::Dictionary, q("自定义2") },
        { q("edtAmount"), L::Fixed, {},
            { q("1"), q("2"), q("3"), q("4"), q("5"), q("6"), q("7"), q("8"), q("9"), q("10"),
                q("20"), q("30"), q("50"), q("100") } },
    };

    const auto text = [](const char* column, const char* control) {
        return BillColumn { q(column), S::Text, q(control) };
    };
    k.columns = { text("寄件单位", "zdHKR"), text("寄件地址", "zdHkrDZ"),
        text("寄件国家", "edtCountryFrom"), text("始发站", "cbFromSite"), text("寄件省", "zdHKRS"),
        text("寄件市县", "zdHKRXS"), text("寄件镇区", "edtFJRTown"), text("寄件联系人", "zdHKRLXR"),
        text("寄件电话", "zdhkrDH"), text("寄方手机", "hkrHandset"), text("寄方邮编", "zdHKRYB"),
        { q("寄件日期"), S::Date }, text("寄件时间", "zdTime"),
        { q("收件单位"), S::Payee, q("zdSKR") }, text("收件地址", "zdSkrDZ"),
        text("目的站", "cbDestSite"), text("收件国家", "edtCountryDest"), text("收件省", "zdSKRS"),
        text("收件市县", "zdSKRXS"), text("收件联系人", "zdSKRLXR"), text("收件电话", "zdskrDH"),
        text("收方手机", "skrHandset"), text("收方邮编", "zdSKRYB"), text("收件镇区", "edtSJRTown"),
        text("物品内容", "zdWPNR"), text("件数", "edtAmount"), text("重量", "edtWeight"),
        text("总费用", "edtMoney"), { q("模板种类"), S::Variant }, text("快递帐号", "zdUserCode"),
        { q("其他选项"), S::ItemChecks }, text("快递单号", "zdPJBH"), text("备注", "zdBz"),
        text("加急费", "zdJiaJiFee"), text("手续费", "zdShouxuFee"), text("代收金额", "zdDaisJE"),
        text("包装费", "zdBaoZFee"), text("运费", "zdYunFee"), text("其他费", "zdQiTaFee"),
        text("体积", "zdTiJi"), text("送货费", "zdSongHFee"), text("金额大写1", "zdJEDX1"),
        text("保价金额", "zdBJJE"), text("保价费", "zdBJFee") };
    for (int i = 1; i <= 5; ++i)
        k.columns.append(
            { QStringLiteral("自定义%1").arg(i), S::Text, QStringLiteral("zdDef%1").arg(i) });
    for (const BillColumn& c : std::as_const(k.columns))
        k.loadOrder << c.column;

    k.options = {
        { q("cfgJEDXFormat"), q("金额大写1格式:"), {}, R::Choice, E::None, {}, true, true,
            waybillCapitalFormats(), kPrintFigures },
        { q("cfgWantPrintRQ"), q("打印日期"), {}, R::OneChecks, E::Show,
            { q("zdNian"), q("zdYue"), q("zdRi"), q("zdTime"), q("SelDate") }, true, true },
        { q("ckHandset2Phone"), q("合并手机到电话"), q("当手机不可填写时才有效！"), R::OneChecks },
        { q("ckPrintFJROnly"), q("仅打印发件人"),
            q("国家、省、市、地址、电话、联系人、签名、邮编、(始发站/目的站、快递帐号）"),
            R::NotRemembered, E::Hide, recipientBoxes() },
        { q("ckPrintSJROnly"), q("仅打印收件方"), q("隐藏发件人信息"), R::NotRemembered, E::Hide,
            senderBoxes() },
        { q("cfgDestSiteIsCity"), q("目的站=城市"), {}, R::OneChecks, E::None, {}, true, true },
    };
    k.currencyLabel.clear();
    k.rememberCaption = q("记住选项");
    k.buttonCaptions = { { q("btSaveSKRen"), q("存收件人") }, { q("btPrint1"), q("打印(&P)") } };
    k.repeatPrint = false;
    k.reopensHistoric = true;
    k.copyKeepsNumber = true;
    k.askSaveWhenFilled = { q("zdSKR"), q("zdSKRLXR") };
    k.maxCopies = 50;
    k.captions = {
        { CaptionMoment::TemplateChanged, q("%K(%V)-ID=%N") },
        { CaptionMoment::Saved, q("%K(%V)-ID=%N") },
        { CaptionMoment::ReopenedHistoric, q("历史快递单查看（流水号为：%N)") },
        { CaptionMoment::ReopenedNew, q("历史快递单查看（流水号为：%N)") },
        { CaptionMoment::NewBill, q("新%K-ID=%N") },
        { CaptionMoment::Copied, q("已复制保存过的单据为一张新单~") },
    };
    k.newBill = { false, false,
        { q("zdSKRS"), q("zdSKRXS"), q("zdskrDH"), q("zdSKRLXR"), q("zdSKRYB"), q("zdPJBH"),
            q("zdSkrDZ"), q("skrHandset"), q("edtSJRTown"), q("edtCountryDest"), q("cbDestSite"),
            q("edtWeight"), q("edtMoney"), q("edtAmount"), q("zdWPNR"), q("zdBz") } };
    k.messages.savedNew = q("新快递单保存成功！ ");
    k.messages.savedEdited = q("快递单修改保存成功（要修改成新快递单请先点击【复制】按钮）！ ");
    k.messages.askSaveOnClose = q("是否保存该快递单？");
    k.messages.closeCaption = q("关闭快递单");
    k.messages.chooseTemplate = q("请选择快递单的类型!");
    k.messages.copyUnsaved = q("未保存单据不需要复制即为一张新单！");
    k.messages.historicRefused = q("历史单据不能保存，请点击【复制】后,再保存为新单据！");
    k.messages.alreadySaved = q("已经保存过了！");
    k.rules = std::make_shared<const WaybillRules>();
    return k;
}

} // namespace

const QString WaybillRules::kCapitals = QStringLiteral("zdJEDX1");
const QString WaybillRules::kFormat = QStringLiteral("cfgJEDXFormat");

const BillKind& waybillKind()
{
    static const BillKind kind = makeWaybill();
    return kind;
}

const QStringList& waybillCapitalFormats()
{
    static const QStringList formats = { q("00000.00  限万位到分"), q("00000.0   限万位到角"),
        q("00000     限万位无小数"), q("0000.00   限千位到分"), q("0000.0    限千位到角"),
        q("0000      限千位无小数"), q("000.00    限百位到分"), q("000.0     限百位到角"),
        q("000       限百位无小数"), q("000000.00 限十万位到分"), q("000000.0  限十万位到角"),
        q("000000    限十万位无小数"), kPrintFigures, kTraditional };
    return formats;
}

std::optional<QString> waybillCapitals(const QString& figures, const QString& format)
{
    if (format.isEmpty() || format == kPrintFigures || figures.isEmpty())
        return figures;
    static const QRegularExpression number(QStringLiteral("^[0-9.]+$"));
    if (!number.match(figures).hasMatch())
        return std::nullopt;
    if (format == kTraditional)
        return AmountToCapitals(figures);
    // "00000.00  限万位到分": five integer cells, and the decimals the pattern shows.
    const QString pattern = format.trimmed();
    const qsizetype blank = pattern.indexOf(QLatin1Char(' '));
    const QString head = blank < 0 ? pattern : pattern.left(blank);
    const qsizetype point = head.indexOf(QLatin1Char('.'));
    if (point < 0)
        return AmountToDigitCapitals(figures, int(head.size()), QStringLiteral("0"));
    return AmountToDigitCapitals(figures, int(point), head.mid(point - 1));
}

RuleMessage WaybillRules::writeAmount(BillSurface&, const BillKind&, const QString&, const QString&,
    const QString&, const QString&) const
{
    return {};
}

RuleMessage WaybillRules::finishItem(BillSurface& s, const BillKind&, const QString& name) const
{
    if (name.compare(kCapitals, Qt::CaseInsensitive) != 0)
        return {};
    const std::optional<QString> shown = waybillCapitals(s.text(kCapitals), s.optionText(kFormat));
    if (!shown)
        return { QStringLiteral("请输入有效数字，例如：116.5。 不接受全角数字,请尽量用小键盘输入~"),
            QStringLiteral("提示") };
    s.setText(kCapitals, *shown);
    return {};
}

} // namespace pennock::core
