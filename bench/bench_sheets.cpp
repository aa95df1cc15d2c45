// Reading a shop's order sheet of 1000 and of 10000 rows: an xlsx workbook as a spreadsheet
// program writes it (shared strings, a number and a date format) and the same rows as CSV; the
// memory held by the rows read.
#include "BenchSupport.h"
#include "import/ColumnMatch.h"
#include "import/SheetReader.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <map>

namespace {

using namespace pennock;

const char* const kTitles[] = { "订单编号", "收货人", "收件人电话", "手机", "省", "市", "区",
    "详细地址", "宝贝标题", "数量", "买家留言", "实付金额", "付款日期" };

struct Row
{
    QString cells[11];
    double amount;
    QDate paid;
};

Row orderRow(int i)
{
    Row row;
    row.cells[0] = QStringLiteral("2403050000%1").arg(i, 8, 10, QLatin1Char('0'));
    row.cells[1] = QStringLiteral("客户%1").arg(i % 997);
    row.cells[2]
        = i % 3 ? QString() : QStringLiteral("0755-8888%1").arg(i % 10000, 4, 10, QLatin1Char('0'));
    row.cells[3] = QString::number(13800000000LL + i);
    row.cells[4] = QStringLiteral("广东省");
    row.cells[5] = QStringLiteral("深圳市");
    row.cells[6] = QStringLiteral("南山区");
    row.cells[7] = QStringLiteral("科技园南区深南大道%1号腾飞大厦B座%2室").arg(i).arg(i % 40);
    row.cells[8] = QStringLiteral("纯棉T恤 白色 XL 款%1").arg(i % 50);
    row.cells[9] = QString::number(1 + i % 5);
    row.cells[10] = i % 4 ? QString() : QStringLiteral("请周末送货");
    row.amount = 10 + (i % 10000) / 100.0;
    row.paid = QDate(2024, 1, 1).addDays(i % 366);
    return row;
}

QString xlsxFile(const QTemporaryDir& dir, int rows)
{
    const QString path = dir.filePath(QStringLiteral("orders%1.xlsx").arg(rows));
    lxw_workbook* workbook = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* ws = workbook_add_worksheet(workbook, "订单");
    lxw_format* money = workbook_add_format(workbook);
    format_set_num_format(money, "0.00");
    lxw_format* day = workbook_add_format(workbook);
    format_set_num_format(day, "yyyy-mm-dd");
    for (int c = 0; c < 13; ++c)
        worksheet_write_string(ws, 0, lxw_col_t(c), kTitles[c], nullptr);
    for (int r = 1; r <= rows; ++r) {
        const Row row = orderRow(r);
        for (int c = 0; c < 11; ++c) {
            if (c == 3 || c == 9)
                worksheet_write_number(
                    ws, lxw_row_t(r), lxw_col_t(c), row.cells[c].toDouble(), nullptr);
            else if (!row.cells[c].isEmpty())
                worksheet_write_string(
                    ws, lxw_row_t(r), lxw_col_t(c), row.cells[c].toUtf8().constData(), nullptr);
        }
        worksheet_write_number(ws, lxw_row_t(r), 11, row.amount, money);
        lxw_datetime paid { row.paid.year(), row.paid.month(), row.paid.day(), 0, 0, 0 };
        worksheet_write_datetime(ws, lxw_row_t(r), 12, &paid, day);
    }
    workbook_close(workbook);
    return path;
}

QString csvFile(const QTemporaryDir& dir, int rows)
{
    const QString path = dir.filePath(QStringLiteral("orders%1.csv").arg(rows));
    QStringList lines;
    QStringList titles;
    for (const char* title : kTitles)
        titles.append(QString::fromUtf8(title));
    lines.append(titles.join(u','));
    for (int r = 1; r <= rows; ++r) {
        const Row row = orderRow(r);
        QStringList cells(std::begin(row.cells), std::end(row.cells));
        cells << QString::number(row.amount) << row.paid.toString(Qt::ISODate);
        lines.append(cells.join(u','));
    }
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(lines.join(QStringLiteral("\r\n")).toUtf8());
    return path;
}

const QString& fixture(const QString& kind, int rows)
{
    static QTemporaryDir dir;
    static std::map<std::pair<QString, int>, QString> files;
    QString& path = files[{ kind, rows }];
    if (path.isEmpty())
        path = kind == u"xlsx" ? xlsxFile(dir, rows) : csvFile(dir, rows);
    return path;
}

// The highest resident memory of this process, from /proc/self/status.
double peakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// The whole import's reading: the file opened, the first sheet's rows taken, the titles matched.
void readSheet(benchmark::State& state, const QString& kind)
{
    const int rows = int(state.range(0));
    const QString path = fixture(kind, rows);
    QStringList rules;
    for (const char* rule : { "联系人,收件人姓名,收货人,*姓名*", "收件电话,固定电话,*电话*",
             "收件手机,Mobile,*手机*", "收件地址,*地址*,address" })
        rules.append(QString::fromUtf8(rule));
    qsizetype read = 0;
    for (auto _ : state) {
        const QList<QStringList> sheet = core::SheetBook::open(path).rows(0);
        benchmark::DoNotOptimize(core::matchColumns(sheet.value(0), rules));
        read = sheet.size();
    }
    if (read != rows + 1)
        state.SkipWithError("rows missing");
    // The process holding one book of the rows read, and its peak so far.
    const core::SheetBook book = core::SheetBook::open(path);
    state.counters["VmRSS_MB"] = bench::residentMb();
    state.counters["VmHWM_MB"] = peakMb();
    state.counters["file_KB"] = double(QFile(path).size()) / 1024.0;
    state.SetItemsProcessed(state.iterations() * rows);
}

void BM_ReadXlsx(benchmark::State& state) { readSheet(state, QStringLiteral("xlsx")); }
BENCHMARK(BM_ReadXlsx)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReadCsv(benchmark::State& state) { readSheet(state, QStringLiteral("csv")); }
BENCHMARK(BM_ReadCsv)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return pennock::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
