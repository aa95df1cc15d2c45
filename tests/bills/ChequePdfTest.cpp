#include "BillFixture.h"
#include "PdfWords.h"

#include "format/Capitals.h"
#include "printing/PdfCanvas.h"
#include "printing/TemplateTestPrint.h"

#include <QToolButton>

using namespace pennock;
using pennock::test::BillFixture;

namespace {

struct Expected
{
    QString text;
    QString item;
    int shiftTenthMm = 0; ///< the currency symbol stands one millimetre left of its cell
};

class ChequePdfTest : public BillFixture
{
protected:
    // Paper position of an item of the default template, 0.1 mm.
    QPoint paperPosition(const QString& item)
    {
        QSqlQuery q = services.db().exec(QStringLiteral("select CtlX, CtlY from CKControl where "
                                                        "CheckTypeID=? and CtlName=?"),
            { kIcbc, item });
        EXPECT_TRUE(q.next()) << item.toStdString();
        return { q.value(0).toInt(), q.value(1).toInt() };
    }
};

// pdftotext names 角 by the radical that shares its glyph.
QString folded(QString text) { return text.replace(QChar(0x2EC6), QChar(0x89D2)); }

} // namespace

TEST_F(ChequePdfTest, AmountDateAndCellsLandWhereTheDefaultTemplatePlacesThem)
{
    const QSize paper = core::templatePaperSize(services.db(), kIcbc);
    const QString path = home.file(QStringLiteral("out/cheque.pdf"));
    core::PdfCanvas pdf(path, core::PdfCanvas::paperLayout(paper.width(), paper.height()));
    services.printEngine().setCanvas(&pdf);
    env.turnPaper = false;

    auto form = openCheque();
    form->show();
    form->setBillDate(QDate(2024, 3, 5));
    form->setItemText(QStringLiteral("zdInComp"), QStringLiteral("PAYEE"));
    enterAmount(*form, QStringLiteral("12345.67"));
    form->button(QStringLiteral("btPrint1"))->click();
    EXPECT_TRUE(prompter.entries().isEmpty());

    const auto pages = test::readPdfWords(path);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_NEAR(pages[0].sizeMm.width(), 225, 0.2);
    EXPECT_NEAR(pages[0].sizeMm.height(), 80, 0.2);

    const QString capitals = *core::AmountToCapitals(QStringLiteral("12345.67"));
    const QList<Expected> expected = {
        { capitals, QStringLiteral("ZDJEDX") },
        { QStringLiteral("￥12,345.67"), QStringLiteral("CGJEXX") },
        { QStringLiteral("PAYEE"), QStringLiteral("ZDINCOMP") },
        // A cheque's issue date is written in capitals.
        { core::DateNumberToCapitals(QStringLiteral("2024")), QStringLiteral("ZDNIAN") },
        { core::DateNumberToCapitals(QStringLiteral("03")), QStringLiteral("ZDYUE") },
        { core::DateNumberToCapitals(QStringLiteral("05")), QStringLiteral("ZDRI") },
        { QStringLiteral("￥"), QStringLiteral("ZDSW"), -10 },
        { QStringLiteral("1"), QStringLiteral("ZDWY") },
        { QStringLiteral("2"), QStringLiteral("ZDQY") },
        { QStringLiteral("3"), QStringLiteral("ZDBY") },
        { QStringLiteral("4"), QStringLiteral("ZDSY") },
        { QStringLiteral("5"), QStringLiteral("ZDY") },
        { QStringLiteral("6"), QStringLiteral("ZDJ") },
        { QStringLiteral("7"), QStringLiteral("ZDF") },
    };
    // Every text starts exactly at its paper position.
    for (const Expected& e : expected) {
        const QPoint at = paperPosition(e.item) + QPoint(e.shiftTenthMm, 0);
        int found = 0;
        for (const auto& w : pages[0].words) {
            if (folded(w.text) != e.text.normalized(QString::NormalizationForm_KC))
                continue;
            const double dx = w.left - at.x() / 10.0;
            if (std::abs(dx) <= 0.3 && std::abs(w.top - at.y() / 10.0) <= 0.3)
                ++found;
        }
        EXPECT_EQ(found, 1) << e.item.toStdString() << " " << e.text.toStdString();
    }
    // Nothing the template hides reaches the paper.
    for (const auto& w : pages[0].words)
        EXPECT_NE(w.text, QStringLiteral("2024-03-05"));
    services.printEngine().setCanvas(nullptr);
}
