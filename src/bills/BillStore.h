#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <optional>
#include <utility>

namespace pennock::core {

class Database;
struct BillKind;

/// The stored bills of one kind: one row of the kind's table per bill, keyed by `流水号`.
/// Column names come from the kind's descriptor only.
class BillStore
{
public:
    BillStore(Database& db, const BillKind& kind)
        : mDb(db)
        , mKind(kind)
    {
    }

    static const QString kSerial; ///< "流水号"
    static const QString kStatus; ///< "票据状态"
    static const QString kNumber; ///< "票据编号"
    static const QString kVariant; ///< "模板种类"
    static const QString kUsed; ///< "已用"
    static const QString kUnused; ///< "未用"
    static const QString kVoided; ///< "作废"
    static const QString kDate; ///< "出票日期"

    /// A row that holds a saved bill: used or voided, or dated, which a registration never is.
    /// Its number is offered to no other bill and taken by no other save.
    static bool holdsBill(const QVariantMap& row);

    using Values = QList<std::pair<QString, QVariant>>;

    enum class Outcome { Appended, Edited, RefusedVoided, RefusedTaken };
    struct SaveResult
    {
        Outcome outcome;
        int serial; ///< the row written; the given serial when refused
    };

    /// Writes one bill in one transaction: a new row when `serial` has none, else that row,
    /// unless the kind refuses voided rows and it is voided. The row is complete or not
    /// written. `takesRegistered`: the row was a registered number ("未用") when the bill was
    /// opened; it is filled only while it still is and no saved bill holds it, so another
    /// clerk's save that took it first wins and this one is refused (RefusedTaken), whether or
    /// not the kind marks its numbers used. Throws DbError.
    /// `items`: the values no column holds, written with the row in the same transaction.
    SaveResult save(int serial, const Values& values, bool takesRegistered = false,
        const QList<std::pair<QString, QString>>& items = {});
    /// The values of a saved bill that no column holds, by lower-case control name.
    QHash<QString, QString> loadItems(int serial);
    /// Appends many bills in one transaction (all or none); their serials in order.
    /// `items`, when given, holds each bill's values that no column holds, in the same order.
    QList<int> appendAll(
        const QList<Values>& bills, const QList<QList<std::pair<QString, QString>>>& items = {});
    /// The row of a serial, by column name; none when missing. Throws DbError.
    std::optional<QVariantMap> load(int serial);
    /// The first row carrying a bill number (trimmed). Throws DbError.
    std::optional<QVariantMap> findByNumber(const QString& number);
    /// The first row registering a bill number (trimmed) that no saved bill holds yet. Throws
    /// DbError.
    std::optional<QVariantMap> findRegistered(const QString& number);
    /// The registered numbers no saved bill holds, in the order they were registered.
    QStringList offeredNumbers();
    /// What a clerk is told when another took the registered number first.
    static QString takenMessage(const QString& number);

private:
    int insert(const Values& values);

    Database& mDb;
    const BillKind& mKind;
};

} // namespace pennock::core
