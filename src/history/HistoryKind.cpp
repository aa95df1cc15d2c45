#include "history/HistoryKind.h"

namespace pennock::core {

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

const QString kOwn = QStringLiteral("我方单位");
const QString kOther = QStringLiteral("往来单位");

HistoryFilter payee()
{
    return { q("payee"), q("收款单位："), { q("收款人全称") }, kOther, q("选择收款单位") };
}

HistoryFilter drawer(const char* label, const char* title)
{
    return { q("drawer"), q(label), { q("出票人全称") }, kOwn, q(title) };
}

HistoryKind member(const char* kind, const char* className, const char* caption, const char* table,
    const char* command, const char* menuCaption, const char* dblKey)
{
    HistoryKind h;
    h.kind = q(kind);
    h.className = q(className);
    h.caption = q(caption);
    h.table = q(table);
    h.menuCommand = q(command);
    h.menuCaption = q(menuCaption);
    h.doubleClickKey = q(dblKey);
    h.exportTitle = h.kind + q("历史开票");
    h.deleteWord = h.kind;
    return h;
}

QList<HistoryKind> makeKinds()
{
    QList<HistoryKind> kinds;

    HistoryKind zp = member("支票", "TfmSearch_ZP", "支票查询", "DataZPTable", "mZPSearch",
        "支票管理(&Z)", "ZPView_DBLOPEN");
    zp.filters
        = { { q("account"), q("出票帐号："), { q("出票人账号") }, kOwn, q("选择支票账户"), true },
              payee() };
    zp.order = HistoryOrder::Toggle;
    zp.errors = HistoryErrors::DatabaseBox;
    zp.voids = zp.renumbers = zp.allReruns = true;
    zp.registration = HistoryRegistration::Blanks;
    zp.registrationBank = q("付款行名称");
    zp.pickerTitle = q("选取支票账户");
    kinds << zp;

    HistoryKind jzd = member("进账单", "TfmSearch_JZD", "进账单查询", "DataJZDTable", "mJZDSearch",
        "进帐单管理(&J) ", "JZDView_DBLOPEN");
    jzd.filters = { drawer("出票单位：", "选择出票单位"), payee() };
    jzd.allReruns = true;
    kinds << jzd;

    HistoryKind dhd = member("电汇单", "TfmSearch_DHD", "电汇单查询", "DataDHDTable", "mDHDSearch",
        "电汇单管理(&D)", "DHDView_DBLOPEN");
    dhd.filters = { drawer("汇款/申请单位：", "选择汇款或申请单位"), payee() };
    dhd.voids = dhd.renumbers = true;
    dhd.registration = HistoryRegistration::Blanks;
    dhd.registrationBank = q("出票人开户行");
    dhd.pickerTitle = q("选取单位账户");
    kinds << dhd;

    HistoryKind cdhp = member("承兑汇票", "TfmSearch_CDHP", "承兑汇票查询", "DataCDHPTable",
        "mCDHPSearch", "承兑汇票管理", "CDHPView_DBLOPEN");
    cdhp.numberColumn = q("承兑协议号");
    cdhp.filters = { drawer("出票单位：", "选择付款单位"), payee() };
    cdhp.voids = true;
    kinds << cdhp;

    HistoryKind jwh = member("境外汇款申请书", "TfmSearch_JWH", "电汇单查询", "DataJWHTable",
        "mJWHSearch", "境外汇款申请书管理", "JWHView_DBLOPEN");
    jwh.filters = { drawer("汇款/申请单位：", "选择汇款或申请单位"), payee() };
    jwh.voids = true;
    kinds << jwh;

    HistoryKind jkd = member("缴款单", "TfmSearch_JKD", "现金缴款单查询", "DataJKDTable",
        "mJKDSearch", "现金缴款单管理", "JKDView_DBLOPEN");
    jkd.filters = { payee() };
    kinds << jkd;

    // The custom bill is listed as the cash deposit slip is: by payee, date and amount.
    HistoryKind def = member("定制单", "TfmSearch_Def", "定制单查询", "DataDEFTable", "mDefSearch",
        "定制单管理", "DefView_DBLOPEN");
    def.filters = { payee() };
    kinds << def;

    HistoryKind kdd = member("快递单", "TfmSearch_KDD", "快递单查询", "DataKDDTable", "mKDDSearch",
        "快递单管理", "KDDView_DBLOPEN");
    kdd.numberColumn = kdd.numberListColumn = q("快递单号");
    kdd.numberLabel = q("快递单号：");
    kdd.filters = { { q("sender"), q("寄件人或单位："), { q("寄件单位"), q("寄件联系人") }, kOther,
                        q("选择发件单位") },
        { q("recipient"), q("收件人或单位："), { q("收件单位"), q("收件联系人") }, kOwn,
            q("选择寄件单位") },
        { q("template"), q("模板种类："), { q("模板种类") } } };
    kdd.filters[2].list = HistoryFilter::List::OnOpen;
    kdd.filters[2].runsOnPick = true;
    kdd.lateEntries = true;
    kdd.dateColumn = q("寄件日期");
    kdd.amountColumn.clear();
    kdd.sumColumn = q("总费用");
    kdd.sumText = q("总费用汇总:￥");
    kinds << kdd;

    HistoryKind receipts = member("普通发票收据", "TfmSearch_Receipts", "收据及发票查询",
        "DataCheckReceipt", "mReceiptSearch", "收据及发票管理", "ZPView_DBLOPEN");
    receipts.filters = { { q("template"), q("模板种类："), { q("模板种类") } },
        { q("customer"), q("客户单位："), { q("顾客名称") }, kOther, q("选择购货单位") } };
    receipts.filters[0].list = HistoryFilter::List::OnEntry;
    receipts.filters[0].keptOnAll = true;
    receipts.filters[1].shortCodeOnLeave = true;
    receipts.editable = true;
    receipts.amountColumn = receipts.sumColumn = q("合计金额");
    receipts.errors = HistoryErrors::DatabaseBox;
    receipts.voids = receipts.allReruns = true;
    kinds << receipts;

    HistoryKind freight = member("国际货运发票", "TfmSearch_IVIntel", "国际货运发票查询",
        "DataCheckIntel", "mIVIntelSearch", "国际货运发票管理", "ZPView_DBLOPEN");
    freight.filters = { { q("template"), q("模板种类："), { q("模板种类") } },
        { q("customer"), q("  付款人："), { q("顾客名称") }, kOther, q("选择付款单位") } };
    freight.filters[0].list = HistoryFilter::List::OnEntry;
    freight.filters[0].keptOnAll = true;
    freight.amountColumn = freight.sumColumn = q("合计金额");
    freight.errors = HistoryErrors::DatabaseBox;
    freight.allReruns = true;
    kinds << freight;

    HistoryKind exportInvoice = member("出口商品发票", "TfmSearch_CKSP", "出口商品发票查询",
        "DataCKSPTable", "mIVCKSPSearch", "出口商品发票管理", "ZPView_DBLOPEN");
    exportInvoice.numberLabel = q("发票编号：");
    exportInvoice.filters = { { q("state"), q("发票状态："), { q("票据状态") } },
        { q("contract"), q("合同编号："), { q("合同号码") } },
        { q("buyer"), q("购货单位："), { q("购方单位") }, kOther, q("选择购货单位") } };
    exportInvoice.filters[0].list = HistoryFilter::List::Choices;
    exportInvoice.filters[0].choices = { q("未用"), q("已用"), q("作废") };
    exportInvoice.filters[2].shortCodeOnLeave = true;
    exportInvoice.rowWarning = 5000;
    exportInvoice.amountColumn = q("金额合计");
    exportInvoice.sumColumn.clear();
    exportInvoice.sumText.clear();
    exportInvoice.errors = HistoryErrors::DatabaseBox;
    exportInvoice.voids = exportInvoice.allReruns = true;
    exportInvoice.registration = HistoryRegistration::InvoiceCodes;
    kinds << exportInvoice;
    return kinds;
}

} // namespace

const HistoryFilter* HistoryKind::filter(const QString& option) const
{
    for (const HistoryFilter& f : filters)
        if (f.option == option)
            return &f;
    return nullptr;
}

const QList<HistoryKind>& historyKinds()
{
    static const QList<HistoryKind> kinds = makeKinds();
    return kinds;
}

const HistoryKind* findHistoryKind(const QString& kind)
{
    for (const HistoryKind& h : historyKinds())
        if (h.kind == kind)
            return &h;
    return nullptr;
}

} // namespace pennock::core
