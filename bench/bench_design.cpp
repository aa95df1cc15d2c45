// Design mode opened on the waybill template (the largest catalogue) and the designer's page
// redrawn, on a seeded installation.
#include "BenchSupport.h"
#include "platform/Prompter.h"
#include "printing/CheckDesign.h"
#include "printing/PrintFonts.h"
#include "printing/Services.h"
#include "printing/TemplateDesigner.h"
#include "store/ProgramFolder.h"
#include "templates/Seed.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace pennock;

struct Installation
{
    Installation()
    {
        core::ensureSeededInstallation(core::ProgramFolder(dir.path()));
        core::installPrintFontSubstitutions();
        waybill = services.templates().loadDefaultCheckTypeId(QStringLiteral("快递单"));
    }
    QTemporaryDir dir;
    core::ConsolePrompter prompter;
    core::Services services { dir.path(), prompter };
    int waybill = 0;
};

Installation& installation()
{
    static Installation seeded;
    return seeded;
}

// The window built, the template laid out with a placeholder per catalogue item, and shown.
void BM_OpenDesignModeOnWaybill(benchmark::State& state)
{
    Installation& inst = installation();
    for (auto _ : state) {
        ui::TfmCheckDesign window(inst.services, inst.waybill, {});
        window.load();
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(&window);
    }
    state.counters["VmRSS_MB"] = bench::residentMb();
}
BENCHMARK(BM_OpenDesignModeOnWaybill)->Unit(benchmark::kMillisecond);

// Every printable item of the waybill read and drawn again at its paper position.
void BM_RedrawDesignerPage(benchmark::State& state)
{
    Installation& inst = installation();
    ui::TfmTemplateDesigner designer(inst.services, inst.waybill, {});
    designer.load();
    designer.show();
    QApplication::processEvents();
    for (auto _ : state) {
        designer.drawAll();
        QApplication::processEvents();
    }
    state.counters["VmRSS_MB"] = bench::residentMb();
}
BENCHMARK(BM_RedrawDesignerPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return pennock::bench::runBenchmarks<QApplication>(argc, argv); }
