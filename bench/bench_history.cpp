// A million saved cheques: a search with a date range and amount bounds and its sum, beside the
// sqlite3 shell running the same statements on the same file; the unfiltered history window's
// first rows; the memory the window holds with the list open.
#include "BenchSupport.h"
#include "history/HistoryKind.h"
#include "history/HistorySearch.h"
#include "history/TfmSearch.h"
#include "parties/GridServices.h"
#include "platform/FileChooser.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "printing/Services.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "templates/Seed.h"

#include <QApplication>
#include <QProcess>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace pennock;

constexpr int kBills = 1000000;

struct NoShell final : core::Shell
{
    bool openUrl(const QString&) override { return true; }
    bool startProgram(const QString&, const QStringList&) override { return true; }
    bool runCommand(const QString&, const QStringList&) override { return true; }
};

struct NoFiles final : core::FileChooser
{
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
};

struct Installation
{
    Installation()
    {
        core::ensureSeededInstallation(core::ProgramFolder(dir.path()));
        core::Database db(core::ProgramFolder(dir.path()).databasePath());
        db.execute(QStringLiteral(
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
            "insert into DataZPTable (模板种类, 票据编号, 票据状态, 金额, 出票日期, 收款人全称) "
            "select '工商银行2010版', printf('%08d', i), '已用', "
            "printf('%d.%02d', i % 100000, i % 100), "
            "date('2020-01-01', '+' || (i % 2000) || ' days') || ' 10:00:00', "
            "'收款人' || (i % 1000) from n")
                       .arg(kBills));
    }
    QTemporaryDir dir;
    core::ConsolePrompter prompter;
};

Installation& installation()
{
    static Installation seeded;
    return seeded;
}

core::HistoryCriteria criteria()
{
    core::HistoryCriteria c;
    c.from = QDate(2021, 1, 1);
    c.to = QDate(2021, 12, 31);
    c.amountFrom = QStringLiteral("100");
    c.amountTo = QStringLiteral("50000");
    return c;
}

// The window's search: every row of the result read, then the sum.
void BM_SearchAndSum(benchmark::State& state)
{
    Installation& inst = installation();
    core::Services services(inst.dir.path(), inst.prompter);
    core::HistorySearch search(services.db(), *core::findHistoryKind(QStringLiteral("支票")));
    int rows = 0;
    for (auto _ : state) {
        const core::HistoryStatement st = search.build(criteria());
        QSqlQuery q = services.db().exec(st.sql, st.values);
        rows = 0;
        while (q.next())
            ++rows;
        benchmark::DoNotOptimize(search.sum(st));
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_SearchAndSum)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same two statements in the sqlite3 shell (cast for the program's val()), output dropped.
void BM_Sqlite3Shell(benchmark::State& state)
{
    Installation& inst = installation();
    const QString file = core::ProgramFolder(inst.dir.path()).databasePath();
    const QString where = QStringLiteral(
        " where 出票日期>='2021-01-01 00:00:00' and 出票日期<='2021-12-31 23:59:59' and "
        "cast(金额 as real)>=100 and cast(金额 as real)<=50000");
    const QString sql = QStringLiteral("select * from DataZPTable") + where
        + QStringLiteral(" order by 流水号 desc; select sum(cast(金额 as real)) from DataZPTable")
        + where + QStringLiteral(" and 金额 is not null and trim(金额)<>'';");
    for (auto _ : state) {
        QProcess shell;
        shell.setStandardOutputFile(QProcess::nullDevice());
        shell.start(QStringLiteral("sqlite3"), { file, sql });
        if (!shell.waitForFinished(120000) || shell.exitCode() != 0) {
            state.SkipWithError("sqlite3 failed");
            break;
        }
    }
}
BENCHMARK(BM_Sqlite3Shell)->Unit(benchmark::kMillisecond)->Iterations(5);

// The unfiltered cheque history window opened and painted with its first rows (its count and
// sum over every row follow).
void BM_OpenHistoryWindow(benchmark::State& state)
{
    Installation& inst = installation();
    core::Services services(inst.dir.path(), inst.prompter);
    NoShell shell;
    NoFiles files;
    ui::GridServices grids(services, shell, files);
    ui::HistoryEnvironment env(services, grids);
    std::unique_ptr<ui::TfmSearch> window;
    for (auto _ : state) {
        window
            = std::make_unique<ui::TfmSearch>(*core::findHistoryKind(QStringLiteral("支票")), env);
        window->show();
        window->grid()->viewport()->repaint(); // the first rows are drawn
        state.PauseTiming();
        QApplication::processEvents(); // then the count and sum over every row
        window.reset();
        state.ResumeTiming();
    }
    window = std::make_unique<ui::TfmSearch>(*core::findHistoryKind(QStringLiteral("支票")), env);
    window->show();
    QApplication::processEvents();
    state.counters["VmRSS_MB"] = bench::residentMb();
    state.counters["shown_rows"] = window->grid()->model()->rowCount();
}
BENCHMARK(BM_OpenHistoryWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) { return pennock::bench::runBenchmarks<QApplication>(argc, argv); }
