#include "BillFixture.h"
#include "PdfWords.h"

#include "bills/BankKinds.h"
#include "bills/BillDraft.h"
#include "printing/CheckDesign.h"
#include "printing/PdfCanvas.h"
#include "printing/TemplateDesigner.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QUndoStack>

namespace pennock::test {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

const QString kPayee = QStringLiteral("ZDINCOMP"); // the cheque's payee, "收款人"

class DesignTest : public BillFixture
{
protected:
    QVariant column(const QString& name, const char* col, int templateId = kIcbc)
    {
        return services.db().scalar(
            QStringLiteral(
                "select %1 from CKControl where CheckTypeID=? and upper(CtlName)=upper(?)")
                .arg(QString::fromLatin1(col)),
            { templateId, name });
    }
    void setColumns(const QString& name, const QString& assignments, QVariantList values,
        int templateId = kIcbc)
    {
        values << templateId << name;
        services.db().execute(
            QStringLiteral(
                "update CKControl set %1 where CheckTypeID=? and upper(CtlName)=upper(?)")
                .arg(assignments),
            values);
    }
    std::unique_ptr<ui::TfmCheckDesign> openDesign(
        int templateId = kIcbc, ui::TfmCheckDesign::Links links = {})
    {
        auto window = std::make_unique<ui::TfmCheckDesign>(services, templateId, std::move(links));
        EXPECT_TRUE(window->load());
        return window;
    }
    std::unique_ptr<ui::TfmTemplateDesigner> openDesigner(int templateId = kIcbc)
    {
        auto window = std::make_unique<ui::TfmTemplateDesigner>(
            services, templateId, ui::TfmTemplateDesigner::Links {});
        EXPECT_TRUE(window->load());
        return window;
    }
    /// Where the payee's name lands on a printed cheque, mm from the page's left and top.
    QPointF printedPayee()
    {
        const QString path = home.path() + QStringLiteral("/cheque.pdf");
        core::BillDraft draft(services, core::chequeKind());
        EXPECT_TRUE(draft.open(QString()));
        draft.setItem(u("zdInComp"), u("收款公司"));
        core::PdfCanvas paper(path, core::PdfCanvas::paperLayout(2300, 1270));
        core::PrintEngine& engine = services.printEngine();
        engine.setCanvas(&paper);
        const auto offset = engine.prepareJob(draft.bill().templateId, false);
        EXPECT_TRUE(offset && engine.beginJob(1));
        core::sendBillToPrinter(
            services.db(), engine, draft.bill(), draft.currencyCode(), offset->x(), offset->y());
        EXPECT_TRUE(engine.endJob());
        engine.setCanvas(&canvas);
        const auto pages = readPdfWords(path);
        if (pages.isEmpty())
            return {};
        const auto words = wordsEqualTo(pages[0], u("收款公司"));
        return words.isEmpty() ? QPointF() : QPointF(words[0].left, words[0].top);
    }
    int templateOfKind(const QString& kind)
    {
        return services.templates().loadDefaultCheckTypeId(kind);
    }
};

} // namespace

TEST_F(DesignTest, OpensWithAPlaceholderPerCatalogueItemByType)
{
    services.db().execute(QStringLiteral("update NameDict set CtlType='SHAPE' where "
                                         "CheckTypeName=? and upper(CtlName)='SHPSKR'"),
        { u("支票") });
    services.db().execute(QStringLiteral("update NameDict set CtlType='IMAGE' where "
                                         "CheckTypeName=? and upper(CtlName)='SHPHKR'"),
        { u("支票") });
    services.db().execute(QStringLiteral("update CKTypeTable set CheckBoxs=? where CheckTypeID=?"),
        { u("甲,乙"), kCcb });
    setColumns(u("DEFCHECK1"), QStringLiteral("NeedShow=0"), {}, kCcb);
    auto window = openDesign(kCcb);
    EXPECT_EQ(window->kindBox()->currentText(), u("支票"));
    EXPECT_EQ(window->variantBox()->currentText(), u("建设银行2010版"));
    EXPECT_TRUE(qobject_cast<QLineEdit*>(window->control(kPayee)));
    EXPECT_TRUE(qobject_cast<QFrame*>(window->control(u("SHPSKR"))));
    EXPECT_EQ(window->control(u("SHPHKR")), nullptr) << "a picture item has no box";
    auto* first = qobject_cast<QCheckBox*>(window->control(u("DEFCHECK0")));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text(), u("甲"));
    EXPECT_TRUE(window->control(u("DEFCHECK1"))->isHidden());
    EXPECT_EQ(window->control(kPayee)->geometry(),
        QRect(column(kPayee, "SrcX", kCcb).toInt(), column(kPayee, "SrcY", kCcb).toInt(),
            column(kPayee, "SrcW", kCcb).toInt(), column(kPayee, "SrcH", kCcb).toInt()));

    // Nothing to design at all.
    services.db().execute(QStringLiteral("delete from CKTypeTable"));
    ui::TfmCheckDesign empty(services, 0, {});
    EXPECT_FALSE(empty.load());
    EXPECT_EQ(prompter.texts().last(), u("系统没有任何可用的模板信息，请确保软件数据完整~"));
}

TEST_F(DesignTest, SelectingAnItemWithoutLayoutCreatesItsRow)
{
    services.db().execute(
        QStringLiteral("delete from CKControl where CheckTypeID=? and upper(CtlName)=upper(?)"),
        { kIcbc, u("zdYT") });
    auto window = openDesign();
    ASSERT_TRUE(window->selectByLabel(u("用途")));
    EXPECT_EQ(column(u("zdYT"), "SrcW").toInt(), 100);
    EXPECT_EQ(column(u("zdYT"), "SrcH").toInt(), 20);
    EXPECT_TRUE(window->check(u("ckHidden"))->isChecked()) << "a box never laid out starts unused";
    EXPECT_EQ(column(u("zdYT"), "NeedPrint").toInt(), 0);
    window->check(u("ckHidden"))->setChecked(false);
    EXPECT_FALSE(window->control(u("ZDYT"))->isHidden());
    window->saveItem(true);
    EXPECT_EQ(column(u("zdYT"), "NeedPrint").toInt(), 1);
    EXPECT_EQ(prompter.texts().last(), u("'用途' 打印细节修改成功！"));
    EXPECT_FALSE(window->selectByLabel(u("没有这个项目")));
    EXPECT_EQ(prompter.texts().last(), u("找不到对应的项目定义~~"));
}

TEST_F(DesignTest, PrintArrowsMoveOneMillimetreAndAMovedItemPrintsThere)
{
    const QPointF before = printedPayee();
    auto window = openDesign();
    ASSERT_TRUE(window->selectByLabel(u("收款人")));
    const int x = column(kPayee, "CtlX").toInt();
    window->button(u("btPrtRight"))->click();
    EXPECT_EQ(column(kPayee, "CtlX").toInt(), x + 10);
    EXPECT_EQ(window->message(), u("【收款人】项目打印位置右移了1毫米!"));
    const QPointF after = printedPayee();
    EXPECT_NEAR(after.x() - before.x(), 1.0, 0.05);
    EXPECT_NEAR(after.y(), before.y(), 0.05);

    window->field(u("ctlY"))->setValue(9);
    window->saveItem(false);
    window->button(u("btPrtTop"))->click();
    EXPECT_EQ(window->message(), u("测量数值不可能小于0，请查看打印参数示意图原理~"));
    EXPECT_EQ(column(kPayee, "CtlY").toInt(), 9);
    window->field(u("ctlY"))->setValue(10);
    window->saveItem(false);
    window->button(u("btPrtTop"))->click();
    EXPECT_EQ(column(kPayee, "CtlY").toInt(), 0);

    // Each step is taken back in turn, the database with it.
    QUndoStack* undo = window->undoStack();
    undo->undo();
    EXPECT_EQ(column(kPayee, "CtlY").toInt(), 10);
    EXPECT_EQ(window->field(u("ctlY"))->value(), 10) << "the fields show what was put back";
    while (undo->canUndo())
        undo->undo();
    EXPECT_EQ(column(kPayee, "CtlX").toInt(), x);
    undo->redo();
    EXPECT_EQ(column(kPayee, "CtlX").toInt(), x + 10);
}

TEST_F(DesignTest, KeyboardAndMouseMoveTheBoxWithinThePicture)
{
    auto window = openDesign();
    window->show();
    ASSERT_TRUE(window->selectByLabel(u("收款人")));
    QWidget* payee = window->control(kPayee);
    const int height = window->picture()->height();
    for (int i = 0; i < 300; ++i)
        window->keyMove(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(payee->y(), height - 10);
    EXPECT_EQ(window->message(),
        u("下移了10像素移动后不要忘记修正打印距左距顶参数，否则不会影响打印效果哦。"));
    EXPECT_FALSE(window->saved());
    const int width = payee->width();
    window->keyMove(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(payee->width(), width + 1);
    EXPECT_EQ(window->field(u("SrcW"))->value(), width + 1);

    // A drag ends with the new place written.
    const QPoint from = payee->rect().center();
    QTest::mousePress(payee, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from - QPoint(40, 100)),
        payee->mapToGlobal(QPointF(from - QPoint(40, 100))), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(payee, &move);
    QTest::mouseRelease(payee, Qt::LeftButton, {}, from - QPoint(40, 100));
    EXPECT_EQ(column(kPayee, "SrcY").toInt(), height - 10 - 100);
    EXPECT_EQ(column(kPayee, "SrcW").toInt(), width + 1);
    EXPECT_TRUE(window->saved());
    EXPECT_TRUE(window->message().startsWith(u("拖动了【收款人】")));
}

TEST_F(DesignTest, HiddenItemsAndBreakingAreSavedBeforeTheNextItem)
{
    auto window = openDesign();
    ASSERT_TRUE(window->selectByLabel(u("收款人")));
    window->check(u("ckWordBreak"))->setChecked(true);
    window->field(u("WrapNum"))->setValue(12);
    window->saveItem(false);
    EXPECT_EQ(column(kPayee, "BreakNum").toString(), u("12"));
    window->check(u("ckWordBreak"))->setChecked(false);
    EXPECT_EQ(column(kPayee, "BreakNum").toString(), QString()) << "unticking saves at once";
    EXPECT_EQ(column(kPayee, "BreakFontSize").toInt(), 0);
    EXPECT_EQ(window->check(u("ckWordBreak"))->text(), u("必要时强制折行打印"));

    window->check(u("ckHidden"))->setChecked(true);
    EXPECT_TRUE(window->control(kPayee)->isHidden());
    EXPECT_EQ(column(kPayee, "NeedShow").toInt(), 1) << "not written until the item is left";
    ASSERT_TRUE(window->selectByLabel(u("用途")));
    EXPECT_EQ(column(kPayee, "NeedShow").toInt(), 0);
    EXPECT_EQ(column(kPayee, "NeedPrint").toInt(), 0);

    // Loading an item's fields writes nothing.
    const int steps = window->undoStack()->count();
    ASSERT_TRUE(window->selectByLabel(u("收款人")));
    EXPECT_EQ(window->undoStack()->count(), steps);
    EXPECT_TRUE(window->check(u("ckHidden"))->isChecked());
}

TEST_F(DesignTest, CheckBoxLabelsAreCleanedBeforeTheyAreStored)
{
    QStringList answers { u("（加急） ，保密，'存档'"), u("()*?") };
    ui::TfmCheckDesign::Links links;
    links.askValue = [&](const QString& prompt, const QString&) {
        EXPECT_EQ(prompt, u("输入勾选项目(以逗号分隔,最多13个,不得重复)："));
        return answers.takeFirst();
    };
    auto window = openDesign(kIcbc, links);
    window->defineCheckBoxes();
    EXPECT_EQ(services.db()
                  .scalar(QStringLiteral("select CheckBoxs from CKTypeTable where CheckTypeID=?"),
                      { kIcbc })
                  .toString(),
        u("加急,保密,存档"));
    EXPECT_EQ(qobject_cast<QCheckBox*>(window->control(u("DEFCHECK1")))->text(), u("保密"));
    window->defineCheckBoxes();
    EXPECT_EQ(prompter.texts().last(), u("输入了无效的字符(引号\\?\\*\\(\\)\\%)!"));
    EXPECT_EQ(services.db()
                  .scalar(QStringLiteral("select CheckBoxs from CKTypeTable where CheckTypeID=?"),
                      { kIcbc })
                  .toString(),
        u("加急,保密,存档"));
}

TEST_F(DesignTest, TheDesignerDrawsWhatPrintsAndMovesItToThePaper)
{
    setColumns(kPayee,
        QStringLiteral("CtlX=?, CtlY=?, CtlLH=0, BreakNum='4', BreakFontSize=9, FitParam=''"),
        { 300, 200 });
    services.db().execute(
        QStringLiteral(
            "update NameDict set CtlData=? where CheckTypeName=? and upper(CtlName)=upper(?)"),
        { u("一二三四五六七八"), u("支票"), u("zdInComp") });
    setColumns(u("ZDYT"),
        QStringLiteral("CtlX=?, CtlY=?, FitParam='50', BreakNum='', CtlW=0, CtlH=0"), { 100, 500 });
    services.db().execute(
        QStringLiteral(
            "update NameDict set CtlData=? where CheckTypeName=? and upper(CtlName)=upper(?)"),
        { u("AB"), u("支票"), u("zdYT") });
    auto designer = openDesigner();
    QLabel* line0 = designer->label(kPayee + u("L0"));
    QLabel* line1 = designer->label(kPayee + u("L1"));
    ASSERT_TRUE(line0 && line1);
    EXPECT_EQ(line1->text(), u("五六七八"));
    EXPECT_EQ(line0->pos(), QPoint(designer->toPixels(300), designer->toPixels(200)));
    EXPECT_EQ(line1->y() - line0->y(), designer->toPixels(250) - designer->toPixels(200))
        << "5 mm when no pitch is set";
    EXPECT_EQ(line0->toolTip(), kPayee);
    EXPECT_EQ(designer->label(u("ZDYTR2"))->x(), designer->toPixels(150));
    EXPECT_GT(column(u("ZDYT"), "CtlW").toInt(), 0) << "a box never set takes the screen size";

    // The scale serves both ways, at every zoom.
    const double paperMm
        = services.db()
              .scalar(
                  QStringLiteral("select PWidth from CKTypeTable where CheckTypeID=?"), { kIcbc })
              .toInt()
        / 10.0;
    for (const char* zoom : { "150", "50", "x" }) {
        designer->setZoom(QString::fromLatin1(zoom));
        EXPECT_NEAR(designer->scale() * designer->page()->width(), paperMm, 0.01);
        EXPECT_EQ(designer->label(kPayee + u("L0"))->x(), designer->toPixels(300));
    }

    // Moving in the designer moves the print.
    setColumns(kPayee, QStringLiteral("BreakNum=''"), {});
    const QPointF before = printedPayee();
    designer->selectOnly(kPayee);
    designer->setStep(50);
    designer->moveSelection(50, 0);
    EXPECT_EQ(column(kPayee, "CtlX").toInt(), 350);
    EXPECT_NEAR(printedPayee().x() - before.x(), 5.0, 0.05);
}

TEST_F(DesignTest, DesignerBatchesDistributeAlignAndUndoAsOne)
{
    auto designer = openDesigner();
    const QStringList items { u("ZDYT"), u("ZDREMARK"), kPayee };
    setColumns(items[0], QStringLiteral("CtlX=100, CtlW=5"), {});
    setColumns(items[1], QStringLiteral("CtlX=300, CtlW=80"), {});
    setColumns(items[2], QStringLiteral("CtlX=20, CtlW=60"), {});
    designer->setMultiple(true);
    for (const QString& item : items)
        designer->clickItem(item);
    EXPECT_FALSE(designer->properties()->isVisible());
    EXPECT_FALSE(designer->batchPages()->isHidden());
    designer->saveBox();
    EXPECT_EQ(prompter.texts().last(), u("单选一个项目才可以保存！"));

    designer->distribute(true, 40);
    EXPECT_EQ(column(items[0], "CtlX").toInt(), 100);
    EXPECT_EQ(column(items[1], "CtlX").toInt(), 140);
    EXPECT_EQ(column(items[2], "CtlX").toInt(), 180);
    EXPECT_EQ(designer->message(), u("2个等宽分布修改成功！"));

    designer->setStep(5);
    designer->batch(ui::TfmTemplateDesigner::Batch::Narrower);
    EXPECT_EQ(column(items[0], "CtlW").toInt(), 5);
    EXPECT_EQ(column(items[1], "CtlW").toInt(), 75);
    EXPECT_EQ(designer->message(), u("2个批量减宽成功！"));

    designer->batch(ui::TfmTemplateDesigner::Batch::Left);
    for (const QString& item : items)
        EXPECT_EQ(column(item, "CtlX").toInt(), 100);

    designer->undoStack()->undo(); // the alignment
    designer->undoStack()->undo(); // the narrowing
    designer->undoStack()->undo(); // the distribution
    EXPECT_EQ(column(items[1], "CtlX").toInt(), 300);
    EXPECT_EQ(column(items[2], "CtlX").toInt(), 20);
    EXPECT_EQ(column(items[1], "CtlW").toInt(), 80);

    designer->clearSelection();
    designer->selectOnly(items[0]);
    designer->batch(ui::TfmTemplateDesigner::Batch::Narrower);
    EXPECT_EQ(designer->message(), u("ZDYT的CtlW更新失败！"));
}

TEST_F(DesignTest, GroupsAndPaperLimits)
{
    const int receipt = templateOfKind(u("普通发票收据"));
    ASSERT_GT(receipt, 0);
    auto designer = openDesigner(receipt);
    designer->selectGroup(u("数量*"));
    QStringList expected;
    QSqlQuery rows = services.db().exec(
        QStringLiteral("select CtlName from NameDict where PrintItem=1 and CheckTypeName=? "
                       "and CtlLabel like ? order by ShowOrd"),
        { u("普通发票收据"), u("数量%") });
    while (rows.next())
        expected << rows.value(0).toString().toUpper();
    EXPECT_GE(expected.size(), 5);
    EXPECT_EQ(designer->selection(), expected);

    EXPECT_TRUE(designer->savePaperSize(21.0, 32.0));
    EXPECT_EQ(services.db()
                  .scalar(QStringLiteral("select PHeight from CKTypeTable where CheckTypeID=?"),
                      { receipt })
                  .toInt(),
        3200);
    EXPECT_FALSE(designer->savePaperSize(21.0, 32.1));
    EXPECT_EQ(prompter.texts().last(), u("失败，票据最高不能大于32厘米。"));
    EXPECT_FALSE(designer->savePaperSize(30.1, 20.0));
    EXPECT_EQ(prompter.texts().last(), u("失败，票据最宽不能大于30厘米。"));
}

} // namespace pennock::test
