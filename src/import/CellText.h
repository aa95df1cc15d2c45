#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QDate;
class QTime;

namespace pennock::core {

/// One sheet as a reader gives it: each row ends at its last non-empty cell, the sheet at its
/// last non-empty row.
struct SheetRows
{
    QString name;
    QList<QStringList> rows;
};

/// What a cell shows, the same for every format.
class CellText
{
public:
    /// What a number format makes of a number.
    enum class Shape { Number, Date, DateTime, Time };

    /// A number as a spreadsheet shows it in a general cell: at most 15 significant digits, no
    /// exponent for ordinary sizes, no trailing zeros ("13800138000", "0.3" for 0.1 + 0.2).
    static QString number(double value);
    /// "yyyy-MM-dd HH:mm:ss", or "yyyy-MM-dd" at midnight.
    static QString dateTime(const QDate& date, const QTime& time);

    /// The shape of an xlsx number format: its code when it has one ("yyyy/m/d", "[Red]0.00"),
    /// else its built-in identifier.
    static Shape shapeOf(int builtinId, const QString& code);
    /// A serial day number of xlsx in a shape: days since 1900 (or 1904), the time of day as the
    /// fraction.
    static QString serial(double value, Shape shape, bool date1904);

    /// Cuts a row after its last non-empty cell.
    static void trimRow(QStringList& row);
    /// Drops the empty rows at the end of a sheet.
    static void trimSheet(QList<QStringList>& rows);
};

} // namespace pennock::core
