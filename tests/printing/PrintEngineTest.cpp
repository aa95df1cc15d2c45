#include "printing/PrintEngine.h"
#include "printing/RecordingCanvas.h"
#include "store/Database.h"
#include "store/Installation.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;

namespace {

constexpr int kDpi = 360;
constexpr int kTopMargin = 30;
constexpr int kTemplate = 5;

// p() of the engine for the test resolution.
int px(int tenthMm) { return PrintEngine::paperToPixels(tenthMm, kDpi); }

struct Layout
{
    const char* name;
    int x = 0;
    int y = 0;
    int lineHeight = 0;
    int fontSize = 12;
    int breakFontSize = 9;
    const char* fitParam = "";
    const char* breakNum = "";
    const char* fontName = "";
    const char* colour = "";
    int bold = 0;
    int italic = 0;
    int underline = 0;
};

class PrintEngineTest : public ::testing::Test
{
protected:
    PrintEngineTest()
    {
        ensureInstallation(folder);
        db.execute(QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeFirstName, TypeName, "
                                  "XMove, YMove, HVPrint) values (?, '支票', '支票（测试）', 30, "
                                  "-20, '1')"),
            { kTemplate });
        engine.setCanvas(&canvas);
    }

    void add(const Layout& l)
    {
        db.execute(QStringLiteral("insert into CKControl (CheckTypeID, CtlName, CtlX, CtlY, CtlLH, "
                                  "CtlFontSize, BreakFontSize, FitParam, BreakNum, CtlFontName, "
                                  "ctlFontColor, Bold, Italic, UnderLine) values (?, ?, ?, ?, ?, "
                                  "?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            { kTemplate, QString::fromUtf8(l.name), l.x, l.y, l.lineHeight, l.fontSize,
                l.breakFontSize, QString::fromUtf8(l.fitParam), QString::fromUtf8(l.breakNum),
                QString::fromUtf8(l.fontName), QString::fromUtf8(l.colour), l.bold, l.italic,
                l.underline });
    }

    bool print(const char* name, const QString& value, const QString& separator = {},
        int xOffset = 0, int yOffset = 0)
    {
        return engine.printCheckItem(
            kTemplate, xOffset, yOffset, QString::fromUtf8(name), value, separator);
    }

    QStringList drawn() const
    {
        QStringList texts;
        for (const auto& t : canvas.texts())
            texts << t.text;
        return texts;
    }

    TempHome home;
    ProgramFolder folder { home.path() };
    Database db { folder.databasePath() };
    ScriptedPrompter prompter;
    PrintEngine engine { db, prompter };
    RecordingCanvas canvas { kDpi, kDpi, kTopMargin };
};

} // namespace

TEST(PaperToPixels, RoundsThreeTimesWithTiesToEven)
{
    struct Case
    {
        int tenthMm;
        int dpi;
        int pixels;
    };
    const Case cases[] = {
        { 254, 300, 300 },
        { 0, 600, 0 },
        { 1, 1200, 5 },
        { 2300, 1200, 10866 },
        { 12, 180, 8 },
        { 19, 180, 14 },
        { 67, 180, 48 },
        { -12, 180, -8 },
        { -67, 180, -48 },
        { -2999, 96, -1134 },
        { 5, 180, 4 },
        { 1000, 360, 1417 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrintEngine::paperToPixels(c.tenthMm, c.dpi), c.pixels)
            << c.tenthMm << " at " << c.dpi;
}

TEST_F(PrintEngineTest, PlacesTheTopLeftCornerFromThePaperEdgesWhateverTheFonts)
{
    add({ "ZDA", 100, 200, 0, 12 });
    add({ "ZDB", 400, 300, 0, 20 });
    add({ "ZDC", 400, 400, 0, 9, 9, "50" });
    canvas.setPhysicalLeftMargin(40);
    ASSERT_TRUE(print("ZDA", QStringLiteral("ABC"), {}, 10, 20));
    ASSERT_TRUE(print("zdb", QStringLiteral(" 北京 "), {}, 10, 20));
    ASSERT_TRUE(print("ZDC", QStringLiteral("12"), {}, 10, 20));
    ASSERT_EQ(canvas.texts().size(), 4);
    // The printer's unprintable border is taken off on both axes; no font moves a text.
    EXPECT_EQ(canvas.texts()[0].leftPx, px(110) - 40);
    EXPECT_EQ(canvas.texts()[0].topPx, px(220) - kTopMargin);
    EXPECT_EQ(canvas.texts()[0].text, QStringLiteral("ABC"));
    EXPECT_EQ(canvas.texts()[0].font.pointSize, 12);
    // The value is trimmed.
    EXPECT_EQ(canvas.texts()[1].leftPx, px(410) - 40);
    EXPECT_EQ(canvas.texts()[1].topPx, px(320) - kTopMargin);
    EXPECT_EQ(canvas.texts()[1].text, QStringLiteral("北京"));
    EXPECT_EQ(canvas.texts()[1].font.pointSize, 20);
    // Cells take the same origin.
    EXPECT_EQ(canvas.texts()[2].leftPx, px(410) - 40);
    EXPECT_EQ(canvas.texts()[3].leftPx, px(460) - 40);
    EXPECT_TRUE(prompter.entries().isEmpty());
}

TEST_F(PrintEngineTest, TopAboveThePrintableAreaStopsAtMinusThreeExceptInCells)
{
    struct Case
    {
        int y;
        int topPx;
    };
    // p(20) = 28 is 2 pixels above the margin of 30; p(19) = 27 is 3 above.
    const Case cases[] = { { 20, -2 }, { 19, -3 }, { 10, -3 }, { 21, px(21) - kTopMargin } };
    for (const Case& c : cases) {
        canvas.clear();
        engine.printTextAt(0, c.y, QStringLiteral("x"), 0, 0, 0, 10, {}, {});
        ASSERT_EQ(canvas.texts().size(), 1);
        EXPECT_EQ(canvas.texts()[0].topPx, c.topPx) << c.y;
    }
    canvas.clear();
    ASSERT_TRUE(engine.printTextInCells(
        0, 10, QStringLiteral("x"), 0, 0, 0, QStringLiteral("50"), 10, {}, {}));
    EXPECT_EQ(canvas.texts()[0].topPx, px(10) - kTopMargin);
}

TEST_F(PrintEngineTest, BlankValueNeitherPrintsNorReadsTheLayout)
{
    db.execute(QStringLiteral("drop table CKControl"));
    EXPECT_TRUE(print("ZDA", QStringLiteral("  \t ")));
    EXPECT_TRUE(canvas.texts().isEmpty());
    EXPECT_TRUE(prompter.entries().isEmpty());
    // A value that needs the layout meets the missing table and reports the item.
    EXPECT_FALSE(print("ZDA", QStringLiteral("x")));
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_EQ(prompter.entries()[0].caption, QStringLiteral("错误"));
    EXPECT_EQ(prompter.entries()[0].text, QStringLiteral("打印ZDA出现错误！"));
}

TEST_F(PrintEngineTest, ItemWithoutLayoutPrintsNothingAndSucceeds)
{
    EXPECT_TRUE(print("ZDNONE", QStringLiteral("text")));
    EXPECT_TRUE(canvas.texts().isEmpty());
    EXPECT_TRUE(prompter.entries().isEmpty());
}

TEST_F(PrintEngineTest, ExplicitLinesUseTheLinePitchAndTheBreakFontSize)
{
    add({ "ZDA", 100, 200, 70, 12, 9 });
    add({ "ZDB", 100, 200, 0, 12, 0 });
    struct Case
    {
        const char* name;
        QString value;
        QStringList lines;
        QList<int> ys;
        int size;
    };
    const Case cases[] = {
        { "ZDA", QStringLiteral("北京##上海"), { "北京", "上海" }, { 200, 270 }, 9 },
        { "ZDA", QStringLiteral("北京##"), { "北京" }, { 200 }, 12 },
        { "ZDA", QStringLiteral("北京"), { "北京" }, { 200 }, 12 },
        // A blank line keeps its place; an empty piece is dropped.
        { "ZDA", QStringLiteral("a## ##b####c"), { "a", "b", "c" }, { 200, 340, 410 }, 9 },
        // No line pitch: 5 mm; no break size: 6 points.
        { "ZDB", QStringLiteral("a##b"), { "a", "b" }, { 200, 250 }, 6 },
    };
    for (const Case& c : cases) {
        canvas.clear();
        ASSERT_TRUE(print(c.name, c.value, QStringLiteral("##")));
        ASSERT_EQ(drawn(), c.lines) << c.value.toStdString();
        for (qsizetype i = 0; i < c.ys.size(); ++i) {
            EXPECT_EQ(canvas.texts()[i].topPx, px(c.ys[i]) - kTopMargin) << c.value.toStdString();
            EXPECT_EQ(canvas.texts()[i].font.pointSize, c.size) << c.value.toStdString();
        }
    }
    // Without a separator the value is one line, "##" and all.
    canvas.clear();
    ASSERT_TRUE(print("ZDA", QStringLiteral("北京##上海")));
    EXPECT_EQ(drawn(), QStringList { QStringLiteral("北京##上海") });
}

TEST_F(PrintEngineTest, BreakNumBreaksMixedTextByDoubleByteWidth)
{
    add({ "ZD10", 0, 0, 40, 12, 8, "", "10" });
    add({ "ZD3", 0, 0, 40, 12, 8, "", "3" });
    add({ "ZDBLANK", 0, 0, 40, 12, 8, "", " 5" });
    add({ "ZDALPHA", 0, 0, 40, 12, 8, "", "5a" });
    const QString chinese25 = QString(QStringLiteral("中")).repeated(25);
    const QString ascii45 = QString(QLatin1Char('a')).repeated(45);
    struct Case
    {
        const char* name;
        QString value;
        QList<int> lengths;
    };
    const Case cases[] = {
        { "ZD10", chinese25, { 10, 10, 5 } },
        { "ZD10", ascii45, { 20, 20, 5 } },
        // One letter and three Chinese characters make the first line: 7 bytes reach 6.
        { "ZD3", QStringLiteral("a北京市海淀区"), { 4, 3 } },
        { "ZDBLANK", chinese25, { 25 } },
        { "ZDALPHA", chinese25, { 25 } },
    };
    for (const Case& c : cases) {
        canvas.clear();
        ASSERT_TRUE(print(c.name, c.value));
        QList<int> lengths;
        for (const auto& t : canvas.texts())
            lengths << int(t.text.size());
        EXPECT_EQ(lengths, c.lengths) << c.name << " " << c.value.toStdString();
    }
    canvas.clear();
    ASSERT_TRUE(print("ZD3", QStringLiteral("a北京市海淀区")));
    EXPECT_EQ(drawn(), (QStringList { QStringLiteral("a北京市"), QStringLiteral("海淀区") }));
    EXPECT_EQ(canvas.texts()[1].topPx, px(40) - kTopMargin);
    EXPECT_EQ(canvas.texts()[1].font.pointSize, 8);
}

TEST_F(PrintEngineTest, BreakNumBeyondAnyWholeNumberReportsTheItem)
{
    add({ "ZDHUGE", 0, 0, 40, 12, 8, "", "99999999999" });
    EXPECT_FALSE(print("ZDHUGE", QStringLiteral("北京")));
    EXPECT_TRUE(canvas.texts().isEmpty());
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("打印ZDHUGE出现错误！") });
}

TEST_F(PrintEngineTest, CurrencyCodeMovesASingleLine)
{
    add({ "ZDCODE", 500, 100, 0, 12, 9 });
    engine.setPrintCellPitch(40);
    struct Case
    {
        QString code;
        QString value;
        int x;
    };
    const Case cases[] = {
        { QStringLiteral("USD"), QStringLiteral("USD"), 500 - 36 },
        { QStringLiteral("USD"), QStringLiteral(" USD "), 500 - 36 },
        { QStringLiteral("US"), QStringLiteral("US"), 504 },
        { QStringLiteral("U"), QStringLiteral("U"), 500 },
        { QStringLiteral("￥"), QStringLiteral("￥"), 490 },
        { QStringLiteral("USD"), QStringLiteral("HKD"), 500 },
        { QStringLiteral("USD"), QStringLiteral("USD##USD"), 500 },
    };
    for (const Case& c : cases) {
        canvas.clear();
        engine.setPrintMoneyCode(c.code);
        ASSERT_TRUE(print("ZDCODE", c.value, QStringLiteral("##")));
        ASSERT_FALSE(canvas.texts().isEmpty());
        EXPECT_EQ(canvas.texts()[0].leftPx, px(c.x)) << c.value.toStdString();
    }
    engine.setPrintCellPitch(0);
    engine.setPrintMoneyCode(QStringLiteral("USD"));
    canvas.clear();
    ASSERT_TRUE(print("ZDCODE", QStringLiteral("USD")));
    EXPECT_EQ(canvas.texts()[0].leftPx, px(500));
}

TEST_F(PrintEngineTest, CellsSpreadEveryCharacterOnePitchApart)
{
    add({ "ZDCELLS", 300, 100, 0, 14, 9, "50" });
    ASSERT_TRUE(print("ZDCELLS", QStringLiteral("1 3")));
    ASSERT_EQ(drawn(), (QStringList { "1", " ", "3" }));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(canvas.texts()[i].leftPx, px(300 + 50 * i)) << i;
        EXPECT_EQ(canvas.texts()[i].topPx, px(100) - kTopMargin);
    }
    // A character beyond the basic plane takes one cell.
    canvas.clear();
    ASSERT_TRUE(print("ZDCELLS", QStringLiteral("a𠀀b")));
    EXPECT_EQ(
        drawn(), (QStringList { QStringLiteral("a"), QStringLiteral("𠀀"), QStringLiteral("b") }));
    EXPECT_EQ(canvas.texts()[2].leftPx, px(400));
}

TEST_F(PrintEngineTest, BadCellPitchReportsTheItemAndTheNextItemPrintsInPlace)
{
    add({ "ZDBAD", 300, 100, 0, 16, 9, "x" });
    add({ "ZDNEXT", 300, 200, 0, 10 });
    EXPECT_FALSE(print("ZDBAD", QStringLiteral("123")));
    EXPECT_TRUE(canvas.texts().isEmpty());
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("打印ZDBAD出现错误！") });
    EXPECT_TRUE(print("ZDNEXT", QStringLiteral("next")));
    ASSERT_EQ(canvas.texts().size(), 1);
    EXPECT_EQ(canvas.texts()[0].leftPx, px(300));
}

TEST_F(PrintEngineTest, FontFaceColourAndStyles)
{
    add({ "ZDDEFAULT", 0, 0, 0, 11 });
    add({ "ZDRED", 0, 0, 0, 11, 9, "", "", "黑体", "255", 1, 0, 2 });
    add({ "ZDGREEN", 0, 0, 0, 11, 9, "", "", "", "65280", 0, 1, 0 });
    add({ "ZDBLUE", 0, 0, 0, 11, 9, "", "", "", "16711680", -1, 0, 0 });
    add({ "ZDJUNK", 0, 0, 0, 11, 9, "", "", "", "red", 0, 0, 0 });
    add({ "ZDCELL", 0, 0, 0, 11, 9, "30", "", "", "", 0, 0, 0 });
    struct Case
    {
        const char* name;
        PrintFont font;
    };
    const Case cases[] = {
        { "ZDDEFAULT", { QStringLiteral("宋体"), 11, false, false, false, Qt::black } },
        { "ZDRED", { QStringLiteral("黑体"), 11, true, false, true, QColor(255, 0, 0) } },
        { "ZDGREEN", { QStringLiteral("宋体"), 11, false, true, false, QColor(0, 255, 0) } },
        { "ZDBLUE", { QStringLiteral("宋体"), 11, false, false, false, QColor(0, 0, 255) } },
        { "ZDJUNK", { QStringLiteral("宋体"), 11, false, false, false, Qt::black } },
        { "ZDCELL", { QStringLiteral("宋体"), 11, false, false, false, Qt::black } },
    };
    for (const Case& c : cases) {
        canvas.clear();
        ASSERT_TRUE(print(c.name, QStringLiteral("x")));
        ASSERT_EQ(canvas.texts().size(), 1) << c.name;
        EXPECT_EQ(canvas.texts()[0].font, c.font) << c.name;
    }
    EXPECT_EQ(PrintEngine::colourFromText(QStringLiteral("-2147483640")), QColor(Qt::black));
}

TEST_F(PrintEngineTest, CellPitchBetweenTwoItemsIgnoresTheirOrder)
{
    add({ "ZDCELL2", 440 });
    add({ "ZDCELL1", 400 });
    add({ "ZDLONE", 100 });
    const auto width = [this](int id, const char* first, int pitch, const char* second) {
        return engine.getCellsWidth(
            id, QString::fromLatin1(first), pitch, QString::fromLatin1(second));
    };
    EXPECT_EQ(width(kTemplate, "ZDCELL1", 35, "ZDCELL2"), 40);
    EXPECT_EQ(width(kTemplate, "zdcell1", 35, "zdCell2"), 40);
    EXPECT_EQ(width(kTemplate, "ZDLONE", 36, "ZDMISSING"), 36);
    EXPECT_EQ(width(kTemplate + 1, "ZDCELL1", 35, "ZDCELL2"), 35);
    db.execute(QStringLiteral("drop table CKControl"));
    EXPECT_EQ(width(kTemplate, "ZDCELL1", 35, "ZDCELL2"), 0);
}

TEST_F(PrintEngineTest, OrientationOfATemplate)
{
    EXPECT_EQ(engine.getHXPaperIn(kTemplate), QStringLiteral("1"));
    EXPECT_EQ(engine.getHXPaperIn(kTemplate + 1), QString());
    db.execute(QStringLiteral("drop table CKTypeTable"));
    EXPECT_EQ(engine.getHXPaperIn(kTemplate), QString());
}

TEST_F(PrintEngineTest, JobRunsOnlyWhileReadyWithOneDocumentAndACopyCount)
{
    add({ "ZDTEXT", 100, 100, 60, 12, 9 });
    add({ "ZDCHECK", 200, 100 });
    add({ "ZDPIC", 300, 100 });
    const QList<PrintValue> values = {
        { QStringLiteral("zdText"), QStringLiteral("Text"), QStringLiteral("一行\r\n二行") },
        { QStringLiteral("ZDCHECK"), QStringLiteral("CHECKBOX"), QStringLiteral("√##x") },
        { QStringLiteral("ZDPIC"), QStringLiteral("IMAGE"), QStringLiteral("picture") },
    };

    EXPECT_FALSE(engine.beginJob(2));
    EXPECT_EQ(engine.printItems(kTemplate, 0, 0, values), 0);
    EXPECT_EQ(canvas.documentsBegun(), 0);
    EXPECT_TRUE(canvas.texts().isEmpty());

    const std::optional<QPoint> offset = engine.prepareJob(kTemplate);
    ASSERT_TRUE(offset);
    EXPECT_EQ(*offset, QPoint(30, -20));
    EXPECT_TRUE(canvas.landscape());
    EXPECT_TRUE(engine.printJobReady());
    ASSERT_TRUE(engine.beginJob(0));
    EXPECT_EQ(canvas.copyCount(), 1);
    EXPECT_EQ(engine.printItems(kTemplate, offset->x(), offset->y(), values), 0);
    EXPECT_TRUE(engine.endJob());
    EXPECT_FALSE(engine.printJobReady());
    EXPECT_EQ(canvas.documentsBegun(), 1);
    EXPECT_EQ(canvas.documentsEnded(), 1);
    EXPECT_EQ(drawn(),
        (QStringList { QStringLiteral("一行"), QStringLiteral("二行"), QStringLiteral("√##x") }));
    EXPECT_EQ(canvas.texts()[1].topPx, px(100 - 20 + 60) - kTopMargin);
    EXPECT_EQ(canvas.texts()[1].font.pointSize, 9);
    EXPECT_FALSE(engine.endJob());

    engine.prepareJob(kTemplate);
    ASSERT_TRUE(engine.beginJob(3));
    EXPECT_EQ(canvas.copyCount(), 3);
    engine.abortJob();
    EXPECT_FALSE(engine.printJobReady());
    EXPECT_EQ(canvas.documentsAborted(), 1);

    EXPECT_FALSE(engine.prepareJob(kTemplate + 1));
    EXPECT_FALSE(engine.printJobReady());
}

TEST_F(PrintEngineTest, AJobAsksForTheTemplatesPaperAndRefusesASmallerOne)
{
    db.execute(QStringLiteral("update CKTypeTable set PWidth=2250, PHeight=800 where "
                              "CheckTypeID=?"),
        { kTemplate });
    // The bill's own paper, as drawn.
    ASSERT_TRUE(engine.prepareJob(kTemplate));
    EXPECT_EQ(canvas.requestedPaper(), QSizeF(225, 80));
    EXPECT_TRUE(engine.paperRefusal().isEmpty());

    struct Case
    {
        QSizeF paperMm;
        bool fits;
    };
    const Case cases[] = {
        { { 225.4, 80 }, true }, // whole points round the page a little
        { { 297, 210 }, true },
        { { 210, 297 }, false }, // A4 upright: the 分 cell at 218 mm falls off the page
        { { 230, 79 }, false },
    };
    for (const Case& c : cases) {
        canvas.setPaper(c.paperMm);
        const std::optional<QPoint> offset = engine.prepareJob(kTemplate);
        EXPECT_EQ(offset.has_value(), c.fits) << c.paperMm.width() << "x" << c.paperMm.height();
        EXPECT_EQ(engine.printJobReady(), c.fits);
        EXPECT_EQ(engine.paperRefusal().isEmpty(), c.fits);
    }
    canvas.setPaper(QSizeF(210, 297));
    engine.prepareJob(kTemplate);
    EXPECT_EQ(engine.paperRefusal(),
        QStringLiteral("票据纸张（225.0×80.0毫米）比打印机的纸张（210.0×297.0毫米）大，"
                       "超出纸张的内容打印不出来！请在打印机设置中选择能放下票据的纸张后再打印。"));
    // A template without a paper size asks for nothing and is not refused.
    db.execute(QStringLiteral("update CKTypeTable set PWidth=0, PHeight=0"));
    ASSERT_TRUE(engine.prepareJob(kTemplate));
}

TEST_F(PrintEngineTest, PlanningReportsFailingItemsAndGoesOn)
{
    add({ "ZDBAD", 0, 0, 0, 12, 9, "5x" });
    add({ "ZDGOOD", 0, 100 });
    engine.setPrintJobReady(true);
    ASSERT_TRUE(engine.beginJob(1));
    const int failed = engine.printItems(kTemplate, 0, 0,
        { { QStringLiteral("ZDBAD"), {}, QStringLiteral("12") },
            { QStringLiteral("ZDGOOD"), {}, QStringLiteral("ok") } });
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(drawn(), QStringList { QStringLiteral("ok") });
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("打印ZDBAD出现错误！") });
}

TEST_F(PrintEngineTest, EveryJobPrintsAlikeWhateverFontThePreviousLeft)
{
    add({ "ZDBIG", 100, 100, 0, 20 });
    const QList<PrintValue> values = { { QStringLiteral("ZDBIG"), {}, QStringLiteral("A") },
        { QStringLiteral("ZDBIG"), {}, QStringLiteral("B") } };
    // The second job starts where the first left a 20-point font; it must print alike.
    for (int job = 0; job < 2; ++job) {
        canvas.clear();
        ASSERT_TRUE(engine.prepareJob(kTemplate));
        ASSERT_TRUE(engine.beginJob(1));
        EXPECT_EQ(engine.printItems(kTemplate, 0, 0, values), 0);
        ASSERT_TRUE(engine.endJob());
        ASSERT_EQ(canvas.texts().size(), 2);
        EXPECT_EQ(canvas.texts()[0].leftPx, px(100)) << job;
        EXPECT_EQ(canvas.texts()[1].leftPx, px(100)) << job;
    }
}
