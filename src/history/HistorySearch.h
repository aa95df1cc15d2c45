#pragma once

#include "history/HistoryKind.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

class QSqlQueryModel;

namespace pennock::core {

class Database;

/// What the filter boxes of a history window hold.
struct HistoryCriteria
{
    QString number; ///< the number box
    QHash<QString, QString> texts; ///< by filter option ("payee", "drawer", …)
    bool exact = false; ///< "精确查询"; fuzzy finds the text anywhere in the value
    std::optional<QDate> from; ///< none: "不限日期"
    std::optional<QDate> to;
    QString amountFrom;
    QString amountTo;
    QString sortColumn; ///< a column of the table; empty: the window's own order
    bool descending = true;
};

/// The statements of one search: the rows and their sum, with their bound values. A reversed
/// date range leaves `dateError` set and nothing to run; an amount bound that is not digits and
/// points is ignored and named in `badBounds`.
struct HistoryStatement
{
    QString sql;
    QVariantList values;
    QString countSql; ///< how many rows `sql` finds
    QString sumSql; ///< empty when the window has no sum
    QVariantList sumValues;
    QString dateError; ///< the message of a reversed date range
    QStringList badBounds; ///< "from", "to"
    bool runnable() const { return dateError.isEmpty(); }
};

/// Builds and runs the searches of a history window; every typed value is bound.
class HistorySearch
{
public:
    HistorySearch(Database& db, const HistoryKind& kind)
        : mDb(db)
        , mKind(kind)
    {
    }

    /// An amount bound the window accepts: digits and points only, not empty.
    static bool isAmountBound(const QString& text);
    /// The search for these criteria. A sort column that is not the table's is ignored.
    HistoryStatement build(const HistoryCriteria& criteria) const;
    /// The sum of the rows of a statement; none when the window has no sum or no row counts.
    /// Throws DbError.
    std::optional<double> sum(const HistoryStatement& statement);
    /// Gives a grid's model the rows of a statement; the model reads them as they are shown.
    /// Throws DbError.
    void showIn(QSqlQueryModel& model, const HistoryStatement& statement);
    /// How many rows a statement finds. Throws DbError.
    int count(const HistoryStatement& statement);
    /// Distinct values of the number box's list. Throws DbError.
    QStringList numberList();
    /// Distinct values of a column of the table (empty for a column it lacks). Throws DbError.
    QStringList distinctValues(const QString& column);
    /// The full name of the party whose mnemonic starts with `code`, the shortest such mnemonic
    /// first; none when no party has one. Throws DbError.
    std::optional<QString> nameOfShortCode(const QString& code);
    /// Writes one value of one row; false when the row or the column does not exist.
    /// Throws DbError.
    bool setValue(int serial, const QString& column, const QVariant& value);

    /// Marks rows "作废"; the number of rows changed. Throws DbError.
    int voidRows(const QList<int>& serials);
    /// Gives a row a new bill number; false when no row has that serial. Throws DbError.
    bool renumber(int serial, const QString& number);

    /// One registered number and what became of it.
    struct Registered
    {
        QString number;
        bool written = false;
        QString message; ///< why it was refused or skipped
    };
    /// Checks a run of numbers to register: the message that refuses it, empty when fine.
    static QString checkRange(const QString& from, const QString& to);
    /// The numbers of a run: decimal, zero-padded and cut to `digits` (rightmost kept), prefixed.
    static QStringList numbersOf(int from, int to, int digits, const QString& prefix);
    /// Registers blanks ("未用") with the template, drawer, account and bank; a number already
    /// registered is refused and the run goes on. Throws DbError.
    QList<Registered> registerBlanks(const QStringList& numbers, const QString& variant,
        const QString& drawer, const QString& account, const QString& bank);
    /// Registers invoice numbers under an invoice code; existing ones are skipped, the first
    /// four of them with a message. Throws DbError.
    QList<Registered> registerInvoices(
        const QStringList& numbers, const QString& variant, const QString& code);

private:
    bool isColumn(const QString& column) const;

    Database& mDb;
    const HistoryKind& mKind;
};

} // namespace pennock::core
