#include "store/BillItemValues.h"

#include "store/Database.h"

#include <QSqlQuery>

namespace pennock::core {

void BillItemValues::replace(Database& db, const QString& table, int serial, const Items& items)
{
    db.execute(QStringLiteral("delete from BillItemValue where BillTable=? and Serial=?"),
        { table, serial });
    for (const auto& [name, value] : items)
        db.execute(QStringLiteral("insert into BillItemValue (BillTable, Serial, CtlName, Value) "
                                  "values (?, ?, ?, ?)"),
            { table, serial, name, value });
}

QHash<QString, QString> BillItemValues::load(Database& db, const QString& table, int serial)
{
    QSqlQuery q = db.exec(QStringLiteral("select CtlName, Value from BillItemValue where "
                                         "BillTable=? and Serial=? order by ID"),
        { table, serial });
    QHash<QString, QString> items;
    while (q.next())
        items.insert(q.value(0).toString().toLower(), q.value(1).toString());
    return items;
}

void BillItemValues::remove(Database& db, const QString& table, const QVariantList& serials)
{
    for (const QVariant& serial : serials)
        db.execute(QStringLiteral("delete from BillItemValue where BillTable=? and Serial=?"),
            { table, serial });
}

void BillItemValues::removeAll(Database& db, const QString& table)
{
    db.execute(QStringLiteral("delete from BillItemValue where BillTable=?"), { table });
}

} // namespace pennock::core
