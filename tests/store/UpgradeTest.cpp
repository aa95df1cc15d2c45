#include "store/Upgrade.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "store/Schema.h"
#include "support/CliProcess.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::TempHome;

namespace {

// Every row of a table as text, in key order: what an upgrade must keep.
QStringList rowsOf(Database& db, const QString& table, const QStringList& columns)
{
    QStringList out;
    QSqlQuery q = db.exec(QStringLiteral("select %1 from %2 order by rowid")
                              .arg(columns.join(QLatin1Char(',')), Database::quoted(table)));
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < columns.size(); ++i)
            fields << q.value(i).toString();
        out << fields.join(QLatin1Char('|'));
    }
    return out;
}

const QStringList kBillColumns = { QStringLiteral("流水号"), QStringLiteral("模板种类"),
    QStringLiteral("金额"), QStringLiteral("收款人全称"), QStringLiteral("出票日期") };
const QStringList kWaybillColumns = { QStringLiteral("流水号"), QStringLiteral("收件单位"),
    QStringLiteral("快递单号"), QStringLiteral("重量") };
const QStringList kPartyColumns = { QStringLiteral("ID"), QStringLiteral("全称"),
    QStringLiteral("开户行账号"), QStringLiteral("分组") };

// A new installation taken back to the layout an earlier release left: the columns, tables and
// catalogue items that release did not have are dropped, with bills and parties in it.
class EarlierLayout : public ::testing::Test
{
protected:
    EarlierLayout()
        : folder(home.path())
    {
        ensureSeededInstallation(folder);
        Database db(folder.databasePath());
        db.execute(QStringLiteral("insert into DataZPTable (模板种类, 金额, 收款人全称, 出票日期) "
                                  "values ('支票（工商银行2010版）', '1234.50', '北京华信', "
                                  "'2024-03-01 00:00:00')"));
        db.execute(QStringLiteral("insert into DataZPTable (模板种类, 金额, 收款人全称, 出票日期) "
                                  "values ('支票（建设银行2010版）', '88', '上海', "
                                  "'2024-04-02 00:00:00')"));
        db.execute(QStringLiteral("insert into DataKDDTable (收件单位, 快递单号, 重量, 代收金额) "
                                  "values ('广州某厂', 'EMS001', '2.5', '30')"));
        db.execute(QStringLiteral("insert into CKPersonalInfoTable (全称, 开户行账号, 分组) values "
                                  "('甲公司', '6222 0001', '往来单位')"));
        bills = rowsOf(db, QStringLiteral("DataZPTable"), kBillColumns);
        waybills = rowsOf(db, QStringLiteral("DataKDDTable"), kWaybillColumns);
        parties = rowsOf(db, QStringLiteral("CKPersonalInfoTable"), kPartyColumns);
        // A template of an old database was never marked common.
        db.execute(QStringLiteral("update CKTypeTable set IsCommon=''"));

        for (const auto& [table, list] :
            std::initializer_list<std::pair<const char*, const char*>> {
                { "CKControl",
                    "CtlLH CtlH CtlW NeedShow NeedPrint SrcX SrcY SrcW SrcH CtlType InitValue" },
                { "NameDict", "CtlData" },
                { "CKTypeTable", "IsCommon PWidth PHeight IniFile TypeFirstName" },
                { "ReceiverList",
                    "体积 代收金额 手续费 保价金额 保价费 运费 加急费 包装费 送货费 其他费 "
                    "金额大写1 自定义3 自定义4 自定义5" },
                { "DataKDDTable",
                    "体积 代收金额 手续费 保价金额 保价费 运费 加急费 包装费 送货费 其他费 "
                    "金额大写1 自定义1 自定义2 自定义3 自定义4 自定义5" } })
            for (const QString& column : QString::fromUtf8(list).split(QLatin1Char(' ')))
                db.execute(QStringLiteral("alter table %1 drop column %2")
                               .arg(QString::fromUtf8(table), Database::quoted(column)));
        db.execute(QStringLiteral("drop table MatchColumn"));
        db.execute(QStringLiteral(
            "delete from NameDict where CheckTypeName='快递单' and (CtlName "
            "like 'DEFCHECK%' or CtlName in ('ZDTIJI','ZDDAISJE','ZDJFKHBM','ZDDEF4'))"));
        // Earlier releases stored names as typed and types in any case.
        db.execute(QStringLiteral("update NameDict set CtlName='zdJE' where CtlName='ZDJE'"));
        db.execute(QStringLiteral("update NameDict set CtlType='Text' where CtlName='ZDNIAN'"));
        db.execute(QStringLiteral("update NameDict set CtlType='image' where CtlName='ZDYUE'"));
        db.close();

        Database package(folder.blankPackagePath(), Database::Kind::Package);
        for (const char* column : { "SrcX", "SrcY", "SrcH", "SrcW", "NeedShow", "NeedPrint",
                 "CtlLH", "CtlType", "InitValue", "ctlFontColor" })
            package.execute(QStringLiteral("alter table _CKControl drop column %1")
                                .arg(QString::fromLatin1(column)));
        for (const char* column : { "PWidth", "PHeight" })
            package.execute(QStringLiteral("alter table _CKTypeTable drop column %1")
                                .arg(QString::fromLatin1(column)));
        package.execute(QStringLiteral("drop table _Config"));
    }

    TempHome home;
    ProgramFolder folder;
    QStringList bills, waybills, parties;
};

} // namespace

TEST_F(EarlierLayout, EndsEqualInSchemaToANewInstallationWithEveryBillAndParty)
{
    {
        Database db(folder.databasePath());
        ASSERT_FALSE(schemaDifferences(db, mainTables()).isEmpty());
    }
    const UpgradeReport report = upgradeInstallation(folder);
    Database db(folder.databasePath());
    EXPECT_EQ(schemaDifferences(db, mainTables()), QStringList());
    Database package(folder.blankPackagePath(), Database::Kind::Package);
    EXPECT_EQ(schemaDifferences(package, packageTables()), QStringList());
    EXPECT_EQ(rowsOf(db, QStringLiteral("DataZPTable"), kBillColumns), bills);
    EXPECT_EQ(rowsOf(db, QStringLiteral("DataKDDTable"), kWaybillColumns), waybills);
    EXPECT_EQ(rowsOf(db, QStringLiteral("CKPersonalInfoTable"), kPartyColumns), parties);
    EXPECT_EQ(package.scalar(QStringLiteral("select DMValue from _Config where DMName='version'")),
        schemaVersionText());
    EXPECT_EQ(db.scalar(QStringLiteral("select cvalue from configtable where cname='version'")),
        schemaVersionText());

    // Each step that changed something is reported, in the order done, file by file.
    ASSERT_FALSE(report.steps.isEmpty());
    EXPECT_EQ(report.steps.first(), QStringLiteral("EPData.ini: 添加列 CKControl.CtlLH"));
    EXPECT_TRUE(report.steps.contains(QStringLiteral("EPData.ini: 创建表 MatchColumn")));
    EXPECT_TRUE(report.steps.contains(QStringLiteral("Template.a01: 添加列 _CKControl.InitValue")));
    EXPECT_TRUE(report.steps.contains(QStringLiteral("Template.a01: 创建表 _Config")));
    EXPECT_TRUE(report.steps.last().startsWith(QStringLiteral("Template.a01: ")));
}

TEST_F(EarlierLayout, CopiesTheDatabaseFirstUnderTheDateAndTime)
{
    const QDateTime at(QDate(2025, 6, 30), QTime(14, 5, 9));
    const UpgradeReport report = upgradeInstallation(folder, at);
    EXPECT_EQ(QDir::cleanPath(report.backupPath),
        QDir::cleanPath(home.file(QStringLiteral("Data/backup/EPData-20250630-140509.ini"))));
    // The copy is the database as it was: the earlier layout with its bills.
    Database backup(report.backupPath);
    EXPECT_FALSE(backup.columnExists(QStringLiteral("CKControl"), QStringLiteral("NeedShow")));
    EXPECT_FALSE(backup.tableExists(QStringLiteral("MatchColumn")));
    EXPECT_EQ(rowsOf(backup, QStringLiteral("DataZPTable"), kBillColumns), bills);
}

TEST_F(EarlierLayout, GivesTheDataTheNewColumnsAndItemsNeed)
{
    upgradeInstallation(folder);
    Database db(folder.databasePath());
    // Items laid out before the columns existed stay shown and printed.
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from CKControl where NeedShow<>1 or "
                                       "NeedPrint<>1 or CtlLH<>50")),
        0);
    EXPECT_GT(db.scalar(QStringLiteral("select count(*) from CKControl")).toInt(), 100);
    // The kind is filled from the full name.
    EXPECT_EQ(
        db.scalar(QStringLiteral("select TypeFirstName from CKTypeTable where CheckTypeID=1")),
        QStringLiteral("支票"));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from CKTypeTable where TypeFirstName is "
                                       "null or TypeFirstName=''")),
        0);
    // The import rules get their 33 default rows.
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from MatchColumn")), 33);
    EXPECT_EQ(
        db.scalar(QStringLiteral("select SourceName from MatchColumn where ItemName='订单号'")),
        QStringLiteral("\t订单编号,订单ID,订单号"));
    // The waybill items come back once, with their types.
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from NameDict where CheckTypeName='快递单' "
                                       "and CtlName like 'DEFCHECK%' and CtlType='CHECKBOX'")),
        13);
    for (const char* name : { "ZDTIJI", "ZDDAISJE", "ZDJFKHBM", "ZDDEF4" })
        EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from NameDict where CheckTypeName="
                                           "'快递单' and CtlName=? collate binary"),
                      { QString::fromLatin1(name) }),
            1)
            << name;
    EXPECT_EQ(
        db.scalar(QStringLiteral(
            "select ShowOrd from NameDict where CheckTypeName='快递单' and CtlName='DEFCHECK12'")),
        421);
    // Names upper case; types upper case; a picture item stays a picture item.
    EXPECT_EQ(
        db.scalar(QStringLiteral("select count(*) from NameDict where CtlName<>upper(CtlName) "
                                 "collate binary")),
        0);
    EXPECT_EQ(db.scalar(QStringLiteral("select CtlType from NameDict where CtlName='ZDNIAN'")),
        QStringLiteral("TEXT"));
    EXPECT_EQ(db.scalar(QStringLiteral("select CtlType from NameDict where CtlName='ZDYUE'")),
        QStringLiteral("IMAGE"));
    // Carriers' enabled templates and every default become common; the rest do not.
    EXPECT_EQ(db.scalar(QStringLiteral("select IsCommon from CKTypeTable where TypeName="
                                       "'快递单（申通速递）'")),
        QStringLiteral("是"));
    EXPECT_EQ(db.scalar(QStringLiteral("select IsCommon from CKTypeTable where TypeName="
                                       "'支票（工商银行2010版）'")),
        QStringLiteral("是"));
    EXPECT_EQ(db.scalar(QStringLiteral("select IsCommon from CKTypeTable where TypeName="
                                       "'支票（建设银行2010版）'")),
        QVariant(QString()));
}

TEST_F(EarlierLayout, RunsOnceThenFindsNothingToDo)
{
    ASSERT_FALSE(upgradeInstallation(folder).steps.isEmpty());
    {
        // A user's later choice survives the next start.
        Database db(folder.databasePath());
        db.execute(QStringLiteral("update CKTypeTable set IsCommon='否' where TypeName="
                                  "'快递单（申通速递）'"));
    }
    const UpgradeReport again = upgradeInstallation(folder);
    EXPECT_EQ(again.steps, QStringList());
    EXPECT_TRUE(again.backupPath.isEmpty());
    EXPECT_EQ(QDir(home.file(QStringLiteral("Data/backup"))).entryList(QDir::Files).size(), 1);
    Database db(folder.databasePath());
    EXPECT_EQ(db.scalar(QStringLiteral("select IsCommon from CKTypeTable where TypeName="
                                       "'快递单（申通速递）'")),
        QStringLiteral("否"));
}

TEST(Upgrade, ANewInstallationIsAlreadyCurrent)
{
    TempHome home;
    const ProgramFolder folder(home.path());
    ensureSeededInstallation(folder);
    const UpgradeReport report = upgradeInstallation(folder);
    EXPECT_EQ(report.steps, QStringList());
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("Data/backup"))));
    Database db(folder.databasePath());
    EXPECT_EQ(schemaDifferences(db, mainTables()), QStringList());
}

TEST(Upgrade, AnEmptyImportRuleTableLeftByTheStartUpCheckGetsItsDefaults)
{
    TempHome home;
    const ProgramFolder folder(home.path());
    ensureSeededInstallation(folder);
    {
        Database db(folder.databasePath());
        db.execute(QStringLiteral("delete from MatchColumn"));
    }
    const UpgradeReport report = upgradeInstallation(folder);
    EXPECT_EQ(report.steps,
        QStringList { QStringLiteral("EPData.ini: 导入规则 MatchColumn 取默认的 33 行") });
    Database db(folder.databasePath());
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from MatchColumn")), 33);
    // Rules a user keeps are not replaced.
    db.execute(QStringLiteral("delete from MatchColumn where ItemName<>'联系人'"));
    db.close();
    upgradeInstallation(folder);
    Database again(folder.databasePath());
    EXPECT_EQ(again.scalar(QStringLiteral("select count(*) from MatchColumn")), 1);
}

TEST(Upgrade, TheRoutinesAddOnlyWhatIsMissing)
{
    TempHome home;
    Database db(home.file(QStringLiteral("old.ini")));
    db.create();
    db.execute(QStringLiteral(
        "create table CKTypeTable (CheckTypeID INTEGER PRIMARY KEY, TypeName TEXT)"));
    db.execute(
        QStringLiteral("insert into CKTypeTable values (1, '支票（工商银行）'), (2, '支票'), "
                       "(3, '快递单(顺丰)')"));
    Up2NewVersion up(db, mainTables());
    EXPECT_FALSE(
        up.aIFExistsColumn(QStringLiteral("CKTypeTable"), QStringLiteral("TypeFirstName")));
    EXPECT_TRUE(up.aAddColumn(QStringLiteral("CKTypeTable"), QStringLiteral("TypeFirstName")));
    EXPECT_FALSE(up.aAddColumn(QStringLiteral("CKTypeTable"), QStringLiteral("TypeFirstName")));
    EXPECT_FALSE(up.aAddColumn(QStringLiteral("CKTypeTable"), QStringLiteral("NoSuchColumn")));
    EXPECT_EQ(up.initTypeFirstNameValue(), 2);
    EXPECT_EQ(rowsOf(db, QStringLiteral("CKTypeTable"),
                  { QStringLiteral("CheckTypeID"), QStringLiteral("TypeFirstName") }),
        (QStringList {
            QStringLiteral("1|支票"), QStringLiteral("2|"), QStringLiteral("3|快递单") }));
    EXPECT_TRUE(up.CreateTableIFNotExists(QStringLiteral("NameDict")));
    EXPECT_FALSE(up.CreateTableIFNotExists(QStringLiteral("NameDict")));
    EXPECT_TRUE(up.aInsertNameDictItemIFLost(QStringLiteral("快递单"), QStringLiteral("体积"),
        QString(), 357, 1, QStringLiteral("zdTiJi")));
    EXPECT_FALSE(up.aInsertNameDictItemIFLost(QStringLiteral("快递单"), QStringLiteral("体积"),
        QString(), 357, 1, QStringLiteral("ZDTIJI")));
    EXPECT_EQ(
        rowsOf(db, QStringLiteral("NameDict"),
            { QStringLiteral("CtlName"), QStringLiteral("CtlType"), QStringLiteral("ShowOrd") }),
        QStringList { QStringLiteral("ZDTIJI|TEXT|357") });
    EXPECT_EQ(up.steps(),
        (QStringList { QStringLiteral("添加列 CKTypeTable.TypeFirstName"),
            QStringLiteral("填写模板的票据种类：2 个"), QStringLiteral("创建表 NameDict"),
            QStringLiteral("添加快递单项目 ZDTIJI（体积）") }));
}

TEST(Upgrade, ABlankPackageThatIsNoDatabaseFailsNamingTheFile)
{
    TempHome home;
    const ProgramFolder folder(home.path());
    ensureSeededInstallation(folder);
    home.write(QStringLiteral("Data/Template.a01"), QByteArray(4096, 'x'));
    try {
        upgradeInstallation(folder);
        FAIL() << "no error";
    } catch (const UpgradeError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Template.a01")))
            << e.message().toStdString();
    }
}

TEST_F(EarlierLayout, TheCommandReportsEachStepAndThenNothing)
{
    const auto first = pennock::test::runCliProcess(
        { QStringLiteral("upgrade"), QStringLiteral("--home"), home.path() });
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.startsWith(QStringLiteral("EPData.ini: 添加列 CKControl.CtlLH\n")));
    EXPECT_TRUE(first.out.contains(QStringLiteral("\nbackup: ")));
    const auto second = pennock::test::runCliProcess(
        { QStringLiteral("upgrade"), QStringLiteral("--home"), home.path() });
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.out, QStringLiteral("installation is up to date\n"));
}

TEST(UpgradeCommand, RefusesBadInputWithOneLine)
{
    TempHome home;
    const struct
    {
        QStringList args;
        QString err;
    } cases[] = {
        { { QStringLiteral("upgrade"), QStringLiteral("--home") },
            QStringLiteral("pennock-cli: upgrade: --home DIR is required\n") },
        { { QStringLiteral("upgrade"), QStringLiteral("--home"), home.path() },
            QStringLiteral("pennock-cli: no installation in %1 (run init first)\n")
                .arg(home.path()) },
        { { QStringLiteral("upgrade"), QStringLiteral("--home"), home.path(), QStringLiteral("x") },
            QStringLiteral("pennock-cli: upgrade: unexpected argument x\n") },
    };
    for (const auto& c : cases) {
        const auto run = pennock::test::runCliProcess(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, QString());
    }
    EXPECT_EQ(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}
