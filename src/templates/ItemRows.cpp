#include "templates/ItemRows.h"

#include "store/Database.h"

#include <QSqlQuery>

namespace pennock::core {

const QStringList& itemRowColumns()
{
    static const QStringList columns = QStringLiteral(
        "CtlCName CtlX CtlY CtlW CtlH CtlLH SrcX SrcY SrcW SrcH NeedShow NeedPrint CtlFontName "
        "CtlFontSize BreakFontSize Bold Italic UnderLine FitParam BreakNum InitValue")
                                           .split(QLatin1Char(' '));
    return columns;
}

ItemRow readItemRow(Database& db, int templateId, const QString& name)
{
    ItemRow row { name, false, {} };
    QSqlQuery q = db.exec(
        QStringLiteral(
            "select %1 from CKControl where CheckTypeID=? and upper(CtlName)=upper(?) order by ID")
            .arg(itemRowColumns().join(QLatin1Char(','))),
        { templateId, name });
    if (!q.next())
        return row;
    row.exists = true;
    for (int i = 0; i < itemRowColumns().size(); ++i)
        row.values << q.value(i);
    return row;
}

QList<ItemRow> readItemRows(Database& db, int templateId, const QStringList& names)
{
    QList<ItemRow> rows;
    for (const QString& name : names)
        rows << readItemRow(db, templateId, name);
    return rows;
}

void writeItemRow(Database& db, int templateId, const ItemRow& row)
{
    const QStringList& columns = itemRowColumns();
    if (!row.exists) {
        db.execute(
            QStringLiteral("delete from CKControl where CheckTypeID=? and upper(CtlName)=upper(?)"),
            { templateId, row.name });
        return;
    }
    QStringList sets;
    for (const QString& column : columns)
        sets << column + QStringLiteral("=?");
    QVariantList values = row.values;
    values << templateId << row.name;
    if (db.execute(QStringLiteral(
                       "update CKControl set %1 where CheckTypeID=? and upper(CtlName)=upper(?)")
                       .arg(sets.join(QLatin1Char(','))),
            values)
        > 0)
        return;
    QVariantList inserted { templateId, row.name };
    inserted << row.values;
    db.execute(
        QStringLiteral("insert into CKControl (CheckTypeID,CtlName,%1) values (?,?%2)")
            .arg(columns.join(QLatin1Char(',')), QStringLiteral(",?").repeated(columns.size())),
        inserted);
}

} // namespace pennock::core
