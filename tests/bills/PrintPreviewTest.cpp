#include "BillFixture.h"

#include "format/TextUtils.h"
#include "printing/PrintPreview.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>

namespace pennock::test {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

/// The cheque template with only three printable items left, whose layout each test sets.
class PrintPreviewTest : public BillFixture
{
protected:
    PrintPreviewTest()
    {
        QSqlQuery rows = services.db().exec(
            QStringLiteral(
                "select a.CtlName from ckControl a, NameDict b where a.CtlName=b.CtlName and "
                "a.NeedPrint=1 and b.PrintItem=1 and a.CheckTypeId=? and b.CheckTypeName=? "
                "order by a.rowid"),
            { kIcbc, u("支票") });
        while (rows.next() && items.size() < 3)
            items << rows.value(0).toString();
        services.db().execute(
            QStringLiteral(
                "update ckControl set NeedPrint=0 where CheckTypeId=? and CtlName not in "
                "(?, ?, ?)"),
            { kIcbc, items.value(0), items.value(1), items.value(2) });
        services.db().execute(
            QStringLiteral(
                "update ckControl set CtlX=0, CtlY=0, CtlLH=0, FitParam='', BreakNum='', "
                "SrcW=300, SrcH=20 where CheckTypeId=?"),
            { kIcbc });
        services.db().execute(
            QStringLiteral("update CKTypeTable set XMove=0, YMove=0 where CheckTypeID=?"),
            { kIcbc });
    }

    void layout(int item, const QString& assignments, const QVariantList& values)
    {
        QVariantList bound = values;
        bound << kIcbc << items[item];
        services.db().execute(
            QStringLiteral("update ckControl set %1 where CheckTypeId=? and CtlName=?")
                .arg(assignments),
            bound);
    }
    void sample(int item, const QString& data, const QString& label = {})
    {
        services.db().execute(
            QStringLiteral("update NameDict set CtlData=?%1 where CtlName=? and CheckTypeName=?")
                .arg(label.isEmpty() ? QString() : QStringLiteral(", CtlLabel='") + label + u("'")),
            { data, items[item], u("支票") });
    }
    static QPoint at(const ui::Tfm_PrintPreview& window, const QString& name)
    {
        const QLabel* label = window.piece(name);
        return label ? label->pos() : QPoint(-1, -1);
    }

    QStringList items;
};

} // namespace

TEST_F(PrintPreviewTest, ItemsStandAtTheirPaperPositionsAndTheOffsetMovesTheSheet)
{
    ASSERT_EQ(items.size(), 3);
    services.db().execute(
        QStringLiteral("update CKTypeTable set XMove=100, YMove=-55 where CheckTypeID=?"),
        { kIcbc });
    layout(0, QStringLiteral("CtlX=?, CtlY=?"), { 254, 127 });
    sample(0, u("  样例甲  "));
    sample(1, QString(), u("项目标签"));
    sample(2, u("样例丙"));
    services.db().execute(
        QStringLiteral("update NameDict set PrintItem=0 where CtlName=? and CheckTypeName=?"),
        { items[2], u("支票") });

    ui::Tfm_PrintPreview window(services, kIcbc);
    ASSERT_TRUE(window.load());
    EXPECT_EQ(window.title()->text(),
        u("【") + services.templates().loadCheckTypeFullNameByID(kIcbc) + u("】打印预览"));
    ASSERT_EQ(window.pieceNames(), (QStringList { u("lb1"), u("lb2") }))
        << "the third item is not a print item";
    EXPECT_EQ(window.piece(u("lb1"))->text(), u("样例甲"));
    EXPECT_EQ(window.piece(u("lb2"))->text(), u("项目标签")) << "no sample content: the label";
    EXPECT_EQ(window.piece(u("lb1"))->toolTip(), u("lb1"));
    EXPECT_EQ(window.piece(u("lb1"))->size(), QSize(300, 20))
        << "the item's screen box cuts the text";
    EXPECT_EQ(at(window, u("lb1")), window.origin() + QPoint(window.px(254), window.px(127)));
    EXPECT_EQ(window.px(254), core::TenthMmToPixels(254, window.logicalDpiX()));

    EXPECT_EQ(window.moveX()->value(), 100);
    EXPECT_EQ(window.moveXText()->text(), u("1"));
    EXPECT_EQ(window.moveYText()->text(), u("-0.55"));
    EXPECT_EQ(window.sheet()->pos(), QPoint(window.px(100), window.px(-55)));
    window.moveX()->setValue(35);
    EXPECT_EQ(window.moveXText()->text(), u("0.35"));
    EXPECT_EQ(window.sheet()->x(), window.px(35));
    window.ignoreOffsets()->setChecked(true);
    EXPECT_EQ(window.sheet()->pos(), QPoint(0, 0));
    window.ignoreOffsets()->setChecked(false);
    EXPECT_EQ(window.sheet()->pos(), QPoint(window.px(35), window.px(-55)));
    EXPECT_EQ(
        services.db()
            .scalar(QStringLiteral("select XMove from CKTypeTable where CheckTypeID=?"), { kIcbc })
            .toInt(),
        100)
        << "the preview never saves an offset";
}

TEST_F(PrintPreviewTest, BrokenLinesAndCellsAreNamedAndPlacedLikeThePrint)
{
    ASSERT_EQ(items.size(), 3);
    // Two lines of four double-byte characters, 5 mm apart when no pitch is set.
    layout(0, QStringLiteral("CtlX=?, CtlY=?, BreakNum=?, CtlLH=?"),
        { 100, 200, QStringLiteral("4"), 0 });
    sample(0, u("一二三四五六七八"));
    layout(1, QStringLiteral("CtlX=?, CtlY=?, FitParam=?"), { 300, 400, QStringLiteral("50") });
    sample(1, u("1 2"));
    layout(2, QStringLiteral("CtlX=?, FitParam=?"), { 10, QStringLiteral("2") });
    sample(2, u("¥12"));

    ui::Tfm_PrintPreview window(services, kIcbc);
    ASSERT_TRUE(window.load());
    EXPECT_EQ(window.pieceNames(),
        (QStringList { u("lb1_0"), u("lb1_1"), u("lb2_0"), u("lb2_2"), u("lb3") }))
        << "a blank cell draws nothing but keeps its place; a one-pixel pitch is one label";
    EXPECT_EQ(window.piece(u("lb1_0"))->text(), u("一二三四"));
    EXPECT_EQ(window.piece(u("lb1_1"))->text(), u("五六七八"));
    EXPECT_EQ(at(window, u("lb1_1")) - at(window, u("lb1_0")),
        QPoint(0, window.px(250) - window.px(200)));
    EXPECT_EQ(at(window, u("lb2_2")), window.origin() + QPoint(window.px(400), window.px(400)));
    EXPECT_EQ(window.piece(u("lb2_2"))->text(), u("2"));
    EXPECT_EQ(window.piece(u("lb3"))->text(), u("¥12"));
}

TEST_F(PrintPreviewTest, BrokenNumbersEndTheDrawingAndAKindlessTemplateIsRefused)
{
    ASSERT_EQ(items.size(), 3);
    sample(0, u("甲"));
    sample(1, u("乙"));
    layout(1, QStringLiteral("FitParam=?"), { QStringLiteral("5mm") });
    ui::Tfm_PrintPreview window(services, kIcbc);
    ASSERT_TRUE(window.load());
    EXPECT_EQ(window.pieceNames(), QStringList { u("lb1") });
    EXPECT_EQ(prompter.texts(), QStringList { u("'5mm' is not a valid integer value") });

    ui::Tfm_PrintPreview none(services, 9999);
    EXPECT_FALSE(none.load());
    EXPECT_EQ(prompter.texts().last(), u("没有找到对应的单据信息~"));
}

TEST_F(PrintPreviewTest, TheGridEditsTheKindsSampleContent)
{
    ASSERT_EQ(items.size(), 3);
    sample(0, u("旧内容"));
    ui::Tfm_PrintPreview window(services, kIcbc);
    ASSERT_TRUE(window.load());
    QTableWidget* grid = window.grid();
    EXPECT_TRUE(grid->isColumnHidden(0));
    EXPECT_TRUE(grid->isColumnHidden(1));
    EXPECT_EQ(grid->columnWidth(3), 400);
    int row = -1;
    for (int r = 0; r < grid->rowCount(); ++r)
        if (grid->item(r, 1)->text() == items[0])
            row = r;
    ASSERT_GE(row, 0);
    EXPECT_FALSE(grid->item(row, 2)->flags() & Qt::ItemIsEditable);
    grid->item(row, 3)->setText(u("新内容"));
    EXPECT_EQ(services.db()
                  .scalar(QStringLiteral(
                              "select CtlData from NameDict where CtlName=? and CheckTypeName=?"),
                      { items[0], u("支票") })
                  .toString(),
        u("新内容"));
    window.drawItems();
    EXPECT_EQ(window.piece(u("lb1"))->text(), u("新内容"));
}

} // namespace pennock::test
