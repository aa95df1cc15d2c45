#include "store/Database.h"
#include "store/Installation.h"
#include "store/ProgramFolder.h"
#include "support/TempHome.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::TempHome;

namespace {

struct Installed
{
    TempHome home;
    ProgramFolder folder { home.path() };
    Installed() { ensureInstallation(folder); }
};

QVariant eval(Database& db, const QString& expr, const QVariantList& values = {})
{
    return db.scalar(QStringLiteral("select ") + expr, values);
}

} // namespace

TEST(SqlFunctions, ProductQueryHelpersBehaveAsTheOldEngine)
{
    Installed inst;
    Database db(inst.folder.databasePath());
    struct Case
    {
        const char* expr;
        QVariant expected;
    };
    const Case cases[] = {
        { "val('12.5abc')", 12.5 },
        { "val('abc')", 0.0 },
        { "val('')", 0.0 },
        { "val('  -3.25元')", -3.25 },
        { "val('1.2.3')", 1.2 },
        { "val(7)", 7 },
        { "ucase('zdBy')", QStringLiteral("ZDBY") },
        { "lcase('CfgX')", QStringLiteral("cfgx") },
        { "len('北京abc')", 5 },
        { "cdate('2024/1/2')", QStringLiteral("2024-01-02 00:00:00") },
        { "cdate('2024-12-31 23:59:59')", QStringLiteral("2024-12-31 23:59:59") },
        { "cdate('2024.2.30')", QVariant() },
    };
    for (const Case& c : cases) {
        const QVariant got = eval(db, QString::fromUtf8(c.expr));
        if (!c.expected.isValid())
            EXPECT_TRUE(got.isNull()) << c.expr;
        else
            EXPECT_EQ(got.toString(), c.expected.toString()) << c.expr;
    }
    EXPECT_TRUE(eval(db, QStringLiteral("val(null)")).isNull());
}

TEST(SqlFunctions, MoneySumSkipsEmptyAndNullAmounts)
{
    Installed inst;
    Database db(inst.folder.databasePath());
    for (const QVariant& amount : { QVariant(QStringLiteral("100.50")), QVariant(QString()),
             QVariant(QStringLiteral("  ")), QVariant(), QVariant(QStringLiteral("20")) })
        db.execute(QStringLiteral("insert into DataZPTable (金额) values (?)"), { amount });
    const QVariant sum = db.scalar(QStringLiteral(
        "select sum(val([金额])) as SumMoney from DataZPTable where [金额] is not null and "
        "trim([金额])<>''"));
    EXPECT_DOUBLE_EQ(sum.toDouble(), 120.5);
    EXPECT_TRUE(
        db.scalar(QStringLiteral("select sum(val([金额])) from DataZPTable where 1=0")).isNull());
}

TEST(Database, NamesWithApostrophesAreStoredAndFoundAgain)
{
    Installed inst;
    Database db(inst.folder.databasePath());
    db.execute(QStringLiteral("insert into CKPersonalInfoTable (全称, 单位类型) values (?, ?)"),
        { QStringLiteral("O'Brien"), QStringLiteral("往来单位") });
    db.execute(QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeFirstName, TypeDescribe, "
                              "TypeName) values (?, ?, ?, ?)"),
        { 7, QStringLiteral("支票"), QStringLiteral("Bank of St. John's"),
            QStringLiteral("支票（Bank of St. John's）") });
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from CKPersonalInfoTable where 全称=?"),
                    { QStringLiteral("O'Brien") })
                  .toInt(),
        1);
    EXPECT_EQ(db.scalar(QStringLiteral("select CheckTypeID from CKTypeTable where TypeDescribe "
                                       "like ?"),
                    { QStringLiteral("%John's%") })
                  .toInt(),
        7);
}

TEST(Database, NamesCompareWithoutLetterCase)
{
    Installed inst;
    Database db(inst.folder.databasePath());
    db.execute(QStringLiteral("insert into CKControl (CheckTypeID, CtlName) values (1, 'ZDBY')"));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from CKControl where CtlName=?"),
                    { QStringLiteral("zdBY") })
                  .toInt(),
        1);
}

TEST(Database, DatesAreStoredSoThatDayRangesFindThem)
{
    Installed inst;
    Database db(inst.folder.databasePath());
    const QDateTime evening(QDate(2024, 3, 5), QTime(18, 30));
    db.execute(QStringLiteral("insert into DataZPTable (出票日期) values (?)"), { evening });
    EXPECT_EQ(db.scalar(QStringLiteral("select 出票日期 from DataZPTable")).toString(),
        QStringLiteral("2024-03-05 18:30:00"));
    const auto count = [&](const char* from, const char* to) {
        return db
            .scalar(QStringLiteral("select count(*) from DataZPTable where 出票日期>=cdate(?) and "
                                   "出票日期<=cdate(?)"),
                { QString::fromLatin1(from), QString::fromLatin1(to) })
            .toInt();
    };
    EXPECT_EQ(count("2024-3-5 00:00:00", "2024-3-5 23:59:59"), 1);
    EXPECT_EQ(count("2024-3-6 00:00:00", "2024-3-7 23:59:59"), 0);
}

TEST(Database, TransactionNotCommittedLeavesNoRow)
{
    Installed inst;
    Database db(inst.folder.databasePath());
    try {
        Transaction tx(db);
        db.execute(QStringLiteral("insert into DataZPTable (金额) values ('1')"));
        db.execute(QStringLiteral("insert into NoSuchTable values (1)"));
        tx.commit();
        FAIL() << "the second statement should fail";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.sql().contains(QStringLiteral("NoSuchTable")));
        EXPECT_FALSE(e.message().isEmpty());
    }
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from DataZPTable")).toInt(), 0);
}

TEST(Database, ATransactionInsideAnotherIsKeptOrDroppedWithIt)
{
    Installed inst;
    Database db(inst.folder.databasePath());
    const auto count
        = [&db] { return db.scalar(QStringLiteral("select count(*) from DataZPTable")).toInt(); };
    const auto insert
        = [&db] { db.execute(QStringLiteral("insert into DataZPTable (金额) values ('1')")); };
    {
        Transaction outer(db);
        insert();
        {
            Transaction inner(db);
            insert();
            inner.commit();
        }
        {
            Transaction dropped(db);
            insert();
        }
        EXPECT_EQ(count(), 2) << "the inner one not committed is undone alone";
    }
    EXPECT_EQ(count(), 0) << "the outer one not committed undoes the inner one committed";

    {
        Transaction outer(db);
        {
            Transaction inner(db);
            insert();
            inner.commit();
        }
        outer.commit();
    }
    EXPECT_EQ(count(), 1);
    Transaction again(db); // the outer one ended: a new one begins afresh
    insert();
    again.commit();
    EXPECT_EQ(count(), 2);
}

TEST(Database, RefusesMissingAndForeignFilesWithoutTouchingThem)
{
    TempHome home;
    Database missing(home.file(QStringLiteral("none.db")));
    EXPECT_THROW(missing.connection(), DbError);
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("none.db"))));

    const QByteArray text = "this is a text file, not a database\n";
    home.write(QStringLiteral("text.db"), text);
    Database foreign(home.file(QStringLiteral("text.db")));
    try {
        foreign.connection();
        FAIL() << "a text file opened as a database";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("text.db"))) << e.message().toStdString();
    }
    QFile f(home.file(QStringLiteral("text.db")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), text);
}
