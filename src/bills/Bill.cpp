#include "bills/Bill.h"

#include "bills/BillKind.h"
#include "bills/BillStore.h"
#include "bills/TemplateFace.h"
#include "printing/PrintEngine.h"

namespace pennock::core {

QList<std::pair<QString, QVariant>> billColumnValues(const Bill& bill)
{
    QList<std::pair<QString, QVariant>> values;
    for (const BillColumn& c : bill.kind->columns) {
        QVariant value;
        switch (c.source) {
        case ColumnSource::Variant:
            value = bill.variant;
            break;
        case ColumnSource::ItemChecks:
            value = bill.itemChecks;
            break;
        case ColumnSource::Status:
            value = BillStore::kUsed;
            break;
        case ColumnSource::Currency:
            value = bill.currency;
            break;
        case ColumnSource::Amount:
            value = bill.amount;
            break;
        case ColumnSource::Date:
            value = bill.date.startOfDay();
            break;
        case ColumnSource::Payee: {
            const QString text = bill.text(c.control);
            value = text == bill.kind->payeePlaceholder ? QString() : text;
            break;
        }
        case ColumnSource::Figures:
        case ColumnSource::Text:
            if (c.onlyWhenVisible && !bill.shown(c.control))
                continue;
            value = bill.text(c.control);
            break;
        }
        values.append({ c.column, value });
    }
    return values;
}

QList<PrintValue> billPrintValues(Database& db, const Bill& bill)
{
    QList<PrintValue> values;
    for (const PrintItemDef& def : loadPrintItems(db, bill.kind->kind)) {
        bool skipped = false;
        for (const BillPrintSkip& skip : bill.kind->printSkips)
            if (def.name.toUpper() == skip.item && !bill.option(skip.option))
                skipped = true;
        if (skipped)
            continue;
        const QString value = bill.shown(def.name) ? bill.text(def.name) : QString();
        values.append({ def.name, def.type, value });
    }
    return values;
}

void sendBillToPrinter(Database& db, PrintEngine& engine, const Bill& bill,
    const QString& currencyCode, int xMove, int yMove)
{
    if (!engine.printJobReady())
        return;
    engine.setPrintMoneyCode(currencyCode);
    // The pitch is the distance from the 千 cell to the 百 cell.
    const QStringList& cells = bill.kind->roles.cells;
    engine.setPrintCellPitch(engine.getCellsWidth(
        bill.templateId, cells.value(5), bill.kind->cellPitchDefault, cells.value(6)));
    engine.printItems(bill.templateId, xMove, yMove, billPrintValues(db, bill));
}

} // namespace pennock::core
