#include "parties/ReceiverList.h"

#include "store/Database.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace pennock::core {

namespace {
QString q(const char* text) { return QString::fromUtf8(text); }
} // namespace

const QString ReceiverList::kGroup = QStringLiteral("批打分组");

ReceiverList::ReceiverList(Database& db)
    : mDb(db)
{
}

const QStringList& ReceiverList::columns()
{
    static const QStringList names = [] {
        QStringList out;
        for (const char* c : { "全称", "国家", "省", "市", "镇区", "地址", "邮编", "联系人", "电话",
                 "手机", "批打分组", "目的站", "内件说明", "重量", "件数", "费用", "备注", "体积",
                 "手续费", "保价金额", "保价费", "运费", "加急费", "包装费", "送货费", "其他费",
                 "金额大写1", "代收金额", "自定义3", "自定义4", "自定义5" })
            out << q(c);
        return out;
    }();
    return names;
}

Receiver ReceiverList::fromParty(const TPerson& party, const QString& group)
{
    Receiver r;
    for (const char* column :
        { "全称", "国家", "省", "市", "镇区", "地址", "邮编", "联系人", "电话", "手机" })
        r.values.insert(q(column), party.value(q(column)));
    r.values.insert(kGroup, group.isEmpty() ? party.分组 : group);
    return r;
}

int ReceiverList::add(const Receiver& receiver)
{
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (const QString& column : columns()) {
        if (!receiver.values.contains(column))
            continue;
        names << Database::quoted(column);
        marks << QStringLiteral("?");
        values << receiver.values.value(column);
    }
    const QString sql = names.isEmpty()
        ? QStringLiteral("insert into ReceiverList default values")
        : QStringLiteral("insert into ReceiverList (%1) values (%2)")
              .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    return mDb.exec(sql, values).lastInsertId().toInt();
}

void ReceiverList::add(const QList<Receiver>& receivers)
{
    Transaction t(mDb);
    for (const Receiver& r : receivers)
        add(r);
    t.commit();
}

void ReceiverList::update(const Receiver& receiver)
{
    QStringList sets;
    QVariantList values;
    for (const QString& column : columns()) {
        if (!receiver.values.contains(column))
            continue;
        sets << Database::quoted(column) + QStringLiteral("=?");
        values << receiver.values.value(column);
    }
    if (sets.isEmpty())
        return;
    values << receiver.id;
    mDb.execute(
        QStringLiteral("update ReceiverList set %1 where ID=?").arg(sets.join(QLatin1Char(','))),
        values);
}

void ReceiverList::remove(const QList<int>& ids)
{
    Transaction t(mDb);
    for (int id : ids)
        mDb.execute(QStringLiteral("delete from ReceiverList where ID=?"), { id });
    t.commit();
}

void ReceiverList::clear(const QString& group)
{
    if (group.isEmpty())
        mDb.execute(QStringLiteral("delete from ReceiverList"));
    else
        mDb.execute(QStringLiteral("delete from ReceiverList where 批打分组=?"), { group });
}

QList<Receiver> ReceiverList::load(const QString& group)
{
    QSqlQuery query = group.isEmpty()
        ? mDb.exec(QStringLiteral("select * from ReceiverList order by ID"))
        : mDb.exec(
            QStringLiteral("select * from ReceiverList where 批打分组=? order by ID"), { group });
    QList<Receiver> out;
    while (query.next()) {
        Receiver r;
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i) {
            const QString name = record.fieldName(i);
            if (name == u"ID")
                r.id = query.value(i).toInt();
            else
                r.values.insert(name, query.value(i).toString());
        }
        out.append(r);
    }
    return out;
}

QStringList ReceiverList::groups()
{
    QSqlQuery query = mDb.exec(QStringLiteral("select distinct 批打分组 from ReceiverList where "
                                              "coalesce(批打分组,'')<>'' order by 批打分组"));
    QStringList out;
    while (query.next())
        out << query.value(0).toString();
    return out;
}

int ReceiverList::count()
{
    return mDb.scalar(QStringLiteral("select count(*) from ReceiverList")).toInt();
}

} // namespace pennock::core
