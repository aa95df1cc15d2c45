#include "import/OrderSheet.h"

#include "import/ColumnMatch.h"
#include "parties/AddressSplit.h"
#include "store/Database.h"

namespace pennock::core {

namespace {
QString q(const char* text) { return QString::fromUtf8(text); }
} // namespace

const QList<OrderField>& orderFields()
{
    static const QList<OrderField> fields = {
        { q("单位全称"), q("全称") },
        { q("联系人"), q("联系人"), q("收件人,收货人名称,买家姓名") },
        { q("电话"), q("电话") },
        { q("手机"), q("手机") },
        { q("省"), q("省") },
        { q("市"), q("市") },
        { q("镇区"), q("镇区"), q("区,县,区/县,县区,区域") },
        { q("地址"), q("地址") },
        { q("邮编"), q("邮编") },
        { q("国家"), q("国家") },
        { q("备注"), q("备注") },
        { q("批打分组"), q("批打分组") },
        { q("物品内容"), q("内件说明") },
        { q("重量"), q("重量") },
        { q("件数"), q("件数") },
        { q("费用"), q("费用") },
        { q("目的站"), q("目的站") },
        { q("订单号"), q("自定义3"), q("订单编号,订单号码") },
    };
    return fields;
}

QList<int> matchOrderColumns(Database& db, const QStringList& titles)
{
    QStringList rules;
    // Shop exports name some columns in ways the import rules do not know; an order sheet
    // knows them too, after the rule the user keeps.
    for (const OrderField& f : orderFields())
        rules << loadMatchRule(db, f.item)
                + (f.shopTitles.isEmpty() ? QString() : QLatin1Char(',') + f.shopTitles);
    return matchColumns(titles, rules);
}

QList<Receiver> receiversFromRows(const QList<QStringList>& rows, const QList<int>& columns,
    const AddressSplitter* splitter, QList<int>* sheetRows)
{
    const QList<OrderField>& fields = orderFields();
    QList<Receiver> out;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QStringList& cells = rows[r];
        Receiver receiver;
        bool any = false;
        for (qsizetype f = 0; f < fields.size() && f < columns.size(); ++f) {
            const int c = columns[f];
            QString value = c >= 0 ? cells.value(c).trimmed() : QString();
            if (fields[f].column == u"电话" || fields[f].column == u"手机")
                value.remove(QLatin1Char('\'')); // shops quote numbers to keep them as text
            any |= !value.isEmpty();
            receiver.values.insert(fields[f].column, value);
        }
        if (!any)
            continue;
        const auto value = [&receiver](const char* column) { return receiver.value(q(column)); };
        if (splitter && !value("地址").isEmpty() && value("省").isEmpty()
            && value("市").isEmpty()) {
            const SplitAddress split = splitter->split(value("地址"));
            if (split.province.isEmpty() && split.city.isEmpty()) {
                out.append(receiver);
                if (sheetRows)
                    sheetRows->append(int(r) + 1);
                continue;
            }
            receiver.values.insert(q("省"), split.province);
            receiver.values.insert(q("市"), split.city);
            if (value("镇区").isEmpty())
                receiver.values.insert(q("镇区"), split.district);
            if (!split.address.isEmpty())
                receiver.values.insert(q("地址"), split.address);
            if (value("联系人").isEmpty())
                receiver.values.insert(q("联系人"), split.name);
            if (value("手机").isEmpty())
                receiver.values.insert(q("手机"), split.mobile);
            if (value("电话").isEmpty())
                receiver.values.insert(q("电话"), split.phone);
            if (value("邮编").isEmpty())
                receiver.values.insert(q("邮编"), split.postcode);
        }
        out.append(receiver);
        if (sheetRows)
            sheetRows->append(int(r) + 1);
    }
    return out;
}

} // namespace pennock::core
