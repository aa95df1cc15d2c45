// The cheque form opened and laid out on a seeded installation, one cheque printed to PDF, and
// the memory held while the form stands.
#include "BenchSupport.h"
#include "printing/Services.h"
#include "bills/AmountInputBox.h"
#include "bills/BillEnvironment.h"
#include "bills/TfmCheckZP.h"
#include "platform/Prompter.h"
#include "printing/PdfCanvas.h"
#include "printing/PrintEngine.h"
#include "printing/PrintFonts.h"
#include "printing/TemplateTestPrint.h"
#include "store/ProgramFolder.h"
#include "templates/Seed.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace pennock;

using pennock::bench::residentMb;

struct Installation
{
    Installation()
    {
        core::ensureSeededInstallation(core::ProgramFolder(dir.path()));
        core::installPrintFontSubstitutions();
        env.printers = [] { return QStringList { QStringLiteral("PDF") }; };
        env.turnPaper = false;
    }
    QTemporaryDir dir;
    core::ConsolePrompter prompter;
    core::Services services { dir.path(), prompter };
    ui::BillEnvironment env { services };
};

Installation& installation()
{
    static Installation seeded;
    return seeded;
}

// What the main window's "支票" does: create the form (lists, default template, layout cache,
// picture, controls placed) and show it.
void BM_OpenChequeForm(benchmark::State& state)
{
    Installation& inst = installation();
    std::unique_ptr<ui::TfmCheckZP> form;
    for (auto _ : state) {
        form = std::make_unique<ui::TfmCheckZP>(inst.env);
        form->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.get());
        state.PauseTiming();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    form = std::make_unique<ui::TfmCheckZP>(inst.env);
    form->show();
    QApplication::processEvents();
    state.counters["VmRSS_MB"] = residentMb();
}
BENCHMARK(BM_OpenChequeForm)->Unit(benchmark::kMillisecond)->Iterations(50);

// "单张打印" of a filled cheque into a PDF of the bill paper.
void BM_PrintChequeToPdf(benchmark::State& state)
{
    Installation& inst = installation();
    ui::TfmCheckZP form(inst.env);
    form.setItemText(QStringLiteral("zdInComp"), QStringLiteral("上海浦江机电设备有限公司"));
    form.setYongTu(QStringLiteral("货款"));
    form.inputJEXX()->setText(QStringLiteral("12345.67"));
    form.inputJEXXExit();
    const QSize paper = core::templatePaperSize(inst.services.db(), form.currentTypeId());
    const QString path = inst.dir.filePath(QStringLiteral("cheque.pdf"));
    for (auto _ : state) {
        core::PdfCanvas pdf(path, core::PdfCanvas::paperLayout(paper.width(), paper.height()));
        inst.services.printEngine().setCanvas(&pdf);
        form.btPrint1Click();
        inst.services.printEngine().setCanvas(nullptr);
    }
}
BENCHMARK(BM_PrintChequeToPdf)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace

int main(int argc, char **argv)
{
    return pennock::bench::runBenchmarks<QApplication>(argc, argv);
}
