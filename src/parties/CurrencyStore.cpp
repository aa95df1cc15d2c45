#include "parties/CurrencyStore.h"

#include "store/Database.h"

#include <QSqlQuery>

namespace pennock::core {

QList<CurrencyStore::Currency> CurrencyStore::list()
{
    QList<Currency> out;
    QSqlQuery q = mDb.exec(QStringLiteral("select 币种, 缩写 from coins order by 顺序 desc"));
    while (q.next())
        out.append({ q.value(0).toString(), q.value(1).toString() });
    return out;
}

int CurrencyStore::add(const QString& name, const QString& code)
{
    return mDb.execute(
        QStringLiteral("insert into coins (币种, 缩写, 顺序) values (?, ?, 0)"), { name, code });
}

int CurrencyStore::remove(const QString& name)
{
    return mDb.execute(QStringLiteral("delete from coins where 币种=?"), { name });
}

int CurrencyStore::changeCode(const QString& name, const QString& code)
{
    return mDb.execute(QStringLiteral("update coins set 缩写=? where 币种=?"), { code, name });
}

} // namespace pennock::core
