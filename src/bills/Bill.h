#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariant>

#include <utility>

namespace pennock::core {

class Database;
class PrintEngine;
struct BillKind;
struct PrintValue;

/// The content of one bill, apart from any window: its template, the text of every item by
/// control name, which items are not shown (and so print nothing), the options ticked on the
/// option bar, the amount, currency and date. Saving and printing read this value.
struct Bill
{
    const BillKind* kind = nullptr;
    int templateId = 0;
    QString variant;
    int serial = -1;
    QString amount; ///< the amount box's text
    QString currency; ///< the currency's name
    QDate date;
    QString itemChecks; ///< captions of the ticked user check boxes, joined with ","
    QHash<QString, QString> items; ///< by lower-case control name; a ticked check box is "√"
    QSet<QString> hidden; ///< lower-case names of the controls not shown
    QHash<QString, QString> options; ///< lower-case option name: "1", "0" or the chosen text

    QString text(const QString& name) const { return items.value(name.toLower()); }
    void setText(const QString& name, const QString& text) { items.insert(name.toLower(), text); }
    bool shown(const QString& name) const { return !hidden.contains(name.toLower()); }
    bool option(const QString& name) const { return options.value(name.toLower()) == u"1"; }
};

/// The columns a save writes, in the kind's order. Throws nothing.
QList<std::pair<QString, QVariant>> billColumnValues(const Bill& bill);

/// What the user filled that no column of the kind's table holds: the text of every typed
/// control (edit, drop-down, memo) that no column reads, when not empty. Saved beside the row
/// so that a reopened bill shows and prints it again. Throws nothing.
QList<std::pair<QString, QString>> billItemValues(const Bill& bill);

/// The values the item loop prints: every printable item of the kind in catalogue order, empty
/// for an item not shown or skipped by an unticked option. Throws DbError.
QList<PrintValue> billPrintValues(Database& db, const Bill& bill);

/// The item loop of a print job that is ready: the engine learns the bill's currency code and
/// digit-cell pitch, then every printable value goes to the paper shifted by the offsets.
/// Nothing happens while no job is ready. Throws DbError.
void sendBillToPrinter(Database& db, PrintEngine& engine, const Bill& bill,
    const QString& currencyCode, int xMove, int yMove);

} // namespace pennock::core
