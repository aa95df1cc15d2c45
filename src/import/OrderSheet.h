#pragma once

#include "parties/ReceiverList.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace pennock::core {

class AddressSplitter;
class Database;

/// A recipient field that a column of an order sheet can fill: the item of the column rules
/// (`MatchColumn`) and the column of the receiver list it goes to.
struct OrderField
{
    QString item;
    QString column;
    QString shopTitles {}; ///< titles of shop exports added to the item's rule for order sheets
};

/// The fields in matching priority: the import's items first, then those of waybills.
const QList<OrderField>& orderFields();

/// The sheet column (0-based, -1 for none) of each field of `orderFields()`, matched by the
/// rules kept in the database. Throws nothing: a rule that cannot be read is the item's name.
QList<int> matchOrderColumns(Database& db, const QStringList& titles);

/// The receivers of the data rows of a sheet (its row 0 holds the titles) by the chosen
/// columns: values trimmed, quotes of phone numbers dropped. A row that gives an address but no
/// province and city has its address split into region and street (and name, numbers and
/// postcode when the row lacks them). Rows with no cell at all are left out; `sheetRows`
/// receives the sheet row number (1 = titles) of each receiver.
QList<Receiver> receiversFromRows(const QList<QStringList>& rows, const QList<int>& columns,
    const AddressSplitter* splitter, QList<int>* sheetRows = nullptr);

} // namespace pennock::core
