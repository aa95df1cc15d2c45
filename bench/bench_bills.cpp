// Every bank kind's form opened and laid out on a seeded installation, one bill of each printed
// to PDF, and the command line's print as a whole process.
#include "BenchSupport.h"
#include "bills/AmountInputBox.h"
#include "bills/BillDraft.h"
#include "bills/BillEnvironment.h"
#include "bills/BillKind.h"
#include "bills/BillKinds.h"
#include "bills/BillRules.h"
#include "bills/TfmBillForm.h"
#include "platform/Prompter.h"
#include "printing/PdfCanvas.h"
#include "printing/PrintEngine.h"
#include "printing/PrintFonts.h"
#include "printing/Services.h"
#include "printing/TemplateTestPrint.h"
#include "store/ProgramFolder.h"
#include "templates/Seed.h"

#include <QApplication>
#include <QProcess>
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

// What the main window's new-bill command does: create the form (lists, default template,
// layout cache, picture, controls placed) and show it.
void openForm(benchmark::State& state, const QString& kind)
{
    Installation& inst = installation();
    std::unique_ptr<ui::TfmBillForm> form;
    for (auto _ : state) {
        form.reset(ui::createBillForm(kind, inst.env));
        form->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.get());
        state.PauseTiming();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    form.reset(ui::createBillForm(kind, inst.env));
    form->show();
    QApplication::processEvents();
    state.counters["VmRSS_MB"] = residentMb();
}

// "单张打印" of a filled bill into a PDF of its paper.
void printToPdf(benchmark::State& state, const QString& kind)
{
    Installation& inst = installation();
    std::unique_ptr<ui::TfmBillForm> form(ui::createBillForm(kind, inst.env));
    const core::BillKind& k = form->kind();
    form->setItemText(k.payee.name, QStringLiteral("上海浦江机电设备有限公司"));
    form->setItemText(k.drawer.name, QStringLiteral("北京华信恒达科技有限公司"));
    form->setItemText(k.roles.remark, QStringLiteral("2026年第四季度设备采购款"));
    // Kinds without an amount box (the waybill, the export invoice) print without one.
    if (!k.roles.amountOpeners.isEmpty()) {
        form->enterAmount(form->item(k.roles.amountOpeners.first()));
        form->inputJEXX()->setText(QStringLiteral("12345.67"));
        form->inputJEXXExit();
    }
    const QSize paper = core::templatePaperSize(inst.services.db(), form->currentTypeId());
    const QString path = inst.dir.filePath(QStringLiteral("bill.pdf"));
    for (auto _ : state) {
        core::PdfCanvas pdf(path, core::PdfCanvas::paperLayout(paper.width(), paper.height()));
        inst.services.printEngine().setCanvas(&pdf);
        form->btPrint1Click();
        inst.services.printEngine().setCanvas(nullptr);
    }
}

// `pennock-cli print` from start to exit: fill, print to PDF and save one bill.
void cliPrint(benchmark::State& state, const QString& kind)
{
    Installation& inst = installation();
    const QString pdf = inst.dir.filePath(QStringLiteral("cli.pdf"));
    QStringList args = { QStringLiteral("print"), QStringLiteral("--home"), inst.dir.path(),
        QStringLiteral("--kind"), kind, QStringLiteral("--pdf"), pdf };
    const core::BillKind& bill = *core::findBillKind(kind);
    core::BillDraft draft(inst.services, bill);
    draft.open(QString());
    if (!bill.roles.amountOpeners.isEmpty()) {
        args << QStringLiteral("--amount") << QStringLiteral("12345.67");
        draft.setAmount(QStringLiteral("12345.67"));
    }
    // Saved too, unless the kind refuses a bill with nothing but an amount.
    if (!bill.rules->saveRefusal(draft, bill).refused())
        args << QStringLiteral("--save");
    for (auto _ : state) {
        QProcess cli;
        cli.start(QStringLiteral(PENNOCK_CLI_PATH), args);
        if (!cli.waitForFinished(30000) || cli.exitCode() != 0) {
            state.SkipWithError("pennock-cli print failed");
            break;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    for (const QString& kind : pennock::core::billKindNames()) {
        const std::string name = pennock::core::findBillKind(kind)->formClass.toStdString();
        benchmark::RegisterBenchmark(("BM_OpenForm/" + name).c_str(), openForm, kind)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(30);
        benchmark::RegisterBenchmark(("BM_PrintToPdf/" + name).c_str(), printToPdf, kind)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(30);
        benchmark::RegisterBenchmark(("BM_CliPrint/" + name).c_str(), cliPrint, kind)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(10);
    }
    return pennock::bench::runBenchmarks<QApplication>(argc, argv);
}
