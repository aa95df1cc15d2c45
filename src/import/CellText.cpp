#include "import/CellText.h"

#include <QDate>
#include <QTime>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pennock::core {

QString CellText::number(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    // Round to the 15 digits a spreadsheet shows, then write the shortest text of that.
    char buffer[400];
    auto written
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    double shown = value;
    std::from_chars(buffer, written.ptr, shown);
    if (shown == 0)
        return QStringLiteral("0");
    const double magnitude = std::fabs(shown);
    const auto style = magnitude >= 1e-9 && magnitude < 1e21 ? std::chars_format::fixed
                                                             : std::chars_format::general;
    written = std::to_chars(buffer, buffer + sizeof buffer, shown, style);
    return QString::fromLatin1(buffer, written.ptr - buffer);
}

QString CellText::dateTime(const QDate& date, const QTime& time)
{
    const QString day = date.toString(QStringLiteral("yyyy-MM-dd"));
    if (!time.isValid() || time == QTime(0, 0))
        return day;
    return day + QLatin1Char(' ') + time.toString(QStringLiteral("HH:mm:ss"));
}

CellText::Shape CellText::shapeOf(int builtinId, const QString& code)
{
    if (code.isEmpty()) {
        // The built-in formats of a Chinese spreadsheet program that show dates and times.
        static constexpr int dates[]
            = { 14, 15, 16, 17, 27, 28, 29, 30, 31, 36, 50, 51, 54, 57, 58 };
        static constexpr int times[]
            = { 18, 19, 20, 21, 32, 33, 34, 35, 45, 46, 47, 52, 53, 55, 56 };
        if (std::ranges::find(dates, builtinId) != std::end(dates))
            return Shape::Date;
        if (std::ranges::find(times, builtinId) != std::end(times))
            return Shape::Time;
        return builtinId == 22 ? Shape::DateTime : Shape::Number;
    }
    // A code shows a date when its first section has a date or time letter outside quotes,
    // escapes and brackets ("[Red]", "[$-804]"); "m" alone is a month, "[h]" elapsed hours.
    bool date = false, time = false, month = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == u';')
            break;
        if (c == u'"') {
            const qsizetype close = code.indexOf(u'"', i + 1);
            i = close < 0 ? code.size() : close;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype close = code.indexOf(u']', i + 1);
            const QString inside = code.mid(i + 1, close < 0 ? -1 : close - i - 1).toLower();
            time = time
                || (!inside.isEmpty()
                    && inside.count(u'h') + inside.count(u'm') + inside.count(u's')
                        == inside.size());
            i = close < 0 ? code.size() : close;
        } else if (code.mid(i, 5).compare(u"AM/PM", Qt::CaseInsensitive) == 0) {
            i += 4;
        } else if (code.mid(i, 3).compare(u"A/P", Qt::CaseInsensitive) == 0) {
            i += 2;
        } else {
            switch (c.toLower().unicode()) {
            case u'y':
            case u'd':
                date = true;
                break;
            case u'h':
            case u's':
                time = true;
                break;
            case u'm':
                month = true;
                break;
            default:
                break;
            }
        }
    }
    date = date || (month && !time);
    if (date && time)
        return Shape::DateTime;
    return date ? Shape::Date : time ? Shape::Time : Shape::Number;
}

QString CellText::serial(double value, Shape shape, bool date1904)
{
    if (shape == Shape::Number || !(value >= 0 && value < 3e6))
        return number(value);
    // A date is the day of its moment to the millisecond, a time is rounded to the second.
    long long days = std::llround(value * 86400000.0) / 86400000;
    const long long seconds = std::llround(value * 86400.0);
    const QTime time = QTime(0, 0).addSecs(int(seconds % 86400));
    if (shape == Shape::Time)
        return time.toString(QStringLiteral("HH:mm:ss"));
    if (shape == Shape::DateTime)
        days = seconds / 86400;
    // The 1900 system counts a 29 February 1900 that never was: its first two months are
    // one day early.
    QDate date;
    if (date1904)
        date = QDate(1904, 1, 1).addDays(days);
    else
        date = QDate(1899, 12, days < 60 ? 31 : 30).addDays(days);
    return shape == Shape::Date ? date.toString(QStringLiteral("yyyy-MM-dd"))
                                : dateTime(date, time);
}

void CellText::trimRow(QStringList& row)
{
    qsizetype end = row.size();
    while (end > 0 && row.at(end - 1).isEmpty())
        --end;
    row.resize(end);
}

void CellText::trimSheet(QList<QStringList>& rows)
{
    qsizetype end = rows.size();
    while (end > 0 && rows.at(end - 1).isEmpty())
        --end;
    rows.resize(end);
}

} // namespace pennock::core
