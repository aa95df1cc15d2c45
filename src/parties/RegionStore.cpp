#include "parties/RegionStore.h"

#include "store/Database.h"

#include <QSqlQuery>

namespace pennock::core {

const QString RegionStore::kRegionType = QStringLiteral("省市");

namespace {

QStringList firstColumn(QSqlQuery q)
{
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

} // namespace

QStringList RegionStore::provinces()
{
    return firstColumn(mDb.exec(QStringLiteral("select distinct 一级代码 from DMTable2 where "
                                               "rtrim(ltrim(类型))=?"),
        { kRegionType }));
}

QStringList RegionStore::cities(const QString& province)
{
    return firstColumn(mDb.exec(QStringLiteral("select distinct 二级代码 from DMTable2 where "
                                               "rtrim(ltrim(一级代码))=? order by 二级代码"),
        { province }));
}

bool RegionStore::exists(const QString& province, const QString& city)
{
    return mDb
        .exec(QStringLiteral("select 二级代码 from DMTable2 where 类型=? and 一级代码=? and "
                             "二级代码=? limit 1"),
            { kRegionType, province, city })
        .next();
}

bool RegionStore::existsTrimmed(const QString& province, const QString& city)
{
    return mDb
        .exec(QStringLiteral("select 二级代码 from DMTable2 where 类型=? and "
                             "rtrim(ltrim(一级代码))=? and rtrim(ltrim(二级代码))=? limit 1"),
            { kRegionType, province, city })
        .next();
}

void RegionStore::add(const QString& province, const QString& city)
{
    mDb.execute(QStringLiteral("insert into DMTable2 (类型, 一级代码, 二级代码) values (?, ?, ?)"),
        { kRegionType, province, city });
}

bool RegionStore::rename(const QString& province, const QString& oldCity, const QString& newCity)
{
    mDb.execute(QStringLiteral("update DMTable2 set 二级代码=? where 类型=? and "
                               "rtrim(ltrim(一级代码))=? and rtrim(ltrim(二级代码))=?"),
        { newCity, kRegionType, province, oldCity.trimmed() });
    return existsTrimmed(province, newCity);
}

bool RegionStore::remove(const QString& province, const QString& city)
{
    mDb.execute(QStringLiteral("delete from DMTable2 where 类型=? and rtrim(ltrim(一级代码))=? and "
                               "rtrim(ltrim(二级代码))=?"),
        { kRegionType, province, city.trimmed() });
    return !existsTrimmed(province, city.trimmed());
}

} // namespace pennock::core
