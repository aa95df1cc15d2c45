#include "SheetFiles.h"

#include "import/CellText.h"
#include "import/SheetReader.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <cmath>
#include <functional>
#include <limits>

using pennock::core::CellText;
using pennock::core::SheetBook;
using pennock::core::SheetError;
using pennock::test::TempHome;
using pennock::test::TestCell;
using pennock::test::TestSheet;

namespace {

using Cell = TestCell;

// Opens a workbook; an error fails the test with its message.
SheetBook read(const QString& path)
{
    try {
        return SheetBook::open(path);
    } catch (const SheetError& e) {
        ADD_FAILURE() << e.message.toStdString();
        throw;
    }
}

// A shop's order sheet: digits kept as text, an 11-digit mobile number as a number cell,
// decimals, dates, empty cells in the middle, a comma and quotes inside a text; then a row of
// formatted blanks and an empty row, which a reader leaves out.
TestSheet orderSheet()
{
    QList<Cell> titles;
    for (const char* title : { "订单编号", "收货人", "收件人电话", "手机", "省", "市", "区",
             "详细地址", "宝贝标题", "数量", "买家留言", "实付金额", "付款日期" })
        titles.append(Cell::str(QString::fromUtf8(title)));
    return { u"订单"_qs,
        { titles,
            { Cell::str(u"240305000000000001"_qs), Cell::str(u"张三"_qs),
                Cell::str(u"010-88886666"_qs), Cell::num(13800138000.0, u"13800138000"_qs),
                Cell::str(u"广东省"_qs), Cell::str(u"深圳市"_qs), Cell::str(u"南山区"_qs),
                Cell::str(u"科技园路1号 A座"_qs), Cell::str(u"纯棉T恤 白色 XL"_qs),
                Cell::num(2, u"2"_qs), Cell::str(u"请周末送货"_qs), Cell::num(128.5, u"128.5"_qs),
                Cell::day(QDate(2024, 3, 5)) },
            { Cell::str(u"240305000000000002"_qs), Cell::str(u"Wang, Lei \"老王\""_qs),
                Cell::blank(), Cell::num(13912345678.0, u"13912345678"_qs), Cell::str(u"浙江省"_qs),
                Cell::str(u"杭州市"_qs), Cell::str(u"西湖区"_qs), Cell::str(u"文三路100号"_qs),
                Cell::str(u"保温杯 500ml"_qs), Cell::num(1, u"1"_qs), Cell::blank(),
                Cell::num(99.99, u"99.99"_qs), Cell::day(QDate(2023, 12, 31)) },
            { Cell::str(u"240305000000000003"_qs), Cell::str(u"赵六"_qs),
                Cell::str(u"0755-1234567"_qs), Cell::num(18600001111.0, u"18600001111"_qs),
                Cell::str(u"北京市"_qs), Cell::str(u"北京市"_qs), Cell::str(u"朝阳区"_qs),
                Cell::str(u"建国路88号"_qs), Cell::str(u"茶叶礼盒"_qs), Cell::num(12, u"12"_qs),
                Cell::str(u"开发票"_qs), Cell::num(1234567.89, u"1234567.89"_qs),
                Cell::day(QDate(2024, 1, 1)) },
            { Cell::blank(), Cell::blank(), Cell::blank() }, {} } };
}

TestSheet secondSheet()
{
    return { u"备注"_qs,
        { { Cell::str(u"说明"_qs) }, { Cell::str(u"第二页"_qs), Cell::num(3.25, u"3.25"_qs) } } };
}

QList<QStringList> shownRows(const TestSheet& sheet, int count)
{
    QList<QStringList> rows;
    for (int r = 0; r < count; ++r) {
        QStringList row;
        for (const TestCell& cell : sheet.rows[r])
            row.append(cell.shown());
        rows.append(row);
    }
    return rows;
}

struct FormatCase
{
    const char* name;
    const char* file;
    std::function<void(const QString&, const QList<TestSheet>&)> write;
    bool manySheets;
};

void PrintTo(const FormatCase& format, std::ostream* os) { *os << format.name; }

void writeCsvAs(const QString& path, const QList<TestSheet>& book, const QString& encoding)
{
    pennock::test::writeCsv(path, book.first(), encoding);
}

const FormatCase kFormats[] = {
    { "xlsx", "订单.xlsx", pennock::test::writeXlsx, true },
    { "xls", "订单.xls", pennock::test::writeXls, true },
    { "ods", "订单.ods", pennock::test::writeOds, true },
    { "csv_utf8", "订单.csv", [](auto& p, auto& b) { writeCsvAs(p, b, u"UTF-8"_qs); }, false },
    { "csv_utf8_bom", "订单.csv", [](auto& p, auto& b) { writeCsvAs(p, b, u"UTF-8 BOM"_qs); },
        false },
    { "csv_gbk", "订单.csv", [](auto& p, auto& b) { writeCsvAs(p, b, u"GB18030"_qs); }, false },
};

class SheetFormatTest : public ::testing::TestWithParam<FormatCase>
{
protected:
    TempHome home;
};

TEST_P(SheetFormatTest, ReadsTheOrderSheet)
{
    const FormatCase& format = GetParam();
    const QString path = home.file(QString::fromUtf8(format.file));
    format.write(path, { orderSheet(), secondSheet() });
    ASSERT_FALSE(::testing::Test::HasFatalFailure());

    const SheetBook book = read(path);
    const QStringList names
        = format.manySheets ? QStringList { u"订单"_qs, u"备注"_qs } : QStringList { u"订单"_qs };
    EXPECT_EQ(book.sheetNames(), names);
    const QList<QStringList> expected = shownRows(orderSheet(), 4);
    const QList<QStringList> rows = book.rows(0);
    ASSERT_EQ(rows.size(), expected.size());
    for (int r = 0; r < rows.size(); ++r)
        EXPECT_EQ(rows[r], expected[r]) << "row " << r;
    if (format.manySheets) {
        EXPECT_EQ(book.rows(1), shownRows(secondSheet(), 2));
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, SheetFormatTest, ::testing::ValuesIn(kFormats),
    [](const auto& info) { return std::string(info.param.name); });

// ---- What cells show --------------------------------------------------------------------------

TEST(CellText, NumbersAsASpreadsheetShowsThem)
{
    const std::pair<double, const char*> cases[] = {
        { 13800138000.0, "13800138000" },
        { 2, "2" },
        { -3, "-3" },
        { 12.5, "12.5" },
        { 0.1 + 0.2, "0.3" },
        { 2.0 / 3.0, "0.666666666666667" },
        { 1e-7, "0.0000001" },
        { 123456789012345678.0, "123456789012346000" },
        { 1e22, "1e+22" },
        { 0.0, "0" },
        { -0.0, "0" },
    };
    for (const auto& [value, shown] : cases)
        EXPECT_EQ(CellText::number(value), QString::fromLatin1(shown)) << value;
}

TEST(CellText, DateTimesDropMidnight)
{
    const QDate day(2024, 3, 5);
    EXPECT_EQ(CellText::dateTime(day, QTime(0, 0)), u"2024-03-05"_qs);
    EXPECT_EQ(CellText::dateTime(day, QTime()), u"2024-03-05"_qs);
    EXPECT_EQ(CellText::dateTime(day, QTime(14, 7, 9)), u"2024-03-05 14:07:09"_qs);
    EXPECT_EQ(CellText::dateTime(day, QTime(0, 0, 1)), u"2024-03-05 00:00:01"_qs);
}

// Number formats decide whether an xlsx number is a date, a time or a number.
TEST(SheetBookXlsx, NumberFormatsShowDatesTimesAndNumbers)
{
    struct Case
    {
        int builtin; // 0: the custom code
        const char* code;
        double value;
        const char* shown;
    };
    const Case cases[] = {
        { 0, nullptr, 45356, "45356" }, // General
        { 14, nullptr, 45356, "2024-03-05" }, { 22, nullptr, 45356.5, "2024-03-05 12:00:00" },
        { 22, nullptr, 45356, "2024-03-05" }, { 21, nullptr, 0.75, "18:00:00" },
        { 31, nullptr, 45356, "2024-03-05" }, // yyyy"年"m"月"d"日"
        { 4, nullptr, 1234.5, "1234.5" }, // #,##0.00
        { 10, nullptr, 0.15, "0.15" }, // 0.00%
        { 14, nullptr, 1, "1900-01-01" }, { 14, nullptr, 59, "1900-02-28" },
        { 14, nullptr, 61, "1900-03-01" },
        { 14, nullptr, 45356.9999999, "2024-03-05" }, // a date is the day of the moment
        { 22, nullptr, 45356.999999999, "2024-03-06" }, // a time rounds to the second
        { 0, "yyyy/mm/dd", 45356, "2024-03-05" },
        { 0, "[$-804]yyyy\"年\"m\"月\"d\"日\"", 45356, "2024-03-05" },
        { 0, "m/d", 45356, "2024-03-05" },
        { 0, "yyyy-mm-dd hh:mm", 45356.25, "2024-03-05 06:00:00" },
        { 0, "mm:ss", 90.0 / 86400, "00:01:30" }, { 0, "h:mm AM/PM", 0.5, "12:00:00" },
        { 0, "[Red]0.00", 12.5, "12.5" }, { 0, "\"d\"0", 7, "7" },
        { 0, "0.00_);[Red](0.00)", -12.5, "-12.5" }, { 0, "0.00;\"yyyy\"", 3, "3" },
        { 0, "@", 5, "5" }, { 14, nullptr, -1, "-1" }, // no date before the origin
    };
    TempHome home;
    const QString path = home.file(u"formats.xlsx"_qs);
    lxw_workbook* workbook = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* ws = workbook_add_worksheet(workbook, "Sheet1");
    int row = 0;
    for (const Case& c : cases) {
        lxw_format* format = workbook_add_format(workbook);
        if (c.code)
            format_set_num_format(format, c.code);
        else
            format_set_num_format_index(format, uint8_t(c.builtin));
        worksheet_write_number(ws, lxw_row_t(row++), 0, c.value, format);
    }
    // Formulas keep the result they were saved with, in their cell's format.
    lxw_format* dateFormat = workbook_add_format(workbook);
    format_set_num_format(dateFormat, "yyyy-mm-dd");
    worksheet_write_formula_num(ws, lxw_row_t(row++), 0, "=A2", dateFormat, 45356);
    worksheet_write_formula_num(ws, lxw_row_t(row++), 0, "=1+2", nullptr, 3);
    worksheet_write_formula_str(ws, lxw_row_t(row++), 0, "=\"a\"&\"b\"", nullptr, "ab");
    worksheet_write_boolean(ws, lxw_row_t(row++), 0, 1, nullptr);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    const QList<QStringList> rows = read(path).rows(0);
    ASSERT_EQ(rows.size(), row);
    for (int i = 0; i < int(std::size(cases)); ++i)
        EXPECT_EQ(rows[i], QStringList { QString::fromLatin1(cases[i].shown) })
            << (cases[i].code ? cases[i].code : "builtin") << " " << cases[i].builtin;
    EXPECT_EQ(rows[row - 4], QStringList { u"2024-03-05"_qs });
    EXPECT_EQ(rows[row - 3], QStringList { u"3"_qs });
    EXPECT_EQ(rows[row - 2], QStringList { u"ab"_qs });
    EXPECT_EQ(rows[row - 1], QStringList { u"TRUE"_qs });
}

// Another writer, shared strings and the 1904 date system of old Mac workbooks.
TEST(SheetBookXlsx, Reads1904DatesOfAnotherWriter)
{
    TempHome home;
    const QString path = home.file(u"mac.xlsx"_qs);
    pennock::test::runPython(uR"(
import datetime, sys, openpyxl
from openpyxl.utils.datetime import CALENDAR_MAC_1904
wb = openpyxl.Workbook()
wb.epoch = CALENDAR_MAC_1904
ws = wb.active
ws.title = "订单"
ws.append(["收货人", "付款日期", "手机"])
ws.append(["张三", datetime.date(2024, 3, 5), 13800138000])
ws["B2"].number_format = "yyyy-mm-dd"
wb.save(sys.argv[1])
)"_qs,
        { path });
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    const SheetBook book = read(path);
    EXPECT_EQ(book.sheetNames(), QStringList { u"订单"_qs });
    EXPECT_EQ(book.rows(0),
        (QList<QStringList> { { u"收货人"_qs, u"付款日期"_qs, u"手机"_qs },
            { u"张三"_qs, u"2024-03-05"_qs, u"13800138000"_qs } }));
}

// A package as streaming writers and other libraries make it: parts named from the package root,
// strings in their cells, rich text with phonetic guides, escaped carriage returns, cells and rows
// without addresses, truth values, errors, formula texts, ISO dates; formatted empty cells.
TEST(SheetBookXlsx, ReadsPackagesOfOtherWriters)
{
    TempHome home;
    const QString path = home.file(u"pkg.xlsx"_qs);
    pennock::test::runPython(uR"(
import sys, zipfile
main = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
parts = {
    "_rels/.rels": f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="{rel}/officeDocument" Target="/xl/workbook.xml"/></Relationships>',
    "xl/workbook.xml": f'<workbook {main} xmlns:r="{rel}"><sheets><sheet name="订单" sheetId="1" r:id="rId1"/><sheet name="空表" sheetId="2" r:id="rId2"/></sheets></workbook>',
    "xl/_rels/workbook.xml.rels": f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        f'<Relationship Id="rId1" Type="{rel}/worksheet" Target="/xl/worksheets/sheet1.xml"/>'
        f'<Relationship Id="rId2" Type="{rel}/worksheet" Target="worksheets/../worksheets/sheet2.xml"/>'
        f'<Relationship Id="rId3" Type="{rel}/sharedStrings" Target="/xl/sharedStrings.xml"/>'
        f'<Relationship Id="rId4" Type="{rel}/styles" Target="/xl/styles.xml"/></Relationships>',
    "xl/sharedStrings.xml": f'<sst {main}><si><t>收货人</t></si>'
        '<si><r><t>张</t></r><r><rPr><b/></rPr><t>三</t></r><rPh sb="0" eb="1"><t>zhang</t></rPh></si>'
        '<si><t>line_x000D_\nbreak</t></si></sst>',
    "xl/styles.xml": f'<styleSheet {main}><numFmts count="1"><numFmt numFmtId="164" formatCode="yyyy-mm-dd"/></numFmts>'
        '<cellStyleXfs count="1"><xf numFmtId="14"/></cellStyleXfs>'
        '<cellXfs count="3"><xf numFmtId="0"/><xf numFmtId="164"/><xf numFmtId="14"/></cellXfs></styleSheet>',
    "xl/worksheets/sheet1.xml": f'<worksheet {main}><sheetData>'
        '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="inlineStr"><is><t>手机</t></is></c>'
        '<c t="inlineStr"><is><r><t>付款</t></r><r><t>日期</t></r></is></c></row>'
        '<row r="2"><c r="A2" t="s"><v>1</v></c><c r="B2"><v>13800138000</v></c><c r="C2" s="1"><v>45356</v></c>'
        '<c r="D2" t="b"><v>1</v></c><c r="E2" t="e"><v>#N/A</v></c><c r="F2" t="str"><f>A1</f><v>收货人</v></c>'
        '<c r="G2" t="d"><v>2024-03-05T14:30:00</v></c><c r="H2" t="s"><v>2</v></c></row>'
        '<row><c r="C3" s="2"><v>45357</v></c></row>'
        '<row r="5"><c r="B5" s="1"/></row></sheetData></worksheet>',
    "xl/worksheets/sheet2.xml": f'<worksheet {main}><sheetData/></worksheet>',
}
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for name, text in parts.items():
        z.writestr(name, text)
)"_qs,
        { path });
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    const SheetBook book = read(path);
    EXPECT_EQ(book.sheetNames(), (QStringList { u"订单"_qs, u"空表"_qs }));
    const QList<QStringList> expected = {
        { u"收货人"_qs, u"手机"_qs, u"付款日期"_qs },
        { u"张三"_qs, u"13800138000"_qs, u"2024-03-05"_qs, u"TRUE"_qs, u"#N/A"_qs, u"收货人"_qs,
            u"2024-03-05 14:30:00"_qs, u"line\r\nbreak"_qs },
        { QString(), QString(), u"2024-03-06"_qs },
    };
    EXPECT_EQ(book.rows(0), expected);
    EXPECT_TRUE(book.rows(1).isEmpty());
}

// ---- ods --------------------------------------------------------------------------------------

// Cells of every value type, paragraphs, spaces and line breaks, notes, repeated rows and columns.
TEST(SheetBookOds, ReadsWhatACellShows)
{
    TempHome home;
    const QString path = home.file(u"cells.ods"_qs);
    pennock::test::runPython(uR"(
import sys
from odf.opendocument import OpenDocumentSpreadsheet
from odf.office import Annotation
from odf.table import Table, TableRow, TableCell
from odf.text import P, Span
from odf import teletype
doc = OpenDocumentSpreadsheet()
t = Table(name="订单")
def cell(row, text=None, paragraphs=(), **kw):
    c = TableCell(**kw)
    for p in paragraphs:
        c.addElement(p)
    if text is not None:
        c.addElement(P(text=text))
    row.addElement(c)
    return c
r = TableRow()
cell(r, paragraphs=[P(text="第一行"), P(text="第二行")], valuetype="string")
p = P(); teletype.addTextToElement(p, "a   b\tc\nd"); cell(r, paragraphs=[p], valuetype="string")
cell(r, "1.38E+10", valuetype="float", value=13800138000)
cell(r, "TRUE", valuetype="boolean", booleanvalue="true")
cell(r, "15%", valuetype="percentage", value=0.15)
cell(r, "¥128.50", valuetype="currency", currency="CNY", value=128.5)
cell(r, "x", valuetype="date", datevalue="2024-03-05T14:30:00")
cell(r, "x", valuetype="time", timevalue="PT14H30M05S")
cell(r, "3", valuetype="float", value=3, formula="of:=1+2")
cell(r, "ab", valuetype="string", stringvalue="ab", formula='of:="a"&"b"')
a = Annotation(); a.addElement(P(text="批注"))
cell(r, "值", paragraphs=[a], valuetype="string")
p = P(); p.addElement(Span(text="加粗")); p.addText("文字"); cell(r, paragraphs=[p], valuetype="string")
t.addElement(r)
r = TableRow(numberrowsrepeated=3); cell(r, "rep", valuetype="string", numbercolumnsrepeated=2); t.addElement(r)
r = TableRow(numberrowsrepeated=1000); cell(r, numbercolumnsrepeated=1024); t.addElement(r)
r = TableRow(); cell(r, numbercolumnsrepeated=3); cell(r, "end", valuetype="string"); cell(r, numbercolumnsrepeated=16000); t.addElement(r)
r = TableRow(numberrowsrepeated=1047000); cell(r, numbercolumnsrepeated=1024); t.addElement(r)
doc.spreadsheet.addElement(t)
doc.save(sys.argv[1])
)"_qs,
        { path });
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    const QList<QStringList> rows = read(path).rows(0);
    ASSERT_EQ(rows.size(), 1 + 3 + 1000 + 1);
    EXPECT_EQ(rows[0],
        (QStringList { u"第一行\n第二行"_qs, u"a   b\tc\nd"_qs, u"13800138000"_qs, u"TRUE"_qs,
            u"0.15"_qs, u"128.5"_qs, u"2024-03-05 14:30:00"_qs, u"14:30:05"_qs, u"3"_qs, u"ab"_qs,
            u"值"_qs, u"加粗文字"_qs }));
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(rows[r], (QStringList { u"rep"_qs, u"rep"_qs })) << r;
    EXPECT_TRUE(rows[4].isEmpty());
    EXPECT_TRUE(rows[1003].isEmpty());
    EXPECT_EQ(rows[1004], (QStringList { QString(), QString(), QString(), u"end"_qs }));
}

// ---- CSV --------------------------------------------------------------------------------------

TEST(SheetBookCsv, QuotesLineBreaksAndEncodings)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        QList<QStringList> rows;
    };
    const QString multiLine = u"建国路88号\n3单元"_qs;
    QStringEncoder gb18030("GB18030");
    ASSERT_TRUE(gb18030.isValid());
    const Case cases[] = {
        { "quoted fields and CR LF",
            "a,\"b, c\",\"say \"\"hi\"\"\"\r\n\"" + multiLine.toUtf8() + "\",,x\r\n",
            { { u"a"_qs, u"b, c"_qs, u"say \"hi\""_qs }, { multiLine, QString(), u"x"_qs } } },
        { "LF only, no final line break", "收货人,手机\n张三,13800138000",
            { { u"收货人"_qs, u"手机"_qs }, { u"张三"_qs, u"13800138000"_qs } } },
        { "blank lines in the middle stay, at the end go", "a\n\nb\n,,\n\n",
            { { u"a"_qs }, {}, { u"b"_qs } } },
        { "GB18030 with a character outside GBK", gb18030(u"收货人,𠀀\n李四,1\n"_qs),
            { { u"收货人"_qs, u"𠀀"_qs }, { u"李四"_qs, u"1"_qs } } },
        { "empty file", QByteArray(), {} },
    };
    for (const Case& c : cases) {
        TempHome home;
        home.write(u"名单.csv"_qs, c.bytes);
        const SheetBook book = read(home.file(u"名单.csv"_qs));
        EXPECT_EQ(book.sheetNames(), QStringList { u"名单"_qs }) << c.name;
        EXPECT_EQ(book.rows(0), c.rows) << c.name;
    }
}

TEST(SheetBookCsv, TextFilesEndingInTxtAreCsv)
{
    TempHome home;
    home.write(u"list.TXT"_qs, "收货人,手机\r\n");
    EXPECT_EQ(read(home.file(u"list.TXT"_qs)).rows(0),
        (QList<QStringList> { { u"收货人"_qs, u"手机"_qs } }));
}

// ---- Errors -----------------------------------------------------------------------------------

TEST(SheetBookErrors, UnreadableFilesNameTheFile)
{
    TempHome home;
    pennock::test::writeXlsx(home.file(u"good.xlsx"_qs), { orderSheet() });
    pennock::test::writeXls(home.file(u"good.xls"_qs), { orderSheet() });
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    const auto halfOf = [&home](const QString& name) {
        QFile file(home.file(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        return bytes.left(bytes.size() / 2);
    };

    struct Case
    {
        const char* name;
        QString file;
        QByteArray bytes; // not written when null
        const char* says;
    };
    const Case cases[] = {
        { "missing file", u"nothing.xlsx"_qs, QByteArray(), "找不到文件" },
        { "folder", u"folder.csv"_qs, QByteArray(), "找不到文件" },
        { "text as xlsx", u"text.xlsx"_qs, "收货人,手机\n", "不认识的文件格式" },
        { "binary as csv", u"binary.csv"_qs, QByteArray("a,b\n\0\x01\x02", 7), "不认识的文件格式" },
        { "text of another kind", u"notes.doc"_qs, "收货人", "不认识的文件格式" },
        { "zip header only", u"zip.xlsx"_qs, "PK\x03\x04garbage", "无法读取表格文件" },
        { "zip of something else", u"other.xlsx"_qs, QByteArray(), "不是 xlsx 或 ods" },
        { "document as workbook", u"letter.xlsx"_qs, QByteArray(), "不是 xlsx 或 ods" },
        { "half an xlsx", u"half.xlsx"_qs, halfOf(u"good.xlsx"_qs), "无法读取表格文件" },
        { "compound header only", u"ole.xls"_qs, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 garbage",
            "无法读取表格文件" },
        { "half an xls", u"half.xls"_qs, halfOf(u"good.xls"_qs), "无法读取表格文件" },
    };
    QDir(home.path()).mkdir(u"folder.csv"_qs);
    pennock::test::runPython(uR"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("readme.txt", "not a workbook")
with zipfile.ZipFile(sys.argv[2], "w") as z:
    z.writestr("_rels/.rels", '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>')
    z.writestr("word/document.xml", '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"/>')
)"_qs,
        { home.file(u"other.xlsx"_qs), home.file(u"letter.xlsx"_qs) });
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    for (const Case& c : cases) {
        if (!c.bytes.isNull())
            home.write(c.file, c.bytes);
        const QString path = home.file(c.file);
        try {
            SheetBook::open(path);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const SheetError& e) {
            EXPECT_TRUE(e.message.contains(QString::fromUtf8(c.says)))
                << c.name << ": " << e.message.toStdString();
            EXPECT_TRUE(e.message.contains(path)) << c.name << ": " << e.message.toStdString();
        }
    }
}

// Damaged files the fuzzer found, kept as base64 text named after the file: each is refused with
// a message, never a crash.
TEST(SheetBookErrors, FuzzFindingsAreRefused)
{
    const QFileInfoList findings = QDir(QStringLiteral(PENNOCK_FUZZ_FINDINGS))
                                       .entryInfoList({ QStringLiteral("*.b64") }, QDir::Files);
    ASSERT_FALSE(findings.isEmpty());
    TempHome home;
    for (const QFileInfo& finding : findings) {
        QFile text(finding.filePath());
        ASSERT_TRUE(text.open(QIODevice::ReadOnly));
        const QString name = finding.completeBaseName();
        home.write(name, QByteArray::fromBase64(text.readAll()));
        const QString path = home.file(name);
        try {
            SheetBook::open(path);
            ADD_FAILURE() << name.toStdString() << ": no error";
        } catch (const SheetError& e) {
            EXPECT_TRUE(e.message.contains(path)) << e.message.toStdString();
        }
    }
}

TEST(SheetBookErrors, SheetIndexOutOfRange)
{
    TempHome home;
    const QString path = home.file(u"book.xlsx"_qs);
    pennock::test::writeXlsx(path, { orderSheet(), secondSheet() });
    const SheetBook book = read(path);
    EXPECT_NO_THROW(book.rows(1));
    for (const int index : { -1, 2, 100 })
        EXPECT_THROW(book.rows(index), SheetError) << index;
}

} // namespace
