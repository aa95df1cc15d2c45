#include "parties/ReferenceLookups.h"

#include "store/Database.h"
#include "store/Schema.h"

#include <QSqlQuery>

namespace pennock::core {

QStringList ReferenceLookups::column(const QString& sql, const QVariantList& values)
{
    QStringList out;
    try {
        QSqlQuery q = mDb.exec(sql, values);
        while (q.next())
            out << q.value(0).toString();
    } catch (const DbError&) {
        // The form keeps what was read.
    }
    return out;
}

QString ReferenceLookups::firstValue(const QString& sql, const QVariantList& values)
{
    const QStringList values0 = column(sql + QStringLiteral(" limit 1"), values);
    return values0.isEmpty() ? QString() : values0.first();
}

QStringList ReferenceLookups::loadDMListByName(const QString& name, const QString& templateIds)
{
    QVariantList values { name };
    QStringList marks;
    for (const QString& piece : templateIds.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int id = piece.trimmed().toInt(&ok);
        if (ok) {
            values << id;
            marks << QStringLiteral("?");
        }
    }
    if (marks.isEmpty())
        return {};
    // Within a template the entries keep the order they were entered in: the first is the default.
    return column(QStringLiteral("select DMValue, CheckTypeID from DMTable where DMName=? "
                                 "and CheckTypeID in (")
            + marks.join(QLatin1Char(','))
            + QStringLiteral(") group by DMValue, CheckTypeID order by CheckTypeID desc, min(ID)"),
        values);
}

QStringList ReferenceLookups::loadMoneyTypeList()
{
    return column(QStringLiteral("select distinct 币种 from coins"));
}

QString ReferenceLookups::getMoneyCodeByName(const QString& name)
{
    return firstValue(QStringLiteral("select 缩写 from coins where 币种=?"), { name });
}

QString ReferenceLookups::getMoneyNameByCode(const QString& code)
{
    return firstValue(QStringLiteral("select 币种 from coins where 缩写=?"), { code });
}

QStringList ReferenceLookups::loadProvinces()
{
    return column(
        QStringLiteral("select distinct 一级代码 from DMTable2 where 类型='省市' order by "
                       "一级代码"));
}

QStringList ReferenceLookups::loadCitysByProvince(const QString& province)
{
    const QString trimmed = province.trimmed();
    if (trimmed.isEmpty())
        return {};
    return column(QStringLiteral("select distinct 二级代码 from DMTable2 where 一级代码=? and "
                                 "类型='省市' order by 二级代码"),
        { trimmed });
}

QStringList ReferenceLookups::loadCitysOfProvinceTrimmed(const QString& province)
{
    return column(QStringLiteral("select 二级代码 from DMTable2 where 类型='省市' and "
                                 "rtrim(ltrim(一级代码))=? order by 一级代码, ID"),
        { province });
}

QStringList ReferenceLookups::loadHistoryTypeNameList(const QString& table)
{
    // The table name comes from the caller's own kind descriptor; refuse anything else.
    const TableDef* def = findTable(mainTables(), table);
    if (!def)
        return {};
    bool hasColumn = false;
    for (const ColumnDef& c : def->columns)
        hasColumn = hasColumn || c.name == u"模板种类";
    if (!hasColumn)
        return {};
    return column(QStringLiteral("select distinct 模板种类 from ") + Database::quoted(def->name));
}

} // namespace pennock::core
