#include "bills/WaybillBatch.h"

#include "bills/BillKind.h"
#include "bills/BillStore.h"
#include "bills/WaybillKind.h"
#include "printing/PrintEngine.h"
#include "printing/Services.h"
#include "store/Database.h"

#include <QSet>

namespace pennock::core {

namespace {

QString q(const char* text) { return QString::fromUtf8(text); }

const QString kReceiverPhone = QStringLiteral("zdskrDH");
const QString kReceiverMobile = QStringLiteral("skrHandset");

// A hidden mobile box gives its number to an empty phone, as it does on the form.
void phoneFromHiddenMobile(Bill& bill, const QString& phone, const QString& mobile)
{
    if (!bill.shown(mobile) && bill.text(phone).trimmed().isEmpty())
        bill.setText(phone, bill.text(mobile));
}

} // namespace

bool carriedIntoBatch(const QString& control)
{
    static const QSet<QString> carried = [] {
        QSet<QString> names;
        for (const char* name :
            { "zdHKR", "zdHKRLXR", "zdHkrDZ", "edtCountryFrom", "zdHKRS", "zdHKRXS", "edtFJRTown",
                "zdhkrDH", "hkrHandset", "zdHKRYB", "cbFromSite", "zdSign", "zdUserCode",
                "zdJFKHBM", "SelDate", "zdNian", "zdYue", "zdRi", "zdTime", "zdTxt1", "zdTxt2" })
            names.insert(QString::fromLatin1(name).toLower());
        return names;
    }();
    return carried.contains(control.toLower());
}

Bill batchBase(const Bill& screen)
{
    Bill base;
    base.kind = screen.kind;
    base.templateId = screen.templateId;
    base.variant = screen.variant;
    base.date = screen.date;
    base.hidden = screen.hidden;
    base.options = screen.options;
    for (auto it = screen.items.cbegin(); it != screen.items.cend(); ++it)
        if (carriedIntoBatch(it.key()))
            base.items.insert(it.key(), it.value());
    return base;
}

const QList<std::pair<QString, QString>>& receiverControls()
{
    static const QList<std::pair<QString, QString>> map = {
        { q("全称"), q("zdSKR") },
        { q("国家"), q("edtCountryDest") },
        { q("省"), q("zdSKRS") },
        { q("市"), q("zdSKRXS") },
        { q("镇区"), q("edtSJRTown") },
        { q("地址"), q("zdSkrDZ") },
        { q("邮编"), q("zdSKRYB") },
        { q("联系人"), q("zdSKRLXR") },
        { q("电话"), q("zdskrDH") },
        { q("手机"), q("skrHandset") },
        { q("目的站"), q("cbDestSite") },
        { q("内件说明"), q("zdWPNR") },
        { q("重量"), q("edtWeight") },
        { q("件数"), q("edtAmount") },
        { q("费用"), q("edtMoney") },
        { q("备注"), q("zdBz") },
        { q("体积"), q("zdTiJi") },
        { q("手续费"), q("zdShouxuFee") },
        { q("保价金额"), q("zdBJJE") },
        { q("保价费"), q("zdBJFee") },
        { q("运费"), q("zdYunFee") },
        { q("加急费"), q("zdJiaJiFee") },
        { q("包装费"), q("zdBaoZFee") },
        { q("送货费"), q("zdSongHFee") },
        { q("其他费"), q("zdQiTaFee") },
        { q("金额大写1"), WaybillRules::kCapitals },
        { q("代收金额"), q("zdDaisJE") },
        { q("自定义3"), q("zdDef3") },
        { q("自定义4"), q("zdDef4") },
        { q("自定义5"), q("zdDef5") },
    };
    return map;
}

QString receiverProblem(const Receiver& r)
{
    for (const char* column : { "全称", "联系人", "地址", "电话", "手机" })
        if (!r.value(q(column)).trimmed().isEmpty())
            return {};
    return q("no recipient: 全称, 联系人, 地址, 电话 and 手机 are all empty");
}

std::optional<Bill> waybillFor(const Bill& base, const Receiver& receiver, QString* reason)
{
    Bill bill = batchBase(base);
    for (const auto& [column, control] : receiverControls())
        bill.setText(control, receiver.value(column).trimmed());
    const QString city = bill.text(q("zdSKRXS"));
    if (bill.option(q("cfgDestSiteIsCity")) && receiver.value(q("目的站")).trimmed().isEmpty()
        && !city.isEmpty())
        bill.setText(q("cbDestSite"), city);
    phoneFromHiddenMobile(bill, kReceiverPhone, kReceiverMobile);
    phoneFromHiddenMobile(bill, QStringLiteral("zdhkrDH"), QStringLiteral("hkrHandset"));
    const QString mobile = bill.text(kReceiverMobile);
    if (bill.option(q("ckHandset2Phone")) && !mobile.isEmpty()) {
        const QString phone = bill.text(kReceiverPhone);
        if (phone.isEmpty())
            bill.setText(kReceiverPhone, mobile);
        else if (!phone.contains(mobile))
            bill.setText(kReceiverPhone, phone + QLatin1Char('\\') + mobile);
    }
    const QString figures = receiver.value(q("金额大写1")).trimmed();
    if (!figures.isEmpty()) {
        const std::optional<QString> shown
            = waybillCapitals(figures, bill.options.value(WaybillRules::kFormat.toLower()));
        if (!shown) {
            if (reason)
                *reason = q("金额大写1 is not a number: ") + figures;
            return std::nullopt;
        }
        bill.setText(WaybillRules::kCapitals, *shown);
    }
    return bill;
}

QString whyNotPrintable(const Bill& base, const Receiver& receiver)
{
    QString reason = receiverProblem(receiver);
    if (reason.isEmpty())
        waybillFor(base, receiver, &reason);
    return reason;
}

QString numberInSeries(const QString& first, qint64 step, int n)
{
    qsizetype start = first.size();
    while (start > 0 && first.at(start - 1).isDigit() && first.at(start - 1).unicode() < 128)
        --start;
    const QString digits = first.mid(start);
    if (digits.isEmpty() || digits.size() > 17)
        return {};
    const qint64 value = digits.toLongLong() + step * n;
    if (value < 0)
        return {};
    return first.left(start)
        + QStringLiteral("%1").arg(value, int(digits.size()), 10, QLatin1Char('0'));
}

WaybillBatchOutcome printWaybills(Services& services, const Bill& base,
    const QList<Receiver>& receivers, const WaybillBatchOptions& options, int xMove, int yMove,
    const std::function<bool(int done)>& goOn)
{
    WaybillBatchOutcome outcome;
    PrintEngine& engine = services.printEngine();
    QList<BillStore::Values> rows;
    QList<QList<std::pair<QString, QString>>> items;
    bool ended = false;
    try {
        for (qsizetype i = 0; i < receivers.size(); ++i) {
            const Receiver& r = receivers[i];
            QString reason = receiverProblem(r);
            std::optional<Bill> bill;
            if (reason.isEmpty())
                bill = waybillFor(base, r, &reason);
            if (!bill) {
                outcome.refused.append({ int(i), reason });
                continue;
            }
            if (!options.firstNumber.isEmpty())
                bill->setText(base.kind->roles.number,
                    numberInSeries(options.firstNumber, options.step, outcome.printed));
            if (outcome.printed > 0) {
                if (goOn && !goOn(outcome.printed)) {
                    outcome.cancelled = true;
                    break;
                }
                engine.newPage();
            }
            sendBillToPrinter(services.db(), engine, *bill, {}, xMove, yMove);
            ++outcome.printed;
            if (options.save) {
                rows.append(billColumnValues(*bill));
                items.append(billItemValues(*bill));
            }
        }
        // The rows are written before the job goes, and kept only once the spooler took it.
        std::optional<Transaction> saving;
        QList<int> serials;
        if (!rows.isEmpty()) {
            saving.emplace(services.db());
            serials = BillStore(services.db(), *base.kind).appendAll(rows, items);
        }
        ended = true;
        outcome.delivered = engine.endJob();
        if (outcome.delivered && saving) {
            saving->commit();
            outcome.serials = serials;
            outcome.saved = int(serials.size());
        }
    } catch (...) {
        if (!ended)
            engine.abortJob();
        throw;
    }
    return outcome;
}

} // namespace pennock::core
