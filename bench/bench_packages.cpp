// Every seeded template written to one package, and that package imported into a new installation.
#include "BenchSupport.h"

#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "templates/Package.h"
#include "templates/Seed.h"

#include <QGuiApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace pennock::core;

QList<int> allIds(Database& db)
{
    QList<int> ids;
    QSqlQuery q = db.exec(QStringLiteral("select CheckTypeID from CKTypeTable"));
    while (q.next())
        ids << q.value(0).toInt();
    return ids;
}

struct Source
{
    Source()
        : folder(dir.path())
    {
        ensureSeededInstallation(folder);
        Database db(folder.databasePath());
        package = dir.filePath(QStringLiteral("all.tpk"));
        exportPackage(db, folder, allIds(db), package);
    }
    QTemporaryDir dir;
    ProgramFolder folder;
    QString package;
};

void BM_ExportAllSeededTemplates(benchmark::State& state)
{
    Source source;
    Database db(source.folder.databasePath());
    const QList<int> ids = allIds(db);
    const QString target = source.dir.filePath(QStringLiteral("out.tpk"));
    for (auto _ : state)
        exportPackage(db, source.folder, ids, target);
    state.counters["templates"] = double(ids.size());
}
BENCHMARK(BM_ExportAllSeededTemplates)->Unit(benchmark::kMillisecond)->Iterations(10);

// A new installation without the templates takes every one of them as new.
void BM_ImportAllIntoANewInstallation(benchmark::State& state)
{
    Source source;
    qsizetype imported = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const ProgramFolder folder(dir.path());
        ensureSeededInstallation(folder);
        Database db(folder.databasePath());
        db.execute(QStringLiteral("delete from CKControl"));
        db.execute(QStringLiteral("delete from DMTable where CheckTypeID<>0"));
        db.execute(QStringLiteral("delete from CKTypeTable"));
        state.ResumeTiming();
        imported = importPackage(db, folder, source.package, {}, false).size();
    }
    state.counters["templates"] = double(imported);
}
BENCHMARK(BM_ImportAllIntoANewInstallation)->Unit(benchmark::kMillisecond)->Iterations(10);

// The same package over a new installation's own templates: every one is replaced.
void BM_ImportReplacingAll(benchmark::State& state)
{
    Source source;
    QTemporaryDir dir;
    const ProgramFolder folder(dir.path());
    ensureSeededInstallation(folder);
    Database db(folder.databasePath());
    for (auto _ : state)
        importPackage(db, folder, source.package, {}, true);
}
BENCHMARK(BM_ImportReplacingAll)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    return pennock::bench::runBenchmarks<QGuiApplication>(argc, argv);
}
