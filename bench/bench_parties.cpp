// Spreadsheet export of a large result and the party manager's search over many parties.
#include "BenchSupport.h"

#include "parties/PersonSearch.h"
#include "parties/SpreadsheetExport.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "templates/Seed.h"

#include <QCoreApplication>
#include <QSqlQueryModel>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace pennock::core;

namespace {

// 10,000 rows of 20 text columns, read from a query as a grid shows them.
struct ExportData
{
    ExportData()
    {
        db = std::make_unique<Database>(dir.filePath(QStringLiteral("export.db")));
        db->create();
        QStringList columns;
        for (int c = 1; c <= 20; ++c)
            columns << QStringLiteral("列%1 TEXT").arg(c);
        db->execute(QStringLiteral("create table t (%1)").arg(columns.join(QLatin1Char(','))));
        const QString marks = QStringLiteral("?,").repeated(19) + QLatin1Char('?');
        Transaction tx(*db);
        for (int r = 0; r < 10000; ++r) {
            QVariantList values;
            for (int c = 1; c <= 20; ++c)
                values << (c % 3 == 0 ? QStringLiteral("中文内容%1-%2").arg(r).arg(c)
                                      : QString::number(r * 20 + c));
            db->execute(QStringLiteral("insert into t values (%1)").arg(marks), values);
        }
        tx.commit();
        PersonSearch::runInto(*db, model, { QStringLiteral("select * from t"), {} });
    }

    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    QSqlQueryModel model;
};

void BM_ExportXlsx10kRows20Columns(benchmark::State& state)
{
    static ExportData data;
    const QString path = data.dir.filePath(QStringLiteral("out.xlsx"));
    for (auto _ : state)
        SpreadsheetExport::writeXlsx(path, QStringLiteral("导出"), data.model);
    state.counters["rows"] = data.model.rowCount();
}
BENCHMARK(BM_ExportXlsx10kRows20Columns)->Unit(benchmark::kMillisecond)->Iterations(5);

// 50,000 parties in a real installation.
struct PartyData
{
    PartyData()
    {
        const ProgramFolder folder(dir.path());
        ensureSeededInstallation(folder);
        db = std::make_unique<Database>(folder.databasePath());
        Transaction tx(*db);
        for (int i = 0; i < 50000; ++i)
            db->execute(
                QStringLiteral("insert into CKPersonalInfoTable (全称, 联系人, 电话, 手机, 省, "
                               "助记码, 地址, 单位类型, 分组, 开户行账号) values (?, ?, ?, ?, ?, "
                               "?, ?, ?, ?, ?)"),
                { QStringLiteral("客户公司%1").arg(i), QStringLiteral("联系人%1").arg(i % 997),
                    QStringLiteral("020-%1").arg(80000000 + i),
                    QStringLiteral("139%1").arg(10000000 + i), QStringLiteral("省份%1").arg(i % 31),
                    QStringLiteral("kh%1").arg(i), QStringLiteral("某市某路%1号").arg(i),
                    i % 2 ? QStringLiteral("往来单位") : QStringLiteral("我方单位"),
                    QStringLiteral("组%1").arg(i % 17), QStringLiteral("6222%1").arg(i) });
        tx.commit();
    }

    QTemporaryDir dir;
    std::unique_ptr<Database> db;
};

PartyData& parties()
{
    static PartyData data;
    return data;
}

void runSearch(benchmark::State& state, PersonSearch search)
{
    PartyData& data = parties();
    int rows = 0;
    for (auto _ : state) {
        QSqlQueryModel model;
        PersonSearch query = search;
        PersonSearch::runInto(
            *data.db, model, query.listsAll() ? query.allStatement() : query.prepare());
        rows = model.rowCount();
    }
    state.counters["rows"] = rows;
}

void BM_PartySearchKeywordFewHits(benchmark::State& state)
{
    PersonSearch search;
    search.keyword = QStringLiteral("80012345");
    runSearch(state, search);
}
BENCHMARK(BM_PartySearchKeywordFewHits)->Unit(benchmark::kMillisecond);

void BM_PartySearchKeywordManyHits(benchmark::State& state)
{
    PersonSearch search;
    search.keyword = QStringLiteral("联系人99");
    runSearch(state, search);
}
BENCHMARK(BM_PartySearchKeywordManyHits)->Unit(benchmark::kMillisecond);

void BM_PartySearchTypeAndGroup(benchmark::State& state)
{
    PersonSearch search;
    search.type = QStringLiteral("往来单位");
    search.group = QStringLiteral("组3");
    runSearch(state, search);
}
BENCHMARK(BM_PartySearchTypeAndGroup)->Unit(benchmark::kMillisecond);

void BM_PartyListAll(benchmark::State& state) { runSearch(state, PersonSearch {}); }
BENCHMARK(BM_PartyListAll)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return pennock::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
