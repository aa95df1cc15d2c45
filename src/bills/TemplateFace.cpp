#include "bills/TemplateFace.h"

#include "store/Database.h"

#include <QSqlQuery>

namespace pennock::core {

std::optional<TemplateFace> TemplateFace::load(Database& db, int templateId)
{
    QSqlQuery q = db.exec(QStringLiteral("select Theight, Twidth, ImgFile, CheckBoxs from "
                                         "CKTypeTable where CheckTypeID=?"),
        { templateId });
    if (!q.next())
        return std::nullopt;
    TemplateFace face;
    face.height = q.value(0).toInt();
    face.width = q.value(1).toInt();
    face.imageFile = q.value(2).toString();
    face.checkBoxes = q.value(3).toString();
    return face;
}

QList<PrintItemDef> loadPrintItems(Database& db, const QString& kind)
{
    QSqlQuery q = db.exec(QStringLiteral("select CtlName, CtlType from NameDict where "
                                         "CheckTypeName=? and PrintItem=1 order by ShowOrd, ID"),
        { kind });
    QList<PrintItemDef> items;
    while (q.next()) {
        QString type = q.value(1).toString().trimmed().toUpper();
        items.append({ q.value(0).toString(), type.isEmpty() ? QStringLiteral("TEXT") : type });
    }
    return items;
}

} // namespace pennock::core
