#include "BillFixture.h"
#include "PdfWords.h"

#include "bills/BankKinds.h"
#include "bills/BillDraft.h"
#include "printing/CalibrationSheet.h"
#include "printing/PdfCanvas.h"
#include "printing/PrinterCalibration.h"
#include "printing/TemplateTestPrint.h"
#include "settings/Settings.h"
#include "support/CliProcess.h"

#include <cmath>

namespace pennock::test {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// A printer whose feed is a little off: every position lands scaled and shifted on the paper.
class MisfeedingCanvas final : public core::PrintCanvas
{
public:
    MisfeedingCanvas(
        core::PdfCanvas& paper, double feedX, double feedY, double shiftXMm, double shiftYMm)
        : mPaper(paper)
        , mFeedX(feedX)
        , mFeedY(feedY)
        , mShiftX(shiftXMm)
        , mShiftY(shiftYMm)
    {
    }
    int dpiX() const override { return mPaper.dpiX(); }
    int dpiY() const override { return mPaper.dpiY(); }
    int physicalTopMargin() const override { return mPaper.physicalTopMargin(); }
    int physicalLeftMargin() const override { return mPaper.physicalLeftMargin(); }
    int averageCharWidth() const override { return mPaper.averageCharWidth(); }
    const core::PrintFont& font() const override { return mPaper.font(); }
    void setFont(const core::PrintFont& font) override { mPaper.setFont(font); }
    void drawText(int x, int y, const QString& text) override
    {
        mPaper.drawText(ax(x), ay(y), text);
    }
    void drawLine(int x1, int y1, int x2, int y2) override
    {
        mPaper.drawLine(ax(x1), ay(y1), ax(x2), ay(y2));
    }
    void setLandscape(bool landscape) override { mPaper.setLandscape(landscape); }
    QSizeF requestPaper(const QSizeF& sizeMm) override { return mPaper.requestPaper(sizeMm); }
    void setCopyCount(int copies) override { mPaper.setCopyCount(copies); }
    bool beginDocument() override { return mPaper.beginDocument(); }
    bool endDocument() override { return mPaper.endDocument(); }
    bool newPage() override { return mPaper.newPage(); }
    void abortDocument() override { mPaper.abortDocument(); }
    bool isActive() const override { return mPaper.isActive(); }
    QString errorString() const override { return mPaper.errorString(); }

private:
    int ax(int x) const { return int(std::lround(x * mFeedX + mShiftX * dpiX() / 25.4)); }
    int ay(int y) const { return int(std::lround(y * mFeedY + mShiftY * dpiY() / 25.4)); }
    core::PdfCanvas& mPaper;
    double mFeedX, mFeedY, mShiftX, mShiftY;
};

class CalibrationTest : public BillFixture
{
protected:
    // A cheque printed through a canvas; its words.
    QList<PdfWord> printCheque(
        const QString& path, core::PrintCanvas* through, core::PdfCanvas& paper)
    {
        core::BillDraft draft(services, core::chequeKind());
        EXPECT_TRUE(draft.open(QString()));
        draft.setItem(u("zdInComp"), u("收款公司"));
        draft.setAmount(u("1234.5"));
        core::PrintEngine& engine = services.printEngine();
        engine.setCanvas(through ? through : &paper);
        const auto offset = engine.prepareJob(draft.bill().templateId, false);
        EXPECT_TRUE(offset && engine.beginJob(1));
        core::sendBillToPrinter(
            services.db(), engine, draft.bill(), draft.currencyCode(), offset->x(), offset->y());
        EXPECT_TRUE(engine.endJob());
        engine.setCanvas(&canvas);
        const auto pages = readPdfWords(path);
        return pages.isEmpty() ? QList<PdfWord> {} : pages[0].words;
    }
};

} // namespace

TEST(PrinterCalibrationMath, MeasuredMarksGiveTheCorrection)
{
    const auto marks = core::PrinterCalibration::marks(QSizeF(210, 297));
    EXPECT_EQ(marks.first, QPointF(20, 20));
    EXPECT_EQ(marks.second, QPointF(190, 277));
    const auto same = core::PrinterCalibration::fromMeasured(marks, marks);
    ASSERT_TRUE(same);
    EXPECT_TRUE(same->isIdentity());
    EXPECT_EQ(same->x(1234), 1234);

    // Landing 1 mm right and 2 mm low, the feed 0.5 % long across and 0.3 % short down.
    const auto landed = [](QPointF p) { return QPointF(p.x() * 1.005 + 1, p.y() * 0.997 + 2); };
    const auto c = core::PrinterCalibration::fromMeasured(
        marks, { landed(marks.first), landed(marks.second) });
    ASSERT_TRUE(c);
    for (const QPointF p : { QPointF(0, 0), QPointF(105.3, 148.5), QPointF(200, 280) }) {
        const QPointF asked(c->x(int(p.x() * 10)) / 10.0, c->y(int(p.y() * 10)) / 10.0);
        EXPECT_NEAR(landed(asked).x(), p.x(), 0.1);
        EXPECT_NEAR(landed(asked).y(), p.y(), 0.1);
    }
    // Marks on one spot, or a "scale" no printer has, are no measurement.
    EXPECT_FALSE(core::PrinterCalibration::fromMeasured(marks, { marks.first, marks.first }));
    EXPECT_FALSE(core::PrinterCalibration::fromMeasured(
        marks, { marks.first, QPointF(marks.second.x() * 1.5, marks.second.y()) }));
}

TEST_F(CalibrationTest, SheetMeasuredOnAMisfeedingPrinterCorrectsItsBills)
{
    const QSizeF a4(210, 297);
    const auto marks = core::PrinterCalibration::marks(a4);
    const QString sheetPath = home.file(QStringLiteral("sheet.pdf"));
    {
        core::PdfCanvas paper(sheetPath, core::PdfCanvas::paperLayout(2100, 2970));
        MisfeedingCanvas printer(paper, 1.004, 0.996, 1.5, -2.0);
        ASSERT_TRUE(printer.beginDocument());
        core::drawCalibrationSheet(printer, a4, marks);
        ASSERT_TRUE(printer.endDocument());
    }
    // The ruler: each label starts the gap right of and below its cross.
    const auto pages = readPdfWords(sheetPath);
    ASSERT_EQ(pages.size(), 1);
    const auto a = wordsEqualTo(pages[0], u("A"));
    const auto b = wordsEqualTo(pages[0], u("B"));
    ASSERT_EQ(a.size(), 1);
    ASSERT_EQ(b.size(), 1);
    const double gap = core::kCalibrationLabelGap;
    const auto c = core::PrinterCalibration::fromMeasured(marks,
        { QPointF(a[0].left - gap, a[0].top - gap), QPointF(b[0].left - gap, b[0].top - gap) });
    ASSERT_TRUE(c);
    EXPECT_NEAR(c->scaleX, 1 / 1.004, 0.0005);
    EXPECT_NEAR(c->scaleY, 1 / 0.996, 0.0005);
    EXPECT_NEAR(c->offsetX, -1.5 / 1.004, 0.2);
    EXPECT_NEAR(c->offsetY, 2.0 / 0.996, 0.2);

    // A bill on that printer with the correction lands where it does on a true printer.
    const QString truePath = home.file(QStringLiteral("true.pdf"));
    const QString correctedPath = home.file(QStringLiteral("corrected.pdf"));
    const QSize paper = core::templatePaperSize(services.db(), kIcbc);
    core::PdfCanvas truePaper(
        truePath, core::PdfCanvas::paperLayout(paper.width(), paper.height()));
    const QList<PdfWord> expected = printCheque(truePath, nullptr, truePaper);
    core::PdfCanvas misfed(
        correctedPath, core::PdfCanvas::paperLayout(paper.width(), paper.height()));
    MisfeedingCanvas printer(misfed, 1.004, 0.996, 1.5, -2.0);
    services.printEngine().setCalibration(*c);
    const QList<PdfWord> corrected = printCheque(correctedPath, &printer, misfed);
    services.printEngine().setCalibration({});
    ASSERT_FALSE(expected.isEmpty());
    ASSERT_EQ(corrected.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(corrected[i].text, expected[i].text);
        EXPECT_NEAR(corrected[i].left, expected[i].left, 0.3) << expected[i].text.toStdString();
        EXPECT_NEAR(corrected[i].top, expected[i].top, 0.3) << expected[i].text.toStdString();
    }
}

TEST_F(CalibrationTest, CommandWritesTheSheetStoresTheMeasurementAndPrintsWithIt)
{
    const QStringList base
        = { u("calibrate"), u("--home"), home.path(), u("--printer"), u("Office LQ") };
    const CliRun sheet
        = runCliProcess(base + QStringList { u("--sheet"), home.file(u("sheet.pdf")) });
    ASSERT_EQ(sheet.exitCode, 0) << sheet.err.toStdString();
    EXPECT_EQ(sheet.out, u("marks 20,20 190,277\n"));
    EXPECT_EQ(readPdfWords(home.file(u("sheet.pdf"))).size(), 1);

    // Every mark landed 1 mm right and 1 mm low: the printer is told 1 mm left and up.
    const CliRun measured
        = runCliProcess(base + QStringList { u("--measured"), u("21,21,191,278") });
    ASSERT_EQ(measured.exitCode, 0) << measured.err.toStdString();
    EXPECT_EQ(measured.out,
        u("calibration of Office LQ: offset -1.00,-1.00 mm, scale 1.00000,1.00000\n"));

    const QStringList print = { u("print"), u("--home"), home.path(), u("--kind"), u("支票"),
        u("--amount"), u("88"), u("--set"), u("zdInComp=收款公司") };
    ASSERT_EQ(
        runCliProcess(print + QStringList { u("--pdf"), home.file(u("plain.pdf")) }).exitCode, 0);
    const CliRun tried = runCliProcess(print
        + QStringList {
            u("--pdf"), home.file(u("tried.pdf")), u("--calibrated-for"), u("Office LQ") });
    ASSERT_EQ(tried.exitCode, 0) << tried.err.toStdString();
    const auto plain
        = wordsEqualTo(readPdfWords(home.file(u("plain.pdf"))).value(0), u("收款公司"));
    const auto moved
        = wordsEqualTo(readPdfWords(home.file(u("tried.pdf"))).value(0), u("收款公司"));
    ASSERT_EQ(plain.size(), moved.size());
    ASSERT_FALSE(plain.isEmpty());
    EXPECT_NEAR(moved[0].left, plain[0].left - 1, 0.15);
    EXPECT_NEAR(moved[0].top, plain[0].top - 1, 0.15);

    ASSERT_EQ(runCliProcess(base + QStringList { u("--reset") }).exitCode, 0);
    ASSERT_EQ(runCliProcess(print
                  + QStringList { u("--pdf"), home.file(u("reset.pdf")), u("--calibrated-for"),
                      u("Office LQ") })
                  .exitCode,
        0);
    const auto again
        = wordsEqualTo(readPdfWords(home.file(u("reset.pdf"))).value(0), u("收款公司"));
    ASSERT_EQ(again.size(), plain.size());
    EXPECT_NEAR(again[0].left, plain[0].left, 0.05) << "no calibration: as before";

    const std::pair<QStringList, const char*> bad[] = {
        { { u("calibrate"), u("--home"), home.path(), u("--reset") },
            "calibrate: --printer NAME is required" },
        { base, "calibrate: give one of --sheet FILE, --measured X1,Y1,X2,Y2 or --reset" },
        { base + QStringList { u("--measured"), u("1,2,3") },
            "calibrate: --measured takes four millimetres" },
        { base + QStringList { u("--measured"), u("20,20,20,20") },
            "cannot be the marks 20,20 190,277" },
        { base + QStringList { u("--template"), u("999"), u("--reset") },
            "calibrate: no template 999" },
    };
    for (const auto& [args, message] : bad) {
        const CliRun r = runCliProcess(args);
        EXPECT_EQ(r.exitCode, 2) << message;
        EXPECT_TRUE(r.err.contains(u(message))) << r.err.toStdString();
    }
}

} // namespace pennock::test
