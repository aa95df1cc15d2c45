#include "printing/TemplateTestPrint.h"

#include "store/Database.h"
#include "templates/TemplateLookups.h"

#include <QSqlQuery>

namespace pennock::core {

QList<PrintValue> loadSampleValues(Database& db, int templateId)
{
    const QString kind = loadCheckTypeFirstNameByID(db, templateId);
    QSqlQuery q = db.exec(
        QStringLiteral("select b.CtlName, b.CtlType, b.CtlData, b.CtlLabel from NameDict b "
                       "where b.CheckTypeName=? and b.PrintItem=1 and exists (select 1 from "
                       "CKControl a where a.CheckTypeID=? and a.CtlName=b.CtlName collate nocase) "
                       "order by b.ShowOrd, b.ID"),
        { kind, templateId });
    QList<PrintValue> values;
    while (q.next()) {
        const QString data = q.value(2).toString().trimmed();
        values.append({ q.value(0).toString(), q.value(1).toString(),
            data.isEmpty() ? q.value(3).toString().trimmed() : data });
    }
    return values;
}

QSize templatePaperSize(Database& db, int templateId)
{
    QSqlQuery q = db.exec(QStringLiteral("select PWidth, PHeight from CKTypeTable where "
                                         "CheckTypeID=?"),
        { templateId });
    const int width = q.next() ? q.value(0).toInt() : 0;
    const int height = q.isValid() ? q.value(1).toInt() : 0;
    // The designer's assumption for a paper size never set.
    return width > 0 && height > 0 ? QSize(width, height) : QSize(2300, 1270);
}

TestPrintResult printTemplateSample(
    PrintEngine& engine, Database& db, int templateId, int copies, bool turnPaper)
{
    TestPrintResult result;
    const QList<PrintValue> values = loadSampleValues(db, templateId);
    PrintCanvas* canvas = engine.canvas();
    const std::optional<QPoint> offset = engine.prepareJob(templateId, turnPaper);
    if (!offset) {
        result.error = engine.paperRefusal().isEmpty()
            ? QStringLiteral("no template %1").arg(templateId)
            : engine.paperRefusal();
        return result;
    }
    if (!engine.beginJob(copies)) {
        result.error = canvas ? canvas->errorString() : QStringLiteral("no printer");
        return result;
    }
    result.items = int(values.size());
    const QList<PlannedItem> planned
        = engine.planItems(templateId, offset->x(), offset->y(), values);
    engine.drawPlanned(planned);
    for (const PlannedItem& item : planned)
        if (item.failed)
            result.failed << item.name;
    if (!engine.endJob()) {
        result.error = canvas->errorString();
        return result;
    }
    result.printed = true;
    return result;
}

} // namespace pennock::core
