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

QList<std::pair<QString, QString>> billItemValues(const Bill& bill)
{
    QSet<QString> inColumns;
    for (const BillColumn& c : bill.kind->columns)
        if (!c.control.isEmpty())
            inColumns.insert(c.control.toLower());
    QSet<QString> parts;
    const BillRoles& roles = bill.kind->roles;
    for (const QString& opener : roles.amountOpeners)
        if (opener.compare(roles.capitals, Qt::CaseInsensitive) != 0
            && opener.compare(roles.figures, Qt::CaseInsensitive) != 0)
            parts.insert(opener.toLower());
    QList<std::pair<QString, QString>> items;
    for (const BillControl& control : bill.kind->controls) {
        const QString name = control.name.toLower();
        if (inColumns.contains(name))
            continue;
        // The parts of a total are kept as they stood, an empty one too, since a reopened
        // total would otherwise land in its first part.
        if (parts.contains(name)) {
            items.append({ control.name, bill.text(control.name) });
            continue;
        }
        switch (control.kind) {
        case ControlKind::Edit:
        case ControlKind::Combo:
        case ControlKind::SortedCombo:
        case ControlKind::Memo:
            break;
        default:
            continue; // computed, picked or stored by a column of its own
        }
        const QString text = bill.text(control.name);
        if (!text.isEmpty())
            items.append({ control.name, text });
    }
    return items;
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
