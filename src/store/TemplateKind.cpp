#include "store/TemplateKind.h"

#include "store/Database.h"
#include "store/Schema.h"
#include "store/Upgrade.h"

#include <QSqlQuery>

namespace pennock::core {

namespace {

// The text before the first "（", else before the first "("; -1 when there is neither.
qsizetype kindLength(const QString& typeName)
{
    for (const QString& open : { QStringLiteral("（"), QStringLiteral("(") }) {
        const qsizetype at = typeName.indexOf(open);
        if (at >= 0)
            return at;
    }
    return -1;
}

QString kindFromFullName(const QString& typeName)
{
    const qsizetype length = kindLength(typeName);
    return length < 0 ? typeName : typeName.left(length);
}

// Older databases lack the kind column: the upgrade's routines add it and fill it from the full
// names (only empty kinds, and only from a name with a parenthesis).
void repairTypeFirstName(Database& db)
{
    try {
        Up2NewVersion up(db, mainTables());
        up.aAddColumn(QStringLiteral("CKTypeTable"), QStringLiteral("TypeFirstName"));
        up.initTypeFirstNameValue();
    } catch (const DbError&) {
        // The repair is a courtesy; the caller goes on with an empty kind either way.
    }
}

} // namespace

QString loadCheckTypeFirstNameByID(Database& db, int templateId)
{
    try {
        QSqlQuery q
            = db.exec(QStringLiteral("select TypeFirstName, TypeName from CKTypeTable where "
                                     "CheckTypeID=?"),
                { templateId });
        if (!q.next())
            return {};
        const QString kind = q.value(0).toString();
        return kind.isEmpty() ? kindFromFullName(q.value(1).toString()) : kind;
    } catch (const DbError& e) {
        if (e.message().contains(QStringLiteral("TypeFirstName"), Qt::CaseInsensitive))
            repairTypeFirstName(db);
        return {};
    }
}

} // namespace pennock::core
