// Printing through a private CUPS scheduler with a cups-pdf queue: ctest starts it before these
// tests and stops it afterwards (scripts/cups-test.sh); CUPS_SERVER points at its socket.
#include "PdfWords.h"
#include "TemplateMarks.h"

#include "printing/LockPrinter.h"
#include "printing/PrintEngine.h"
#include "printing/PrintFonts.h"
#include "printing/PrinterBinding.h"
#include "printing/PrinterSetupDialog.h"
#include "printing/Services.h"
#include "printing/TemplateTestPrint.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "support/CliProcess.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QPrinterInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

using namespace pennock::core;
using namespace pennock::ui;
using pennock::test::CliRun;
using pennock::test::ItemMark;
using pennock::test::markWaybillItems;
using pennock::test::PdfPage;
using pennock::test::PdfWord;
using pennock::test::readPdfWords;
using pennock::test::runCliProcess;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;

namespace {

const QString kQueue = QStringLiteral(PENNOCK_CUPS_QUEUE);
const QString kOutFolder = QStringLiteral(PENNOCK_CUPS_OUT);
constexpr int kTemplate = 73;

class PrivateScheduler : public ::testing::Environment
{
public:
    void SetUp() override { qputenv("CUPS_SERVER", PENNOCK_CUPS_SERVER); }
};
const auto* const kScheduler = ::testing::AddGlobalTestEnvironment(new PrivateScheduler);

class NoDialog final : public PrinterSetupDialog
{
public:
    Result exec(QPrinter&, QWidget*) override { return Result::Rejected; }
};

QStringList outputFiles()
{
    return QDir(kOutFolder).entryList({ QStringLiteral("*.pdf") }, QDir::Files, QDir::Name);
}

// The PDF the queue writes for the next job; the backend needs a moment after the job ends.
QString waitForNewOutput(const QStringList& before)
{
    const QDeadlineTimer deadline(120000);
    while (!deadline.hasExpired()) {
        for (const QString& name : outputFiles()) {
            if (before.contains(name))
                continue;
            const QString path = QDir(kOutFolder).filePath(name);
            // cups-pdf renames the finished file into place; give it a stable size first.
            const qint64 size = QFileInfo(path).size();
            QThread::msleep(300);
            if (size > 0 && QFileInfo(path).size() == size)
                return path;
        }
        QThread::msleep(200);
    }
    return {};
}

// Pages times copies of every finished job, from the scheduler's page log.
QMap<int, int> loggedJobs()
{
    QMap<int, int> jobs;
    QFile log(QStringLiteral(PENNOCK_CUPS_LOG "/page_log"));
    if (!log.open(QIODevice::ReadOnly))
        return jobs;
    // "queue user job [date] total N ..."
    for (const QByteArray& line : log.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype total = fields.indexOf("total");
        if (fields.size() > 2 && total > 0 && total + 1 < fields.size())
            jobs.insert(fields[2].toInt(), fields[total + 1].toInt());
    }
    return jobs;
}

// Pages times copies of the first job that is not in `known`; -1 when none finishes.
int pagesOfNewJob(const QMap<int, int>& known)
{
    const QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        const QMap<int, int> jobs = loggedJobs();
        for (auto it = jobs.begin(); it != jobs.end(); ++it)
            if (!known.contains(it.key()))
                return it.value();
        QThread::msleep(200);
    }
    return -1;
}

struct Mark
{
    QString token;
    bool cells;
    double xMm;
    double yMm;
    int pointSize;
};

// Unique sample texts, letters only, and where each item must land.
QList<Mark> markItems(Database& db)
{
    QList<Mark> marks;
    for (const ItemMark& m : markWaybillItems(db, kTemplate))
        marks.append({ m.token, m.cells, m.x / 10.0, m.y / 10.0, m.pointSize });
    return marks;
}

// Every mark on the page: at its paper position from the paper's left edge, whatever the
// printer's unprintable border, at its height within what the queue's conversion of the fonts
// moves the text box.
void expectMarks(const QString& pdf, const QList<Mark>& marks)
{
    // The spooler may have made the copies as pages of its own: each must look the same.
    const auto pages = readPdfWords(pdf);
    ASSERT_FALSE(pages.isEmpty()) << pdf.toStdString();
    for (const auto& page : pages) {
        for (const Mark& m : marks) {
            QList<PdfWord> words;
            for (const PdfWord& w : page.words)
                if (m.cells ? w.text.startsWith(m.token) : w.text == m.token)
                    words << w;
            ASSERT_EQ(words.size(), 1) << m.token.toStdString();
            EXPECT_NEAR(words[0].left, m.xMm, 0.3) << m.token.toStdString();
            EXPECT_NEAR(words[0].top, m.yMm, 2.0) << m.token.toStdString();
        }
    }
}

class CupsEndToEndTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        installPrintFontSubstitutions();
        sHome = new TempHome;
        ensureSeededInstallation(ProgramFolder(sHome->path()));
        Database db(ProgramFolder(sHome->path()).databasePath());
        sMarks = new QList<Mark>(markItems(db));
    }
    static void TearDownTestSuite()
    {
        delete sMarks;
        delete sHome;
    }

    static TempHome* sHome;
    static QList<Mark>* sMarks;
};

TempHome* CupsEndToEndTest::sHome = nullptr;
QList<Mark>* CupsEndToEndTest::sMarks = nullptr;

} // namespace

TEST_F(CupsEndToEndTest, ListsBindsAndPrintsATemplateThroughTheScheduler)
{
    const QStringList installed = PrinterBinding::installedPrinters();
    ASSERT_TRUE(installed.contains(kQueue)) << installed.join(", ").toStdString();

    ScriptedPrompter prompter;
    Services services(sHome->path(), prompter);
    PrintEngine engine(services.db(), prompter);
    NoDialog dialog;
    PrinterBinding binding(services.settings(), prompter, engine, dialog, installed);
    {
        TfmLockPrinter window(services, binding, VendorLinks {});
        window.cbPrinters->setCurrentIndex(window.cbPrinters->findText(kQueue));
        QTest::mouseClick(window.btLock, Qt::LeftButton);
    }
    EXPECT_EQ(services.settings().getConfigByname(QStringLiteral("DefaultPrinter")), kQueue);
    EXPECT_EQ(binding.printer().printerName(), kQueue);
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("默认票据打印机设置成功！") });

    // At the next start the bound printer is found again, whatever the letter case.
    services.settings().setConfigByname(QStringLiteral("DefaultPrinter"), kQueue.toLower());
    PrinterBinding restarted(services.settings(), prompter, engine, dialog, installed);
    restarted.setDefaultPrinter({});
    EXPECT_EQ(restarted.printer().printerName(), kQueue);

    const QStringList before = outputFiles();
    const QMap<int, int> jobsBefore = loggedJobs();
    const TestPrintResult result = printTemplateSample(engine, services.db(), kTemplate, 3, true);
    ASSERT_TRUE(result.printed) << result.error.toStdString();
    EXPECT_TRUE(result.failed.isEmpty());
    EXPECT_EQ(result.items, sMarks->size());
    const QString pdf = waitForNewOutput(before);
    ASSERT_FALSE(pdf.isEmpty()) << "no output of the queue in " << kOutFolder.toStdString();
    EXPECT_EQ(pagesOfNewJob(jobsBefore), 3);
    expectMarks(pdf, *sMarks);
}

TEST_F(CupsEndToEndTest, CommandLineSendsATestPrintToThePrinter)
{
    const QStringList before = outputFiles();
    const QMap<int, int> jobsBefore = loggedJobs();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"), QStringLiteral(PENNOCK_CUPS_SERVER));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(PENNOCK_CLI_PATH),
        { QStringLiteral("print-template"), QStringLiteral("--home"), sHome->path(),
            QStringLiteral("--template"), QString::number(kTemplate), QStringLiteral("--printer"),
            kQueue.toLower(), QStringLiteral("--copies"), QStringLiteral("2") });
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(out.startsWith(QStringLiteral("printed %1 items of template %2 to printer %3 (job ")
                                   .arg(sMarks->size())
                                   .arg(kTemplate)
                                   .arg(kQueue)))
        << out.toStdString();
    const QString pdf = waitForNewOutput(before);
    ASSERT_FALSE(pdf.isEmpty()) << "no output of the queue in " << kOutFolder.toStdString();
    // One page, two copies: the copy count travels with the job.
    EXPECT_EQ(pagesOfNewJob(jobsBefore), 2);
    // The same place as a print from the program.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(kQueue);
    expectMarks(pdf, *sMarks);
}

TEST_F(CupsEndToEndTest, ACommandLineChequeReachesThePrinter)
{
    const QStringList before = outputFiles();
    const QMap<int, int> jobsBefore = loggedJobs();
    QProcessEnvironment env;
    env.insert(QStringLiteral("CUPS_SERVER"), QStringLiteral(PENNOCK_CUPS_SERVER));
    const CliRun run = runCliProcess(
        { QStringLiteral("print"), QStringLiteral("--home"), sHome->path(),
            QStringLiteral("--kind"), QStringLiteral("支票"), QStringLiteral("--amount"),
            QStringLiteral("1234.5"), QStringLiteral("--printer"), kQueue },
        env);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("printed ")) && run.out.contains(kQueue))
        << run.out.toStdString();
    const QString pdf = waitForNewOutput(before);
    ASSERT_FALSE(pdf.isEmpty()) << "no output of the queue in " << kOutFolder.toStdString();
    EXPECT_EQ(pagesOfNewJob(jobsBefore), 1);
    // The figures on the counterfoil survive the queue's conversion of the fonts.
    bool figures = false;
    for (const PdfPage& page : readPdfWords(pdf))
        for (const PdfWord& word : page.words)
            figures = figures || word.text.contains(QStringLiteral("1,234.50"));
    EXPECT_TRUE(figures);
    // The job asked for the cheque's own paper, not the queue's A4 on which the 分 cell at
    // 218 mm would fall off the page. The queue feeds the wide paper turned and says so.
    const QList<PdfPage> pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1);
    const QSizeF size = pages[0].sizeMm;
    EXPECT_NEAR(std::max(size.width(), size.height()), 225, 1);
    EXPECT_NEAR(std::min(size.width(), size.height()), 80, 1);
    Database db(ProgramFolder(sHome->path()).databasePath());
    const double fenMm
        = db.scalar(QStringLiteral("select CtlX from CKControl c join CKTypeTable t on "
                                   "t.CheckTypeID=c.CheckTypeID where t.TypeFirstName='支票' and "
                                   "t.IsDefault='默认' and c.CtlName='ZDF'"))
              .toInt()
        / 10.0;
    int fen = 0;
    for (const PdfWord& word : pages[0].words)
        fen += word.text == u"0" && std::abs(word.left - fenMm) < 0.5;
    EXPECT_EQ(fen, 1) << fenMm;
}

TEST_F(CupsEndToEndTest, TheWindowsPrinterAsksForTheBillsOwnPaper)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(kQueue);
    ASSERT_TRUE(printer.isValid());
    PrinterCanvas canvas(printer);
    const QSizeF page = canvas.requestPaper(QSizeF(225, 80));
    EXPECT_NEAR(page.width(), 225, 0.5);
    EXPECT_NEAR(page.height(), 80, 0.5);

    ScriptedPrompter prompter;
    Services services(sHome->path(), prompter);
    PrintEngine engine(services.db(), prompter);
    engine.setCanvas(&canvas);
    engine.setPrintJobReady(true);
    const QStringList before = outputFiles();
    ASSERT_TRUE(engine.beginJob(1));
    // Near the right edge of a cheque, past the 210 mm of the queue's A4.
    engine.printTextAt(2180, 400, QStringLiteral("FEN"), 0, 0, 0, 10, {}, {});
    ASSERT_TRUE(engine.endJob()) << canvas.errorString().toStdString();
    engine.setCanvas(nullptr);
    const QString pdf = waitForNewOutput(before);
    ASSERT_FALSE(pdf.isEmpty()) << "no output of the queue in " << kOutFolder.toStdString();
    const QList<PdfPage> pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_NEAR(std::max(pages[0].sizeMm.width(), pages[0].sizeMm.height()), 225, 1);
    int found = 0;
    for (const PdfWord& word : pages[0].words)
        found += word.text == u"FEN" && std::abs(word.left - 218) < 0.5;
    EXPECT_EQ(found, 1);

    // A paper the user chose stays.
    canvas.keepPaper(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    EXPECT_NEAR(canvas.requestPaper(QSizeF(225, 80)).width(), 210, 0.5);
}
