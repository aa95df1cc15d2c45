// The main window built offscreen on a seeded installation, and the memory held once it stands.
#include "BenchSupport.h"
#include "app/MainWindow.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "printing/Services.h"
#include "settings/ProgramRegistry.h"
#include "store/ProgramFolder.h"
#include "templates/Seed.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using pennock::bench::residentMb;

struct Installation
{
    Installation()
    {
        pennock::core::ensureSeededInstallation(pennock::core::ProgramFolder(dir.path()));
    }
    QTemporaryDir dir;
    QTemporaryDir user;
};

Installation& installation()
{
    static Installation seeded;
    return seeded;
}

// The first window of the process, as at start-up (fonts, styles and the printer list are cold),
// and the memory held once it stands.
void BM_FirstStart(benchmark::State& state)
{
    Installation& inst = installation();
    pennock::core::ConsolePrompter prompter;
    pennock::core::DesktopShell shell;
    pennock::core::ProgramRegistry registry(inst.user.filePath(QStringLiteral("registry.ini")));
    std::unique_ptr<pennock::core::Services> services;
    std::unique_ptr<pennock::ui::TfmMain> window;
    for (auto _ : state) {
        services = std::make_unique<pennock::core::Services>(inst.dir.path(), prompter);
        window = std::make_unique<pennock::ui::TfmMain>(*services, shell, registry);
        window->showMaximized();
        QApplication::processEvents();
    }
    state.counters["VmRSS_MB"] = residentMb();
    window.reset();
    services.reset();
}
BENCHMARK(BM_FirstStart)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_BuildMainWindow(benchmark::State& state)
{
    Installation& inst = installation();
    pennock::core::ConsolePrompter prompter;
    pennock::core::DesktopShell shell;
    pennock::core::ProgramRegistry registry(inst.user.filePath(QStringLiteral("registry.ini")));
    for (auto _ : state) {
        pennock::core::Services services(inst.dir.path(), prompter);
        auto window = std::make_unique<pennock::ui::TfmMain>(services, shell, registry);
        window->showMaximized();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.get());
        state.PauseTiming();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildMainWindow)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv) { return pennock::bench::runBenchmarks<QApplication>(argc, argv); }
