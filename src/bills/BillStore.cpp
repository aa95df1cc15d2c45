#include "bills/BillStore.h"

#include "bills/BillKind.h"
#include "store/BillItemValues.h"
#include "store/Database.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace pennock::core {

const QString BillStore::kSerial = QStringLiteral("流水号");
const QString BillStore::kStatus = QStringLiteral("票据状态");
const QString BillStore::kNumber = QStringLiteral("票据编号");
const QString BillStore::kVariant = QStringLiteral("模板种类");
const QString BillStore::kUsed = QStringLiteral("已用");
const QString BillStore::kUnused = QStringLiteral("未用");
const QString BillStore::kVoided = QStringLiteral("作废");
const QString BillStore::kDate = QStringLiteral("出票日期");

bool BillStore::holdsBill(const QVariantMap& row)
{
    const QVariant date = row.value(kDate);
    return row.value(kStatus).toString() != kUnused || (date.isValid() && !date.isNull());
}

namespace {

std::optional<QVariantMap> firstRow(QSqlQuery& q)
{
    if (!q.next())
        return std::nullopt;
    QVariantMap row;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i)
        row.insert(record.fieldName(i), q.value(i));
    return row;
}

} // namespace

BillStore::SaveResult BillStore::save(int serial, const Values& values, bool takesRegistered,
    const QList<std::pair<QString, QString>>& items)
{
    const QString table = Database::quoted(mKind.table);
    const QString key = Database::quoted(kSerial);
    Transaction transaction(mDb);
    // Not every kind's table has a status column (the waybill has none).
    QSqlQuery existing
        = mDb.exec(QStringLiteral("select * from %1 where %2=?").arg(table, key), { serial });
    const bool found = existing.next();
    const int statusAt = existing.record().indexOf(kStatus);
    const QString status = found && statusAt >= 0 ? existing.value(statusAt).toString() : QString();
    const int dateAt = existing.record().indexOf(kDate);
    const bool dated = found && dateAt >= 0 && !existing.value(dateAt).isNull();
    existing.finish();
    // Kinds that never write the status leave a registered row "未用" after a save, as they
    // always did; only a save that marks the number used can take it.
    const bool claims = takesRegistered
        && std::any_of(values.begin(), values.end(),
            [](const auto& column) { return column.first == kStatus; });
    if (found) {
        if (mKind.refusesVoided && status == kVoided)
            return { Outcome::RefusedVoided, serial };
        if (claims && (statusAt < 0 || status != kUnused))
            return { Outcome::RefusedTaken, serial };
        // A kind that never marks its numbers used still takes a registered row only while no
        // saved bill holds it.
        const bool fillsRegistration = takesRegistered && !claims && dateAt >= 0;
        if (fillsRegistration && (status != kUnused || dated))
            return { Outcome::RefusedTaken, serial };
        QStringList sets;
        QVariantList bound;
        for (const auto& [column, value] : values) {
            sets << Database::quoted(column) + QStringLiteral("=?");
            bound << value;
        }
        bound << serial;
        QString where = key + QStringLiteral("=?");
        if (claims) {
            // The read above takes no lock on the server: the update itself decides, as a
            // second clerk's update waits for the first and then finds the number used.
            where += QStringLiteral(" and ") + Database::quoted(kStatus) + QStringLiteral("=?");
            bound << kUnused;
        } else if (fillsRegistration) {
            where += QStringLiteral(" and ") + Database::quoted(kDate) + QStringLiteral(" is null");
        }
        if (!sets.isEmpty()) {
            const int changed = mDb.execute(QStringLiteral("update %1 set %2 where %3")
                                                .arg(table, sets.join(QLatin1Char(',')), where),
                bound);
            if ((claims || fillsRegistration) && changed != 1)
                return { Outcome::RefusedTaken, serial };
        }
        BillItemValues::replace(mDb, mKind.table, serial, items);
        transaction.commit();
        return { Outcome::Edited, serial };
    }
    const int written = insert(values);
    BillItemValues::replace(mDb, mKind.table, written, items);
    transaction.commit();
    return { Outcome::Appended, written };
}

QList<int> BillStore::appendAll(
    const QList<Values>& bills, const QList<QList<std::pair<QString, QString>>>& items)
{
    Transaction transaction(mDb);
    QList<int> serials;
    serials.reserve(bills.size());
    for (qsizetype i = 0; i < bills.size(); ++i) {
        serials << insert(bills[i]);
        if (i < items.size())
            BillItemValues::replace(mDb, mKind.table, serials.last(), items[i]);
    }
    transaction.commit();
    return serials;
}

int BillStore::insert(const Values& values)
{
    QStringList columns;
    QStringList marks;
    QVariantList bound;
    for (const auto& [column, value] : values) {
        columns << Database::quoted(column);
        marks << QStringLiteral("?");
        bound << value;
    }
    return mDb
        .insert(QStringLiteral("insert into %1 (%2) values (%3)")
                    .arg(Database::quoted(mKind.table), columns.join(QLatin1Char(',')),
                        marks.join(QLatin1Char(','))),
            bound, kSerial)
        .toInt();
}

std::optional<QVariantMap> BillStore::load(int serial)
{
    QSqlQuery q = mDb.exec(QStringLiteral("select * from %1 where %2=?")
                               .arg(Database::quoted(mKind.table), Database::quoted(kSerial)),
        { serial });
    return firstRow(q);
}

QHash<QString, QString> BillStore::loadItems(int serial)
{
    return BillItemValues::load(mDb, mKind.table, serial);
}

std::optional<QVariantMap> BillStore::findByNumber(const QString& number)
{
    QSqlQuery q = mDb.exec(QStringLiteral("select * from %1 where %2=? order by %3")
                               .arg(Database::quoted(mKind.table), Database::quoted(kNumber),
                                   Database::quoted(kSerial)),
        { number.trimmed() });
    return firstRow(q);
}

std::optional<QVariantMap> BillStore::findRegistered(const QString& number)
{
    QSqlQuery q = mDb.exec(QStringLiteral("select * from %1 where %2=? and %3=? order by %4")
                               .arg(Database::quoted(mKind.table), Database::quoted(kNumber),
                                   Database::quoted(kStatus), Database::quoted(kSerial)),
        { number.trimmed(), kUnused });
    for (std::optional<QVariantMap> row = firstRow(q); row; row = firstRow(q))
        if (!holdsBill(*row))
            return row;
    return std::nullopt;
}

QStringList BillStore::offeredNumbers()
{
    QSqlQuery q = mDb.exec(QStringLiteral("select * from %1 where %2=? order by %3")
                               .arg(Database::quoted(mKind.table), Database::quoted(kStatus),
                                   Database::quoted(kSerial)),
        { kUnused });
    QStringList numbers;
    for (std::optional<QVariantMap> row = firstRow(q); row; row = firstRow(q)) {
        const QString number = row->value(kNumber).toString();
        if (!holdsBill(*row) && !numbers.contains(number))
            numbers << number;
    }
    return numbers;
}

QString BillStore::takenMessage(const QString& number)
{
    return QStringLiteral("票据编号“%1”已被其他用户使用，本单据没有保存！请选择其他票据编号。")
        .arg(number.trimmed());
}

} // namespace pennock::core
