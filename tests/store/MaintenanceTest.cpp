#include "store/Maintenance.h"
#include "store/Database.h"
#include "store/Installation.h"
#include "store/ProgramFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::ScriptedPrompter;
using pennock::test::TempHome;

namespace {

class MaintenanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureInstallation(folder);
        // Template 1 is a cheque with one current and one orphaned layout row;
        // template 2 belongs to a kind that left the catalogue.
        db.execute(QStringLiteral("insert into NameDict (CheckTypeName, CtlName) values "
                                  "('支票', 'ZDJEXX')"));
        db.execute(QStringLiteral("insert into CKTypeTable (CheckTypeID, TypeFirstName, ImgFile, "
                                  "IniFile) values (1, '支票', 'zp_icbc.JPG', '1.ini'), "
                                  "(2, '旧单据', 'old.jpg', '2.ini')"));
        db.execute(QStringLiteral("insert into CKControl (CheckTypeID, CtlName) values "
                                  "(1, 'ZDJEXX'), (1, 'ZDGONE'), (2, 'ZDJEXX'), (9, 'ZDJEXX')"));
        db.execute(QStringLiteral("insert into DMTable (DMName, DMValue, CheckTypeID) values "
                                  "('用途', '货款', 0), ('用途', '工资', 1), ('用途', '旧', 2), "
                                  "('cfgX', '1', 9)"));
        for (const char* name : { "zp_icbc.jpg", "icbc.jpg", "unused.jpg", "SYS_boot.jpg",
                 "my_sys_bg.jpg", "keep.png" })
            home.write(QStringLiteral("Image/") + QString::fromLatin1(name), "x");
    }

    QStringList images() const { return ListFiles(folder.imageFolder(), QStringLiteral("*.*")); }

    TempHome home;
    ProgramFolder folder { home.path() };
    Database db { folder.databasePath() };
    ScriptedPrompter prompter;
};

} // namespace

TEST_F(MaintenanceTest, ClearCachesRemovesOrphansAndUnusedPictures)
{
    EXPECT_FALSE(clearCaches(db, folder, prompter, false));
    EXPECT_EQ(prompter.texts(), QStringList { QStringLiteral("缓存清除成功！") });

    EXPECT_EQ(
        db.scalar(QStringLiteral("select count(*) from CKTypeTable where IniFile<>''")).toInt(), 0);
    EXPECT_EQ(
        db.scalar(QStringLiteral("select group_concat(CheckTypeID) from CKTypeTable")).toString(),
        QStringLiteral("1"));
    EXPECT_EQ(
        db.scalar(QStringLiteral("select group_concat(CheckTypeID || CtlName) from CKControl"))
            .toString(),
        QStringLiteral("1ZDJEXX"));
    // Shared entries (template 0) survive although no template 0 exists.
    EXPECT_EQ(db.scalar(QStringLiteral("select group_concat(DMValue) from DMTable order by ID"))
                  .toString(),
        QStringLiteral("货款,工资"));
    // "icbc.jpg" is part of "zp_icbc.JPG": kept, as is every picture named with "sys_".
    EXPECT_EQ(images(),
        (QStringList { QStringLiteral("icbc.jpg"), QStringLiteral("keep.png"),
            QStringLiteral("my_sys_bg.jpg"), QStringLiteral("SYS_boot.jpg"),
            QStringLiteral("zp_icbc.jpg") }));
}

TEST_F(MaintenanceTest, ClearCachesWithABillOpenAsksToCloseIt)
{
    EXPECT_TRUE(clearCaches(db, folder, prompter, true));
    EXPECT_EQ(
        prompter.texts(), QStringList { QStringLiteral("缓存清除需要关闭开单界面重新打开！") });
}

TEST_F(MaintenanceTest, ClearCachesReportsAFailedStatementAndStillCleansPictures)
{
    db.execute(QStringLiteral("drop table NameDict"));
    for (const bool billOpen : { false, true }) {
        prompter.clear();
        EXPECT_FALSE(clearCaches(db, folder, prompter, billOpen));
        // The failure alone is reported, and the first statement's change is undone with it.
        ASSERT_EQ(prompter.entries().size(), 1);
        EXPECT_TRUE(prompter.texts()[0].startsWith(QStringLiteral("清除软件缓存失败！")));
        EXPECT_GT(
            db.scalar(QStringLiteral("select count(*) from CKTypeTable where IniFile<>''")).toInt(),
            0);
    }
    EXPECT_FALSE(images().contains(QStringLiteral("unused.jpg")));
}

TEST_F(MaintenanceTest, CountTableAllRowsCountsOrReports)
{
    EXPECT_EQ(CountTableAllRows(db, prompter, QStringLiteral("CKControl")), 4);
    EXPECT_TRUE(prompter.entries().isEmpty());
    EXPECT_EQ(CountTableAllRows(db, prompter, QStringLiteral("NoSuchTable")), 0);
    ASSERT_EQ(prompter.entries().size(), 1);
    EXPECT_TRUE(prompter.texts()[0].startsWith(QStringLiteral("计算表格总数失败:NoSuchTable-")));
}

TEST(ListFiles, ListsPlainFilesByMaskAndNothingForAMissingFolder)
{
    TempHome home;
    home.write(QStringLiteral("pics/a.JPG"), "x");
    home.write(QStringLiteral("pics/b.jpg"), "x");
    home.write(QStringLiteral("pics/c.png"), "x");
    home.write(QStringLiteral("pics/d.jpg/inner.txt"), "x"); // a folder named like a picture
    EXPECT_EQ(ListFiles(home.file(QStringLiteral("pics")), QStringLiteral("*.jpg")),
        (QStringList { QStringLiteral("a.JPG"), QStringLiteral("b.jpg") }));
    EXPECT_TRUE(ListFiles(home.file(QStringLiteral("none")), QStringLiteral("*.jpg")).isEmpty());
    EXPECT_TRUE(ListFiles(QString(), QStringLiteral("*.jpg")).isEmpty());
}
