#pragma once

#include "parties/TPerson.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace pennock::core {

class Database;

/// One recipient of a batch of waybills: its values by column of `ReceiverList`.
struct Receiver
{
    int id = 0; ///< `ID`; 0 for a row not stored
    QHash<QString, QString> values;

    QString value(const QString& column) const { return values.value(column); }
};

/// The batch-print list of waybill recipients, kept in the table `ReceiverList`: filled from
/// the party manager, from an order spreadsheet or by hand, split into groups ("批打分组").
/// Throws DbError.
class ReceiverList
{
public:
    explicit ReceiverList(Database& db);

    static const QString kGroup; ///< "批打分组"
    /// Every column but `ID`, in the table's order.
    static const QStringList& columns();
    /// The recipient fields of a party and the list's column each goes to.
    static Receiver fromParty(const TPerson& party, const QString& group = {});

    /// Appends a row; unknown columns are ignored. Returns its `ID`.
    int add(const Receiver& receiver);
    /// Appends many rows in one transaction.
    void add(const QList<Receiver>& receivers);
    void update(const Receiver& receiver);
    void remove(const QList<int>& ids);
    /// Removes the rows of a group; every row for an empty group name.
    void clear(const QString& group = {});
    /// The rows of a group in the order they were added; every row for an empty group name.
    QList<Receiver> load(const QString& group = {});
    /// The group names in use, sorted; the empty group is left out.
    QStringList groups();
    int count();

private:
    Database& mDb;
};

} // namespace pennock::core
