#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariantList>

#include <utility>

namespace pennock::core {

class Database;

/// The item values of saved bills that no column of their kind's table holds, so that a
/// reopened bill shows, and a reprint prints, all that was typed. Rows belong to a bill by its
/// table and serial; every path that deletes bills deletes their rows too. Throws DbError.
class BillItemValues
{
public:
    using Items = QList<std::pair<QString, QString>>;

    /// Replaces the rows of one bill; call inside the transaction that writes the bill.
    static void replace(Database& db, const QString& table, int serial, const Items& items);
    /// The rows of one bill by lower-case control name.
    static QHash<QString, QString> load(Database& db, const QString& table, int serial);
    /// Drops the rows of the given serials of a table.
    static void remove(Database& db, const QString& table, const QVariantList& serials);
    /// Drops the rows of every bill of a table.
    static void removeAll(Database& db, const QString& table);
};

} // namespace pennock::core
