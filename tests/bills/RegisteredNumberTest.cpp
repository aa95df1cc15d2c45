// Two clerks on one database taking registered numbers ("未用"). Runs on the embedded file (two
// connections, two programs) and, under the test server, on PostgreSQL.
#include "BillFixture.h"

#include "bills/BankKinds.h"
#include "bills/BillKinds.h"
#include "bills/BillStore.h"
#include "store/Database.h"
#include "support/CliProcess.h"

#include <QProcess>

#include <algorithm>

using namespace pennock;
using pennock::test::BillFixture;
using pennock::test::ScriptedPrompter;

namespace {

class RegisteredNumberTest : public BillFixture
{
protected:
    /// Registers a number in a kind's table as the history window does; its serial.
    int registerNumber(const QString& table, const QString& number)
    {
        return services.db()
            .insert(QStringLiteral("insert into %1 (票据编号, 票据状态, 金额) values (?, ?, '0')")
                        .arg(core::Database::quoted(table)),
                { number, core::BillStore::kUnused }, core::BillStore::kSerial)
            .toInt();
    }
    QString cell(const QString& table, int serial, const QString& column)
    {
        return services.db()
            .scalar(QStringLiteral("select %1 from %2 where 流水号=?")
                        .arg(core::Database::quoted(column), core::Database::quoted(table)),
                { serial })
            .toString();
    }

    /// The other clerk: another connection to the same database.
    ScriptedPrompter otherPrompter;
    core::Services other { home.path(), otherPrompter };
    ui::BillEnvironment otherEnv { other };
};

/// A cheque form that picked a registered number and was filled by one clerk.
std::unique_ptr<ui::TfmCheckZP> pickNumber(
    ui::BillEnvironment& env, const QString& number, const QString& payee)
{
    auto form = std::make_unique<ui::TfmCheckZP>(env);
    form->show();
    auto* numbers = qobject_cast<QComboBox*>(form->item(QStringLiteral("zdPJBH")));
    const int index = numbers->findText(number);
    EXPECT_GE(index, 0) << number.toStdString() << " is offered";
    numbers->setCurrentIndex(index);
    emit numbers->activated(index);
    form->setItemText(QStringLiteral("zdInComp"), payee);
    return form;
}

} // namespace

TEST_F(RegisteredNumberTest, TheSecondStoreToTakeANumberIsRefusedWhateverTheKindMarks)
{
    struct Case
    {
        const core::BillKind& kind;
    };
    // The wire transfer never writes the status: its saved bill keeps "未用", yet holds the
    // number as the cheque's "已用" does.
    const Case cases[]
        = { { core::chequeKind() }, { *core::findBillKind(QStringLiteral("电汇单")) } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind.kind.toStdString());
        const int serial = registerNumber(c.kind.table, QStringLiteral("R-1"));
        core::BillStore first(services.db(), c.kind);
        core::BillStore second(other.db(), c.kind);
        // Both read the number as unused before either saves.
        ASSERT_TRUE(first.findRegistered(QStringLiteral(" R-1 ")));
        ASSERT_TRUE(second.findRegistered(QStringLiteral("R-1")));
        const bool writesStatus = std::any_of(c.kind.columns.begin(), c.kind.columns.end(),
            [](const core::BillColumn& b) { return b.source == core::ColumnSource::Status; });
        const QString payee = QStringLiteral("收款人全称");
        auto values = [&](const char* who) {
            core::BillStore::Values v { { payee, QString::fromUtf8(who) },
                { core::BillStore::kDate, QDate(2026, 12, 1).startOfDay() } };
            if (writesStatus)
                v.append({ core::BillStore::kStatus, core::BillStore::kUsed });
            return v;
        };
        EXPECT_EQ(first.save(serial, values("甲"), true).outcome, core::BillStore::Outcome::Edited);
        const auto later = second.save(serial, values("乙"), true);
        EXPECT_EQ(later.outcome, core::BillStore::Outcome::RefusedTaken);
        EXPECT_EQ(later.serial, serial);
        EXPECT_EQ(cell(c.kind.table, serial, payee), QStringLiteral("甲"));
        EXPECT_EQ(cell(c.kind.table, serial, core::BillStore::kStatus),
            writesStatus ? core::BillStore::kUsed : core::BillStore::kUnused);
        EXPECT_EQ(other.db()
                      .scalar(QStringLiteral("select count(*) from %1")
                                  .arg(core::Database::quoted(c.kind.table)))
                      .toInt(),
            1)
            << "no row is added by the refused save";
        EXPECT_FALSE(second.findRegistered(QStringLiteral("R-1")).has_value());
        EXPECT_FALSE(second.offeredNumbers().contains(QStringLiteral("R-1")));
        // The clerk who saved it edits the bill as before.
        EXPECT_EQ(first.save(serial, values("丙")).outcome, core::BillStore::Outcome::Edited);
    }
}

TEST_F(RegisteredNumberTest, AVoidedOrAlreadyUsedRowIsNotTakenAndAPlainSaveStillEdits)
{
    const core::BillKind& kind = core::chequeKind();
    const int serial = registerNumber(kind.table, QStringLiteral("R-2"));
    core::BillStore store(other.db(), kind);
    const core::BillStore::Values used { { QStringLiteral("收款人全称"), QStringLiteral("丙") },
        { core::BillStore::kStatus, core::BillStore::kUsed } };
    services.db().execute(QStringLiteral("update DataZPTable set 票据状态=? where 流水号=?"),
        { core::BillStore::kVoided, serial });
    EXPECT_EQ(store.save(serial, used, true).outcome, core::BillStore::Outcome::RefusedVoided);
    services.db().execute(QStringLiteral("update DataZPTable set 票据状态=? where 流水号=?"),
        { core::BillStore::kUsed, serial });
    EXPECT_EQ(store.save(serial, used, true).outcome, core::BillStore::Outcome::RefusedTaken);
    EXPECT_EQ(cell(kind.table, serial, QStringLiteral("收款人全称")), QString());
    // Editing one's own saved bill claims nothing.
    EXPECT_EQ(store.save(serial, used).outcome, core::BillStore::Outcome::Edited);
    EXPECT_EQ(cell(kind.table, serial, QStringLiteral("收款人全称")), QStringLiteral("丙"));
}

TEST_F(RegisteredNumberTest, ASavedWireTransferHoldsItsNumberThoughItStaysUnused)
{
    const QString kind = QStringLiteral("电汇单");
    const QString table = core::findBillKind(kind)->table;
    const int serial = registerNumber(table, QStringLiteral("DH-1"));
    const auto numbersOf = [](ui::TfmBillForm& form) {
        return qobject_cast<QComboBox*>(form.item(form.kind().roles.number));
    };
    std::unique_ptr<ui::TfmBillForm> first(ui::createBillForm(kind, env));
    first->show();
    QComboBox* numbers = numbersOf(*first);
    const int index = numbers->findText(QStringLiteral("DH-1"));
    ASSERT_GE(index, 0);
    numbers->setCurrentIndex(index);
    emit numbers->activated(index);
    ASSERT_EQ(first->serialNo(), serial);
    first->setItemText(first->kind().payee.name, QStringLiteral("甲公司"));
    enterAmount(*first, QStringLiteral("100"));
    click(*first, "btSaveCheck");
    ASSERT_TRUE(first->isSaved()) << prompter.texts().join(' ').toStdString();
    EXPECT_EQ(cell(table, serial, core::BillStore::kStatus), core::BillStore::kUnused);

    // Not offered again, not taken by typing it, not taken from the command line.
    std::unique_ptr<ui::TfmBillForm> second(ui::createBillForm(kind, otherEnv));
    second->show();
    EXPECT_EQ(numbersOf(*second)->findText(QStringLiteral("DH-1")), -1);
    numbersOf(*second)->setEditText(QStringLiteral("DH-1"));
    emit numbersOf(*second)->activated(0);
    EXPECT_EQ(second->serialNo(), -1);
    const test::CliRun run
        = test::runCliProcess({ QStringLiteral("print"), QStringLiteral("--home"), home.path(),
            QStringLiteral("--kind"), kind, QStringLiteral("--amount"), QStringLiteral("5"),
            QStringLiteral("--save"), QStringLiteral("--registered"), QStringLiteral("DH-1"),
            QStringLiteral("--pdf"), home.file(QStringLiteral("x.pdf")) });
    EXPECT_EQ(run.exitCode, 2) << run.out.toStdString();
    EXPECT_EQ(cell(table, serial, QStringLiteral("收款人全称")), QStringLiteral("甲公司"));

    // The clerk who saved it reopens and edits it as before.
    std::unique_ptr<ui::TfmBillForm> reopened(ui::createBillForm(kind, env));
    reopened->BrowseOldCheck(first->variant(), QString::number(serial));
    reopened->setItemText(reopened->kind().payee.name, QStringLiteral("丙公司"));
    prompter.clear();
    click(*reopened, "btSaveCheck");
    EXPECT_EQ(cell(table, serial, QStringLiteral("收款人全称")), QStringLiteral("丙公司"))
        << prompter.texts().join(' ').toStdString();
}

TEST_F(RegisteredNumberTest, TwoFormsPickingOneNumberTheLaterSaveIsRefusedAndThenSavesAnew)
{
    const int serial = registerNumber(QStringLiteral("DataZPTable"), QStringLiteral("ZP-9"));
    auto mine = pickNumber(env, QStringLiteral("ZP-9"), QStringLiteral("甲公司"));
    auto theirs = pickNumber(otherEnv, QStringLiteral("ZP-9"), QStringLiteral("乙公司"));
    enterAmount(*mine, QStringLiteral("100"));
    enterAmount(*theirs, QStringLiteral("200"));
    EXPECT_EQ(prompter.texts(), QStringList {}) << "both forms open without a word";
    EXPECT_EQ(otherPrompter.texts(), QStringList {});
    ASSERT_EQ(mine->serialNo(), serial);
    ASSERT_EQ(theirs->serialNo(), serial);

    click(*mine, "btSaveCheck");
    EXPECT_TRUE(mine->isSaved());
    click(*theirs, "btSaveCheck");
    EXPECT_FALSE(theirs->isSaved());
    EXPECT_EQ(otherPrompter.texts(),
        QStringList { core::BillStore::takenMessage(QStringLiteral("ZP-9")) });
    EXPECT_EQ(otherPrompter.texts().first(),
        QStringLiteral("票据编号“ZP-9”已被其他用户使用，本单据没有保存！请选择其他票据编号。"));
    EXPECT_EQ(theirs->serialNo(), -1) << "the other clerk's row is no longer this bill's";
    EXPECT_EQ(cell(QStringLiteral("DataZPTable"), serial, QStringLiteral("收款人全称")),
        QStringLiteral("甲公司"));
    EXPECT_EQ(
        cell(QStringLiteral("DataZPTable"), serial, QStringLiteral("金额")), QStringLiteral("100"));

    // Saving again keeps the bill as a new row and leaves the first clerk's bill alone.
    otherPrompter.clear();
    click(*theirs, "btSaveCheck");
    EXPECT_TRUE(theirs->isSaved());
    EXPECT_NE(theirs->serialNo(), serial);
    EXPECT_EQ(cell(QStringLiteral("DataZPTable"), theirs->serialNo(), QStringLiteral("收款人全称")),
        QStringLiteral("乙公司"));
    EXPECT_EQ(cell(QStringLiteral("DataZPTable"), serial, QStringLiteral("收款人全称")),
        QStringLiteral("甲公司"));
}

TEST_F(RegisteredNumberTest, TwoProgramsTakingTheSameNumbersTakeEachOnce)
{
    constexpr int kNumbers = 6;
    QStringList numbers;
    for (int i = 1; i <= kNumbers; ++i) {
        numbers << QStringLiteral("N-%1").arg(i);
        registerNumber(QStringLiteral("DataZPTable"), numbers.last());
    }
    const QString cli = QStringLiteral(PENNOCK_CLI_PATH);
    int taken = 0;
    for (const QString& number : std::as_const(numbers)) {
        QProcess programs[2];
        for (int who = 0; who < 2; ++who) {
            programs[who].setProgram(cli);
            programs[who].setArguments({ QStringLiteral("print"), QStringLiteral("--home"),
                home.path(), QStringLiteral("--kind"), QStringLiteral("支票"),
                QStringLiteral("--registered"), number, QStringLiteral("--set"),
                QStringLiteral("zdInComp=clerk%1").arg(who), QStringLiteral("--amount"),
                QStringLiteral("5"), QStringLiteral("--save"), QStringLiteral("--pdf"),
                home.file(QStringLiteral("c%1.pdf").arg(who)) });
        }
        programs[0].start();
        programs[1].start();
        int succeeded = 0;
        for (QProcess& p : programs) {
            ASSERT_TRUE(p.waitForFinished(60000));
            const QString err = QString::fromUtf8(p.readAllStandardError());
            if (p.exitCode() == 0) {
                ++succeeded;
                continue;
            }
            // Refused either at the save or, when the other had already saved, at the look-up.
            EXPECT_TRUE(err.contains(core::BillStore::takenMessage(number))
                || err.contains(QStringLiteral("票据编号“%1”没有登记或已经使用").arg(number)))
                << err.toStdString();
        }
        EXPECT_EQ(succeeded, 1) << number.toStdString();
        taken += succeeded;
    }
    EXPECT_EQ(taken, kNumbers);
    core::Database& db = services.db();
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from DataZPTable")).toInt(), kNumbers)
        << "no number is saved twice";
    EXPECT_EQ(
        db.scalar(QStringLiteral("select count(*) from DataZPTable where 票据状态=? and 金额='5' "
                                 "and 收款人全称 in ('clerk0', 'clerk1')"),
              { core::BillStore::kUsed })
            .toInt(),
        kNumbers);
}

TEST(RegisteredNumberCli, RegisteredNeedsASaveAndAKindWithNumbers)
{
    pennock::test::TempHome home;
    core::ensureSeededInstallation(core::ProgramFolder(home.path()));
    struct Case
    {
        QStringList extra;
        QString error;
    };
    const Case cases[] = {
        { { QStringLiteral("--kind"), QStringLiteral("支票"), QStringLiteral("--registered"),
              QStringLiteral("X") },
            QStringLiteral("--registered NUMBER fills its row only with --save") },
        { { QStringLiteral("--kind"), QStringLiteral("支票"), QStringLiteral("--registered"),
              QStringLiteral("X"), QStringLiteral("--save") },
            QStringLiteral("票据编号“X”没有登记或已经使用") },
        { { QStringLiteral("--kind"), QStringLiteral("进账单"), QStringLiteral("--registered"),
              QStringLiteral("X"), QStringLiteral("--save") },
            QStringLiteral("进账单 has no registered numbers") },
    };
    for (const Case& c : cases) {
        const auto run = pennock::test::runCliProcess(
            QStringList { QStringLiteral("print"), QStringLiteral("--home"), home.path(),
                QStringLiteral("--pdf"), home.file(QStringLiteral("x.pdf")) }
            + c.extra);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(run.err.contains(c.error)) << run.err.toStdString();
    }
}
