#include "SheetFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringEncoder>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

namespace pennock::test {

QString TestCell::shown() const
{
    switch (kind) {
    case Kind::Text:
    case Kind::Number:
        return text;
    case Kind::Date:
        return date.toString(u"yyyy-MM-dd"_qs);
    case Kind::Blank:
        break;
    }
    return {};
}

void runPython(const QString& script, const QStringList& arguments)
{
    // Debian's interpreter, where the python3-* packages are.
    const QString python
        = QFileInfo::exists(u"/usr/bin/python3"_qs) ? u"/usr/bin/python3"_qs : u"python3"_qs;
    QProcess process;
    process.start(python, QStringList { u"-c"_qs, script } + arguments);
    ASSERT_TRUE(process.waitForFinished(60000)) << "python did not finish";
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

void writeXlsx(const QString& path, const QList<TestSheet>& book)
{
    lxw_workbook* workbook = workbook_new(QFile::encodeName(path).constData());
    ASSERT_NE(workbook, nullptr);
    lxw_format* dateFormat = workbook_add_format(workbook);
    format_set_num_format(dateFormat, "yyyy-mm-dd");
    // Shows 128.50; the reader gives the shortest text all the same.
    lxw_format* moneyFormat = workbook_add_format(workbook);
    format_set_num_format(moneyFormat, "0.00");
    lxw_format* blankFormat = workbook_add_format(workbook);
    format_set_bg_color(blankFormat, LXW_COLOR_YELLOW);
    for (const TestSheet& sheet : book) {
        lxw_worksheet* ws = workbook_add_worksheet(workbook, sheet.name.toUtf8().constData());
        for (int r = 0; r < sheet.rows.size(); ++r) {
            for (int c = 0; c < sheet.rows[r].size(); ++c) {
                const TestCell& cell = sheet.rows[r][c];
                switch (cell.kind) {
                case TestCell::Kind::Text:
                    worksheet_write_string(
                        ws, r, lxw_col_t(c), cell.text.toUtf8().constData(), nullptr);
                    break;
                case TestCell::Kind::Number:
                    worksheet_write_number(ws, r, lxw_col_t(c), cell.number,
                        cell.number == qint64(cell.number) ? nullptr : moneyFormat);
                    break;
                case TestCell::Kind::Date: {
                    lxw_datetime when { cell.date.year(), cell.date.month(), cell.date.day(), 0, 0,
                        0 };
                    worksheet_write_datetime(ws, r, lxw_col_t(c), &when, dateFormat);
                    break;
                }
                case TestCell::Kind::Blank:
                    worksheet_write_blank(ws, r, lxw_col_t(c), blankFormat);
                    break;
                }
            }
        }
    }
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
}

namespace {

// The book as JSON for the Python writers: cells as [kind, value], kind s, n, d or b.
QString writeJson(const QString& path, const QList<TestSheet>& book)
{
    QJsonArray sheets;
    for (const TestSheet& sheet : book) {
        QJsonArray rows;
        for (const QList<TestCell>& row : sheet.rows) {
            QJsonArray cells;
            for (const TestCell& cell : row) {
                switch (cell.kind) {
                case TestCell::Kind::Text:
                    cells.append(QJsonArray { u"s"_qs, cell.text });
                    break;
                case TestCell::Kind::Number:
                    cells.append(QJsonArray { u"n"_qs, cell.number });
                    break;
                case TestCell::Kind::Date:
                    cells.append(QJsonArray { u"d"_qs, cell.date.toString(Qt::ISODate) });
                    break;
                case TestCell::Kind::Blank:
                    cells.append(QJsonArray { u"b"_qs, QString() });
                    break;
                }
            }
            rows.append(cells);
        }
        sheets.append(QJsonObject { { u"name"_qs, sheet.name }, { u"rows"_qs, rows } });
    }
    const QString jsonPath = path + u".json"_qs;
    QFile file(jsonPath);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(sheets).toJson());
    return jsonPath;
}

} // namespace

void writeXls(const QString& path, const QList<TestSheet>& book)
{
    const QString script = uR"(
import datetime, json, sys, xlwt
book = json.load(open(sys.argv[1], encoding="utf-8"))
wb = xlwt.Workbook(encoding="utf-8")
date_style = xlwt.easyxf(num_format_str="yyyy-mm-dd")
blank_style = xlwt.easyxf("pattern: pattern solid, fore_colour yellow")
for sheet in book:
    ws = wb.add_sheet(sheet["name"])
    for r, row in enumerate(sheet["rows"]):
        for c, (kind, value) in enumerate(row):
            if kind == "d":
                ws.write(r, c, datetime.date.fromisoformat(value), date_style)
            elif kind == "b":
                ws.write(r, c, None, blank_style)
            else:
                ws.write(r, c, value)
wb.save(sys.argv[2])
)"_qs;
    runPython(script, { writeJson(path, book), path });
}

void writeOds(const QString& path, const QList<TestSheet>& book)
{
    const QString script = uR"(
import json, sys
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell
from odf.text import P
book = json.load(open(sys.argv[1], encoding="utf-8"))
doc = OpenDocumentSpreadsheet()
for sheet in book:
    table = Table(name=sheet["name"])
    for row in sheet["rows"]:
        tr = TableRow()
        for kind, value in row:
            if kind == "s":
                cell = TableCell(valuetype="string")
            elif kind == "n":
                cell = TableCell(valuetype="float", value=value)
            elif kind == "d":
                cell = TableCell(valuetype="date", datevalue=value)
            else:
                cell = TableCell()
            if kind != "b":
                cell.addElement(P(text=str(value)))
            tr.addElement(cell)
        table.addElement(tr)
    doc.spreadsheet.addElement(table)
doc.save(sys.argv[2])
)"_qs;
    runPython(script, { writeJson(path, book), path });
}

void writeCsv(const QString& path, const TestSheet& sheet, const QString& encoding)
{
    QStringList lines;
    for (const QList<TestCell>& row : sheet.rows) {
        QStringList fields;
        for (const TestCell& cell : row) {
            QString field = cell.shown();
            if (field.contains(u',') || field.contains(u'"') || field.contains(u'\n')) {
                field.replace(u"\""_qs, u"\"\""_qs);
                field = u'"' + field + u'"';
            }
            fields.append(field);
        }
        lines.append(fields.join(u','));
    }
    const QString text = lines.join(u"\r\n"_qs) + u"\r\n"_qs;
    QByteArray bytes;
    if (encoding == u"GB18030"_qs) {
        QStringEncoder gb18030("GB18030");
        ASSERT_TRUE(gb18030.isValid());
        bytes = gb18030(text);
    } else {
        bytes = (encoding == u"UTF-8 BOM"_qs ? QByteArray("\xEF\xBB\xBF") : QByteArray())
            + text.toUtf8();
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

} // namespace pennock::test
