// Moving an office from the embedded file to the server, pictures shared through the server,
// and the commands that work on an installation whose database is a server.
#include "store/Database.h"
#include "store/DatabaseUrl.h"
#include "store/ProgramFolder.h"
#include "store/Schema.h"
#include "support/CliProcess.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::runCliProcess;
using pennock::test::TempHome;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// Every row of a table as text, ordered by all its columns: dates as the program writes them,
// an empty text and no value alike (the server keeps no empty text in a date or number).
QStringList rowsOf(Database& db, const TableDef& table)
{
    QStringList columns;
    for (const ColumnDef& c : table.columns)
        if (db.columnExists(table.name, c.name))
            columns << Database::quoted(c.name);
    QStringList out;
    QSqlQuery q = db.exec(QStringLiteral("select %1 from %2")
                              .arg(columns.join(u(",")), Database::quoted(table.name)));
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant v = q.value(i);
            cells << (v.typeId() == QMetaType::QDateTime ? Database::dateTimeText(v.toDateTime())
                                                         : v.toString());
        }
        out << cells.join(QLatin1Char('|'));
    }
    out.sort();
    return out;
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Migrate, CopiesAFilledInstallationTableByTableWithItsPicturesIntoAnEmptyServer)
{
    REQUIRE_SERVER();
    pennock::test::DatabaseEnvGuard env;
    TempHome home;
    const QString target = home.makeServerDatabase();
    qunsetenv("PENNOCK_DATABASE"); // the folder keeps its embedded file
    ensureSeededInstallation(ProgramFolder(home.path()));
    {
        Database file(ProgramFolder(home.path()).databasePath());
        for (int i = 1; i <= 30; ++i)
            file.execute(
                u("insert into DataZPTable (模板种类, 票据编号, 票据状态, 收款人全称, 金额, "
                  "出票日期) values ('工商银行2010版', ?, ?, ?, ?, ?)"),
                { QStringLiteral("ZP%1").arg(i), i % 3 ? u("已用") : u("未用"),
                    QStringLiteral("收款人%1").arg(i), QStringLiteral("%1.50").arg(i),
                    QStringLiteral("2024-03-%1 09:30:00")
                        .arg(i % 28 + 1, 2, 10, QLatin1Char('0')) });
        file.execute(u("delete from DataZPTable where 票据编号='ZP7'")); // a gap in the keys
        file.execute(u("insert into DataJZDTable (金额, 出票日期) values ('8', '')"));
        file.execute(u("insert into CKPersonalInfoTable (单位类型, 全称, 开户银行, 开户行账号) "
                       "values ('收款人', 'O''Brien 贸易', '招商银行', '6225')"));
        // A template of its own, with a picture no seed has.
        file.execute(u("update CKTypeTable set ImgFile='own_cheque.jpg' where CheckTypeID=1"));
    }
    const QByteArray picture = QByteArray("\xff\xd8\xff\xe0 own picture ", 17).repeated(200);
    home.write(u("Image/own_cheque.jpg"), picture);

    const auto run = runCliProcess({ u("migrate"), u("--home"), home.path(), u("--to"), target });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u("DataZPTable\t29\n"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.endsWith(QStringLiteral("migrated %1 tables to %2\n")
                                     .arg(mainTables().size())
                                     .arg(DatabaseUrl::parse(target)->display())))
        << run.out.toStdString();

    Database file(ProgramFolder(home.path()).databasePath());
    Database server(*DatabaseUrl::parse(target));
    for (const TableDef& table : mainTables()) {
        SCOPED_TRACE(table.name.toStdString());
        if (table.name == u"TemplatePicture")
            continue;
        EXPECT_EQ(rowsOf(server, table), rowsOf(file, table));
    }
    const int files = int(QDir(home.file(u("Image"))).entryList(QDir::Files).size());
    EXPECT_EQ(server.scalar(u("select count(*) from TemplatePicture")).toInt(), files);
    EXPECT_EQ(server
                  .scalar(u("select Picture from TemplatePicture where FileName=?"),
                      { u("OWN_cheque.jpg") })
                  .toByteArray(),
        picture);
    // The server numbers new bills after the moved ones.
    const int next
        = server.insert(u("insert into DataZPTable (金额) values ('1')"), {}, u("流水号")).toInt();
    EXPECT_EQ(next, file.scalar(u("select max(流水号) from DataZPTable")).toInt() + 1);
    server.execute(u("delete from DataZPTable where 流水号=?"), { next });

    // Another clerk's folder on that server gets the template's picture at its start.
    TempHome other;
    qputenv("PENNOCK_DATABASE", target.toUtf8());
    ensureSeededInstallation(ProgramFolder(other.path()));
    EXPECT_EQ(bytesOf(other.file(u("Image/own_cheque.jpg"))), picture);

    // A second move into the now filled database is refused and changes nothing.
    const auto again = runCliProcess({ u("migrate"), u("--home"), home.path(), u("--to"), target });
    EXPECT_EQ(again.exitCode, 2) << again.err.toStdString();
    EXPECT_TRUE(again.err.contains(u("目标数据库不是空的"))) << again.err.toStdString();
    EXPECT_EQ(server.scalar(u("select count(*) from DataZPTable")).toInt(), 29);
}

TEST(Migrate, RefusesWhatItCannotMove)
{
    pennock::test::DatabaseEnvGuard env;
    TempHome home;
    const ProgramFolder folder(home.path());
    struct Case
    {
        QStringList args;
        const char* error;
    };
    const Case cases[] = {
        { { u("--home"), home.path() }, "migrate: --to URL is required" },
        { { u("--home"), home.path(), u("--to"), u("mysql://a:b@c/d") },
            "migrate: 数据库地址无效" },
        { { u("--home"), home.path(), u("--to"), u("postgresql://a:b@127.0.0.1:1/d") },
            "migrate: no embedded database in" },
    };
    for (const Case& c : cases) {
        const auto run = runCliProcess(QStringList { u("migrate") } + c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(u(c.error))) << run.err.toStdString();
    }
}

TEST(ServerCommands, TemplateCommandsWorkOnAnInstallationWithoutItsOwnFile)
{
    pennock::test::DatabaseEnvGuard env;
    TempHome home; // under the test server its database is there, and there is no file
    ensureSeededInstallation(ProgramFolder(home.path()));
    const QString p = home.path();
    const QStringList runs[] = {
        { u("templates"), u("--home"), p, u("--kind"), u("支票") },
        { u("print-template"), u("--home"), p, u("--template"), u("1"), u("--pdf"),
            home.file(u("t.pdf")) },
        { u("calibrate"), u("--home"), p, u("--printer"), u("Office"), u("--template"), u("1"),
            u("--sheet"), home.file(u("sheet.pdf")) },
        { u("package"), u("export"), u("--home"), p, u("--templates"), u("1"),
            home.file(u("one.tpk")) },
        { u("package"), u("import"), u("--home"), p, home.file(u("one.tpk")), u("--replace") },
    };
    for (const QStringList& args : runs) {
        SCOPED_TRACE(args.join(u(" ")).toStdString());
        const auto run = runCliProcess(args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_FALSE(run.out.isEmpty());
    }
    EXPECT_EQ(
        QFile::exists(ProgramFolder(home.path()).databasePath()), home.databaseUrl().isEmpty())
        << "no file is made beside the server";
    if (home.databaseUrl().isEmpty())
        return;
    // Another clerk's folder shows every template's picture, the imported one included.
    TempHome other;
    qputenv("PENNOCK_DATABASE", home.databaseUrl().toUtf8());
    ensureSeededInstallation(ProgramFolder(other.path()));
    Database server(*DatabaseUrl::parse(home.databaseUrl()));
    QSqlQuery q = server.exec(u("select ImgFile from CKTypeTable where ImgFile<>''"));
    int pictures = 0;
    while (q.next()) {
        const QString name = u("Image/") + q.value(0).toString();
        SCOPED_TRACE(name.toStdString());
        const QByteArray mine = bytesOf(ProgramFolder(home.path()).path(name));
        EXPECT_FALSE(mine.isEmpty());
        EXPECT_EQ(bytesOf(ProgramFolder(other.path()).path(name)), mine);
        ++pictures;
    }
    EXPECT_GT(pictures, 0);
}
