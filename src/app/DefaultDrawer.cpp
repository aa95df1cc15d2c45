#include "app/DefaultDrawer.h"

#include "store/Database.h"

#include <QSqlRecord>

namespace pennock::core {

QVariantMap loadDefaultDrawer(Database &db)
{
    QVariantMap party;
    try {
        QSqlQuery q = db.exec(QStringLiteral("select * from CKPersonalInfoTable where 分组=? "
                                             "order by ID limit 1"),
                              {QStringLiteral("默认出票人")});
        if (q.next()) {
            const QSqlRecord row = q.record();
            for (int i = 0; i < row.count(); ++i)
                party.insert(row.fieldName(i), row.value(i));
        }
    } catch (const DbError &) {
        // Bill forms then start without a drawer.
    }
    return party;
}

} // namespace pennock::core
