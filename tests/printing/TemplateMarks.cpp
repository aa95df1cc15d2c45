#include "TemplateMarks.h"

#include "printing/TemplateTestPrint.h"
#include "store/Database.h"

#include <QSqlQuery>

namespace pennock::test {

QList<ItemMark> markWaybillItems(core::Database& db, int templateId)
{
    QList<ItemMark> marks;
    int n = 0;
    int cellItems = 0;
    for (const core::PrintValue& v : core::loadSampleValues(db, templateId)) {
        QSqlQuery q = db.exec(QStringLiteral("select CtlX, CtlY, CtlFontSize, FitParam from "
                                             "CKControl where CheckTypeID=? and CtlName=?"),
            { templateId, v.name });
        if (!q.next() || v.type.toUpper() == u"IMAGE")
            continue;
        ++n;
        const bool cells = !q.value(3).toString().isEmpty();
        const QString token = cells
            ? QString(QChar(u'a' + cellItems++)) + QStringLiteral("7")
            : QStringLiteral("Q") + QChar(u'A' + n / 26) + QChar(u'A' + n % 26);
        db.execute(QStringLiteral("update NameDict set CtlData=? where CtlName=? and "
                                  "CheckTypeName='快递单'"),
            { token, v.name });
        marks.append({ cells ? token.left(1) : token, cells, q.value(0).toInt(), q.value(1).toInt(),
            q.value(2).toInt() });
    }
    return marks;
}

} // namespace pennock::test
