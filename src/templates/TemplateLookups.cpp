#include "templates/TemplateLookups.h"

#include "store/Database.h"

namespace pennock::core {

QString loadCheckTypeFirstNameByID(Database &db, int templateId)
{
    try {
        return db
            .scalar(QStringLiteral("select TypeFirstName from CKTypeTable where CheckTypeID=?"),
                    {templateId})
            .toString();
    } catch (const DbError &) {
        return {};
    }
}

} // namespace pennock::core
