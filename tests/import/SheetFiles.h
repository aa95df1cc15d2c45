#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <ostream>

#include "support/PrintQString.h"

namespace pennock::test {

/// One cell of a fixture workbook, with the text a reader is to give for it.
struct TestCell
{
    enum class Kind { Text, Number, Date, Blank };

    Kind kind = Kind::Blank;
    QString text; ///< the text of a text cell, the expected text of a number
    double number = 0;
    QDate date;

    static TestCell str(const QString& text) { return { Kind::Text, text, 0, {} }; }
    static TestCell num(double value, const QString& shown)
    {
        return { Kind::Number, shown, value, {} };
    }
    static TestCell day(QDate date) { return { Kind::Date, {}, 0, date }; }
    /// A formatted cell without a value.
    static TestCell blank() { return {}; }

    QString shown() const;
};

struct TestSheet
{
    QString name;
    QList<QList<TestCell>> rows;
};

/// Fixture writers, each through a real writer of its format: libxlsxwriter, xlwt, odfpy.
void writeXlsx(const QString& path, const QList<TestSheet>& book);
void writeXls(const QString& path, const QList<TestSheet>& book);
void writeOds(const QString& path, const QList<TestSheet>& book);
/// The first sheet as CSV lines ending in CR LF, quoted where needed, in "UTF-8", "UTF-8 BOM"
/// or "GB18030".
void writeCsv(const QString& path, const TestSheet& sheet, const QString& encoding);

/// Runs a Python 3 script of Debian's interpreter with arguments; a failure fails the test.
void runPython(const QString& script, const QStringList& arguments);

} // namespace pennock::test
