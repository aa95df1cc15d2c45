#include "PdfWords.h"

#include "printing/PdfCanvas.h"
#include "printing/PrintEngine.h"
#include "printing/PrintFonts.h"
#include "store/Database.h"
#include "store/Installation.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::readPdfWords;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;
using pennock::test::wordsEqualTo;

namespace {

double pxToMm(int px, int dpi) { return px * 25.4 / dpi; }

} // namespace

TEST(PrintFonts, WindowsFacesPrintInTheInstalledCjkFamilies)
{
    installPrintFontSubstitutions();
    installPrintFontSubstitutions(); // a second call changes nothing
    ASSERT_FALSE(printFontSubstitutions().isEmpty());
    for (const auto& [face, family] : printFontSubstitutions()) {
        EXPECT_EQ(QFont::substitutes(face).filter(family, Qt::CaseInsensitive).size(), 1)
            << face.toStdString();
        EXPECT_EQ(QFontInfo(QFont(face)).family(), family) << face.toStdString();
    }
    for (const char* face : { "宋体", "SimSun", "新宋体", "仿宋" })
        EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8(face))).family(),
            QStringLiteral("Noto Serif CJK SC"));
    for (const char* face : { "黑体", "微软雅黑", "SimHei" })
        EXPECT_EQ(
            QFontInfo(QFont(QString::fromUtf8(face))).family(), QStringLiteral("Noto Sans CJK SC"));
}

TEST(PdfCanvas, AverageWidthIsTheClassicHalfEmOfACjkFont)
{
    installPrintFontSubstitutions();
    TempHome home;
    PdfCanvas canvas(home.file(QStringLiteral("a.pdf")), PdfCanvas::paperLayout(2000, 1000));
    canvas.setFont(PrintFont { QStringLiteral("宋体"), 12 });
    // 12 points at 1200 dpi are 200 pixels; the Latin letters of the CJK font average about half.
    EXPECT_GT(canvas.averageCharWidth(), 70);
    EXPECT_LT(canvas.averageCharWidth(), 120);
    canvas.setFont(PrintFont { QStringLiteral("宋体"), 24 });
    EXPECT_GT(canvas.averageCharWidth(), 140);
    EXPECT_LT(canvas.averageCharWidth(), 240);
}

TEST(PdfCanvas, TextLandsAtItsPaperPositionInsideAndOutsideMargins)
{
    installPrintFontSubstitutions();
    struct Case
    {
        QMarginsF marginsMm;
    };
    const Case cases[] = { { QMarginsF(0, 0, 0, 0) }, { QMarginsF(5, 10, 5, 5) } };
    for (const Case& c : cases) {
        TempHome home;
        ensureInstallation(ProgramFolder(home.path()));
        Database db(ProgramFolder(home.path()).databasePath());
        ScriptedPrompter prompter;
        const QPageLayout layout(PdfCanvas::paperLayout(2000, 1000).pageSize(),
            QPageLayout::Portrait, c.marginsMm, QPageLayout::Millimeter);
        const QString path = home.file(QStringLiteral("out.pdf"));
        PdfCanvas canvas(path, layout);
        // Qt keeps margins in whole points.
        EXPECT_EQ(canvas.physicalTopMargin(), canvas.pageLayout().paintRectPixels(1200).top());
        EXPECT_NEAR(pxToMm(canvas.physicalTopMargin(), 1200), c.marginsMm.top(), 0.2);
        PrintEngine engine(db, prompter);
        engine.setCanvas(&canvas);
        engine.setPrintJobReady(true);
        ASSERT_TRUE(engine.beginJob(1));
        engine.printTextAt(
            500, 300, QStringLiteral("ABC"), 0, 0, 0, 12, {}, QStringLiteral("宋体"));
        engine.printTextAt(800, 600, QStringLiteral("中文XYZ"), 0, 0, 0, 12, {}, {});
        ASSERT_TRUE(engine.endJob()) << canvas.errorString().toStdString();

        const auto pages = readPdfWords(path);
        ASSERT_EQ(pages.size(), 1);
        // A PDF page measures whole points.
        EXPECT_NEAR(pages[0].sizeMm.width(), 200, 0.2);
        EXPECT_NEAR(pages[0].sizeMm.height(), 100, 0.2);
        const auto abc = wordsEqualTo(pages[0], QStringLiteral("ABC"));
        const auto cjk = wordsEqualTo(pages[0], QStringLiteral("中文XYZ"));
        ASSERT_EQ(abc.size(), 1);
        ASSERT_EQ(cjk.size(), 1);
        // From the paper's edges, on both axes, inside and outside the margins.
        EXPECT_NEAR(pxToMm(canvas.physicalLeftMargin(), 1200), c.marginsMm.left(), 0.2);
        EXPECT_NEAR(abc[0].left, 50, 0.3);
        EXPECT_NEAR(abc[0].top, 30, 0.3);
        EXPECT_NEAR(cjk[0].left, 80, 0.3);
        EXPECT_NEAR(cjk[0].top, 60, 0.3);
    }
}

TEST(PdfCanvas, TakesTheBillsPaperUnlessTheUsersPaperIsKept)
{
    TempHome home;
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
        QPageLayout::Millimeter);
    struct Case
    {
        bool landscape;
        bool keep;
        QSizeF page; ///< as drawn
    };
    const Case cases[] = {
        { false, false, { 225, 80 } },
        { true, false, { 225, 80 } },
        { false, true, { 210, 297 } },
    };
    for (const Case& c : cases) {
        PdfCanvas canvas(home.file(QStringLiteral("paper.pdf")), a4);
        canvas.keepPaper(c.keep);
        canvas.setLandscape(c.landscape);
        const QSizeF page = canvas.requestPaper(QSizeF(225, 80));
        EXPECT_NEAR(page.width(), c.page.width(), 0.5) << c.landscape << c.keep;
        EXPECT_NEAR(page.height(), c.page.height(), 0.5) << c.landscape << c.keep;
        // The printer's unprintable border stays.
        EXPECT_NEAR(pxToMm(canvas.physicalLeftMargin(), 1200), 5, 0.2);
    }
}

TEST(PdfCanvas, EveryDocumentPlacesItsFirstTextFromTheInitialFont)
{
    installPrintFontSubstitutions();
    TempHome home;
    ensureInstallation(ProgramFolder(home.path()));
    Database db(ProgramFolder(home.path()).databasePath());
    ScriptedPrompter prompter;
    const QString path = home.file(QStringLiteral("again.pdf"));
    PdfCanvas canvas(path, PdfCanvas::paperLayout(2000, 1000));
    PrintEngine engine(db, prompter);
    engine.setCanvas(&canvas);
    QList<double> lefts;
    for (int document = 0; document < 2; ++document) {
        engine.setPrintJobReady(true);
        ASSERT_TRUE(engine.beginJob(1));
        EXPECT_EQ(canvas.font(), PainterCanvas::initialFont()) << document;
        engine.printTextAt(
            500, 300, QStringLiteral("ABC"), 0, 0, 0, 24, {}, QStringLiteral("黑体"));
        ASSERT_TRUE(engine.endJob()) << canvas.errorString().toStdString();
        const auto pages = readPdfWords(path);
        ASSERT_EQ(pages.size(), 1);
        const auto abc = wordsEqualTo(pages[0], QStringLiteral("ABC"));
        ASSERT_EQ(abc.size(), 1);
        lefts << abc[0].left;
    }
    // The 24-point font the first document ended with does not move the second one's text.
    EXPECT_NEAR(lefts[1], lefts[0], 0.05);
}

TEST(PdfCanvas, UnwritableFileRefusesTheDocument)
{
    TempHome home;
    home.write(QStringLiteral("blocker"), "x");
    PdfCanvas canvas(
        home.file(QStringLiteral("blocker/out.pdf")), PdfCanvas::paperLayout(100, 100));
    EXPECT_FALSE(canvas.beginDocument());
    EXPECT_FALSE(canvas.errorString().isEmpty());
}
