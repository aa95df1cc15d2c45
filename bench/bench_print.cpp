// One bill page to PDF through the print engine: a template of 60 items (plain, broken into
// lines, in cells) and a seeded waybill template as `pennock-cli print-template` prints it.
#include "BenchSupport.h"

#include "platform/Prompter.h"
#include "printing/PdfCanvas.h"
#include "printing/PrintEngine.h"
#include "printing/PrintFonts.h"
#include "printing/TemplateTestPrint.h"
#include "store/Database.h"
#include "store/Installation.h"
#include "store/ProgramFolder.h"
#include "templates/Seed.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace pennock::core;

namespace {

constexpr int kTemplate = 1;

// 40 one-line items, 10 broken into lines, 10 in cells, on a 230 by 127 mm bill.
QList<PrintValue> makeSixtyItems(Database& db)
{
    db.execute(QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeFirstName, TypeName, "
                              "PWidth, PHeight, XMove, YMove, HVPrint) values (?, '快递单', "
                              "'快递单（测试）', 2300, 1270, -40, 25, '0')"),
        { kTemplate });
    QList<PrintValue> values;
    for (int i = 0; i < 60; ++i) {
        const QString name = QStringLiteral("ZDITEM%1").arg(i);
        const bool broken = i >= 40 && i < 50;
        const bool cells = i >= 50;
        db.execute(QStringLiteral("insert into CKControl (CheckTypeID, CtlName, CtlX, CtlY, CtlLH, "
                                  "CtlFontName, CtlFontSize, BreakFontSize, FitParam, BreakNum) "
                                  "values (?, ?, ?, ?, 45, '宋体', 10, 9, ?, ?)"),
            { kTemplate, name, 100 + (i % 4) * 520, 80 + (i / 4) * 75,
                cells ? QStringLiteral("48") : QString(),
                broken ? QStringLiteral("12") : QString() });
        values.append({ name, QStringLiteral("TEXT"),
            cells ? QStringLiteral("10008%1").arg(i)
                : broken ? QStringLiteral("北京市海淀区中关村大街27号中关村大厦1205室收")
                         : QStringLiteral("上海浦江机电%1号").arg(i) });
    }
    return values;
}

void BM_SixtyItemsToPdfPage(benchmark::State& state)
{
    installPrintFontSubstitutions();
    QTemporaryDir dir;
    const ProgramFolder folder(dir.path());
    ensureInstallation(folder);
    Database db(folder.databasePath());
    const QList<PrintValue> values = makeSixtyItems(db);
    ConsolePrompter prompter;
    PrintEngine engine(db, prompter);
    int n = 0;
    for (auto _ : state) {
        PdfCanvas canvas(dir.filePath(QStringLiteral("bill%1.pdf").arg(n++ % 4)),
            PdfCanvas::paperLayout(2300, 1270));
        engine.setCanvas(&canvas);
        const auto offset = engine.prepareJob(kTemplate, false);
        engine.beginJob(1);
        engine.printItems(kTemplate, offset->x(), offset->y(), values);
        if (!engine.endJob())
            state.SkipWithError("the PDF was not written");
    }
}
BENCHMARK(BM_SixtyItemsToPdfPage)->Unit(benchmark::kMillisecond);

void BM_SeededWaybillTestPrint(benchmark::State& state)
{
    installPrintFontSubstitutions();
    QTemporaryDir dir;
    const ProgramFolder folder(dir.path());
    ensureSeededInstallation(folder);
    Database db(folder.databasePath());
    ConsolePrompter prompter;
    PrintEngine engine(db, prompter);
    const QSize paper = templatePaperSize(db, 73);
    int n = 0;
    for (auto _ : state) {
        PdfCanvas canvas(dir.filePath(QStringLiteral("waybill%1.pdf").arg(n++ % 4)),
            PdfCanvas::paperLayout(paper.width(), paper.height()));
        engine.setCanvas(&canvas);
        if (!printTemplateSample(engine, db, 73, 1, false).printed)
            state.SkipWithError("the PDF was not written");
    }
}
BENCHMARK(BM_SeededWaybillTestPrint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return pennock::bench::runBenchmarks<QGuiApplication>(argc, argv);
}
