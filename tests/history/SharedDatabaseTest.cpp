// Two clerks' installations on one database: what one saves, the other lists after "【刷新】".
// On the embedded file both work on one folder; under the test server they are two folders on
// one server database, as in an office.
#include "history/HistoryKind.h"
#include "history/ScriptedDesktop.h"
#include "history/TfmSearch.h"
#include "parties/GridServices.h"
#include "printing/Services.h"
#include "store/ProgramFolder.h"
#include "support/CliProcess.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTableView>

#include <gtest/gtest.h>

#include <memory>

using namespace pennock;
using pennock::test::TempHome;

namespace {

/// One clerk's program: a folder, its services and a cheque history window.
struct Clerk
{
    explicit Clerk(const QString& folder)
        : home(folder)
    {
    }
    QString home;
    test::ScriptedPrompter prompter;
    core::Services services { home, prompter };
    test::RecordingShell shell;
    test::ScriptedFileChooser files;
    ui::GridServices grids { services, shell, files };
    ui::HistoryEnvironment env { services, grids };
};

QString savedCheque(const QString& home, const QString& payee)
{
    const auto run = test::runCliProcess({ QStringLiteral("print"), QStringLiteral("--home"), home,
        QStringLiteral("--kind"), QStringLiteral("支票"), QStringLiteral("--set"),
        QStringLiteral("zdInComp=") + payee, QStringLiteral("--amount"), QStringLiteral("12.5"),
        QStringLiteral("--save"), QStringLiteral("--pdf"), home + QStringLiteral("/c.pdf") });
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return run.out;
}

} // namespace

TEST(SharedDatabase, EachClerkListsTheOthersSavedBillsAfterRefreshing)
{
    TempHome first;
    core::ensureSeededInstallation(core::ProgramFolder(first.path()));
    // The second folder uses the first one's server database; on the file, the same folder.
    std::unique_ptr<TempHome> second;
    QString secondPath = first.path();
    if (!first.databaseUrl().isEmpty()) {
        second = std::make_unique<TempHome>();
        qputenv("PENNOCK_DATABASE", first.databaseUrl().toUtf8());
        core::ensureSeededInstallation(core::ProgramFolder(second->path()));
        secondPath = second->path();
    }
    Clerk a(first.path());
    Clerk b(secondPath);
    auto listA
        = std::make_unique<ui::TfmSearch>(*core::findHistoryKind(QStringLiteral("支票")), a.env);
    auto listB
        = std::make_unique<ui::TfmSearch>(*core::findHistoryKind(QStringLiteral("支票")), b.env);
    QCoreApplication::processEvents();
    ASSERT_EQ(listB->countLabel()->text(), QStringLiteral("0"));

    savedCheque(first.path(), QStringLiteral("甲方收款"));
    savedCheque(secondPath, QStringLiteral("乙方收款"));
    for (ui::TfmSearch* list : { listA.get(), listB.get() }) {
        list->refresh();
        QCoreApplication::processEvents();
        EXPECT_EQ(list->countLabel()->text(), QStringLiteral("2"));
        const int payee = ui::GridServices::columnOf(list->grid(), QStringLiteral("收款人全称"));
        ASSERT_GE(payee, 0);
        QStringList payees;
        for (int row = 0; row < list->grid()->model()->rowCount(); ++row)
            payees << list->grid()->model()->index(row, payee).data().toString();
        payees.sort();
        EXPECT_EQ(payees, (QStringList { QStringLiteral("乙方收款"), QStringLiteral("甲方收款") }));
    }
    EXPECT_EQ(listB->sumLabel()->text(), QStringLiteral("金额汇总:￥25.00"));

    // The command line of either folder lists both as well.
    for (const QString& home : { first.path(), secondPath }) {
        const auto run = test::runCliProcess({ QStringLiteral("history"), QStringLiteral("--home"),
            home, QStringLiteral("--kind"), QStringLiteral("支票") });
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("甲方收款"))) << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("乙方收款"))) << run.out.toStdString();
    }
}
