#include "store/RepeatedStatement.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "support/TempHome.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::TempHome;

namespace {

// The import's statement on whichever store the folder has: the file, or the test server.
class RepeatedStatementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(home.path());
        db = openMainDatabase(ProgramFolder(home.path()));
        db->create();
        db->execute(QStringLiteral("CREATE TABLE Party (Id INTEGER PRIMARY KEY, 全称 TEXT NOT "
                                   "NULL, 电话 TEXT, 人数 INTEGER, 比例 DOUBLE PRECISION)"));
    }

    TempHome home;
    std::unique_ptr<Database> db;
};

TEST_F(RepeatedStatementTest, EachRunTakesItsOwnValuesAndNullStaysNull)
{
    RepeatedStatement insert(*db,
        QStringLiteral("insert into Party (Id, 全称, 电话, 人数, 比例) values (?, ?, ?, ?, ?)"));
    struct Row
    {
        int id;
        QString name;
        QString phone; // null: NULL
        QVariant count;
        QVariant ratio;
    };
    const Row rows[] = {
        { 1, QStringLiteral("O'Brien 贸易（深圳）"), QStringLiteral("0755-1"), 3, 0.25 },
        { 2, QStringLiteral("第二家"), QString(), QVariant(), QVariant() },
        { 3, QStringLiteral("第三家"), QStringLiteral(""), 0, -1.5 },
    };
    for (const Row& r : rows) {
        insert.bind(0, r.id);
        insert.bind(1, r.name);
        insert.bind(2, r.phone);
        insert.bind(3, r.count);
        insert.bind(4, r.ratio);
        EXPECT_FALSE(insert.run());
    }
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        QSqlQuery q = db->exec(
            QStringLiteral("select 全称, 电话, 人数, 比例 from Party where Id=?"), { r.id });
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString().toStdString(), r.name.toStdString());
        EXPECT_EQ(q.value(1).isNull(), r.phone.isNull());
        EXPECT_EQ(q.value(1).toString().toStdString(), r.phone.toStdString());
        EXPECT_EQ(q.value(2).isNull(), r.count.isNull());
        EXPECT_EQ(q.value(2).toInt(), r.count.toInt());
        EXPECT_DOUBLE_EQ(q.value(3).toDouble(), r.ratio.toDouble());
    }
}

TEST_F(RepeatedStatementTest, ASelectAnswersWhetherARowCameBack)
{
    db->execute(QStringLiteral("insert into Party (Id, 全称) values (1, '甲')"));
    // Quoted as the program's statements are: the server's names are folded as for any statement.
    RepeatedStatement find(
        *db, QStringLiteral("select \"Id\" from \"Party\" where \"全称\"=? limit 1"));
    for (const auto& [name, found] :
        { std::pair { QStringLiteral("甲"), true }, std::pair { QStringLiteral("乙"), false },
            std::pair { QStringLiteral("甲"), true } }) {
        find.bind(0, name);
        EXPECT_EQ(find.run(), found) << name.toStdString();
    }
}

TEST_F(RepeatedStatementTest, ErrorsAreReportedAndTheStatementRunsOnAfterwards)
{
    EXPECT_THROW(RepeatedStatement(*db, QStringLiteral("insert into Nowhere values (?)")), DbError);
    RepeatedStatement insert(*db, QStringLiteral("insert into Party (Id, 全称) values (?, ?)"));
    insert.bind(0, 1);
    insert.bind(1, QString()); // NOT NULL
    try {
        insert.run();
        ADD_FAILURE() << "NULL name stored";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.sql().contains(QStringLiteral("insert into Party")));
        EXPECT_FALSE(e.message().isEmpty());
    }
    insert.bind(1, QStringLiteral("乙"));
    EXPECT_NO_THROW(insert.run());
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from Party")).toInt(), 1);
}

} // namespace
