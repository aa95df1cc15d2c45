// `pennock-cli batch` as a whole process: 1000 waybills from a shop's order export (.xlsx) into
// one PDF, saved; the peak resident memory of the process is reported beside the time.
#include "BenchSupport.h"
#include "printing/PrintFonts.h"
#include "store/ProgramFolder.h"
#include "templates/Seed.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <sys/resource.h>

namespace {

using namespace pennock;

// An order export with the titles shops use, one row an order.
void writeOrders(const QString& path, int rows)
{
    lxw_workbook* book = workbook_new(path.toLocal8Bit().constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "订单");
    const char* titles[] = { "订单编号", "收货人", "收件人电话", "联系手机", "收货地址", "宝贝标题",
        "数量", "买家留言" };
    for (int c = 0; c < 8; ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), titles[c], nullptr);
    const char* places[] = { "浙江省杭州市西湖区文三路90号", "广东深圳南山区科技园南路8号",
        "北京市朝阳区建国路88号SOHO现代城", "江苏省苏州市工业园区星湖街328号" };
    for (int r = 1; r <= rows; ++r) {
        const QByteArray order = QByteArray::number(20260000 + r);
        const QByteArray name = QStringLiteral("客户%1").arg(r).toUtf8();
        worksheet_write_string(sheet, lxw_row_t(r), 0, order.constData(), nullptr);
        worksheet_write_string(sheet, lxw_row_t(r), 1, name.constData(), nullptr);
        worksheet_write_string(sheet, lxw_row_t(r), 2, "0571-88886666", nullptr);
        worksheet_write_number(sheet, lxw_row_t(r), 3, 13800000000.0 + r, nullptr);
        worksheet_write_string(sheet, lxw_row_t(r), 4, places[r % 4], nullptr);
        worksheet_write_string(sheet, lxw_row_t(r), 5, "保温杯 500ml", nullptr);
        worksheet_write_number(sheet, lxw_row_t(r), 6, 1 + r % 3, nullptr);
        worksheet_write_string(sheet, lxw_row_t(r), 7, r % 5 ? "" : "请尽快发货", nullptr);
    }
    workbook_close(book);
}

void cliBatch(benchmark::State& state)
{
    QTemporaryDir dir;
    core::ensureSeededInstallation(core::ProgramFolder(dir.path()));
    const int rows = int(state.range(0));
    const QString orders = dir.filePath(QStringLiteral("orders.xlsx"));
    writeOrders(orders, rows);
    const QString pdf = dir.filePath(QStringLiteral("batch.pdf"));
    for (auto _ : state) {
        QProcess cli;
        cli.start(QStringLiteral(PENNOCK_CLI_PATH),
            { QStringLiteral("batch"), QStringLiteral("--home"), dir.path(),
                QStringLiteral("--kind"), QStringLiteral("快递单"), QStringLiteral("--rows"),
                orders, QStringLiteral("--pdf"), pdf, QStringLiteral("--first-number"),
                QStringLiteral("YT100000"), QStringLiteral("--save") });
        if (!cli.waitForFinished(120000) || cli.exitCode() != 0) {
            state.SkipWithError(cli.readAllStandardError().constData());
            break;
        }
    }
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    state.counters["child_peak_rss_mb"] = double(usage.ru_maxrss) / 1024.0;
    state.counters["waybills"] = rows;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::RegisterBenchmark("BM_CliBatch", cliBatch)
        ->Arg(1000)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    return pennock::bench::runBenchmarks<QGuiApplication>(argc, argv);
}
