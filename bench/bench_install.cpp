// A new installation: database, seed data and every picture, as `pennock-cli init` makes it.
#include "BenchSupport.h"

#include "store/ProgramFolder.h"
#include "templates/Seed.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_NewInstallation(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        state.ResumeTiming();
        pennock::core::ensureSeededInstallation(pennock::core::ProgramFolder(dir.path()));
    }
}
BENCHMARK(BM_NewInstallation)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    return pennock::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
