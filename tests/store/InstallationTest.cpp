#include "store/Installation.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "store/Schema.h"
#include "support/TempHome.h"

#include <QFile>
#include <QProcess>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace pennock::core;
using pennock::test::TempHome;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Makes a file read-only for whoever runs the tests: immutable for root, no write bit otherwise.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(QString path)
        : mPath(std::move(path))
    {
        if (geteuid() == 0)
            mDone
                = QProcess::execute(QStringLiteral("chattr"), { QStringLiteral("+i"), mPath }) == 0;
        else
            mDone = QFile::setPermissions(mPath, QFile::ReadOwner);
    }
    ~ReadOnlyFile()
    {
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), { QStringLiteral("-i"), mPath });
        else
            QFile::setPermissions(mPath, QFile::ReadOwner | QFile::WriteOwner);
    }
    bool done() const { return mDone; }

private:
    QString mPath;
    bool mDone = false;
};

} // namespace

TEST(Installation, CreatesEveryTableAndColumnOnAFreshFolder)
{
    TempHome home;
    const ProgramFolder folder(home.path());
    ensureInstallation(folder);
    for (const char* dir : { "Data", "Image", "Temp/CheckIni" })
        EXPECT_TRUE(QFileInfo(home.file(QString::fromLatin1(dir))).isDir()) << dir;

    Database db(folder.databasePath());
    for (const TableDef& table : mainTables()) {
        const QSqlRecord record = db.connection().record(table.name);
        ASSERT_FALSE(record.isEmpty()) << table.name.toStdString();
        EXPECT_EQ(record.count(), table.columns.size()) << table.name.toStdString();
    }
    // Spot checks of names other code relies on, written out rather than taken from the table.
    const std::pair<const char*, const char*> named[] = {
        { "DataZPTable", "流水号" },
        { "DataZPTable", "支付密码" },
        { "DataKDDTable", "寄件日期" },
        { "DataKDDTable", "金额大写1" },
        { "DataCKSPTable", "离岸价7" },
        { "DataCKSPTable", "发票编号" },
        { "DataCheckIntel", "金额6" },
        { "DataCheckReceipt", "自定义10" },
        { "CKPersonalInfoTable", "开户行行号" },
        { "MatchColumn", "SourceName" },
        { "CKControl", "BreakFontSize" },
        { "ReceiverList", "代收金额" },
        { "DMTable2", "二级代码" },
        { "coins", "顺序" },
    };
    for (const auto& [table, column] : named)
        EXPECT_TRUE(db.columnExists(QString::fromUtf8(table), QString::fromUtf8(column)))
            << table << "." << column;

    Database package(folder.blankPackagePath(), Database::Kind::Package);
    EXPECT_TRUE(package.columnExists(QStringLiteral("_CKTypeTable"), QStringLiteral("Img_Bytes")));
    EXPECT_TRUE(package.columnExists(QStringLiteral("_CKControl"), QStringLiteral("BreakNum")));
    EXPECT_EQ(package.scalar(QStringLiteral("select DMValue from _Config where DMName='version'"))
                  .toString(),
        schemaVersionText());
}

TEST(Installation, CompletesAnOlderDatabaseAndKeepsItsRows)
{
    TempHome home;
    const ProgramFolder folder(home.path());
    {
        Database old(home.file(QStringLiteral("Data/EPData.ini")));
        old.create();
        old.execute(QStringLiteral("create table DataZPTable (流水号 integer primary key "
                                   "autoincrement, 金额 text)"));
        old.execute(QStringLiteral("insert into DataZPTable (金额) values ('88.00')"));
    }
    ensureInstallation(folder);
    ensureInstallation(folder); // a second run changes nothing
    Database db(folder.databasePath());
    EXPECT_TRUE(db.columnExists(QStringLiteral("DataZPTable"), QStringLiteral("用途")));
    EXPECT_EQ(db.scalar(QStringLiteral("select 金额 from DataZPTable")).toString(),
        QStringLiteral("88.00"));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from DataZPTable")).toInt(), 1);
}

TEST(Installation, SeedsOnlyANewDatabaseAndDropsAFailedSeed)
{
    TempHome home;
    const ProgramFolder folder(home.path());
    int seeded = 0;
    const Seeder seed = [&](Database& db, const ProgramFolder&) {
        ++seeded;
        db.execute(QStringLiteral("insert into coins (币种, 缩写) values ('人民币', '￥')"));
    };
    EXPECT_THROW(ensureInstallation(folder,
                     [](Database&, const ProgramFolder&) {
                         throw DbError(QStringLiteral("seed failed"), {});
                     }),
        InstallError);
    EXPECT_FALSE(QFile::exists(folder.databasePath()));
    ensureInstallation(folder, seed);
    ensureInstallation(folder, seed);
    EXPECT_EQ(seeded, 1);
}

TEST(Installation, RefusesAFileThatIsNotADatabaseAndLeavesItAlone)
{
    TempHome home;
    const QByteArray bytes("Standard Jet DB\0\0\0 not sqlite", 30);
    home.write(QStringLiteral("Data/EPData.ini"), bytes);
    try {
        ensureInstallation(ProgramFolder(home.path()));
        FAIL() << "accepted a foreign database file";
    } catch (const InstallError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("EPData.ini")))
            << e.message().toStdString();
    }
    EXPECT_EQ(readAll(home.file(QStringLiteral("Data/EPData.ini"))), bytes);
}

TEST(Installation, RefusesAReadOnlyDatabase)
{
    TempHome home;
    const ProgramFolder folder(home.path());
    ensureInstallation(folder);
    const QByteArray before = readAll(folder.databasePath());
    ReadOnlyFile readOnly(folder.databasePath());
    if (!readOnly.done())
        GTEST_SKIP() << "this file system cannot make a file read-only";
    try {
        ensureInstallation(folder);
        FAIL() << "a read-only database was accepted";
    } catch (const InstallError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("不可写"))) << e.message().toStdString();
    }
    EXPECT_EQ(readAll(folder.databasePath()), before);
}

TEST(Installation, RefusesAFolderThatCannotBeCreated)
{
    TempHome home;
    home.write(QStringLiteral("plain-file"), "x");
    EXPECT_THROW(ensureInstallation(ProgramFolder(home.file(QStringLiteral("plain-file/inside")))),
        InstallError);
}

TEST(ProgramFolder, FindsFilesWithoutRegardToCaseOrSlash)
{
    TempHome home;
    home.write(QStringLiteral("Image/Sys_boot.jpg"), "jpg");
    const ProgramFolder folder(home.path());
    EXPECT_EQ(folder.path(QStringLiteral("image\\sys_boot.jpg")),
        home.file(QStringLiteral("Image/Sys_boot.jpg")));
    EXPECT_EQ(
        folder.path(QStringLiteral("IMAGE/new.jpg")), home.file(QStringLiteral("Image/new.jpg")));
    EXPECT_EQ(
        folder.path(QStringLiteral("Temp/CheckIni")), home.file(QStringLiteral("Temp/CheckIni")));
}
