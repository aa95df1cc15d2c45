// Importing the 5999 parties of a 6000-row .xlsx sheet as an office keeps its address book: reading
// the sheet, matching its titles and storing the rows in a new installation already open, as in
// the import window. Beside it, openpyxl merely loading the same file, timed inside Python so
// that the interpreter's start is not counted against it.
#include "BenchSupport.h"
#include "import/ColumnMatch.h"
#include "import/PartyImport.h"
#include "import/SheetReader.h"
#include "platform/Prompter.h"
#include "printing/Services.h"
#include "store/ProgramFolder.h"
#include "templates/Seed.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <memory>

namespace {

using namespace pennock;

// A sheet of 6000 rows, titles included: the most one run takes.
constexpr int kRows = 5999;

const char* const kTitles[] = { "单位全称", "联系人", "联系电话", "手机", "省份", "城市", "区县",
    "详细地址", "邮编", "开户银行", "银行账号", "备注", "分组" };

QString partyFile()
{
    static QTemporaryDir dir;
    static QString path;
    if (!path.isEmpty())
        return path;
    path = dir.filePath(QStringLiteral("parties.xlsx"));
    lxw_workbook* workbook = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* ws = workbook_add_worksheet(workbook, "客户");
    for (int c = 0; c < 13; ++c)
        worksheet_write_string(ws, 0, lxw_col_t(c), kTitles[c], nullptr);
    for (int r = 1; r <= kRows; ++r) {
        const QStringList cells = { QStringLiteral("深圳市第%1科技有限公司").arg(r),
            QStringLiteral("联系人%1").arg(r % 997),
            QStringLiteral("0755-8%1").arg(r, 7, 10, QLatin1Char('0')), QString(),
            QStringLiteral("广东省"), QStringLiteral("深圳市"), QStringLiteral("南山区"),
            QStringLiteral("科技园南区深南大道%1号腾飞大厦B座").arg(r), QString(),
            QStringLiteral("招商银行深圳分行"),
            QStringLiteral("6225 8800 %1").arg(r, 8, 10, QLatin1Char('0')),
            r % 5 ? QString() : QStringLiteral("老客户，月结"),
            QStringLiteral("华南%1组").arg(r % 7) };
        for (int c = 0; c < cells.size(); ++c)
            if (!cells[c].isEmpty())
                worksheet_write_string(
                    ws, lxw_row_t(r), lxw_col_t(c), cells[c].toUtf8().constData(), nullptr);
        worksheet_write_number(ws, lxw_row_t(r), 3, 13800000000.0 + r, nullptr);
        worksheet_write_number(ws, lxw_row_t(r), 8, 518000 + r % 100, nullptr);
    }
    workbook_close(workbook);
    return path;
}

class QuietPrompter final : public core::Prompter
{
public:
    void inform(const QString&, const QString& = {}) override { }
    void warn(const QString&, const QString& = {}) override { }
    bool ask(const QString&, const QString& = {}) override { return false; }
};

double readSeconds = 0;
double storeSeconds = 0;

// One whole import into an open installation, as the window runs it: reading the sheet, matching
// its titles, storing the rows. The number of parties stored.
int importOnce(
    core::Services& services, core::Prompter& prompter, const QString& home, const QString& path)
{
    QElapsedTimer clock;
    clock.start();
    const QList<QStringList> rows = core::SheetBook::open(path).rows(0);
    readSeconds += clock.nsecsElapsed() / 1e9;
    clock.restart();
    struct Stored
    {
        QElapsedTimer& clock;
        ~Stored() { storeSeconds += clock.nsecsElapsed() / 1e9; }
    } stored { clock };
    core::ImportColumns columns;
    columns.items = core::autoMatch(
        core::sheetTitles(rows), core::loadImportRules(services.db(), core::kReceiverImport));
    columns.items[core::kTypeItem] = -1;
    core::PartyImport import(services.db(), prompter, home + QStringLiteral("/ImportLog.txt"));
    return import.run(path, rows, columns, {}).imported;
}

QString newInstallation(QTemporaryDir& dir, int n)
{
    const QString home = dir.filePath(QStringLiteral("home%1").arg(n));
    core::ensureSeededInstallation(core::ProgramFolder(home));
    return home;
}

double importSeconds = 0;

void BM_ImportParties(benchmark::State& state)
{
    const QString path = partyFile();
    QTemporaryDir dir;
    int n = 0;
    int imported = 0;
    double total = 0;
    readSeconds = storeSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString home = newInstallation(dir, n++);
        QuietPrompter prompter;
        auto services = std::make_unique<core::Services>(home, prompter);
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        imported = importOnce(*services, prompter, home, path);
        total += clock.nsecsElapsed() / 1e9;
        state.PauseTiming();
        services.reset();
        state.ResumeTiming();
    }
    if (imported != kRows)
        state.SkipWithError("parties missing");
    importSeconds = total / double(state.iterations());
    state.counters["read_ms"] = readSeconds * 1000 / double(state.iterations());
    state.counters["store_ms"] = storeSeconds * 1000 / double(state.iterations());
    state.counters["VmRSS_MB"] = bench::residentMb();
    state.counters["file_KB"] = double(QFileInfo(path).size()) / 1024.0;
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ImportParties)->Unit(benchmark::kMillisecond)->MinTime(3);

// The Debian interpreter, where python3-openpyxl lives.
QString python()
{
    return QFileInfo::exists(QStringLiteral("/usr/bin/python3"))
        ? QStringLiteral("/usr/bin/python3")
        : QStringLiteral("python3");
}

void BM_OpenpyxlLoad(benchmark::State& state)
{
    const QString path = partyFile();
    const QString script = QStringLiteral("import sys, time\n"
                                          "import openpyxl\n"
                                          "t = time.perf_counter()\n"
                                          "wb = openpyxl.load_workbook(sys.argv[1])\n"
                                          "print(time.perf_counter() - t)\n");
    double seconds = 0;
    for (auto _ : state) {
        QProcess process;
        process.start(python(), { QStringLiteral("-c"), script, path });
        if (!process.waitForFinished(120000) || process.exitCode() != 0) {
            state.SkipWithError("openpyxl is not installed (python3-openpyxl); no comparison");
            return;
        }
        const double once = process.readAllStandardOutput().trimmed().toDouble();
        state.SetIterationTime(once);
        seconds += once;
    }
    // The mean, as the import's figure is.
    seconds /= double(state.iterations());
    state.counters["openpyxl_s"] = seconds;
    if (importSeconds > 0)
        state.counters["import_faster_x"] = seconds / importSeconds;
}
BENCHMARK(BM_OpenpyxlLoad)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return pennock::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
