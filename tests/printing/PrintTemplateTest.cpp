#include "PdfWords.h"
#include "TemplateMarks.h"

#include "printing/TemplateTestPrint.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "support/CliProcess.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QProcessEnvironment>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::CliRun;
using pennock::test::ItemMark;
using pennock::test::markWaybillItems;
using pennock::test::readPdfWords;
using pennock::test::TempHome;
using pennock::test::wordsEqualTo;

namespace {

// A waybill template with cells, broken lines, check boxes and hidden items.
constexpr int kTemplate = 73;

CliRun cli(const QStringList& args, const QString& cupsServer)
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("CUPS_SERVER"), cupsServer);
    return pennock::test::runCliProcess(args, env);
}

struct Expected
{
    QString token; ///< the word that marks the item: the whole value, or its first cell
    bool cells; ///< pdftotext joins the cells into one word that starts with the token
    int xTenthMm;
    int yTenthMm;
    int pointSize;
};

class PrintTemplateTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sHome = new TempHome;
        ensureSeededInstallation(ProgramFolder(sHome->path()));
    }
    static void TearDownTestSuite()
    {
        delete sHome;
        sHome = nullptr;
    }

    QString home() const { return sHome->path(); }
    QString noScheduler() const { return sHome->file(QStringLiteral("no-cups.sock")); }

    // Gives every printable item of the template a sample text of its own and returns where
    // each must land.
    QList<Expected> markItems(Database& db, int xMove, int yMove)
    {
        db.execute(QStringLiteral("update CKTypeTable set XMove=?, YMove=? where CheckTypeID=?"),
            { xMove, yMove, kTemplate });
        QList<Expected> expected;
        for (const ItemMark& m : markWaybillItems(db, kTemplate))
            expected.append({ m.token, m.cells, m.x + xMove, m.y + yMove, m.pointSize });
        return expected;
    }

    static TempHome* sHome;
};

TempHome* PrintTemplateTest::sHome = nullptr;

} // namespace

TEST_F(PrintTemplateTest, EveryItemLandsAtItsPositionPlusTheOffset)
{
    QList<Expected> expected;
    {
        Database db(ProgramFolder(home()).databasePath());
        expected = markItems(db, 30, 20);
    }
    ASSERT_GT(expected.size(), 40);
    const QString pdf = sHome->file(QStringLiteral("out/test.pdf"));
    const CliRun run = cli({ QStringLiteral("print-template"), QStringLiteral("--home"), home(),
                               QStringLiteral("--template"), QString::number(kTemplate),
                               QStringLiteral("--pdf"), pdf },
        noScheduler());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
        QStringLiteral("printed %1 items of template %2 to %3\n")
            .arg(expected.size())
            .arg(kTemplate)
            .arg(pdf));

    const auto pages = readPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1);
    // The page is the template's paper, 230 by 127 mm.
    EXPECT_NEAR(pages[0].sizeMm.width(), 230, 0.2);
    EXPECT_NEAR(pages[0].sizeMm.height(), 127, 0.2);
    for (const Expected& e : expected) {
        QList<pennock::test::PdfWord> words;
        for (const auto& w : pages[0].words)
            if (e.cells ? w.text.startsWith(e.token) : w.text == e.token)
                words << w;
        ASSERT_EQ(words.size(), 1) << e.token.toStdString();
        EXPECT_NEAR(words[0].left, e.xTenthMm / 10.0, 0.3) << e.token.toStdString();
        EXPECT_NEAR(words[0].top, e.yTenthMm / 10.0, 0.3) << e.token.toStdString();
    }
}

TEST_F(PrintTemplateTest, RefusesBadInputWithOneLine)
{
    const QString t = QString::number(kTemplate);
    const QString pdf = sHome->file(QStringLiteral("bad.pdf"));
    const QStringList base = { QStringLiteral("print-template"), QStringLiteral("--home"), home() };
    struct Case
    {
        QStringList args;
        QString message;
    };
    const Case cases[] = {
        { base + QStringList { "--pdf", pdf }, "--template ID is required" },
        { base + QStringList { "--template", "x", "--pdf", pdf },
            "--template must be a whole number" },
        { base + QStringList { "--template", t }, "give either --pdf FILE or --printer NAME" },
        { base + QStringList { "--template", t, "--pdf", pdf, "--printer", "P" },
            "give either --pdf FILE or --printer NAME" },
        { base + QStringList { "--template", t, "--pdf", pdf, "--copies", "0" },
            "--copies must be a whole number" },
        { base + QStringList { "--template", "9999", "--pdf", pdf }, "no template 9999" },
        { base + QStringList { "--template", t, "--printer", "NoSuchPrinter" },
            "no printer named NoSuchPrinter" },
        { { "print-template", "--home", sHome->file("nothing"), "--template", t, "--pdf", pdf },
            "no installation in" },
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args, noScheduler());
        EXPECT_EQ(r.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
}

TEST_F(PrintTemplateTest, ReportsItemsThatCannotBePrinted)
{
    {
        Database db(ProgramFolder(home()).databasePath());
        db.execute(QStringLiteral("update CKControl set FitParam='4x8' where CheckTypeID=? and "
                                  "CtlName='ZDHKRYB'"),
            { kTemplate });
    }
    const QString pdf = sHome->file(QStringLiteral("failed.pdf"));
    const CliRun r = cli({ QStringLiteral("print-template"), QStringLiteral("--home"), home(),
                             QStringLiteral("--template"), QString::number(kTemplate),
                             QStringLiteral("--pdf"), pdf },
        noScheduler());
    {
        Database db(ProgramFolder(home()).databasePath());
        db.execute(QStringLiteral("update CKControl set FitParam='48' where CheckTypeID=? and "
                                  "CtlName='ZDHKRYB'"),
            { kTemplate });
    }
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("打印ZDHKRYB出现错误！"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("1 item(s) could not be printed (ZDHKRYB)")))
        << r.err.toStdString();
    EXPECT_FALSE(readPdfWords(pdf).isEmpty());
}
