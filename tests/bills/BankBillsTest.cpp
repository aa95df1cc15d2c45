#include "BillFixture.h"

#include "bills/BankKinds.h"
#include "bills/BillDraft.h"
#include "bills/BillKind.h"
#include "bills/BillKinds.h"
#include "bills/BillRules.h"
#include "bills/PrintCommand.h"
#include "bills/TfmCheckJZD.h"
#include "format/Capitals.h"
#include "parties/DAOPerson.h"
#include "support/CliProcess.h"

#include <QCheckBox>
#include <QDateEdit>

#include <algorithm>

using namespace pennock;
using pennock::test::BillFixture;

namespace {

QString text(const ui::TfmBillForm& form, const char* name)
{
    return form.itemText(QString::fromUtf8(name));
}

QString capitalsDate(const QDate& d)
{
    return core::DateNumberToCapitals(d.toString(QStringLiteral("yyyy"))) + QStringLiteral("年")
        + core::DateNumberToCapitals(d.toString(QStringLiteral("MM"))) + QStringLiteral("月")
        + core::DateNumberToCapitals(d.toString(QStringLiteral("dd"))) + QStringLiteral("日");
}

class BankBillsTest : public BillFixture
{
protected:
    std::unique_ptr<ui::TfmBillForm> open(const char* kind)
    {
        std::unique_ptr<ui::TfmBillForm> form(ui::createBillForm(QString::fromUtf8(kind), env));
        EXPECT_TRUE(form) << kind;
        if (form)
            form->show();
        return form;
    }

    /// The deposit slip a bill opens beside itself, made on first use.
    std::unique_ptr<ui::TfmBillForm>& openedSlip()
    {
        env.openBillForm = [this](const QString& kind) {
            if (!mSlip)
                mSlip.reset(ui::createBillForm(kind, env));
            return mSlip.get();
        };
        return mSlip;
    }

private:
    std::unique_ptr<ui::TfmBillForm> mSlip;
};

} // namespace

TEST(DueDateTest, TypedDatesAndDaysAfterTheBillDateBecomeCapitals)
{
    const QDate billDate(2024, 1, 1);
    const struct
    {
        const char* typed;
        QDate due;
    } converted[] = {
        { "+180", QDate(2024, 6, 29) },
        { " +30 ", QDate(2024, 1, 31) },
        { "2009.12.15", QDate(2009, 12, 15) },
        { "2009-12-15", QDate(2009, 12, 15) },
        { "2009/1/5", QDate(2009, 1, 5) },
    };
    for (const auto& c : converted)
        EXPECT_EQ(
            core::dueDateInCapitals(QString::fromUtf8(c.typed), billDate), capitalsDate(c.due))
            << c.typed;
    EXPECT_EQ(core::dueDateInCapitals(QStringLiteral("二〇二四年六月"), billDate),
        QStringLiteral("二〇二四年六月"));
    for (const char* bad : { "明天", "2024.13.01", "+", "+x" })
        EXPECT_FALSE(core::dueDateInCapitals(QString::fromUtf8(bad), billDate)) << bad;
}

TEST_F(BankBillsTest, AcceptanceDueDateIsWrittenInCapitalsWhenLeftAndRefusedTextStays)
{
    auto form = open("承兑汇票");
    form->selDate()->setDate(QDate(2024, 1, 1));
    typeInto(*form, "zdTimeOutDate", QStringLiteral("+180"));
    leave(*form, "zdTimeOutDate");
    EXPECT_EQ(text(*form, "zdTimeOutDate"), capitalsDate(QDate(2024, 6, 29)));
    EXPECT_TRUE(prompter.entries().isEmpty());

    typeInto(*form, "zdTimeOutDate", QStringLiteral("下个月"));
    pressEnter(*form, "zdTimeOutDate");
    EXPECT_EQ(text(*form, "zdTimeOutDate"), QStringLiteral("下个月"));
    EXPECT_EQ(prompter.texts(),
        QStringList { QStringLiteral("请输入正确的日期格式(如：2009.12.15 或 2009-12-15 ),"
                                     "若是出票后的多少天，请输入如：+180 .") });
}

TEST_F(BankBillsTest, AcceptanceKeepsTheOlderAmountRule)
{
    auto form = open("承兑汇票");
    enterAmount(*form, QStringLiteral("1234.5"));
    EXPECT_EQ(text(*form, "zdJEXX"), QStringLiteral("1234.50")) << "no separators, no code";
    EXPECT_EQ(text(*form, "zdJEDX"), *core::AmountToCapitals(QStringLiteral("1234.5")));
    EXPECT_EQ(text(*form, "zdQY"), QStringLiteral("1"));

    prompter.clear();
    enterAmount(*form, QStringLiteral("1,234"));
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("金额只能为数值，例如：123.50  ！") });
    EXPECT_EQ(text(*form, "zdJEXX"), QStringLiteral("1234.50")) << "the refused text is not kept";
    EXPECT_EQ(form->inputJEXX()->text(), QStringLiteral("1234.5"));

    form->option(QStringLiteral("cfgJEDXRMBChecked"))->click();
    EXPECT_TRUE(text(*form, "zdJEDX").startsWith(QStringLiteral("人民币")));
    click(*form, "btSaveCheck");
    EXPECT_EQ(
        row(form->serialNo(), QStringLiteral("DataCDHPTable")).value(QStringLiteral("票据状态")),
        QStringLiteral("已用"));
    EXPECT_EQ(form->button(QStringLiteral("btMultiPrintF")), nullptr) << "no repeat print";
}

TEST_F(BankBillsTest, DepositSlipTwinsFollowAndReopeningMakesANewBillOfTheSameRow)
{
    auto form = open("进账单");
    typeInto(*form, "zdOutComp", QStringLiteral("甲公司"));
    typeInto(*form, "zdInBank", QStringLiteral("乙银行"));
    typeInto(*form, "zdPJHM", QStringLiteral("123"));
    EXPECT_EQ(text(*form, "cgOutComp"), QStringLiteral("甲公司"));
    EXPECT_EQ(text(*form, "cgInBank"), QStringLiteral("乙银行"));
    EXPECT_EQ(text(*form, "cgPJHM"), QStringLiteral("123"));
    enterAmount(*form, QStringLiteral("56.7"));
    EXPECT_EQ(text(*form, "zdJEXX"), QStringLiteral("￥56.70")) << "the code is always there";
    EXPECT_EQ(text(*form, "cgSY"), QStringLiteral("5"));
    EXPECT_EQ(text(*form, "cgBY"), QStringLiteral("￥"));
    enterAmount(*form, QStringLiteral("0"));
    EXPECT_EQ(text(*form, "zdJEXX"), QStringLiteral("0.00"));
    EXPECT_EQ(text(*form, "cgSY"), QString());
    enterAmount(*form, QStringLiteral("56.7"));

    // Two-digit year on both copies.
    form->option(QStringLiteral("cfgMiniYear"))->click();
    form->selDate()->setDate(QDate(2024, 5, 6));
    EXPECT_EQ(text(*form, "zdNian"), QStringLiteral("24"));
    EXPECT_EQ(text(*form, "cgNian"), QStringLiteral("24"));

    click(*form, "btSaveCheck");
    const int serial = form->serialNo();
    ASSERT_GT(serial, 0);
    const QVariantMap stored = row(serial, QStringLiteral("DataJZDTable"));
    EXPECT_EQ(stored.value(QStringLiteral("金额")).toString(), QStringLiteral("￥56.70"));
    EXPECT_TRUE(stored.value(QStringLiteral("票据状态")).toString().isEmpty());

    auto again = open("进账单");
    again->BrowseOldCheck(form->variant(), QString::number(serial));
    EXPECT_FALSE(again->isHistoric());
    EXPECT_FALSE(again->isSaved());
    EXPECT_EQ(again->windowTitle(), QStringLiteral("进账单（流水号为：%1)").arg(serial));
    EXPECT_EQ(text(*again, "cgOutComp"), QStringLiteral("甲公司"));
    typeInto(*again, "zdRemark", QStringLiteral("再存"));
    prompter.clear();
    click(*again, "btSaveCheck");
    EXPECT_EQ(again->serialNo(), serial);
    EXPECT_EQ(rows(QStringLiteral("DataJZDTable")), 1);
    EXPECT_EQ(prompter.texts(),
        QStringList {
            QStringLiteral("进账单修改保存成功（要修改成新进账单请先点击【复制】按钮）！ ") });

    click(*again, "btNewCheck");
    EXPECT_EQ(again->windowTitle(), QStringLiteral("新进账单-ID=-1"));
    EXPECT_EQ(text(*again, "zdJEXX"), QStringLiteral("￥56.70")) << "the amount stays";
}

TEST_F(BankBillsTest, SwappingDrawerAndPayeeTwiceGivesTheFirstArrangement)
{
    auto form = open("进账单");
    typeInto(*form, "zdOutComp", QStringLiteral("出票甲"));
    typeInto(*form, "zdOutBank", QStringLiteral("出票行"));
    typeInto(*form, "zdInComp", QStringLiteral("收款乙"));
    typeInto(*form, "zdInBankAcct", QStringLiteral("888"));
    QCheckBox* swap = form->option(QStringLiteral("cfgChangeInOuter"));
    swap->click();
    EXPECT_EQ(text(*form, "zdOutComp"), QStringLiteral("收款乙"));
    EXPECT_EQ(text(*form, "zdOutBankAcct"), QStringLiteral("888"));
    EXPECT_EQ(text(*form, "zdInComp"), QStringLiteral("出票甲"));
    EXPECT_EQ(text(*form, "cgInBank"), QStringLiteral("出票行"));
    swap->click();
    EXPECT_EQ(text(*form, "zdOutComp"), QStringLiteral("出票甲"));
    EXPECT_EQ(text(*form, "zdOutBank"), QStringLiteral("出票行"));
    EXPECT_EQ(text(*form, "zdInComp"), QStringLiteral("收款乙"));
    EXPECT_EQ(text(*form, "zdInBankAcct"), QStringLiteral("888"));
}

TEST_F(BankBillsTest, AnAccountWithTwoRecordedBanksIsReported)
{
    core::DAOPerson dao(services.db());
    for (const char* bank : { "一行", "二行" }) {
        core::TPerson p;
        p.全称 = QStringLiteral("丙公司");
        p.开户银行 = QString::fromUtf8(bank);
        p.开户行账号 = QStringLiteral("777");
        dao.storePerson(p);
    }
    auto form = open("电汇单");
    typeInto(*form, "zdInBank", QStringLiteral("原来的"));
    typeInto(*form, "zdInBankAcct", QStringLiteral(" 777 "));
    EXPECT_EQ(prompter.texts(),
        QStringList { QStringLiteral("异常：查询到账号中同一个账号对应两个银行的错误数据,777") });
    EXPECT_EQ(text(*form, "zdInBank"), QStringLiteral("原来的"));
    EXPECT_EQ(text(*form, "zdInBankAcct"), QStringLiteral("777"));
}

TEST_F(BankBillsTest, RemittanceTotalsItsAmounts)
{
    auto form = open("境外汇款申请书");
    enterAmountAt(*form, QStringLiteral("XIANHJE"), QStringLiteral("100"));
    enterAmountAt(*form, QStringLiteral("QITAJE"), QStringLiteral("50.5"));
    EXPECT_EQ(text(*form, "XIANHJE"), QStringLiteral("￥100.00"));
    EXPECT_EQ(text(*form, "QITAJE"), QStringLiteral("￥50.50"));
    EXPECT_EQ(text(*form, "TOTALJEXX"), QStringLiteral("￥150.50"));
    EXPECT_EQ(text(*form, "TOTALJEDX"),
        QStringLiteral("人民币") + *core::AmountToCapitals(QStringLiteral("150.5")));

    // Changing an amount again works from its own figures.
    enterAmountAt(*form, QStringLiteral("XIANHJE"), QStringLiteral("999999999"));
    EXPECT_EQ(
        prompter.texts(), QStringList { QStringLiteral("金额值必须介于0~1,000,000,000之间！") });
    EXPECT_EQ(text(*form, "TOTALJEXX"), QString());

    // The date follows its format option.
    form->selDate()->setDate(QDate(2024, 3, 5));
    EXPECT_EQ(text(*form, "zdNianYueRi"), QStringLiteral("2024年03月05日"));
    QComboBox* format = form->choiceOption(QStringLiteral("cfgDateFormat"));
    format->setCurrentText(QStringLiteral("YYYY/MM/DD"));
    emit format->activated(format->currentIndex());
    EXPECT_EQ(text(*form, "zdNianYueRi"), QStringLiteral("2024/03/05"));
}

// Amounts, options and the currency in any order make the same total: an option writes the
// amounts again, it never types one of them anew.
TEST_F(BankBillsTest, RemittanceTotalIsTheSameInEveryOrder)
{
    QStringList sets = { QStringLiteral("GOUHJE=50"), QStringLiteral("QITAJE=2.675"),
        QStringLiteral("XIANHJE=100"), QStringLiteral("cfgMoneyType=美元") };
    std::sort(sets.begin(), sets.end());
    do {
        SCOPED_TRACE(sets.join(QLatin1Char(' ')).toStdString());
        core::BillDraft d(services, core::remittanceKind());
        ASSERT_TRUE(d.open());
        for (const QString& assignment : sets)
            core::applyCliSet(d, services, assignment, QStringLiteral("print"));
        EXPECT_EQ(d.text(QStringLiteral("XIANHJE")), QStringLiteral("USD100.00"));
        EXPECT_EQ(d.text(QStringLiteral("GOUHJE")), QStringLiteral("USD50.00"));
        EXPECT_EQ(d.text(QStringLiteral("QITAJE")), QStringLiteral("USD2.68"));
        EXPECT_EQ(d.text(QStringLiteral("TOTALJEXX")), QStringLiteral("USD152.68"));
        EXPECT_EQ(d.text(QStringLiteral("TOTALJEDX")), QStringLiteral("美元壹佰伍拾贰元陆角捌分"));
        EXPECT_FALSE(
            core::remittanceKind().rules->saveRefusal(d, core::remittanceKind()).refused());
    } while (std::next_permutation(sets.begin(), sets.end()));
}

TEST_F(BankBillsTest, RemittanceCommandLineTotalsInEveryOrder)
{
    const QStringList orders[] = {
        { "XIANHJE=100", "GOUHJE=50", "cfgMoneyType=美元" },
        { "cfgMoneyType=美元", "XIANHJE=100", "GOUHJE=50" },
        { "GOUHJE=50", "cfgMoneyType=美元", "XIANHJE=100" },
    };
    int saved = 0;
    for (const QStringList& order : orders) {
        SCOPED_TRACE(order.join(QLatin1Char(' ')).toStdString());
        QStringList args = { QStringLiteral("print"), QStringLiteral("--home"), home.path(),
            QStringLiteral("--kind"), QStringLiteral("境外汇款申请书"), QStringLiteral("--save"),
            QStringLiteral("--pdf"), home.file(QStringLiteral("remittance.pdf")) };
        for (const QString& assignment : order)
            args << QStringLiteral("--set") << assignment;
        const test::CliRun run = test::runCliProcess(args);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        ++saved;
        QSqlQuery q = services.db().exec(
            QStringLiteral("select 金额 from DataJWHTable where 流水号=?"), { saved });
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString(), QStringLiteral("USD150.00"));
    }
}

TEST_F(BankBillsTest, RemittanceRefusesToSaveATotalThatIsNotTheSumOfItsAmounts)
{
    core::BillDraft d(services, core::remittanceKind());
    ASSERT_TRUE(d.open());
    ASSERT_FALSE(d.setAmountAt(QStringLiteral("XIANHJE"), QStringLiteral("100")).refused());
    ASSERT_FALSE(d.setAmountAt(QStringLiteral("GOUHJE"), QStringLiteral("50")).refused());
    EXPECT_FALSE(core::remittanceKind().rules->saveRefusal(d, core::remittanceKind()).refused());
    d.setText(QStringLiteral("TOTALJEXX"), QStringLiteral("￥100.00"));
    EXPECT_EQ(core::remittanceKind().rules->saveRefusal(d, core::remittanceKind()).text,
        QStringLiteral("合计金额与明细金额不符，拒绝保存~"));
}

TEST_F(BankBillsTest, ChequeMakesADepositSlip)
{
    std::unique_ptr<ui::TfmBillForm>& slip = openedSlip();
    auto cheque = openCheque();
    ASSERT_TRUE(cheque->button(QStringLiteral("bt2CheckJZD"))->isEnabled());
    typeInto(*cheque, "zdInComp", QStringLiteral("收款丁"));
    typeInto(*cheque, "zdOutBankAcct", QStringLiteral("12345"));
    typeInto(*cheque, "zdOutBank", QStringLiteral("戊银行"));
    cheque->setItemText(QStringLiteral("zdOutComp"), QStringLiteral("己公司"));
    typeInto(*cheque, "zdPJBH", QStringLiteral("NO.9"));
    enterAmount(*cheque, QStringLiteral("300"));
    cheque->setBillDate(QDate(2024, 2, 3));

    // An account without a party, and the user does not add it.
    prompter.queueAnswer(false);
    click(*cheque, "bt2CheckJZD");
    ASSERT_TRUE(slip);
    EXPECT_EQ(prompter.texts(),
        QStringList { QStringLiteral("账号(12345)没有单位账户的保存记录，是否要添加") });
    EXPECT_EQ(text(*slip, "zdOutComp"), QString()) << "no drawer without a party";
    EXPECT_EQ(text(*slip, "zdOutBank"), QStringLiteral("戊银行"));
    EXPECT_EQ(text(*slip, "cgOutBankAcct"), QStringLiteral("12345"));
    EXPECT_EQ(text(*slip, "zdInComp"), QStringLiteral("收款丁"));
    EXPECT_EQ(text(*slip, "zdPJZL"), QStringLiteral("支票"));
    EXPECT_EQ(text(*slip, "zdPJZS"), QStringLiteral("1"));
    EXPECT_EQ(text(*slip, "zdPJHM"), QStringLiteral("NO.9"));
    EXPECT_EQ(text(*slip, "zdJEXX"), QStringLiteral("￥300.00"));
    EXPECT_EQ(slip->billDate(), QDate(2024, 2, 3));
    click(*slip, "btSaveCheck");
    const int firstSlip = slip->serialNo();
    ASSERT_GT(firstSlip, 0);

    // Adding the account gives the slip its drawer; the open slip becomes a new one.
    prompter.clear();
    prompter.queueAnswer(true);
    click(*cheque, "bt2CheckJZD");
    EXPECT_EQ(text(*slip, "zdOutComp"), QStringLiteral("己公司"));
    EXPECT_EQ(slip->serialNo(), -1);
    EXPECT_FALSE(slip->isSaved());
    EXPECT_EQ(row(firstSlip, QStringLiteral("DataJZDTable")).value(QStringLiteral("出票人全称")),
        QString());
    const auto party = core::DAOPerson(services.db()).findPersonByAccount(QStringLiteral("12345"));
    ASSERT_TRUE(party);
    EXPECT_EQ(party->单位类型, QStringLiteral("我方单位"));

    // A recorded account whose bank differs is shown and the slip made all the same.
    prompter.clear();
    typeInto(*cheque, "zdOutBank", QStringLiteral("别的银行"));
    click(*cheque, "bt2CheckJZD");
    ASSERT_EQ(prompter.texts().size(), 1);
    EXPECT_TRUE(prompter.texts()[0].startsWith(
        QStringLiteral("账号(12345)的银行信息与填写的不一致，请核对单位账户相应资料.")));
    EXPECT_EQ(text(*slip, "zdOutComp"), QStringLiteral("己公司"));
}

TEST_F(BankBillsTest, WireTransferMakesADepositSlipFromItsTextsAlone)
{
    std::unique_ptr<ui::TfmBillForm>& slip = openedSlip();
    auto wire = open("电汇单");
    typeInto(*wire, "zdOutComp", QStringLiteral("汇款庚"));
    typeInto(*wire, "zdOutBankAcct", QStringLiteral("55"));
    typeInto(*wire, "zdInComp", QStringLiteral("收款辛"));
    enterAmount(*wire, QStringLiteral("8"));
    click(*wire, "bt2CheckJZD");
    ASSERT_TRUE(slip);
    EXPECT_TRUE(prompter.entries().isEmpty()) << "no question, no lookup";
    EXPECT_EQ(text(*slip, "zdOutComp"), QStringLiteral("汇款庚"));
    EXPECT_EQ(text(*slip, "zdOutBankAcct"), QStringLiteral("55"));
    EXPECT_EQ(text(*slip, "zdInComp"), QStringLiteral("收款辛"));
    EXPECT_EQ(text(*slip, "zdPJZL"), QString());
    EXPECT_EQ(text(*slip, "zdJEXX"), QStringLiteral("￥8.00"));
}

// The slip shows the payee its bill gives and nothing of an earlier one: neither the bank of a
// party whose name was typed over, nor what the reused slip held before.
TEST_F(BankBillsTest, ADepositSlipTakesOnlyThePayeeItsBillGives)
{
    std::unique_ptr<ui::TfmBillForm>& slip = openedSlip();
    core::DAOPerson dao(services.db());
    core::TPerson first;
    first.全称 = QStringLiteral("甲收款公司");
    first.开户银行 = QStringLiteral("甲银行");
    first.开户行账号 = QStringLiteral("1001");
    first.单位类型 = QStringLiteral("往来单位");
    dao.storePerson(first);
    core::TPerson second = first;
    second.ID = 0;
    second.全称 = QStringLiteral("乙收款公司");
    second.开户银行 = QStringLiteral("乙银行");
    second.开户行账号 = QStringLiteral("2002");
    dao.storePerson(second);

    auto cheque = openCheque();
    picked = first;
    QTest::mouseClick(cheque->item(QStringLiteral("shpskr")), Qt::LeftButton);
    enterAmount(*cheque, QStringLiteral("20"));
    const auto payeeOfSlip = [&slip] {
        QStringList out;
        for (const char* name :
            { "zdInComp", "zdInBank", "zdInBankAcct", "cgInComp", "cgInBank", "cgInBankAcct" })
            out << text(*slip, name);
        return out;
    };

    const struct
    {
        const char* step;
        std::function<void()> change;
        QStringList payee; ///< name, bank, account on the slip and on its second copy
    } steps[] = {
        { "the picked party", [] {},
            { "甲收款公司", "甲银行", "1001", "甲收款公司", "甲银行", "1001" } },
        { "a name typed over the picked one",
            [&] { typeInto(*cheque, "zdInComp", QStringLiteral("手写收款单位")); },
            { "手写收款单位", "", "", "手写收款单位", "", "" } },
        { "a typed name of a recorded party",
            [&] { typeInto(*cheque, "zdInComp", QStringLiteral("乙收款公司")); },
            { "乙收款公司", "乙银行", "2002", "乙收款公司", "乙银行", "2002" } },
    };
    for (const auto& s : steps) {
        s.change();
        prompter.clear();
        click(*cheque, "bt2CheckJZD");
        ASSERT_TRUE(slip);
        EXPECT_TRUE(prompter.entries().isEmpty()) << s.step << ": the slip holds no typing";
        EXPECT_EQ(payeeOfSlip(), s.payee) << s.step;
    }

    // A wire transfer without the payee's bank and account: the slip keeps none of the last ones.
    auto wire = open("电汇单");
    typeInto(*wire, "zdInComp", QStringLiteral("丙收款"));
    enterAmount(*wire, QStringLiteral("8"));
    click(*wire, "bt2CheckJZD");
    EXPECT_EQ(payeeOfSlip(), (QStringList { "丙收款", "", "", "丙收款", "", "" }));
}

// What the user typed into an open slip is replaced only when the user says so.
TEST_F(BankBillsTest, ConvertingIntoASlipWithTypingAsksFirst)
{
    std::unique_ptr<ui::TfmBillForm>& slip = openedSlip();
    auto cheque = openCheque();
    typeInto(*cheque, "zdInComp", QStringLiteral("收款戊"));
    enterAmount(*cheque, QStringLiteral("30"));
    click(*cheque, "bt2CheckJZD");
    ASSERT_TRUE(slip);
    ASSERT_TRUE(prompter.entries().isEmpty());

    typeInto(*slip, "zdRemark", QStringLiteral("我的备注"));
    enterAmount(*cheque, QStringLiteral("40"));
    prompter.queueAnswer(false);
    click(*cheque, "bt2CheckJZD");
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_EQ(prompter.entries()[0].kind, QStringLiteral("ask"));
    EXPECT_EQ(prompter.entries()[0].text,
        QStringLiteral("打开的进账单尚未保存，转进账单将替换其中填写的内容，确定要替换吗？"));
    EXPECT_EQ(prompter.entries()[0].caption, QStringLiteral("转进账单"));
    EXPECT_EQ(text(*slip, "zdRemark"), QStringLiteral("我的备注")) << "No keeps the slip";
    EXPECT_EQ(text(*slip, "zdJEXX"), QStringLiteral("￥30.00"));

    prompter.clear();
    prompter.queueAnswer(true);
    click(*cheque, "bt2CheckJZD");
    EXPECT_EQ(prompter.entries().size(), 1);
    EXPECT_EQ(text(*slip, "zdRemark"), QString());
    EXPECT_EQ(text(*slip, "zdJEXX"), QStringLiteral("￥40.00"));

    // Once saved, the slip's typing is kept by the save: no question.
    typeInto(*slip, "zdRemark", QStringLiteral("存过的备注"));
    slip->setShowSaveMessages(false);
    ASSERT_TRUE(slip->save());
    prompter.clear();
    click(*cheque, "bt2CheckJZD");
    EXPECT_TRUE(prompter.entries().isEmpty());
    EXPECT_EQ(slip->serialNo(), -1);
}

TEST_F(BankBillsTest, EveryUserChangeMarksTheBillAndPendingAmountsAreCommitted)
{
    auto form = openCheque();
    enterAmount(*form, QStringLiteral("10"));
    click(*form, "btSaveCheck");
    ASSERT_TRUE(form->isSaved());

    const std::function<void()> changes[] = {
        [&] { enterAmount(*form, QStringLiteral("20")); },
        [&] { typeInto(*form, "zdInComp", QStringLiteral("新收款人")); },
        [&] { typeInto(*form, "zdYT", QStringLiteral("货款")); },
        [&] { form->item(QStringLiteral("DEFCHECK0"))->setProperty("checked", true); },
    };
    for (const auto& change : changes) {
        click(*form, "btSaveCheck");
        ASSERT_TRUE(form->isSaved());
        change();
        EXPECT_FALSE(form->isSaved());
    }

    // An amount still being typed is stored and printed as committed.
    QTest::mouseClick(form->item(QStringLiteral("zdJEDX")), Qt::LeftButton);
    form->inputJEXX()->selectAll();
    form->inputJEXX()->insert(QStringLiteral("77.5"));
    click(*form, "btSaveCheck");
    EXPECT_EQ(
        row(form->serialNo()).value(QStringLiteral("金额")).toString(), QStringLiteral("77.5"));
    EXPECT_EQ(text(*form, "zdJEXX"), QStringLiteral("￥77.50"));
    EXPECT_EQ(text(*form, "zdJEDX"), *core::AmountToCapitals(QStringLiteral("77.5")));

    // A refused amount leaves the accepted one everywhere.
    prompter.clear();
    enterAmount(*form, QStringLiteral("1000000000"));
    EXPECT_EQ(
        prompter.texts(), QStringList { QStringLiteral("金额值必须介于0~1,000,000,000之间！") });
    EXPECT_EQ(form->inputJEXX()->text(), QStringLiteral("77.5"));
    EXPECT_EQ(text(*form, "zdJEXX"), QStringLiteral("￥77.50"));
}

TEST_F(BankBillsTest, ShapesOpenThePartyPickerForTheirSide)
{
    core::TPerson party;
    party.全称 = QStringLiteral("选中的单位");
    party.开户银行 = QStringLiteral("选中的银行");
    party.开户行账号 = QStringLiteral("321");
    party.开户行地址 = QStringLiteral("银行地址");
    party.地址 = QStringLiteral("单位地址");
    picked = party;
    const struct
    {
        const char* kind;
        const char* shape;
        const char* pick;
        QStringList shown; ///< controls and the party's texts they show, in pairs
    } cases[] = {
        { "进账单", "shpskr", "往来单位/选取收款人",
            { "zdInComp", party.全称, "cgInBank", party.开户银行, "zdInBankAcct",
                party.开户行账号 } },
        { "缴款单", "shpskr", "往来单位/选取收款人", { "zdInComp", party.全称 } },
        { "承兑汇票", "shpHKR", "我方单位/选取付款行",
            { "zdOutComp", party.全称, "zdOutBankAcct", party.开户行账号 } },
        { "境外汇款申请书", "SelInComp", "往来单位/选取收款人及银行账户",
            { "InnerComp", party.全称, "InnerBankAddr", party.开户行地址, "InnerAddr",
                party.地址 } },
        { "境外汇款申请书", "SelInAgentBank", "往来单位/选取收款人代理行及账号",
            { "INNERAGENTBANK", party.开户银行, "INNERAGENTBANKACCT", party.开户行账号 } },
    };
    for (const auto& c : cases) {
        picks.clear();
        auto form = open(c.kind);
        QWidget* shape = form->item(QString::fromUtf8(c.shape));
        ASSERT_TRUE(shape) << c.shape;
        QTest::mouseClick(shape, Qt::LeftButton);
        EXPECT_EQ(picks, QStringList { QString::fromUtf8(c.pick) }) << c.kind;
        for (qsizetype i = 0; i + 1 < c.shown.size(); i += 2)
            EXPECT_EQ(form->itemText(c.shown[i]), c.shown[i + 1])
                << c.kind << " " << c.shown[i].toStdString();
    }
}

TEST_F(BankBillsTest, TheCommandLineDraftFollowsTheFormsRules)
{
    // Options remembered by the template shape the date; twins follow; the amount rule is the
    // kind's.
    core::BillDraft slip(services, core::depositSlipKind());
    ASSERT_TRUE(slip.open());
    slip.setOption(QStringLiteral("cfgMiniYear"), QStringLiteral("1"));
    slip.setDate(QDate(2024, 7, 8));
    EXPECT_EQ(slip.text(QStringLiteral("zdNian")), QStringLiteral("24"));
    EXPECT_EQ(slip.text(QStringLiteral("cgNian")), QStringLiteral("24"));
    slip.setItem(QStringLiteral("zdInComp"), QStringLiteral("收款"));
    EXPECT_EQ(slip.text(QStringLiteral("cgInComp")), QStringLiteral("收款"));
    EXPECT_FALSE(slip.setAmount(QStringLiteral("12.3")).refused());
    EXPECT_EQ(slip.text(QStringLiteral("zdJEXX")), QStringLiteral("￥12.30"));

    core::BillDraft cheque(services, core::chequeKind());
    ASSERT_TRUE(cheque.open());
    cheque.setDate(QDate(2024, 7, 8));
    EXPECT_EQ(
        cheque.text(QStringLiteral("zdNian")), core::DateNumberToCapitals(QStringLiteral("2024")))
        << "the seeded cheque writes the date in capitals";
    EXPECT_FALSE(cheque.bill().shown(QStringLiteral("zdNianYueRi")));

    core::BillDraft acceptance(services, core::acceptanceKind());
    ASSERT_TRUE(acceptance.open());
    acceptance.setDate(QDate(2024, 1, 1));
    EXPECT_FALSE(
        acceptance.setItem(QStringLiteral("zdTimeOutDate"), QStringLiteral("+180")).refused());
    EXPECT_EQ(acceptance.text(QStringLiteral("zdTimeOutDate")), capitalsDate(QDate(2024, 6, 29)));
    EXPECT_TRUE(acceptance.setItem(QStringLiteral("zdTimeOutDate"), QStringLiteral("?")).refused());
}
