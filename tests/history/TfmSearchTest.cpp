#include "history/TfmSearch.h"
#include "bills/BillEnvironment.h"
#include "bills/BillFormRegistry.h"
#include "bills/BillKinds.h"
#include "bills/TfmBillForm.h"
#include "history/HistoryKind.h"
#include "history/ScriptedDesktop.h"
#include "parties/GridServices.h"
#include "printing/Services.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace pennock;
using pennock::test::RecordingShell;
using pennock::test::ScriptedFileChooser;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;

namespace {

class TfmSearchTest : public ::testing::Test
{
protected:
    TfmSearchTest() { core::ensureSeededInstallation(core::ProgramFolder(home.path())); }

    std::unique_ptr<ui::TfmSearch> open(const char* kind)
    {
        auto w
            = std::make_unique<ui::TfmSearch>(*core::findHistoryKind(QString::fromUtf8(kind)), env);
        QCoreApplication::processEvents(); // the first count and sum follow the first rows
        return w;
    }

    int addCheque(const QString& payee, const QString& amount, const QString& date,
        const QString& status = QStringLiteral("已用"))
    {
        services.db().execute(QStringLiteral("insert into DataZPTable (模板种类, 收款人全称, 金额, "
                                             "出票日期, 票据状态) values (?, ?, ?, ?, ?)"),
            { QStringLiteral("工商银行2010版"), payee, amount, date, status });
        return services.db().scalar(QStringLiteral("select max(流水号) from DataZPTable")).toInt();
    }

    static void click(ui::TfmSearch& w, const char* name)
    {
        w.button(QString::fromLatin1(name))->click();
    }

    TempHome home;
    ScriptedPrompter prompter;
    core::Services services { home.path(), prompter };
    RecordingShell shell;
    ScriptedFileChooser files;
    ui::GridServices grids { services, shell, files };
    ui::HistoryEnvironment env { services, grids };
};

const QString kToday = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd 10:00:00"));

} // namespace

TEST_F(TfmSearchTest, OpensListingEverythingWithCountAndSum)
{
    auto empty = open("支票");
    EXPECT_EQ(empty->countLabel()->text(), QStringLiteral("0"));
    EXPECT_FALSE(empty->button(QStringLiteral("del"))->isEnabled());
    EXPECT_FALSE(empty->button(QStringLiteral("pri"))->isEnabled());
    EXPECT_EQ(empty->sumLabel()->text(), QStringLiteral("金额汇总:￥"));
    EXPECT_EQ(empty->windowTitle(), QStringLiteral("支票查询"));

    addCheque(QStringLiteral("O'Brien贸易"), QStringLiteral("10.5"), kToday);
    addCheque(QStringLiteral("甲公司"), QStringLiteral("4"), QStringLiteral("2020-01-01 09:00:00"));
    auto w = open("支票");
    EXPECT_EQ(w->countLabel()->text(), QStringLiteral("2"));
    EXPECT_EQ(w->sumLabel()->text(), QStringLiteral("金额汇总:￥14.50"));
    EXPECT_TRUE(w->button(QStringLiteral("del"))->isEnabled());

    // An unchanged query runs once; a clicked title runs again with the direction flipped.
    const int runs = w->queriesRun();
    click(*w, "btQur");
    EXPECT_EQ(w->queriesRun(), runs);
    w->filterBox(QStringLiteral("payee"))->setText(QStringLiteral(" O'Brien "));
    click(*w, "btQur");
    EXPECT_EQ(w->filterBox(QStringLiteral("payee"))->text(), QStringLiteral("O'Brien"));
    EXPECT_EQ(w->countLabel()->text(), QStringLiteral("1"));
    EXPECT_EQ(w->filterBox(QStringLiteral("payee"))->property("marked").toString(),
        QColor(Qt::yellow).name());
    click(*w, "btAll");
    EXPECT_EQ(w->countLabel()->text(), QStringLiteral("2"));
    emit w->grid()->horizontalHeader()->sectionClicked(
        ui::GridServices::columnOf(w->grid(), QStringLiteral("金额")));
    const int afterTitle = w->queriesRun();
    click(*w, "btQur");
    EXPECT_EQ(w->queriesRun(), afterTitle + 1);

    // Bad amounts are marked and ignored; a reversed range says so and runs nothing.
    w->amountFrom()->setText(QStringLiteral("1,000"));
    click(*w, "btQur");
    EXPECT_EQ(w->amountFrom()->text(), QStringLiteral("非法数字"));
    EXPECT_EQ(w->amountFrom()->property("marked").toString(), QColor(Qt::red).name());
    const int before = w->queriesRun();
    w->date1()->setDate(QDate(2024, 5, 2));
    w->date2()->setDate(QDate(2024, 5, 1));
    click(*w, "btQur");
    EXPECT_EQ(w->queriesRun(), before);
    ASSERT_FALSE(prompter.entries().isEmpty());
    EXPECT_EQ(prompter.entries().last().caption, QStringLiteral("日期输入"));
    EXPECT_TRUE(prompter.entries().last().text.startsWith(QStringLiteral("日期选择有误:\"")));
}

TEST_F(TfmSearchTest, DateShortcutsSetTheRange)
{
    addCheque(QStringLiteral("今"), QStringLiteral("1"), kToday);
    addCheque(QStringLiteral("旧"), QStringLiteral("1"), QStringLiteral("2001-01-01 00:00:00"));
    auto w = open("支票");
    const QDate today = QDate::currentDate();
    w->dateShortcut(QStringLiteral("最近三天"));
    EXPECT_EQ(w->date1()->date(), today.addDays(-2));
    EXPECT_FALSE(w->anyDate()->isChecked());
    EXPECT_EQ(w->countLabel()->text(), QStringLiteral("1"));
    const int runs = w->queriesRun();
    w->dateShortcut(QStringLiteral("其他日期"));
    EXPECT_EQ(w->date1()->date(), today.addDays(-548));
    EXPECT_EQ(w->queriesRun(), runs);
    EXPECT_EQ(
        prompter.texts().last(), QStringLiteral("请选择右侧限定的起始年月日~再点击【查询】按钮"));
}

TEST_F(TfmSearchTest, VoidsSelectedRowsAndPaintsThem)
{
    for (int i = 0; i < 4; ++i)
        addCheque(QStringLiteral("单位%1").arg(i), QStringLiteral("1"), kToday);
    auto w = open("支票");
    click(*w, "btFailedSelects");
    EXPECT_EQ(prompter.texts().last(),
        QStringLiteral("没有点中要作废的票据!（按住ctrl+点击，可多选哦）"));
    QTableView* grid = w->grid();
    for (int row : { 0, 1, 2 })
        grid->selectionModel()->select(
            grid->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(grid->selectionModel()->selectedRows().size(), 3);
    click(*w, "btFailedSelects");
    EXPECT_EQ(prompter.texts().last(), QStringLiteral("成功作废3条记录！"));
    EXPECT_EQ(services.db()
                  .scalar(QStringLiteral("select count(*) from DataZPTable where 票据状态='作废'"))
                  .toInt(),
        3);
    int red = 0;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        if (grid->model()->index(row, 1).data(Qt::BackgroundRole).value<QColor>()
            == QColor(Qt::red))
            ++red;
    EXPECT_EQ(red, 3);
    EXPECT_EQ(open("进账单")->button(QStringLiteral("btFailedSelects")), nullptr)
        << "no void there";
}

TEST_F(TfmSearchTest, ReopensTheBillInItsFormAfterAskingAboutOpenOnes)
{
    const int serial = addCheque(QStringLiteral("收款人乙"), QStringLiteral("88"), kToday);
    QMdiArea area;
    ui::BillFormRegistry forms(&area, prompter);
    ui::BillEnvironment billEnv(services);
    ui::registerBillKinds(forms, billEnv);
    env.forms = &forms;
    ASSERT_TRUE(forms.open(QStringLiteral("进账单")));

    auto w = open("支票");
    w->doubleClickOpens()->setChecked(false);
    emit w->grid()->doubleClicked(w->grid()->model()->index(0, 0));
    EXPECT_EQ(forms.form(QStringLiteral("支票")), nullptr) << "double click is off";

    prompter.queueAnswer(false);
    click(*w, "btOpenView");
    EXPECT_EQ(prompter.texts().last(), QStringLiteral("请先关闭正在编辑的单据模块！"));
    prompter.queueAnswer(true);
    click(*w, "btOpenView");
    auto* cheque = qobject_cast<ui::TfmBillForm*>(forms.form(QStringLiteral("支票")));
    ASSERT_TRUE(cheque);
    EXPECT_EQ(cheque->serialNo(), serial);
    EXPECT_TRUE(cheque->isHistoric());
    EXPECT_EQ(cheque->itemText(QStringLiteral("zdInComp")), QStringLiteral("收款人乙"));
    EXPECT_EQ(forms.form(QStringLiteral("进账单")), nullptr);
    forms.closeAll();
}

// Reopening into the kind's own open form uses it as it is, unless the user typed into it and
// did not save: then the open bill is closed only when the user says so.
TEST_F(TfmSearchTest, ReopeningIntoTheKindsOwnFormAsksBeforeLosingTyping)
{
    const int serial = addCheque(QStringLiteral("收款人乙"), QStringLiteral("88"), kToday);
    QMdiArea area;
    ui::BillFormRegistry forms(&area, prompter);
    ui::BillEnvironment billEnv(services);
    ui::registerBillKinds(forms, billEnv);
    env.forms = &forms;
    auto* typed = qobject_cast<ui::TfmBillForm*>(forms.open(QStringLiteral("支票")));
    ASSERT_TRUE(typed);
    auto* remark = qobject_cast<QPlainTextEdit*>(typed->item(QStringLiteral("zdRemark")));
    ASSERT_TRUE(remark);
    remark->setPlainText(QStringLiteral("还没存的备注"));

    auto w = open("支票");
    prompter.queueAnswer(false);
    click(*w, "btOpenView");
    ASSERT_EQ(prompter.entries().size(), 2);
    EXPECT_EQ(prompter.entries()[0].kind, QStringLiteral("ask"));
    EXPECT_EQ(prompter.entries()[0].text, QStringLiteral("自动关闭已打开的单据吗？"));
    EXPECT_EQ(prompter.entries()[0].caption, QStringLiteral("查看历史单据"));
    EXPECT_EQ(prompter.entries()[1].text, QStringLiteral("请先关闭正在编辑的单据模块！"));
    ASSERT_EQ(forms.form(QStringLiteral("支票")), typed);
    EXPECT_EQ(typed->itemText(QStringLiteral("zdRemark")), QStringLiteral("还没存的备注"));
    EXPECT_EQ(typed->serialNo(), -1) << "No keeps the typing";

    prompter.clear();
    prompter.queueAnswer(true);
    click(*w, "btOpenView");
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("自动关闭已打开的单据吗？") });
    auto* cheque = qobject_cast<ui::TfmBillForm*>(forms.form(QStringLiteral("支票")));
    ASSERT_TRUE(cheque);
    EXPECT_EQ(cheque->serialNo(), serial);
    EXPECT_EQ(cheque->itemText(QStringLiteral("zdInComp")), QStringLiteral("收款人乙"));

    // A reopened bill nobody typed into is simply replaced.
    prompter.clear();
    click(*open("支票"), "btOpenView");
    EXPECT_TRUE(prompter.entries().isEmpty());
    EXPECT_EQ(forms.form(QStringLiteral("支票")), cheque);
    forms.closeAll();
}

// The custom bill has a history of its own, filtered as the cash deposit slip's, that reopens
// its bills and that its form's "打开(&O)" opens.
TEST_F(TfmSearchTest, TheCustomBillHasItsHistory)
{
    const core::HistoryKind* h = core::findHistoryKind(QStringLiteral("定制单"));
    ASSERT_TRUE(h);
    EXPECT_EQ(h->table, QStringLiteral("DataDEFTable"));
    EXPECT_EQ(h->exportTitle, QStringLiteral("定制单历史开票"));
    const QString variant = services.templates().loadCheckTypeLastNameByID(
        services.templates().loadDefaultCheckTypeId(QStringLiteral("定制单")));
    const auto add = [&](const QString& payee, const QString& amount, const QString& date) {
        services.db().execute(
            QStringLiteral("insert into DataDEFTable (模板种类, 收款人全称, 金额, "
                           "出票日期, 备注) values (?, ?, ?, ?, ?)"),
            { variant, payee, amount, date, payee + QStringLiteral("的备注") });
    };
    add(QStringLiteral("定制甲"), QStringLiteral("12.5"), kToday);
    add(QStringLiteral("定制乙"), QStringLiteral("7"), QStringLiteral("2020-01-01 09:00:00"));

    auto w = open("定制单");
    EXPECT_EQ(w->windowTitle(), QStringLiteral("定制单查询"));
    EXPECT_EQ(w->countLabel()->text(), QStringLiteral("2"));
    EXPECT_EQ(w->sumLabel()->text(), QStringLiteral("金额汇总:￥19.50"));
    ASSERT_TRUE(w->filterBox(QStringLiteral("payee")));
    EXPECT_EQ(w->filterBox(QStringLiteral("drawer")), nullptr);
    EXPECT_EQ(w->filterBox(QStringLiteral("account")), nullptr);
    EXPECT_EQ(w->button(QStringLiteral("btFailedSelects")), nullptr) << "as the cash deposit slip";

    w->filterBox(QStringLiteral("payee"))->setText(QStringLiteral("定制乙"));
    click(*w, "btQur");
    EXPECT_EQ(w->countLabel()->text(), QStringLiteral("1"));
    click(*w, "btAll");
    w->amountFrom()->setText(QStringLiteral("10"));
    click(*w, "btQur");
    EXPECT_EQ(w->countLabel()->text(), QStringLiteral("1"));
    click(*w, "btAll");
    w->dateShortcut(QStringLiteral("今天"));
    EXPECT_EQ(w->countLabel()->text(), QStringLiteral("1"));

    QMdiArea area;
    ui::BillFormRegistry forms(&area, prompter);
    ui::BillEnvironment billEnv(services);
    QStringList histories;
    billEnv.openHistory = [&histories](const QString& kind) { histories << kind; };
    ui::registerBillKinds(forms, billEnv);
    env.forms = &forms;
    ASSERT_TRUE(w->doubleClickOpens()->isChecked());
    emit w->grid()->doubleClicked(w->grid()->model()->index(0, 0));
    auto* form = qobject_cast<ui::TfmBillForm*>(forms.form(QStringLiteral("定制单")));
    ASSERT_TRUE(form);
    EXPECT_EQ(form->itemText(QStringLiteral("zdInComp")), QStringLiteral("定制甲"));
    EXPECT_EQ(form->itemText(QStringLiteral("zdRemark")), QStringLiteral("定制甲的备注"));

    QToolButton* openButton = form->button(QStringLiteral("btOpenCheck"));
    ASSERT_TRUE(openButton->isEnabled());
    openButton->click();
    EXPECT_EQ(histories, QStringList { QStringLiteral("定制单") });
    prompter.queueAnswer(false); // the reopened bill has no status: closing offers to save it
    forms.closeAll();
}

TEST_F(TfmSearchTest, RegistersNumberedBlanksFromThePanel)
{
    core::TPerson own;
    own.全称 = QStringLiteral("甲公司");
    own.开户银行 = QStringLiteral("工行");
    own.开户行账号 = QStringLiteral("321");
    env.pickParty
        = [&own](const QString& type, const QString& title) -> std::optional<core::TPerson> {
        EXPECT_EQ(type, QStringLiteral("我方单位"));
        EXPECT_EQ(title, QStringLiteral("选取支票账户"));
        return own;
    };
    auto w = open("支票");
    click(*w, "btRecordNOs");
    EXPECT_FALSE(w->registrationPanel()->isHidden());
    w->registrationPanel()->findChild<QPushButton*>(QStringLiteral("Button5"))->click();
    w->rangeFrom()->setText(QStringLiteral("1"));
    w->rangeTo()->setText(QStringLiteral("101"));
    click(*w, "btStartImport");
    EXPECT_EQ(prompter.texts().last(), QStringLiteral("一次不能导入超过100张！"));
    w->rangeTo()->setText(QStringLiteral("3"));
    w->prefix()->setText(QStringLiteral("A"));
    click(*w, "btStartImport");
    EXPECT_EQ(prompter.texts().last(), QStringLiteral("登记结束！"));
    EXPECT_TRUE(w->registrationPanel()->isHidden());
    EXPECT_EQ(w->countLabel()->text(), QStringLiteral("3"));
    EXPECT_EQ(services.db()
                  .scalar(QStringLiteral("select 出票人账号 || 付款行名称 from DataZPTable where "
                                         "票据编号='A00000003' and 票据状态='未用'"))
                  .toString(),
        QStringLiteral("321工行"));
}

TEST_F(TfmSearchTest, ReopensABillOfEachKindThatHasAForm)
{
    QMdiArea area;
    ui::BillFormRegistry forms(&area, prompter);
    ui::BillEnvironment billEnv(services);
    ui::registerBillKinds(forms, billEnv);
    env.forms = &forms;
    for (const core::HistoryKind& h : core::historyKinds()) {
        if (!forms.isRegistered(h.kind))
            continue;
        const QString variant = services.templates().loadCheckTypeLastNameByID(
            services.templates().loadDefaultCheckTypeId(h.kind));
        services.db().execute(
            QStringLiteral("insert into \"%1\" (模板种类, 备注, \"%2\") values (?, ?, ?)")
                .arg(h.table, h.dateColumn),
            { variant, QStringLiteral("备注") + h.kind, kToday });
        const int serial
            = services.db()
                  .scalar(QStringLiteral("select max(流水号) from \"%1\"").arg(h.table))
                  .toInt();
        auto w = open(h.kind.toUtf8().constData());
        prompter.queueAnswer(true); // close the bill left open by the kind before
        click(*w, "btOpenView");
        auto* form = qobject_cast<ui::TfmBillForm*>(forms.form(h.kind));
        ASSERT_TRUE(form) << h.kind.toStdString();
        EXPECT_EQ(form->serialNo(), serial) << h.kind.toStdString();
        EXPECT_EQ(form->itemText(form->kind().roles.remark), QStringLiteral("备注") + h.kind);
    }
    forms.closeAll();
}

TEST_F(TfmSearchTest, MembersHaveTheirOwnBoxesAndCommands)
{
    // The export invoice: a state box with its three choices, and a warning past 5000 rows.
    services.db().execute(QStringLiteral(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 5001) "
        "insert into DataCKSPTable (票据编号, 票据状态) select i, '已用' from n"));
    auto invoices = open("出口商品发票");
    auto* state
        = qobject_cast<QComboBox*>(invoices->filterBox(QStringLiteral("state"))->parentWidget());
    ASSERT_TRUE(state);
    EXPECT_EQ(state->count(), 3);
    EXPECT_TRUE(prompter.texts().contains(
        QStringLiteral("发票资料数目已经超出5000条，为了保证查询性能，请按月导出并清理！")));
    EXPECT_TRUE(invoices->sumLabel()->isHidden()) << "no sum in this window";

    // Receipts: the grid edits the table in place; "%" + a mnemonic becomes the party's name.
    services.db().execute(
        QStringLiteral("insert into DataCheckReceipt (顾客名称, 合计金额) values ('旧名', '5')"));
    core::TPerson party;
    party.全称 = QStringLiteral("长沙湘江贸易");
    party.助记码 = QStringLiteral("CSXJ");
    services.db().execute(
        QStringLiteral("insert into CKPersonalInfoTable (全称, 助记码) values (?, ?)"),
        { party.全称, party.助记码 });
    auto receipts = open("普通发票收据");
    QAbstractItemModel* model = receipts->grid()->model();
    const int column = ui::GridServices::columnOf(receipts->grid(), QStringLiteral("顾客名称"));
    EXPECT_TRUE(model->setData(model->index(0, column), QStringLiteral("新名")));
    EXPECT_EQ(
        services.db().scalar(QStringLiteral("select 顾客名称 from DataCheckReceipt")).toString(),
        QStringLiteral("新名"));
    QLineEdit* customer = receipts->filterBox(QStringLiteral("customer"));
    customer->setText(QStringLiteral("%csx"));
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(customer, &out);
    EXPECT_EQ(customer->text(), party.全称);

    // Waybills: the template box lists the stored templates when the window opens; late
    // entries write the number and the remark.
    services.db().execute(
        QStringLiteral("insert into DataKDDTable (模板种类, 快递单号, 收件联系人) "
                       "values ('顺丰', '', '王五')"));
    QStringList asked;
    env.giveMeAnValue = [&asked](const QString& prompt, const QString&) {
        asked << prompt;
        return QStringLiteral("SF123");
    };
    auto waybills = open("快递单");
    auto* templates
        = qobject_cast<QComboBox*>(waybills->filterBox(QStringLiteral("template"))->parentWidget());
    ASSERT_TRUE(templates);
    EXPECT_EQ(templates->count(), 2) << "the stored template and an empty entry";
    waybills->filterBox(QStringLiteral("recipient"))->setText(QStringLiteral("王五"));
    waybills->exactMatch()->setChecked(true);
    EXPECT_EQ(waybills->countLabel()->text(), QStringLiteral("1")) << "either recipient column";
    waybills->grid()->setCurrentIndex(waybills->grid()->model()->index(0, 0));
    waybills->enterLate(QStringLiteral("快递单号"), QStringLiteral("补录,输入已发出的快递单号"));
    EXPECT_EQ(asked, QStringList { QStringLiteral("补录,输入已发出的快递单号") });
    EXPECT_EQ(services.db().scalar(QStringLiteral("select 快递单号 from DataKDDTable")).toString(),
        QStringLiteral("SF123"));
    EXPECT_EQ(waybills->button(QStringLiteral("btFailedSelects")), nullptr);
}
