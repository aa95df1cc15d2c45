#include "BillFixture.h"

#include "bills/BankKinds.h"
#include "bills/BillKind.h"
#include "bills/BillKinds.h"
#include "format/Capitals.h"
#include "parties/DAOPerson.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QToolButton>

#include <functional>

using namespace pennock;
using pennock::test::BillFixture;

namespace {

const QString kPlaceholder = QStringLiteral("单击我或红圈选择收款人...:)");

QString text(const ui::TfmBillForm& form, const char* name)
{
    return form.itemText(QString::fromUtf8(name));
}

QStringList cells(const ui::TfmBillForm& form)
{
    QStringList out;
    for (const QString& name : core::amountCellNames())
        out << form.itemText(name);
    return out;
}

// Typed characters as the keyboard or an input method delivers them, full-width ones included.
void type(QWidget* widget, const QString& characters)
{
    for (const QChar c : characters)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class BillFormTest : public BillFixture
{
protected:
    // A cheque with a payee and an amount, as a user leaves it before saving.
    std::unique_ptr<ui::TfmCheckZP> filledCheque(const QString& amount = QStringLiteral("100"))
    {
        auto form = openCheque();
        form->show();
        form->setItemText(QStringLiteral("zdInComp"), QStringLiteral("上海浦江机电设备有限公司"));
        enterAmount(*form, amount);
        return form;
    }
};

} // namespace

TEST_F(BillFormTest, OpensOnTheDefaultTemplateLaidOutFromItsCache)
{
    auto form = openCheque();
    EXPECT_EQ(form->objectName(), QStringLiteral("fmCheckZP"));
    EXPECT_EQ(form->currentTypeId(), kIcbc);
    EXPECT_EQ(form->laidOutTypeId(), kIcbc);
    EXPECT_EQ(form->templateTag(), kIcbc);
    EXPECT_EQ(currentTemplate, kIcbc);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("支票(工商银行2010版)-ID=-1"));
    EXPECT_EQ(form->serialNo(), -1);
    EXPECT_FALSE(form->isSaved());
    EXPECT_FALSE(form->isHistoric());

    QTabBar* tabs = form->tbcCheckTypeName();
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("工商银行2010版"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("建设银行2010版"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("配置常用模板"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_FALSE(tabs->isTabEnabled(2)) << "the template manager is not available here";

    // Screen positions come unscaled from the layout cache; the picture keeps its own size.
    EXPECT_EQ(form->item(QStringLiteral("zdInComp"))->geometry(), QRect(312, 90, 296, 22));
    EXPECT_FALSE(form->item(QStringLiteral("zdInComp"))->isHidden());
    EXPECT_TRUE(form->item(QStringLiteral("zdJEXX"))->isHidden()) << "laid out but not shown";
    EXPECT_TRUE(form->item(QStringLiteral("zdDef1"))->isHidden());
    EXPECT_TRUE(form->inputJEXX()->isHidden());
    for (const char* picker : { "SelDate", "shpHKR", "shpskr" })
        EXPECT_FALSE(form->item(QString::fromUtf8(picker))->isHidden()) << picker;
    EXPECT_EQ(form->bgImage()->pixmap().size(), QSize(900, 320));

    const QDate today = QDate::currentDate();
    EXPECT_EQ(
        text(*form, "zdNian"), core::DateNumberToCapitals(today.toString(QStringLiteral("yyyy"))));
    EXPECT_EQ(
        text(*form, "zdYue"), core::DateNumberToCapitals(today.toString(QStringLiteral("MM"))));
    EXPECT_EQ(text(*form, "cgRi"), today.toString(QStringLiteral("dd")));
    EXPECT_EQ(text(*form, "zdNianYueRi"), today.toString(QStringLiteral("yyyy-MM-dd")));
    EXPECT_EQ(text(*form, "zdInComp"), kPlaceholder);

    // A cheque starts with the issue date in capitals and no other remembered option.
    EXPECT_TRUE(form->option(QStringLiteral("cfgDateChinese"))->isChecked());
    EXPECT_FALSE(form->option(QStringLiteral("cfgPrintOutBank"))->isChecked());
    EXPECT_FALSE(form->option(QStringLiteral("cfgPrintOutBankAcct"))->isChecked());
    EXPECT_TRUE(form->option(QStringLiteral("cfgJEDXWithMoneyName"))->isChecked());
    EXPECT_TRUE(form->option(QStringLiteral("cfgJEXXWithMoneyCode"))->isChecked());
    EXPECT_FALSE(form->option(QStringLiteral("cfgNoPrtJEDX"))->isEnabled());
    EXPECT_EQ(form->cfgMoneyType()->currentText(), QStringLiteral("人民币"));

    // Commands whose windows live elsewhere stay visibly disabled without them.
    for (const char* name : { "bt2CheckJZD", "btMoveXY", "btDesign", "btOpenCheck" })
        EXPECT_FALSE(form->button(QString::fromUtf8(name))->isEnabled()) << name;
    for (const char* name : { "btSaveCheck", "btPrint1", "btMultiPrintF", "btSaveSKRen" })
        EXPECT_TRUE(form->button(QString::fromUtf8(name))->isEnabled()) << name;
}

TEST_F(BillFormTest, TabsAndTheDropDownChooseTheTemplate)
{
    auto form = openCheque();
    form->tbcCheckTypeName()->setCurrentIndex(1);
    EXPECT_EQ(form->variant(), QStringLiteral("建设银行2010版"));
    EXPECT_EQ(form->currentTypeId(), kCcb);
    EXPECT_EQ(form->laidOutTypeId(), kCcb);
    EXPECT_EQ(currentTemplate, kCcb);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("支票(建设银行2010版)-ID=-1"));

    QComboBox* box = form->cbFirstTypeName();
    box->setCurrentIndex(box->findText(QStringLiteral("工商银行2010版")));
    emit box->activated(box->currentIndex());
    EXPECT_EQ(form->currentTypeId(), kIcbc);
    EXPECT_EQ(form->tbcCheckTypeName()->currentIndex(), 0) << "the tab follows the drop-down";

    // A tab whose template disappeared leaves the template in use.
    form->tbcCheckTypeName()->insertTab(0, QStringLiteral("已改名"));
    form->tbcCheckTypeName()->setCurrentIndex(0);
    EXPECT_EQ(prompter.texts(),
        QStringList { QStringLiteral("模板(已改名)不存在或被重命名了，请关闭填单界面并重新填开,以刷"
                                     "新模板列表！") });
    EXPECT_EQ(form->currentTypeId(), kIcbc);
    EXPECT_EQ(form->tbcCheckTypeName()->tabText(form->tbcCheckTypeName()->currentIndex()),
        QStringLiteral("工商银行2010版"));
}

TEST_F(BillFormTest, UserCheckBoxesFollowTheTemplateLabels)
{
    services.db().execute(QStringLiteral("update CKTypeTable set CheckBoxs=? where CheckTypeID=?"),
        { QStringLiteral("加急,密,复核,甲,乙,丙,丁,戊"), kIcbc });
    auto form = openCheque();
    const QList<QCheckBox*> boxes = form->itemChecks();
    ASSERT_EQ(boxes.size(), 8);
    EXPECT_EQ(boxes[0]->objectName(), QStringLiteral("DEFCHECK0")) << "the design-time box";
    EXPECT_EQ(boxes[7]->objectName(), QStringLiteral("defCheck7")) << "made at run time";
    EXPECT_EQ(boxes[2]->text(), QStringLiteral("复核"));
    EXPECT_EQ(boxes[2]->toolTip(), QStringLiteral("复核"));

    boxes[1]->setChecked(true);
    form->setItemCheckTitle(QStringLiteral("加急,复核"));
    EXPECT_TRUE(boxes[0]->isChecked());
    EXPECT_TRUE(boxes[1]->isChecked()) << "a box not named keeps its state";
    EXPECT_TRUE(boxes[2]->isChecked());
    EXPECT_EQ(form->getItemCheckTitle(), QStringLiteral("加急,密,复核"));
    form->setItemCheckTitle({});
    EXPECT_EQ(form->getItemCheckTitle(), QString());

    // A template without labels still has one empty box; the others leave the list.
    form->tbcCheckTypeName()->setCurrentIndex(1);
    ASSERT_EQ(form->itemChecks().size(), 1);
    EXPECT_EQ(form->itemChecks()[0]->text(), QString());
    EXPECT_TRUE(form->itemChecks()[0]->isHidden());

    // Three labels: the fourth to sixth design-time boxes are neither saved nor reset.
    services.db().execute(QStringLiteral("update CKTypeTable set CheckBoxs=? where CheckTypeID=?"),
        { QStringLiteral("甲,乙,丙"), kCcb });
    auto* fourth = qobject_cast<QCheckBox*>(form->item(QStringLiteral("DEFCHECK4")));
    ASSERT_NE(fourth, nullptr);
    fourth->setChecked(true);
    form->reinitTemplate();
    ASSERT_EQ(form->itemChecks().size(), 3);
    EXPECT_FALSE(form->itemChecks().contains(fourth));
    form->itemChecks()[1]->setChecked(true);
    EXPECT_EQ(form->getItemCheckTitle(), QStringLiteral("乙"));
    form->setItemCheckTitle({});
    EXPECT_TRUE(fourth->isChecked());
    EXPECT_FALSE(form->itemChecks()[1]->isChecked());
}

TEST_F(BillFormTest, RememberedOptionsAndCurrencyReturnWithTheNextLayout)
{
    {
        auto form = openCheque();
        form->option(QStringLiteral("cfgDateChinese"))->click();
        EXPECT_EQ(text(*form, "zdNian"), QDate::currentDate().toString(QStringLiteral("yyyy")));
        EXPECT_EQ(text(*form, "cgNian"), QDate::currentDate().toString(QStringLiteral("yyyy")));
        form->option(QStringLiteral("cfgPrintOutBank"))->click();
        ASSERT_TRUE(form->setItemText(QStringLiteral("cfgMoneyType"), QStringLiteral("美元")));
        form->btRmemberClick();
        EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("打印勾选及选项已记住！") });
    }
    const auto stored = [this](const char* name) {
        return services.db()
            .scalar(QStringLiteral("select DMValue from DMTable where CheckTypeID=? and DMName=?"),
                { kIcbc, QString::fromUtf8(name) })
            .toString();
    };
    EXPECT_EQ(stored("cfgDateChinese"), QStringLiteral("0"));
    EXPECT_EQ(stored("cfgPrintOutBankAcct"), QStringLiteral("0"));
    EXPECT_EQ(stored("cfgPrintOutBank"), QStringLiteral("1"));
    EXPECT_EQ(stored("cfgJEDXWithMoneyName"), QStringLiteral("1"));
    EXPECT_EQ(stored("cfgDefaultMoney"), QStringLiteral("美元"));

    auto again = openCheque();
    EXPECT_FALSE(again->option(QStringLiteral("cfgDateChinese"))->isChecked());
    EXPECT_TRUE(again->option(QStringLiteral("cfgPrintOutBank"))->isChecked());
    EXPECT_EQ(again->currencyName(), QStringLiteral("美元"));
    EXPECT_EQ(again->cfgMoneyType()->currentText(), QStringLiteral("美元"));
    EXPECT_EQ(text(*again, "zdNian"), QDate::currentDate().toString(QStringLiteral("yyyy")));
    // The other template keeps its own options.
    again->tbcCheckTypeName()->setCurrentIndex(1);
    EXPECT_TRUE(again->option(QStringLiteral("cfgDateChinese"))->isChecked());
    EXPECT_EQ(again->currencyName(), QStringLiteral("人民币"));
}

TEST_F(BillFormTest, TheAmountBoxRefusesKeysAndCommitsOnEnter)
{
    auto form = openCheque();
    form->show();
    QWidget* capitals = form->item(QStringLiteral("zdJEDX"));
    QTest::mouseClick(capitals, Qt::LeftButton);
    ui::AmountInputBox* input = form->inputJEXX();
    ASSERT_FALSE(input->isHidden());
    EXPECT_EQ(input->geometry(), capitals->geometry());

    type(input, QStringLiteral("12"));
    EXPECT_EQ(text(*form, "zdJEXX"), QStringLiteral("12")) << "the figures follow the typing";
    // Delete brings the control character DEL, as the desktop delivers it: it edits, no refusal.
    type(input, QStringLiteral("3"));
    QTest::keyClick(input, Qt::Key_Left);
    QTest::sendKeyEvent(QTest::Click, input, Qt::Key_Delete, QString(QChar(0x7f)), Qt::NoModifier);
    EXPECT_EQ(input->text(), QStringLiteral("12"));
    EXPECT_TRUE(prompter.entries().isEmpty());
    for (const QString& refused : { QStringLiteral("-"), QStringLiteral(" "), QStringLiteral("a"),
             QStringLiteral("１"), QStringLiteral("。") })
        type(input, refused);
    EXPECT_EQ(input->text(), QStringLiteral("12"));
    ASSERT_EQ(prompter.entries().size(), 5);
    // The refusal's message box takes the focus for a while; the box stays open for typing.
    QFocusEvent toMessageBox(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(input, &toMessageBox);
    EXPECT_FALSE(input->isHidden());
    EXPECT_EQ(prompter.entries()[0].text,
        QStringLiteral("请输入合法的数值，全角的数字、字母、标点符号可不行哦\n如果打开了全角，"
                       "请shift+空格键切换或者试试小键盘吧~"));
    type(input, QStringLiteral("A.5"));
    EXPECT_EQ(input->text(), QStringLiteral("12A.5")) << "capitals pass the key and go at commit";
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_TRUE(input->isHidden());
    EXPECT_EQ(input->text(), QStringLiteral("12.5"));
    EXPECT_EQ(text(*form, "zdJEXX"), QStringLiteral("￥12.50"));
    EXPECT_EQ(text(*form, "cgJEXX"), QStringLiteral("￥12.50"));
    EXPECT_EQ(text(*form, "zdJEDX"), *core::AmountToCapitals(QStringLiteral("12.5")));

    // Moving to another control commits as Enter does.
    QTest::mouseClick(capitals, Qt::LeftButton);
    type(input, QStringLiteral("7"));
    QFocusEvent toAnotherControl(QEvent::FocusOut, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(input, &toAnotherControl);
    EXPECT_TRUE(input->isHidden());
    EXPECT_EQ(text(*form, "zdJEXX"), QStringLiteral("￥7.00"));
}

TEST_F(BillFormTest, AmountsFillFiguresCapitalsAndCells)
{
    struct Case
    {
        QString typed;
        QString figures;
        QStringList cells; ///< 亿 … 分
    };
    const QString y = QStringLiteral("￥");
    const Case cases[] = {
        { QStringLiteral("１２３４．５"), QStringLiteral("￥1,234.50"),
            { "", "", "", "", y, "1", "2", "3", "4", "5", "0" } },
        { QStringLiteral("0.5"), QStringLiteral("￥0.50"),
            { "", "", "", "", "", "", "", "", y, "5", "0" } },
        { QStringLiteral("999999999.99"), QStringLiteral("￥999,999,999.99"),
            { "9", "9", "9", "9", "9", "9", "9", "9", "9", "9", "9" } },
        // The cells show the figures' fen: 12.345 is 12.35 in both.
        { QStringLiteral("12.345"), y + core::FormatMoney(12.345, true),
            { "", "", "", "", "", "", y, "1", "2", "3", "5" } },
    };
    auto form = openCheque();
    form->show();
    for (const Case& c : cases) {
        enterAmount(*form, c.typed);
        EXPECT_EQ(text(*form, "zdJEXX"), c.figures) << c.typed.toStdString();
        EXPECT_EQ(cells(*form), c.cells) << c.typed.toStdString();
        EXPECT_EQ(
            text(*form, "zdJEDX"), *core::AmountToCapitals(core::NormalizeAmountText(c.typed)))
            << "人民币 is left out unless asked for";
    }
    EXPECT_TRUE(prompter.entries().isEmpty());

    // Out of range: the message, and the bill keeps what it showed.
    enterAmount(*form, QStringLiteral("1000000000"));
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_EQ(prompter.entries()[0].text, QStringLiteral("金额值必须介于0~1,000,000,000之间！"));
    EXPECT_EQ(prompter.entries()[0].caption, QStringLiteral("金额输入"));
    EXPECT_EQ(cells(*form), cases[3].cells);

    enterAmount(*form, QStringLiteral("0"));
    EXPECT_EQ(cells(*form), QStringList(11, QString()));
    EXPECT_EQ(text(*form, "zdJEXX"), QString());
    EXPECT_EQ(text(*form, "cgJEXX"), QString());
    EXPECT_EQ(text(*form, "zdJEDX"), QString());
    EXPECT_EQ(form->inputJEXX()->text(), QString());
}

TEST_F(BillFormTest, CurrencyAndAmountOptionsApplyAtOnce)
{
    auto form = openCheque();
    form->show();
    enterAmount(*form, QStringLiteral("100"));
    const QString words = *core::AmountToCapitals(QStringLiteral("100"));
    form->option(QStringLiteral("cfgJEDXRMBChecked"))->click();
    EXPECT_EQ(text(*form, "zdJEDX"), QStringLiteral("人民币") + words);
    form->option(QStringLiteral("cfgJEXXWithMoneyCode"))->click();
    EXPECT_EQ(text(*form, "zdJEXX"), QStringLiteral("100.00"));
    form->option(QStringLiteral("cfgNoPrtSheep"))->click();
    EXPECT_FALSE(cells(*form).contains(QStringLiteral("￥")));
    form->option(QStringLiteral("cfgNoPrtSheep"))->click();

    ASSERT_TRUE(form->setItemText(QStringLiteral("cfgMoneyType"), QStringLiteral("美元")));
    EXPECT_EQ(form->currencyName(), QStringLiteral("美元"));
    EXPECT_EQ(text(*form, "zdJEDX"), QStringLiteral("美元") + words);
    EXPECT_EQ(text(*form, "zdQY"), QStringLiteral("USD")) << "a long code takes one cell";

    // Hiding the figures and cells, then placing them again from the layout.
    const QRect cell = form->item(QStringLiteral("zdY"))->geometry();
    form->option(QStringLiteral("cfgNoPrtJEXX"))->click();
    EXPECT_TRUE(form->item(QStringLiteral("zdY"))->isHidden());
    form->option(QStringLiteral("cfgNoPrtJEXX"))->click();
    EXPECT_FALSE(form->item(QStringLiteral("zdY"))->isHidden());
    EXPECT_TRUE(form->item(QStringLiteral("zdJEXX"))->isHidden()) << "its layout hides it";
    EXPECT_EQ(form->item(QStringLiteral("zdY"))->geometry(), cell);
}

TEST_F(BillFormTest, SavingTwiceEditsTheSameRow)
{
    auto form = filledCheque();
    form->setItemText(QStringLiteral("zdDef1"), QStringLiteral("不在模板上"));
    click(*form, "btSaveCheck");
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("新支票保存成功！ ") });
    const int serial = form->serialNo();
    ASSERT_GT(serial, 0);
    EXPECT_TRUE(form->isSaved());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("支票(工商银行2010版)-ID=%1").arg(serial));
    const QVariantMap stored = row(serial);
    EXPECT_EQ(stored.value(QStringLiteral("票据状态")).toString(), QStringLiteral("已用"));
    EXPECT_EQ(
        stored.value(QStringLiteral("模板种类")).toString(), QStringLiteral("工商银行2010版"));
    EXPECT_EQ(stored.value(QStringLiteral("金额")).toString(), QStringLiteral("100"));
    EXPECT_EQ(stored.value(QStringLiteral("币种")).toString(), QStringLiteral("人民币"));
    EXPECT_EQ(stored.value(QStringLiteral("收款人全称")).toString(),
        QStringLiteral("上海浦江机电设备有限公司"));
    EXPECT_TRUE(stored.value(QStringLiteral("出票日期"))
                    .toString()
                    .startsWith(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    EXPECT_TRUE(stored.value(QStringLiteral("自定义1")).isNull()) << "hidden on this template";

    prompter.clear();
    click(*form, "btSaveCheck");
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("没有改动,无需保存~") });

    prompter.clear();
    typeInto(*form, "zdRemark", QStringLiteral("第二次"));
    EXPECT_FALSE(form->isSaved());
    click(*form, "btSaveCheck");
    EXPECT_EQ(prompter.texts(),
        QStringList {
            QStringLiteral("支票修改保存成功（要修改成新支票请先点击【复制】按钮）！ ") });
    EXPECT_EQ(form->serialNo(), serial);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(row(serial).value(QStringLiteral("备注")).toString(), QStringLiteral("第二次"));
}

TEST_F(BillFormTest, CopyAsNewAppendsANewRowWithoutTheNumber)
{
    auto form = filledCheque();
    click(*form, "btSaveAs");
    EXPECT_EQ(form->serialNo(), -1);
    EXPECT_FALSE(form->windowTitle().contains(QLatin1Char('['))) << "a never-saved bill";

    form->setItemText(QStringLiteral("zdPJBH"), QStringLiteral("10201120"));
    form->save();
    const int first = form->serialNo();
    click(*form, "btSaveAs");
    EXPECT_EQ(form->serialNo(), -1);
    EXPECT_FALSE(form->isSaved());
    EXPECT_EQ(text(*form, "zdPJBH"), QString());
    EXPECT_EQ(form->windowTitle(),
        QStringLiteral("支票(工商银行2010版)-ID=-1[已复制保存过的单据为一张新单]"));
    EXPECT_EQ(text(*form, "zdInComp"), QStringLiteral("上海浦江机电设备有限公司"));
    form->save();
    EXPECT_NE(form->serialNo(), first);
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(row(first).value(QStringLiteral("票据编号")).toString(), QStringLiteral("10201120"));
    EXPECT_EQ(row(form->serialNo()).value(QStringLiteral("票据编号")).toString(), QString());
}

TEST_F(BillFormTest, AHistoricChequeOfYesterdayClosedWithYesBecomesANewChequeOfToday)
{
    const QDate yesterday = QDate::currentDate().addDays(-1);
    int old = 0;
    {
        auto form = filledCheque(QStringLiteral("88.8"));
        form->setBillDate(yesterday);
        form->setShowSaveMessages(false);
        ASSERT_TRUE(form->save());
        old = form->serialNo();
    }
    const QVariantMap before = row(old);

    auto form = openCheque();
    form->show();
    form->BrowseOldCheck(QStringLiteral("工商银行2010版"), QString::number(old));
    EXPECT_TRUE(form->isHistoric());
    EXPECT_TRUE(form->isSaved());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("支票(工商银行2010版)-ID=%1[历史]").arg(old));
    EXPECT_EQ(form->billDate(), yesterday);
    EXPECT_EQ(text(*form, "zdInComp"), QStringLiteral("上海浦江机电设备有限公司"));
    EXPECT_EQ(text(*form, "cgInComp"), QStringLiteral("上海浦江机电设备有限公司"));
    EXPECT_EQ(form->inputJEXX()->text(), QStringLiteral("88.8"));
    EXPECT_EQ(text(*form, "zdJEXX"), QStringLiteral("￥88.80"));
    EXPECT_TRUE(form->button(QStringLiteral("btSaveAs"))->isEnabled());

    click(*form, "btSaveCheck");
    EXPECT_EQ(prompter.texts(),
        QStringList { QStringLiteral("历史单据不能保存，请点击[复制]后,再保存为新单据！") });
    prompter.clear();

    typeInto(*form, "zdRemark", QStringLiteral("改过"));
    prompter.queueAnswer(true);
    prompter.queueAnswer(true);
    prompter.queueAnswer(true);
    form->close();
    const auto& e = prompter.entries();
    ASSERT_EQ(e.size(), 4);
    EXPECT_EQ(e[0].text, QStringLiteral("是否保存该支票？"));
    EXPECT_EQ(e[0].caption, QStringLiteral("关闭票据"));
    EXPECT_EQ(
        e[1].text, QStringLiteral("该单据来自历史单据，历史单据不能修改！\n另存为新单据吗？"));
    EXPECT_EQ(e[1].caption, QStringLiteral("单据保存"));
    EXPECT_TRUE(e[2].text.startsWith(
        QStringLiteral("票据的日期与当前日期不符！\n修正为当前日期吗？(修正后日期：")));
    EXPECT_EQ(e[3].text, QStringLiteral("新支票保存成功！ "));

    EXPECT_EQ(rows(), 2);
    const QVariantMap added = row(form->serialNo());
    EXPECT_NE(form->serialNo(), old);
    EXPECT_TRUE(added.value(QStringLiteral("出票日期"))
                    .toString()
                    .startsWith(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    EXPECT_EQ(added.value(QStringLiteral("票据状态")).toString(), QStringLiteral("已用"));
    EXPECT_EQ(added.value(QStringLiteral("备注")).toString(), QStringLiteral("改过"));
    EXPECT_EQ(row(old), before) << "the historic row stays as it was";

    // Closing remembered where the window stood.
    core::IniFile config(core::ProgramFolder(home.path()).configIniPath());
    EXPECT_TRUE(config.hasKey(QStringLiteral("FMCHECKZP"), QStringLiteral("PositionX")));
    EXPECT_EQ(config.readString(QStringLiteral("FMCHECKZP"), QStringLiteral("PositionBar")),
        QStringLiteral("top"));
    EXPECT_EQ(currentTemplate, -1);
}

TEST_F(BillFormTest, ARegisteredNumberSwitchesTheTemplateAndFillsItsRow)
{
    services.db().execute(
        QStringLiteral("insert into DataZPTable (票据编号, 票据状态, 模板种类, 付款行名称, "
                       "出票人账号) values ('ZP-0001', '未用', '建设银行2010版', "
                       "'建设银行北京分行', '11001019500053000001'), ('ZP-0002', '未用', "
                       "'工商银行2010版', '', '')"));
    const int registered = services.db()
                               .scalar(QStringLiteral("select 流水号 from DataZPTable where "
                                                      "票据编号='ZP-0001'"))
                               .toInt();
    auto form = filledCheque();
    auto* numbers = qobject_cast<QComboBox*>(form->item(QStringLiteral("zdPJBH")));
    ASSERT_EQ(numbers->count(), 2);
    EXPECT_EQ(numbers->currentText(), QString()) << "the list does not choose a number";

    const int index = numbers->findText(QStringLiteral("ZP-0001"));
    numbers->setCurrentIndex(index);
    emit numbers->activated(index);
    EXPECT_EQ(form->currentTypeId(), kCcb);
    EXPECT_EQ(form->variant(), QStringLiteral("建设银行2010版"));
    EXPECT_EQ(form->serialNo(), registered);
    EXPECT_EQ(text(*form, "zdOutBank"), QStringLiteral("建设银行北京分行"));
    EXPECT_EQ(text(*form, "zdOutBankAcct"), QStringLiteral("11001019500053000001"));
    EXPECT_FALSE(form->isSaved());

    click(*form, "btSaveCheck");
    EXPECT_EQ(rows(), 2) << "the registered row is filled, not a new one";
    const QVariantMap filled = row(registered);
    EXPECT_EQ(filled.value(QStringLiteral("票据状态")).toString(), QStringLiteral("已用"));
    EXPECT_EQ(filled.value(QStringLiteral("收款人全称")).toString(),
        QStringLiteral("上海浦江机电设备有限公司"));
    EXPECT_EQ(numbers->findText(QStringLiteral("ZP-0001")), -1) << "used up";
    EXPECT_EQ(numbers->currentText(), QStringLiteral("ZP-0001"));

    // A registered row reopened from history is a new bill that fills that row.
    form->BrowseOldCheck({},
        services.db()
            .scalar(QStringLiteral("select 流水号 from DataZPTable where "
                                   "票据编号='ZP-0002'"))
            .toString());
    EXPECT_FALSE(form->isHistoric());
    EXPECT_FALSE(form->isSaved());
    EXPECT_TRUE(form->windowTitle().endsWith(QStringLiteral("[新]")));
    EXPECT_EQ(form->currentTypeId(), kCcb) << "an empty variant keeps the template in use";
}

TEST_F(BillFormTest, PrintAndSaveLeavesACopyWithoutNumber)
{
    auto form = filledCheque();
    form->setItemText(QStringLiteral("zdPJBH"), QStringLiteral("P-7"));
    click(*form, "btPrintAndSave");
    EXPECT_EQ(canvas.documentsEnded(), 1);
    EXPECT_TRUE(prompter.entries().isEmpty()) << "no save message in this command";
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(services.db().scalar(QStringLiteral("select 票据编号 from DataZPTable")).toString(),
        QStringLiteral("P-7"));
    auto* numbers = qobject_cast<QComboBox*>(form->item(QStringLiteral("zdPJBH")));
    EXPECT_EQ(numbers->count(), 0);
    EXPECT_EQ(numbers->currentText(), QString());
    EXPECT_EQ(form->serialNo(), -1);
    EXPECT_FALSE(form->isSaved());
    EXPECT_FALSE(form->button(QStringLiteral("btSaveAs"))->isEnabled());
    EXPECT_TRUE(form->button(QStringLiteral("btPrintAndSave"))->isEnabled());
    EXPECT_TRUE(form->showSaveMessages());
    EXPECT_EQ(text(*form, "zdInComp"), QStringLiteral("上海浦江机电设备有限公司"));
}

TEST_F(BillFormTest, RepeatPrintIsOneJobWithTheCopyCount)
{
    auto form = filledCheque();
    struct Case
    {
        QString answer;
        int documents;
        int copies;
    };
    for (const Case& c : { Case { QStringLiteral("0"), 1, 1 }, Case { QStringLiteral("1"), 1, 1 },
             Case { QStringLiteral("3"), 1, 3 }, Case { QString(), 0, 0 } }) {
        const int before = canvas.documentsEnded();
        answers = { c.answer };
        click(*form, "btMultiPrintF");
        EXPECT_EQ(canvas.documentsEnded() - before, c.documents) << c.answer.toStdString();
        if (c.documents) {
            EXPECT_EQ(canvas.copyCount(), c.copies) << c.answer.toStdString();
        }
    }
    EXPECT_EQ(asked.first(), QStringLiteral("输入重复打印的张数/integer"));
    EXPECT_TRUE(form->button(QStringLiteral("btPrint1"))->isEnabled());
    EXPECT_TRUE(prompter.entries().isEmpty());
    EXPECT_EQ(rows(), 0) << "printing does not save";
}

TEST_F(BillFormTest, PrintingSkipsTheBankUnlessAskedAndNeverPrintsThePlaceholder)
{
    auto form = openCheque();
    form->show();
    form->setItemText(QStringLiteral("zdOutBank"), QStringLiteral("工行海淀支行"));
    enterAmount(*form, QStringLiteral("5"));
    ASSERT_FALSE(form->item(QStringLiteral("zdOutBank"))->isHidden());
    click(*form, "btPrint1");
    EXPECT_EQ(canvas.documentsEnded(), 1);
    EXPECT_FALSE(printed().contains(QStringLiteral("工行海淀支行")));
    EXPECT_FALSE(printed().contains(kPlaceholder));
    EXPECT_EQ(text(*form, "zdInComp"), QString()) << "the placeholder is cleared before printing";
    EXPECT_TRUE(printed().contains(QDate::currentDate().toString(QStringLiteral("yyyy"))));

    canvas.clear();
    form->option(QStringLiteral("cfgPrintOutBank"))->click();
    form->option(QStringLiteral("cfgNoPrtDate"))->click();
    click(*form, "btPrint1");
    EXPECT_TRUE(printed().contains(QStringLiteral("工行海淀支行")));
    EXPECT_FALSE(printed().contains(QDate::currentDate().toString(QStringLiteral("yyyy"))))
        << "hidden items print nothing";
    EXPECT_TRUE(printed().contains(QStringLiteral("5")));
}

TEST_F(BillFormTest, PrintingStopsWithoutPrinterOrWhenTheDialogIsCancelled)
{
    auto form = filledCheque();
    printers.clear();
    click(*form, "btPrint1");
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("你需要安装打印机才能打印！") });
    EXPECT_EQ(canvas.documentsBegun(), 0);

    printers = { QStringLiteral("Recorder") };
    popDialog = true;
    dialogAnswer = false;
    click(*form, "btPrint1");
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(canvas.documentsBegun(), 0);
    dialogAnswer = true;
    click(*form, "btPrint1");
    EXPECT_EQ(canvas.documentsEnded(), 1);
}

TEST_F(BillFormTest, AFailedSaveWritesNothingAndKeepsTheBillUnsaved)
{
    // The row is written and then refused within the same statement: nothing may remain.
    services.db().execute(QStringLiteral("create trigger refuse_cheque after insert on DataZPTable "
                                         "begin select raise(abort, '磁盘已满'); end"));
    auto form = filledCheque();
    click(*form, "btSaveCheck");
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_EQ(prompter.entries()[0].kind, QStringLiteral("warn"));
    EXPECT_TRUE(prompter.entries()[0].text.startsWith(QStringLiteral("单据保存失败！")));
    EXPECT_TRUE(prompter.entries()[0].text.contains(QStringLiteral("磁盘已满")));
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(form->serialNo(), -1);
    EXPECT_FALSE(form->isSaved());

    // An edit refused halfway leaves the stored row as it was.
    services.db().execute(QStringLiteral("drop trigger refuse_cheque"));
    ASSERT_TRUE(form->save());
    const QVariantMap before = row(form->serialNo());
    services.db().execute(QStringLiteral("create trigger refuse_edit after update on DataZPTable "
                                         "begin select raise(abort, '只读'); end"));
    typeInto(*form, "zdRemark", QStringLiteral("不会写入"));
    EXPECT_FALSE(form->save());
    EXPECT_EQ(row(form->serialNo()), before);
    EXPECT_FALSE(form->isSaved());
}

TEST_F(BillFormTest, AVoidedRowIsNeverWrittenAgain)
{
    auto form = filledCheque();
    ASSERT_TRUE(form->save());
    services.db().execute(QStringLiteral("update DataZPTable set 票据状态='作废' where 流水号=?"),
        { form->serialNo() });
    prompter.clear();
    typeInto(*form, "zdRemark", QStringLiteral("作废后修改"));
    click(*form, "btSaveCheck");
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("支票已经作废,保存失败！") });
    EXPECT_EQ(row(form->serialNo()).value(QStringLiteral("备注")).toString(), QString());
    EXPECT_FALSE(form->isSaved());
}

TEST_F(BillFormTest, TypingIntoThePayeeReplacesItsInvitation)
{
    auto form = openCheque();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* payee = qobject_cast<QComboBox*>(form->item(QStringLiteral("zdInComp")));
    ASSERT_NE(payee, nullptr);
    ASSERT_EQ(payee->currentText(), kPlaceholder);
    QTest::mouseClick(payee->lineEdit(), Qt::LeftButton, {}, QPoint(20, 5));
    QApplication::processEvents();
    QTest::keyClicks(payee->lineEdit(), QStringLiteral("abc"));
    EXPECT_EQ(payee->currentText(), QStringLiteral("abc"));

    // A name the user typed is kept when the box is entered again: the key adds to it.
    QTest::mouseClick(form->item(QStringLiteral("zdYT")), Qt::LeftButton);
    QTest::mouseClick(payee->lineEdit(), Qt::LeftButton, {}, QPoint(20, 5));
    QApplication::processEvents();
    QTest::keyClicks(payee->lineEdit(), QStringLiteral("d"));
    EXPECT_EQ(payee->currentText().size(), 4) << payee->currentText().toStdString();
}

TEST_F(BillFormTest, PartiesComeFromTheDefaultDrawerThePickersAndTheLookups)
{
    core::TPerson own;
    own.全称 = QStringLiteral("北京华信恒达科技有限公司");
    own.开户银行 = QStringLiteral("工行海淀支行");
    own.开户行账号 = QStringLiteral("0200004509200123456");
    drawer = own;
    auto form = openCheque();
    EXPECT_EQ(text(*form, "zdOutComp"), own.全称);
    EXPECT_EQ(text(*form, "zdOutBank"), own.开户银行);
    EXPECT_EQ(text(*form, "zdOutBankAcct"), own.开户行账号);

    core::TPerson payee;
    payee.全称 = QStringLiteral("上海浦江机电设备有限公司");
    payee.助记码 = QStringLiteral("SHPJ");
    payee.单位类型 = QStringLiteral("往来单位");
    core::TPerson other;
    other.全称 = QStringLiteral("广州南沙物流有限公司");
    other.开户银行 = QStringLiteral("招行南沙支行");
    other.开户行账号 = QStringLiteral("7559001");
    core::DAOPerson parties(services.db());
    parties.storePerson(payee);
    parties.storePerson(other);

    form->setItemText(QStringLiteral("zdInComp"), QStringLiteral("SHPJ"));
    pressEnter(*form, "zdInComp");
    EXPECT_EQ(text(*form, "zdInComp"), payee.全称);
    EXPECT_EQ(text(*form, "cgInComp"), payee.全称);

    form->setItemText(QStringLiteral("zdOutComp"), other.全称);
    leave(*form, "zdOutComp");
    EXPECT_EQ(text(*form, "zdOutBank"), other.开户银行);
    EXPECT_EQ(text(*form, "zdOutBankAcct"), other.开户行账号);

    // A name stored with stray blanks (an imported list) is found by the name without them.
    core::TPerson padded;
    padded.全称 = QStringLiteral("  深圳前海贸易有限公司 ");
    padded.开户银行 = QStringLiteral("平安银行前海支行");
    padded.开户行账号 = QStringLiteral("1100223");
    parties.storePerson(padded);
    form->setItemText(QStringLiteral("zdOutComp"), QStringLiteral("深圳前海贸易有限公司 "));
    leave(*form, "zdOutComp");
    EXPECT_EQ(text(*form, "zdOutBank"), padded.开户银行);
    EXPECT_EQ(text(*form, "zdOutBankAcct"), padded.开户行账号);

    picked = other;
    QTest::mouseClick(form->item(QStringLiteral("shpskr")), Qt::LeftButton);
    EXPECT_EQ(picks, QStringList { QStringLiteral("往来单位/选取收款人") });
    EXPECT_EQ(text(*form, "cgInComp"), other.全称);
    picked.reset();
    QTest::mouseClick(form->item(QStringLiteral("shpHKR")), Qt::LeftButton);
    EXPECT_EQ(text(*form, "zdOutComp"), QString()) << "cancelling the picker empties the drawer";

    form->setItemText(QStringLiteral("zdInComp"), kPlaceholder);
    click(*form, "btSaveSKRen");
    ASSERT_EQ(savedPersons.size(), 1);
    EXPECT_EQ(savedPersons[0].全称, QString());
    EXPECT_EQ(savedPersons[0].单位类型, QStringLiteral("往来单位"));
    EXPECT_EQ(text(*form, "zdInComp"), QString());
}

TEST_F(BillFormTest, RelayoutAfterDesignModeMovesTheControls)
{
    auto form = openCheque();
    services.db().execute(QStringLiteral("update CKControl set SrcX=400, SrcY=100 where "
                                         "CheckTypeID=? and CtlName='ZDINCOMP'"),
        { kIcbc });
    services.settings().buildCheckIniFile(kIcbc);
    form->cbFirstTypeNameChange();
    EXPECT_EQ(form->item(QStringLiteral("zdInComp"))->pos(), QPoint(312, 90))
        << "the same template is not laid out again";
    form->reinitTemplate();
    EXPECT_EQ(form->item(QStringLiteral("zdInComp"))->pos(), QPoint(400, 100));
    EXPECT_EQ(form->laidOutTypeId(), kIcbc);
}

TEST_F(BillFormTest, NewBillKeepsTheDrawerAndClearsTheRest)
{
    auto form = filledCheque();
    form->setItemText(QStringLiteral("zdOutComp"), QStringLiteral("我方"));
    typeInto(*form, "zdRemark", QStringLiteral("备注"));
    form->setYongTu(QStringLiteral("货款"));
    form->setBillDate(QDate(2020, 1, 2));
    ASSERT_TRUE(form->save());
    click(*form, "btNewCheck");
    EXPECT_EQ(form->serialNo(), -1);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("支票(工商银行2010版)-ID=-1[新建]"));
    EXPECT_EQ(text(*form, "zdInComp"), QString());
    EXPECT_EQ(text(*form, "zdRemark"), QString());
    EXPECT_EQ(text(*form, "cgYT"), QString());
    EXPECT_EQ(text(*form, "zdJEDX"), QString());
    EXPECT_EQ(form->billDate(), QDate::currentDate());
    EXPECT_EQ(text(*form, "zdOutComp"), QStringLiteral("我方"));
    EXPECT_FALSE(form->button(QStringLiteral("btSaveAs"))->isEnabled());
}

// A name box still showing its invitation is no empty bill: closing offers to save the rest.
TEST_F(BillFormTest, ClosingAsksToSaveWhileANameStillShowsItsInvitation)
{
    const struct
    {
        const char* kind;
        std::function<void(ui::TfmBillForm&)> fill;
        const char* question;
        const char* caption;
    } cases[] = {
        { "进账单", [](ui::TfmBillForm& f) { enterAmount(f, QStringLiteral("50")); },
            "是否保存该进账单？", "关闭票据" },
        { "快递单", [](ui::TfmBillForm& f) { typeInto(f, "zdSKRLXR", QStringLiteral("李四")); },
            "是否保存该快递单？", "关闭快递单" },
    };
    for (const auto& c : cases) {
        std::unique_ptr<ui::TfmBillForm> form(ui::createBillForm(QString::fromUtf8(c.kind), env));
        ASSERT_TRUE(form) << c.kind;
        form->show();
        c.fill(*form);
        ASSERT_EQ(form->itemText(form->kind().payee.name), form->kind().payeePlaceholder);
        prompter.clear();
        prompter.queueAnswer(false);
        form->close();
        ASSERT_EQ(prompter.entries().size(), 1) << c.kind;
        EXPECT_EQ(prompter.entries()[0].kind, QStringLiteral("ask"));
        EXPECT_EQ(prompter.entries()[0].text, QString::fromUtf8(c.question));
        EXPECT_EQ(prompter.entries()[0].caption, QString::fromUtf8(c.caption));
    }
}

// "新建(&N)" over lines the user typed and did not save asks first; No keeps them.
TEST_F(BillFormTest, NewBillOverUnsavedTypingAsksFirst)
{
    std::unique_ptr<ui::TfmBillForm> form(ui::createBillForm(QStringLiteral("普通发票收据"), env));
    ASSERT_TRUE(form);
    form->show();
    const auto pressNew = [&form] { click(*form, "btNewCheck"); };
    pressNew();
    EXPECT_TRUE(prompter.entries().isEmpty()) << "nothing typed, nothing asked";

    QTest::keyClicks(form->item(QStringLiteral("zdSL1")), QStringLiteral("3"));
    typeInto(*form, "zdDJ1", QStringLiteral("2.5"));
    leave(*form, "zdDJ1");
    ASSERT_EQ(text(*form, "zdJE1"), QStringLiteral("7.50"));
    const QString code = text(*form, "zdCodeAuto");
    prompter.queueAnswer(false);
    pressNew();
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_EQ(prompter.entries()[0].kind, QStringLiteral("ask"));
    EXPECT_EQ(prompter.entries()[0].text,
        QStringLiteral("该普通发票收据尚未保存，新建将清空填写的内容，确定要新建吗？"));
    EXPECT_EQ(prompter.entries()[0].caption, QStringLiteral("新建单据"));
    EXPECT_EQ(text(*form, "zdSL1"), QStringLiteral("3")) << "No keeps the lines";
    EXPECT_EQ(text(*form, "zdJE1"), QStringLiteral("7.50"));
    EXPECT_EQ(text(*form, "zdCodeAuto"), code);

    prompter.clear();
    prompter.queueAnswer(true);
    pressNew();
    EXPECT_EQ(prompter.entries().size(), 1);
    EXPECT_EQ(text(*form, "zdSL1"), QString());
    EXPECT_EQ(text(*form, "zdJE1"), QString());
    EXPECT_NE(text(*form, "zdCodeAuto"), code);
    prompter.clear();
    pressNew();
    EXPECT_TRUE(prompter.entries().isEmpty()) << "a new bill has nothing to lose";
}

TEST_F(BillFormTest, AnEmptyPictureNameShowsTheDefaultPicture)
{
    services.db().execute(
        QStringLiteral("update CKTypeTable set ImgFile='' where CheckTypeID=?"), { kCcb });
    auto form = openCheque();
    form->tbcCheckTypeName()->setCurrentIndex(1);
    ASSERT_EQ(form->currentTypeId(), kCcb);
    const QImage expected(services.folder().path(QStringLiteral("Image/dhd_default.jpg")));
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(form->bgImage()->pixmap().toImage(),
        expected.convertToFormat(form->bgImage()->pixmap().toImage().format()));
}

TEST(TfmBillFormTest, PartyListsGrowWithTheScreen)
{
    const std::pair<int, int> cases[]
        = { { 600, 23 }, { 799, 23 }, { 800, 35 }, { 899, 35 }, { 900, 50 }, { 1200, 50 } };
    for (const auto& [height, rows] : cases)
        EXPECT_EQ(ui::TfmBillForm::partyListRows(height), rows) << height;
}

TEST_F(BillFormTest, DoubleClickSelectsTheWholeTextOfPartiesBankAndPurpose)
{
    auto form = openCheque();
    form->show();
    const QString value = QStringLiteral("ICBC Haidian branch");
    const std::pair<const char*, bool> cases[] = { { "zdOutComp", true }, { "zdInComp", true },
        { "zdOutBankAcct", true }, { "zdOutBank", true }, { "zdYT", true }, { "zdDef1", false } };
    for (const auto& [name, whole] : cases) {
        QWidget* w = form->item(QString::fromUtf8(name));
        w->show();
        ASSERT_TRUE(form->setItemText(QString::fromUtf8(name), value));
        auto* edit = qobject_cast<QLineEdit*>(w);
        if (!edit)
            edit = qobject_cast<QComboBox*>(w)->lineEdit();
        QTest::mouseDClick(edit, Qt::LeftButton, {}, QPoint(4, edit->height() / 2));
        EXPECT_EQ(edit->selectedText() == value, whole) << name;
    }
}

TEST_F(BillFormTest, TheBankIsSkippedWhateverCaseTheCatalogueWritesItsName)
{
    services.db().execute(QStringLiteral("update NameDict set CtlName='zdOutBank' where "
                                         "CheckTypeName='支票' and CtlName='ZDOUTBANK'"));
    auto form = openCheque();
    form->show();
    form->setItemText(QStringLiteral("zdOutBank"), QStringLiteral("工行海淀支行"));
    ASSERT_FALSE(form->item(QStringLiteral("zdOutBank"))->isHidden());
    click(*form, "btPrint1");
    EXPECT_EQ(canvas.documentsEnded(), 1);
    EXPECT_FALSE(printed().contains(QStringLiteral("工行海淀支行")));
    canvas.clear();
    form->option(QStringLiteral("cfgPrintOutBank"))->click();
    click(*form, "btPrint1");
    EXPECT_TRUE(printed().contains(QStringLiteral("工行海淀支行")));
}

TEST_F(BillFormTest, ARemarkOfTwoLinesPrintsAsTwoLines)
{
    auto form = openCheque();
    form->show();
    typeInto(*form, "zdRemark", QStringLiteral("第一行\r\n第二行"));
    click(*form, "btPrint1");
    QList<int> tops;
    for (const auto& t : canvas.texts())
        if (t.text == u"第一行" || t.text == u"第二行")
            tops << t.topPx;
    ASSERT_EQ(tops.size(), 2) << printed().join(u'|').toStdString();
    EXPECT_LT(tops[0], tops[1]);
    EXPECT_FALSE(printed().join(QString()).contains(QStringLiteral("##")));
}
