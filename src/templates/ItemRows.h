#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace pennock::core {

class Database;

/// The layout of one item on one template (`CKControl`) as stored, for taking a change back.
struct ItemRow
{
    QString name;
    bool exists = false;
    QVariantList values; ///< in the order of `itemRowColumns()`

    bool operator==(const ItemRow& other) const = default;
};

/// The columns a layout change can touch.
const QStringList& itemRowColumns();

ItemRow readItemRow(Database& db, int templateId, const QString& name);
QList<ItemRow> readItemRows(Database& db, int templateId, const QStringList& names);
/// Puts the row back as it was: updated, inserted, or removed when it did not exist. Throws
/// DbError.
void writeItemRow(Database& db, int templateId, const ItemRow& row);

} // namespace pennock::core
