#include "parties/GridServices.h"
#include "history/ScriptedDesktop.h"
#include "parties/GridConfig.h"
#include "parties/PersonSearch.h"
#include "parties/SpreadsheetExport.h"
#include "printing/Services.h"
#include "settings/FormPlacement.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/BillItemValues.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

using namespace pennock::core;
using namespace pennock::ui;
using pennock::test::RecordingShell;
using pennock::test::ScriptedFileChooser;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;

namespace {

const QString kKey = QStringLiteral("fmSearch_ZP");

class GridServicesTest : public ::testing::Test
{
protected:
    GridServicesTest()
    {
        ensureSeededInstallation(ProgramFolder(home.path()));
        const QList<QVariantList> bills = {
            { 7, u"A1"_qs, u"12.50"_qs, u"收款人甲"_qs },
            { 8, u"007"_qs, u"3"_qs, u"O'Brien"_qs },
            { 9, u"B2"_qs, QVariant(), u"长文字长文字长文字长文字"_qs },
        };
        for (const QVariantList& bill : bills)
            services.db().execute(
                u"insert into DataZPTable (流水号, 票据编号, 金额, 收款人全称) values (?, ?, ?, ?)"_qs,
                bill);
        grid.setObjectName(u"DBGrid1"_qs);
        grid.setModel(&model);
        grid.setSelectionBehavior(QAbstractItemView::SelectRows);
        grid.setSelectionMode(QAbstractItemView::ExtendedSelection);
        query();
    }

    void query(const QString& where = {})
    {
        PersonSearch::runInto(services.db(), model,
            { u"select 流水号, 票据编号, 金额, 收款人全称 from DataZPTable "_qs + where
                    + u" order by 流水号"_qs,
                {} });
    }

    void select(std::initializer_list<int> rows)
    {
        grid.clearSelection();
        for (int row : rows)
            grid.selectionModel()->select(
                model.index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    QString stored(int column)
    {
        return services.settings().OpenUserIniFile().readString(
            kKey.toUpper(), u"DBGRID1.W%1"_qs.arg(column));
    }

    void store(int column, const QString& value)
    {
        IniFile& ini = services.settings().userIni();
        ini.writeString(kKey, u"DBGrid1.W%1"_qs.arg(column), value);
        ini.flush();
    }

    int bills() { return services.db().scalar(u"select count(*) from DataZPTable"_qs).toInt(); }

    TempHome home;
    ScriptedPrompter prompter;
    Services services { home.path(), prompter };
    RecordingShell shell;
    ScriptedFileChooser files;
    GridServices grids { services, shell, files };
    QSqlQueryModel model;
    QTableView grid;
};

// Reads an exported workbook back with a real spreadsheet reader.
QJsonObject readWorkbook(const QString& path)
{
    const QString python
        = QFileInfo::exists(u"/usr/bin/python3"_qs) ? u"/usr/bin/python3"_qs : u"python3"_qs;
    const QString script = uR"(
import json, sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.active
out = {"title": wb.properties.title, "rows": [], "types": [], "formats": [], "bold": [], "sizes": [],
       "widths": []}
for row in ws.iter_rows():
    out["rows"].append([c.value for c in row])
    out["types"].append([c.data_type for c in row])
    out["formats"].append([c.number_format for c in row])
    out["bold"].append([bool(c.font.b) for c in row])
    out["sizes"].append([c.font.sz for c in row])
for letter in "ABCD":
    out["widths"].append(ws.column_dimensions[letter].width)
print(json.dumps(out))
)"_qs;
    QProcess process;
    process.start(python, { u"-c"_qs, script, path });
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << "openpyxl could not read the file: "
                      << process.readAllStandardError().toStdString();
        return {};
    }
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

} // namespace

TEST_F(GridServicesTest, LoadingWidths)
{
    grids.GridColsWidthLoad(&grid, kKey);
    for (int c = 0; c < 4; ++c) {
        EXPECT_FALSE(grid.isColumnHidden(c));
        EXPECT_EQ(grid.columnWidth(c), GridServices::kDefaultWidth);
    }
    const std::pair<const char*, int> cases[]
        = { { "-1", -1 }, { "0", -1 }, { "abc", 40 }, { "120", 120 } };
    for (int c = 0; c < 4; ++c)
        store(c, QString::fromLatin1(cases[c].first));
    grids.GridColsWidthLoad(&grid, kKey);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(grid.isColumnHidden(c), cases[c].second < 0) << cases[c].first;
        if (cases[c].second > 0) {
            EXPECT_EQ(grid.columnWidth(c), cases[c].second) << cases[c].first;
        }
    }
    // No key, nothing applied.
    store(3, u"-1"_qs);
    grids.GridColsWidthLoad(&grid, QString());
    EXPECT_FALSE(grid.isColumnHidden(3));
}

TEST_F(GridServicesTest, SavingWidths)
{
    grid.setColumnWidth(0, 77);
    grid.setColumnHidden(2, true);
    grids.GridColsWidthSave(&grid, kKey);
    EXPECT_EQ(stored(0), u"77"_qs);
    EXPECT_EQ(stored(2), u"-1"_qs);
    EXPECT_TRUE(prompter.entries().isEmpty());

    grids.GridColsWidthSave(&grid, QString());
    EXPECT_EQ(prompter.texts(), QStringList { u"保存表格列宽异常！"_qs });

    model.clear();
    grid.setColumnWidth(0, 99);
    grids.GridColsWidthSave(&grid, kKey);
    EXPECT_EQ(stored(0), u"77"_qs);
}

TEST_F(GridServicesTest, ColumnDialogHidesAndShows)
{
    store(3, u"-1"_qs);
    grids.GridColsWidthLoad(&grid, kKey);
    TfrmGridConfig dialog(grids, &grid, kKey);
    EXPECT_EQ(dialog.windowTitle(), u"表格栏目配置"_qs);
    ASSERT_EQ(dialog.lstShow->count(), 3);
    ASSERT_EQ(dialog.lstHide->count(), 1);
    EXPECT_EQ(dialog.lstHide->item(0)->text(), u"收款人全称"_qs);

    dialog.lstShow->item(1)->setSelected(true);
    dialog.lstShow->item(2)->setSelected(true);
    QTest::mouseClick(dialog.btHide, Qt::LeftButton);
    // Taken from the last to the first, so they arrive reversed.
    EXPECT_EQ(dialog.lstHide->item(1)->text(), u"金额"_qs);
    EXPECT_EQ(dialog.lstHide->item(2)->text(), u"票据编号"_qs);
    dialog.lstHide->item(0)->setSelected(true);
    QTest::mouseClick(dialog.btShow, Qt::LeftButton);
    QTest::mouseClick(dialog.btApply, Qt::LeftButton);

    EXPECT_EQ(prompter.texts(), QStringList { u"栏目显示设置成功~"_qs });
    EXPECT_FALSE(grid.isColumnHidden(3));
    EXPECT_EQ(grid.columnWidth(3), GridServices::kShownAgainWidth);
    EXPECT_EQ(stored(1), u"-1"_qs);
    EXPECT_EQ(stored(2), u"-1"_qs);
    EXPECT_EQ(stored(3), u"50"_qs);

    query();
    grids.GridColsWidthLoad(&grid, kKey);
    EXPECT_TRUE(grid.isColumnHidden(1));
    EXPECT_FALSE(grid.isColumnHidden(0));
}

TEST_F(GridServicesTest, ColumnDialogRemembersItsSizeOnEveryWayOut)
{
    for (const bool escape : { true, false }) {
        TfrmGridConfig dialog(grids, &grid, kKey);
        dialog.show();
        dialog.resize(dialog.sizeHint() + QSize(escape ? 31 : 47, 19));
        const QSize size = dialog.size();
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(dialog.btClose, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        const IniFile& ini = services.settings().userIni();
        EXPECT_EQ(
            ini.readString(formSection(&dialog), u"FormWidth"_qs), QString::number(size.width()))
            << escape;
        EXPECT_EQ(
            ini.readString(formSection(&dialog), u"FormHeight"_qs), QString::number(size.height()))
            << escape;
    }
}

TEST_F(GridServicesTest, KeyListsOfTheSelectedRows)
{
    select({ 2, 0 });
    QString keys;
    EXPECT_EQ(grids.GridSelectedFetch(&grid, u"流水号"_qs, u"str"_qs, keys), 2);
    EXPECT_EQ(keys, u"'7','9'"_qs);
    EXPECT_EQ(grids.GridSelectedFetch(&grid, u"流水号"_qs, u"Numeric"_qs, keys), 2);
    EXPECT_EQ(keys, u"7,9"_qs);
    EXPECT_EQ(grid.currentIndex().row(), 2);
    EXPECT_EQ(grids.GridSelectedFetch(&grid, u"票据编号"_qs, u"STR"_qs, keys), 2);
    EXPECT_EQ(keys, u"'A1','B2'"_qs);
    EXPECT_EQ(grids.GridSelectedFetch(&grid, QString(), u"STR"_qs, keys), 0);
    EXPECT_TRUE(keys.isEmpty());
    EXPECT_EQ(prompter.texts(), QStringList { u"DBGrid记录选取失败~没有指定列名~"_qs });
}

TEST_F(GridServicesTest, DeletingSelectedRows)
{
    EXPECT_EQ(
        grids.GridSelectedDelete(&grid, u"DataZPTable"_qs, u"支票"_qs, u"Numeric"_qs, u"流水号"_qs),
        0);
    EXPECT_TRUE(prompter.entries().isEmpty());

    select({ 0, 2 });
    prompter.queueAnswer(false);
    EXPECT_EQ(
        grids.GridSelectedDelete(&grid, u"DataZPTable"_qs, QString(), u"Numeric"_qs, u"流水号"_qs),
        0);
    EXPECT_EQ(prompter.entries().first().text, u"确认要删除所选中的2个数据记录吗?"_qs);
    EXPECT_EQ(prompter.entries().first().caption, u"删除确认"_qs);
    EXPECT_EQ(bills(), 3);

    prompter.clear();
    prompter.queueAnswer(true);
    EXPECT_EQ(
        grids.GridSelectedDelete(&grid, u"DataZPTable"_qs, u"支票"_qs, u"STR"_qs, u"票据编号"_qs),
        2);
    EXPECT_EQ(prompter.texts().last(), u"2个支票删除成功！"_qs);
    EXPECT_EQ(services.db().scalar(u"select 票据编号 from DataZPTable"_qs).toString(), u"007"_qs);

    prompter.clear();
    query();
    select({ 0 });
    prompter.queueAnswer(true);
    grids.GridSelectedDelete(&grid, u"NoSuchTable"_qs, u"支票"_qs, u"Numeric"_qs, u"流水号"_qs);
    EXPECT_TRUE(prompter.texts().last().startsWith(u"删除失败，错误="_qs));
    EXPECT_EQ(bills(), 1);
}

TEST_F(GridServicesTest, DeletingTheListedRows)
{
    // What the bills hold beside their rows goes with them, and only theirs.
    QSqlQuery serials = services.db().exec(u"select 流水号 from DataZPTable"_qs);
    while (serials.next()) {
        const int serial = serials.value(0).toInt();
        BillItemValues::replace(services.db(), u"DataZPTable"_qs, serial, { { u"a"_qs, u"x"_qs } });
        BillItemValues::replace(
            services.db(), u"DataJZDTable"_qs, serial, { { u"a"_qs, u"y"_qs } });
    }
    const auto sideRows = [this](const QString& table) {
        return services.db()
            .scalar(u"select count(*) from BillItemValue where BillTable=?"_qs, { table })
            .toInt();
    };
    query(u"where 流水号 >= 8"_qs);
    prompter.queueAnswer(false);
    EXPECT_EQ(grids.GridDeleteCurrentList(&grid, u"DataZPTable"_qs, u"流水号"_qs), 0);
    EXPECT_EQ(bills(), 3);
    prompter.clear();
    prompter.queueAnswer(true);
    EXPECT_EQ(grids.GridDeleteCurrentList(&grid, u"DataZPTable"_qs, u"流水号"_qs), 2);
    EXPECT_EQ(prompter.texts(),
        (QStringList {
            u"此操作将删除当前查询到的所有记录，确定删除吗？"_qs, u"2条记录删除成功！"_qs }));
    EXPECT_EQ(bills(), 1);
    EXPECT_EQ(sideRows(u"DataZPTable"_qs), 1);
    EXPECT_EQ(sideRows(u"DataJZDTable"_qs), 3);

    prompter.clear();
    query(u"where 流水号 > 100"_qs);
    prompter.queueAnswer(true);
    EXPECT_EQ(grids.GridDeleteCurrentList(&grid, u"DataZPTable"_qs, u"流水号"_qs), 0);
    EXPECT_EQ(prompter.texts().last(), u"0条记录删除成功！"_qs);
}

TEST_F(GridServicesTest, ExportingAnEmptyResultAsksNothing)
{
    query(u"where 流水号 > 100"_qs);
    EXPECT_FALSE(grids.ExportGrid2Excel(&grid, u"支票历史开票2024-01-02"_qs));
    EXPECT_EQ(prompter.texts(), QStringList { u"没有可导出的数据~"_qs });
    EXPECT_TRUE(files.proposed.isEmpty());
    EXPECT_TRUE(shell.urls.isEmpty());
}

TEST_F(GridServicesTest, ExportWritesTextCellsUnderABoldTitleRow)
{
    grids.GridColsWidthLoad(&grid, kKey);
    grid.setColumnHidden(1, true);
    const QString path = home.file(u"导出 O'Brien/支票.xlsx"_qs);
    QDir().mkpath(QFileInfo(path).absolutePath());
    files.answers << home.file(u"导出 O'Brien/支票"_qs);
    ASSERT_TRUE(grids.ExportGrid2Excel(&grid, u"支票历史开票2024-01-02"_qs));
    EXPECT_TRUE(files.proposed.value(0).endsWith(u"/支票历史开票2024-01-02.xlsx"_qs));
    ASSERT_EQ(shell.urls.size(), 1);
    EXPECT_FALSE(shell.urls[0].contains(u'\''));
    EXPECT_EQ(QUrl(shell.urls[0]).toLocalFile(), path);
    EXPECT_TRUE(prompter.entries().isEmpty());

    const QJsonObject book = readWorkbook(path);
    EXPECT_EQ(book[u"title"_qs].toString(), u"支票历史开票2024-01-02"_qs);
    const QJsonArray rows = book[u"rows"_qs].toArray();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].toArray().toVariantList(),
        (QVariantList { u"流水号"_qs, u"票据编号"_qs, u"金额"_qs, u"收款人全称"_qs }));
    EXPECT_EQ(rows[1].toArray().toVariantList(),
        (QVariantList { u"7"_qs, u"A1"_qs, u"12.50"_qs, u"收款人甲"_qs }));
    EXPECT_EQ(rows[2].toArray()[1].toString(), u"007"_qs);
    EXPECT_EQ(rows[2].toArray()[3].toString(), u"O'Brien"_qs);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            const bool blank = r == 3 && c == 2;
            EXPECT_EQ(
                book[u"types"_qs].toArray()[r].toArray()[c].toString(), blank ? u"n"_qs : u"s"_qs)
                << r << "," << c;
            EXPECT_EQ(book[u"bold"_qs].toArray()[r].toArray()[c].toBool(), r == 0) << r << "," << c;
            EXPECT_EQ(book[u"sizes"_qs].toArray()[r].toArray()[c].toDouble(), 9.0) << r << "," << c;
            if (r > 0) {
                EXPECT_EQ(book[u"formats"_qs].toArray()[r].toArray()[c].toString(), u"@"_qs);
            }
        }
    }
    const QJsonArray widths = book[u"widths"_qs].toArray();
    EXPECT_GT(widths[3].toDouble(), widths[0].toDouble());
    EXPECT_GE(widths[3].toDouble(), 24.0);
}

TEST_F(GridServicesTest, ExportCancelledReplacedOrNotOpened)
{
    EXPECT_FALSE(grids.ExportGrid2Excel(&grid, u"t"_qs));
    EXPECT_TRUE(shell.urls.isEmpty());
    EXPECT_TRUE(prompter.entries().isEmpty());

    const QString path = home.file(u"old.xlsx"_qs);
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not a workbook");
    old.close();
    files.answers << path;
    shell.opens = false;
    EXPECT_TRUE(grids.ExportGrid2Excel(&grid, u"t/x"_qs));
    EXPECT_EQ(files.proposed.last().section(u'/', -1), u"t_x.xlsx"_qs);
    EXPECT_EQ(readWorkbook(path)[u"rows"_qs].toArray().size(), 4);
    EXPECT_EQ(prompter.texts(),
        QStringList {
            u"MSExcel 和 wps Excel 均不能正常启动。请确认系统安装了可用的Office Excel软件(WPS或者MSOffice)！"_qs });
    EXPECT_EQ(
        QDir(home.path()).entryList({ u"*.part"_qs }, QDir::Files | QDir::Hidden), QStringList());

    prompter.clear();
    files.answers << home.file(u"no/such/folder/x.xlsx"_qs);
    EXPECT_FALSE(grids.ExportGrid2Excel(&grid, u"t"_qs));
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_TRUE(prompter.texts().first().startsWith(u"数据导出Excel出错,错误提示:"_qs));
}

TEST(SpreadsheetExport, CellTextIsCleanAndBounded)
{
    EXPECT_EQ(SpreadsheetExport::cellText(QVariant()), QString());
    EXPECT_EQ(SpreadsheetExport::cellText(u"a\u0001b\tc\nd"_qs), u"ab\tc\nd"_qs);
    EXPECT_EQ(SpreadsheetExport::cellText(QString(40000, u'x')).size(), 32767);
    EXPECT_EQ(SpreadsheetExport::cellText(12), u"12"_qs);
    EXPECT_LT(SpreadsheetExport::widthFor(2), SpreadsheetExport::widthFor(20));
    EXPECT_EQ(SpreadsheetExport::widthFor(100000), 255.0);
}

TEST(SpreadsheetExport, StopsWhenTheProgressSaysSo)
{
    TempHome home;
    QStandardItemModel model(600, 2);
    const QString path = home.file(u"stop.xlsx"_qs);
    int calls = 0;
    EXPECT_THROW(SpreadsheetExport::writeXlsx(path, u"t"_qs, model,
                     [&](int done, int total) {
                         ++calls;
                         EXPECT_EQ(total, 600);
                         return done < 500;
                     }),
        ExportError);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}
