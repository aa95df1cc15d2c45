#include "parties/DictionaryStore.h"

#include "store/Database.h"

#include <QSqlQuery>

namespace pennock::core {

const QString DictionaryStore::kEmptyEntry = QStringLiteral("<空>");

QStringList DictionaryStore::namesOf(int checkTypeId)
{
    QStringList out;
    QSqlQuery q = mDb.exec(QStringLiteral("select distinct DMName from DMTable where (DMName not "
                                          "like 'cfg%') and CheckTypeId=? order by DMName"),
        { checkTypeId });
    while (q.next())
        out << q.value(0).toString();
    return out;
}

QStringList DictionaryStore::names(int checkTypeId)
{
    QStringList out = namesOf(checkTypeId);
    if (out.isEmpty() && checkTypeId != 0)
        out = namesOf(0);
    return out;
}

bool DictionaryStore::addDictionary(int checkTypeId, const QString& name)
{
    if (mDb.scalar(QStringLiteral("select count(*) from DMTable where CheckTypeId=? and DMName=?"),
               { checkTypeId, name })
            .toInt()
        > 0)
        return false;
    mDb.execute(
        QStringLiteral("insert into DMTable (CheckTypeId, DMName, DMValue) values (?, ?, ?)"),
        { checkTypeId, name, kEmptyEntry });
    return true;
}

QString DictionaryStore::entriesSql(bool withShared)
{
    return withShared ? QStringLiteral("select ID, DMName, DMValue, CheckTypeId from DMTable where "
                                       "DMName=? and CheckTypeID in (?, 0) order by DMValue ASC")
                      : QStringLiteral("select ID, DMName, DMValue, CheckTypeId from DMTable where "
                                       "DMName=? and CheckTypeID=? order by DMValue ASC");
}

QList<DictionaryStore::Entry> DictionaryStore::entries(
    int checkTypeId, const QString& name, bool withShared)
{
    QList<Entry> out;
    QSqlQuery q = mDb.exec(entriesSql(withShared), { name, checkTypeId });
    while (q.next())
        out.append({ q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(),
            q.value(3).toInt() });
    return out;
}

int DictionaryStore::insertEntry(const QString& name, const QString& value, int checkTypeId)
{
    QSqlQuery q = mDb.exec(QStringLiteral("insert into DMTable (DMName, DMValue, CheckTypeID) "
                                          "values (?, ?, ?)"),
        { name, value, checkTypeId });
    return q.lastInsertId().toInt();
}

void DictionaryStore::updateEntry(int id, const QString& value)
{
    mDb.execute(QStringLiteral("update DMTable set DMValue=? where ID=?"), { value, id });
}

void DictionaryStore::deleteEntry(int id)
{
    mDb.execute(QStringLiteral("delete from DMTable where ID=?"), { id });
}

} // namespace pennock::core
