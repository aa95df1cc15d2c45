#include "templates/Package.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "support/CliProcess.h"
#include "support/TempHome.h"
#include "templates/Seed.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

using namespace pennock::core;
using pennock::test::TempHome;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Columns of a row by name, without those listed.
QVariantMap record(const QSqlQuery& q, const QStringList& without)
{
    QVariantMap out;
    const QSqlRecord r = q.record();
    for (int i = 0; i < r.count(); ++i)
        if (!without.contains(r.fieldName(i), Qt::CaseInsensitive))
            out.insert(r.fieldName(i), r.value(i));
    return out;
}

// Everything of one template an installation holds, picture bytes in place of the picture's name.
struct TemplateDump
{
    QVariantMap row;
    QList<QVariantMap> items;
    QList<QVariantMap> settings;
    QByteArray picture;
};

TemplateDump dump(Database& db, const ProgramFolder& folder, const QString& fullName,
    const QStringList& rowWithout)
{
    TemplateDump d;
    QSqlQuery q
        = db.exec(QStringLiteral("select * from CKTypeTable where TypeName=?"), { fullName });
    if (!q.next())
        return d;
    const int id = q.value(QStringLiteral("CheckTypeID")).toInt();
    d.picture = readFile(
        folder.path(QStringLiteral("Image/") + q.value(QStringLiteral("ImgFile")).toString()));
    d.row = record(
        q, rowWithout + QStringList { QStringLiteral("ImgFile"), QStringLiteral("IniFile") });
    QSqlQuery items = db.exec(
        QStringLiteral("select * from CKControl where CheckTypeID=? order by CtlName"), { id });
    while (items.next())
        d.items << record(items, { QStringLiteral("ID"), QStringLiteral("CheckTypeID") });
    QSqlQuery settings
        = db.exec(QStringLiteral("select DMName, DMValue from DMTable where CheckTypeID=? "
                                 "order by DMName, DMValue"),
            { id });
    while (settings.next())
        d.settings << record(settings, {});
    return d;
}

QStringList allNames(Database& db)
{
    QStringList names;
    QSqlQuery q = db.exec(QStringLiteral("select TypeName from CKTypeTable order by CheckTypeID"));
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QList<int> allIds(Database& db)
{
    QList<int> ids;
    QSqlQuery q
        = db.exec(QStringLiteral("select CheckTypeID from CKTypeTable order by CheckTypeID"));
    while (q.next())
        ids << q.value(0).toInt();
    return ids;
}

// What an import may change: every template row, item, setting and picture file.
QByteArray fingerprint(Database& db, const ProgramFolder& folder)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const char* sql : { "select * from CKTypeTable order by CheckTypeID",
             "select * from CKControl order by ID", "select * from DMTable order by ID" }) {
        QSqlQuery q = db.exec(QString::fromLatin1(sql));
        while (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                hash.addData(q.value(i).toString().toUtf8() + '|');
    }
    const QDir images(folder.imageFolder());
    for (const QString& name : images.entryList(QDir::Files, QDir::Name))
        hash.addData(name.toUtf8() + readFile(images.filePath(name)));
    return hash.result();
}

class Packages : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sSource = new TempHome;
        ensureSeededInstallation(ProgramFolder(sSource->path()));
        Database db(ProgramFolder(sSource->path()).databasePath());
        sPackage = sSource->file(QStringLiteral("all.tpk"));
        exportPackage(db, ProgramFolder(sSource->path()), allIds(db), sPackage);
    }
    static void TearDownTestSuite()
    {
        delete sSource;
        sSource = nullptr;
    }

    Packages()
        : folder(home.path())
        , source(sSource->path())
    {
        ensureSeededInstallation(folder);
    }

    // A copy of the full package to damage or change.
    QString packageCopy(const QString& name)
    {
        const QString path = home.file(name);
        QFile::remove(path);
        QFile::copy(sPackage, path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

    static TempHome* sSource;
    static QString sPackage;
    TempHome home;
    ProgramFolder folder;
    ProgramFolder source;
};

TempHome* Packages::sSource = nullptr;
QString Packages::sPackage;

} // namespace

TEST_F(Packages, ListsEveryTemplateWithItsKindAndPaperInTheOrderWritten)
{
    PackageFile package(sPackage);
    Database db(source.databasePath());
    const QStringList names = allNames(db);
    ASSERT_EQ(package.entries().size(), names.size());
    for (qsizetype i = 0; i < names.size(); ++i)
        EXPECT_EQ(package.entries()[i].fullName, names[i]);
    const PackageEntry& cheque = package.entries().first();
    EXPECT_EQ(cheque.packageId, 1);
    EXPECT_EQ(cheque.kind, QStringLiteral("支票"));
    EXPECT_EQ(cheque.paperWidth, 2250);
    EXPECT_EQ(cheque.paperHeight, 800);
    EXPECT_FALSE(package.version().isEmpty());
}

// Every seeded template comes back as it was: each column, each item, each setting, the picture.
TEST_F(Packages, RoundTripGivesBackEverySeededTemplateFieldByField)
{
    Database db(folder.databasePath());
    Database from(source.databasePath());
    const QStringList names = allNames(from);
    // Into an installation that lacks them: new templates.
    for (const QString& name : names) {
        const int id
            = db.scalar(QStringLiteral("select CheckTypeID from CKTypeTable where TypeName=?"),
                    { name })
                  .toInt();
        db.execute(QStringLiteral("delete from CKControl where CheckTypeID=?"), { id });
        db.execute(QStringLiteral("delete from DMTable where CheckTypeID=?"), { id });
        db.execute(QStringLiteral("delete from CKTypeTable where CheckTypeID=?"), { id });
    }
    QDir images(folder.imageFolder());
    for (const QString& f : images.entryList(QDir::Files))
        if (!f.startsWith(QStringLiteral("sys_"), Qt::CaseInsensitive))
            images.remove(f);

    const QList<ImportOutcome> outcomes = importPackage(db, folder, sPackage, {}, false);
    ASSERT_EQ(outcomes.size(), names.size());
    // Identity and standing are the importing installation's: new, enabled, common, not default.
    const QStringList standing = { QStringLiteral("CheckTypeID"), QStringLiteral("IsDefault"),
        QStringLiteral("IsCommon"), QStringLiteral("Visiable"), QStringLiteral("ShowOrd") };
    for (qsizetype i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i].toStdString());
        EXPECT_EQ(outcomes[i].failure, QString());
        EXPECT_FALSE(outcomes[i].replaced);
        const TemplateDump before = dump(from, source, names[i], standing);
        const TemplateDump after = dump(db, folder, names[i], standing);
        EXPECT_EQ(after.row, before.row);
        EXPECT_EQ(after.items, before.items);
        EXPECT_EQ(after.settings, before.settings);
        ASSERT_FALSE(before.picture.isEmpty());
        EXPECT_EQ(after.picture, before.picture);
        QSqlQuery q
            = db.exec(QStringLiteral("select IsDefault, IsCommon, Visiable, ShowOrd, IniFile from "
                                     "CKTypeTable where TypeName=?"),
                { names[i] });
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString(), QStringLiteral("0"));
        EXPECT_EQ(q.value(1).toString(), QStringLiteral("是"));
        EXPECT_EQ(q.value(2).toString(), QStringLiteral("启用"));
        EXPECT_EQ(q.value(3).toInt(), 0);
        EXPECT_EQ(q.value(4).toString(), QString());
    }
}

TEST_F(Packages, ReplacingASameNamedTemplateKeepsItsIdentityStandingAndOffsets)
{
    Database db(folder.databasePath());
    db.execute(QStringLiteral("update CKTypeTable set XMove=12, YMove=-7 where CheckTypeID=1"));
    db.execute(QStringLiteral(
        "insert into DMTable (DMName, DMValue, CheckTypeID) values ('cfgStale', 'yes', 1)"));
    const TemplateDump before = dump(db, folder, QStringLiteral("支票（工商银行2010版）"), {});
    const QList<ImportOutcome> outcomes
        = importPackage(db, folder, sPackage, { QStringLiteral("支票（工商银行2010版）") }, true);
    ASSERT_EQ(outcomes.size(), 1);
    EXPECT_TRUE(outcomes[0].replaced);
    EXPECT_EQ(outcomes[0].templateId, 1);
    const TemplateDump after = dump(db, folder, QStringLiteral("支票（工商银行2010版）"), {});
    EXPECT_EQ(after.row.value(QStringLiteral("CheckTypeID")), 1);
    EXPECT_EQ(after.row.value(QStringLiteral("IsDefault")), QStringLiteral("默认"));
    EXPECT_EQ(after.row.value(QStringLiteral("XMove")), 12);
    EXPECT_EQ(after.row.value(QStringLiteral("YMove")), -7);
    EXPECT_EQ(after.items, before.items);
    EXPECT_EQ(after.picture, before.picture);
    // The package's settings replace the template's own.
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from DMTable where DMName='cfgStale'")), 0);
    EXPECT_EQ(db.scalar(QStringLiteral(
                  "select count(*) from CKTypeTable where TypeName='支票（工商银行2010版）'")),
        1);
}

TEST_F(Packages, ANewTemplateTakesTheNextIdentityAFreshPictureNameAndTheKindsOffsets)
{
    const QString path = packageCopy(QStringLiteral("new.tpk"));
    {
        Database package(path, Database::Kind::Package);
        package.execute(QStringLiteral("update _CKTypeTable set TypeName='快递单（新快递）', "
                                       "TypeDescribe='新快递', XMove=99 where CheckTypeID=70"));
    }
    Database db(folder.databasePath());
    db.execute(
        QStringLiteral("update CKTypeTable set XMove=33, YMove=44 where TypeFirstName='快递单'"));
    // A file of that name is there already; it belongs to nobody's template but stays as it is.
    const int next
        = db.scalar(QStringLiteral("select max(CheckTypeID) + 1 from CKTypeTable")).toInt();
    const QString taken = QStringLiteral("kdd%1.jpg").arg(next);
    home.write(QStringLiteral("Image/") + taken, "not to be overwritten");

    const QList<ImportOutcome> outcomes
        = importPackage(db, folder, path, { QStringLiteral("快递单（新快递）") }, false);
    ASSERT_EQ(outcomes.size(), 1);
    EXPECT_EQ(outcomes[0].failure, QString());
    EXPECT_EQ(outcomes[0].templateId, next);
    QSqlQuery q = db.exec(
        QStringLiteral("select ImgFile, XMove, YMove, TypeFirstName from CKTypeTable where "
                       "CheckTypeID=?"),
        { next });
    ASSERT_TRUE(q.next());
    const QString picture = q.value(0).toString();
    EXPECT_NE(picture.toLower(), taken.toLower());
    EXPECT_TRUE(picture.startsWith(QStringLiteral("kdd%1").arg(next)));
    EXPECT_EQ(readFile(folder.path(QStringLiteral("Image/") + taken)),
        QByteArray("not to be overwritten"));
    EXPECT_EQ(readFile(folder.path(QStringLiteral("Image/") + picture)),
        readFile(source.path(QStringLiteral("Image/kdd_ems.jpg"))));
    EXPECT_EQ(q.value(1).toInt(), 33);
    EXPECT_EQ(q.value(2).toInt(), 44);
    EXPECT_EQ(q.value(3).toString(), QStringLiteral("快递单"));
    // The seeded template whose picture the new one came from keeps its own.
    EXPECT_TRUE(QFileInfo::exists(folder.path(QStringLiteral("Image/kdd_ems.jpg"))));
}

TEST_F(Packages, AFailingTemplateLeavesNothingAndTheOthersGoOn)
{
    const QString path = packageCopy(QStringLiteral("mixed.tpk"));
    {
        Database package(path, Database::Kind::Package);
        package.execute(
            QStringLiteral("update _CKTypeTable set CheckTypeID=-1 where CheckTypeID=1"));
        package.execute(
            QStringLiteral("update _CKTypeTable set TypeName='账单（某行）', TypeFirstName='账单' "
                           "where CheckTypeID=2"));
        package.execute(
            QStringLiteral("update _CKTypeTable set TypeName='定制单（新）', TypeDescribe='新' "
                           "where CheckTypeID=13"));
    }
    Database db(folder.databasePath());
    const int before = db.scalar(QStringLiteral("select count(*) from CKTypeTable")).toInt();
    const QList<ImportOutcome> outcomes = importPackage(db, folder, path,
        { QStringLiteral("支票（工商银行2010版）"), QStringLiteral("账单（某行）"),
            QStringLiteral("定制单（新）") },
        true);
    ASSERT_EQ(outcomes.size(), 3);
    EXPECT_FALSE(outcomes[0].failure.isEmpty());
    EXPECT_EQ(outcomes[1].failure, QStringLiteral("未知的票据种类：账单"));
    EXPECT_EQ(outcomes[2].failure, QString());
    EXPECT_EQ(importSummary(outcomes), QStringLiteral("导入结束，成功导入单据1个，失败2个!"));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from CKTypeTable")).toInt(), before + 1);
    EXPECT_EQ(
        db.scalar(QStringLiteral("select count(*) from CKTypeTable where TypeName like '账单%'")),
        0);
    // The failed identity -1 did not take the same-named template away.
    EXPECT_GT(
        db.scalar(QStringLiteral("select count(*) from CKControl where CheckTypeID=1")).toInt(), 0);
}

TEST_F(Packages, ASameNamedTemplateWithoutReplaceRefusesTheWholeImport)
{
    Database db(folder.databasePath());
    const QByteArray before = fingerprint(db, folder);
    try {
        importPackage(db, folder, sPackage, {}, false);
        FAIL() << "imported";
    } catch (const PackageError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("已有同名模板：支票（工商银行2010版）"));
    }
    EXPECT_EQ(fingerprint(db, folder), before);
}

TEST_F(Packages, ExportReplacesAnExistingFileAndSaysWhichPictureItCouldNotRead)
{
    Database db(source.databasePath());
    const QString target = home.file(QStringLiteral("out/one.tpk"));
    home.write(QStringLiteral("out/one.tpk"), "an older file");
    db.execute(QStringLiteral("update CKTypeTable set ImgFile='missing.jpg' where CheckTypeID=2"));
    const QStringList messages = exportPackage(db, source, { 1, 2 }, target);
    db.execute(QStringLiteral("update CKTypeTable set ImgFile='zp_ccb.jpg' where CheckTypeID=2"));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("图片获取失败,")));
    EXPECT_TRUE(messages[0].contains(QStringLiteral("missing.jpg")));
    PackageFile package(target);
    ASSERT_EQ(package.entries().size(), 2);
    EXPECT_TRUE(package.templateRow(QStringLiteral("支票（建设银行2010版）"))
                    .value(QStringLiteral("Img_Bytes"))
                    .toByteArray()
                    .isEmpty());
    EXPECT_EQ(QDir(home.file(QStringLiteral("out"))).entryList(QDir::Files),
        QStringList { QStringLiteral("one.tpk") });
}

// Damaged and foreign files: one message naming the file and what is wrong; nothing written.
TEST_F(Packages, RefusesFilesThatAreNoUsablePackage)
{
    const QByteArray good = readFile(sPackage);
    QByteArray jet(4096, '\0');
    jet.replace(0, 19, QByteArray("\x00\x01\x00\x00Standard Jet DB", 19));
    QByteArray corrupt = good;
    for (qsizetype i = 4096; i < 4096 + 400; ++i)
        corrupt[i] = char(0xA5);
    const auto dropped = [this](const char* sql) {
        const QString path = packageCopy(QStringLiteral("changed.tpk"));
        {
            Database package(path, Database::Kind::Package);
            package.execute(QString::fromLatin1(sql));
        }
        return readFile(path);
    };
    const struct
    {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        { "empty", QByteArray(), "文件是空的" },
        { "text", QByteArray("just some text, not a database at all"),
            "不是票据包（不是 SQLite 数据库文件）" },
        { "jet", jet, "这是其他程序的 Access 数据库，不是票据包" },
        { "truncated", good.left(good.size() / 2), "文件不完整（被截断）" },
        { "corrupt", corrupt, "文件已损坏" },
        { "no items table", dropped("drop table _ckControl"), "缺少表 _ckControl" },
        { "no settings table", dropped("drop table _Config"), "缺少表 _Config" },
        { "no template table", dropped("drop table _CKTypeTable"), "缺少表 _CKTypeTable" },
        { "no position column", dropped("alter table _CKControl drop column CtlX"),
            "表 _ckControl 缺少列 CtlX" },
        { "main database", readFile(folder.databasePath()), "缺少表 _CKTypeTable" },
    };
    Database db(folder.databasePath());
    const QByteArray before = fingerprint(db, folder);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = home.file(QStringLiteral("bad.tpk"));
        QFile::remove(path);
        home.write(QStringLiteral("bad.tpk"), c.bytes);
        try {
            importPackage(db, folder, path, {}, true);
            ADD_FAILURE() << "imported";
        } catch (const PackageError& e) {
            EXPECT_TRUE(e.message().startsWith(
                QStringLiteral("票据包 %1 无法导入：").arg(QDir::toNativeSeparators(path))))
                << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.reason)))
                << e.message().toStdString();
        }
        EXPECT_EQ(fingerprint(db, folder), before);
    }
    try {
        PackageFile missing(home.file(QStringLiteral("nowhere.tpk")));
        ADD_FAILURE() << "opened";
    } catch (const PackageError& e) {
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("文件不存在")));
    }
}

TEST_F(Packages, TheCommandsListExportAndImport)
{
    using pennock::test::runCliProcess;
    const auto list
        = runCliProcess({ QStringLiteral("package"), QStringLiteral("list"), sPackage });
    EXPECT_EQ(list.exitCode, 0);
    const QStringList lines = list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 23);
    EXPECT_EQ(lines.value(0), QStringLiteral("1\t支票（工商银行2010版）\t支票\t225x80"));

    const QString out = home.file(QStringLiteral("two.tpk"));
    const auto exported = runCliProcess(
        { QStringLiteral("package"), QStringLiteral("export"), QStringLiteral("--home"),
            sSource->path(), QStringLiteral("--templates"), QStringLiteral("70,1"), out });
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, QStringLiteral("exported 2 template(s) to %1\n").arg(out));
    const auto imported = runCliProcess({ QStringLiteral("package"), QStringLiteral("import"),
        QStringLiteral("--home"), home.path(), out, QStringLiteral("--replace"),
        QStringLiteral("--templates"), QStringLiteral("支票（工商银行2010版）") });
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.out,
        QStringLiteral("replaced\t支票（工商银行2010版）\t1\n导入结束，成功导入单据1个!\n"));
}

TEST_F(Packages, TheCommandsRefuseBadInputWithOneLineAndChangeNothing)
{
    using pennock::test::runCliProcess;
    const QString bad = home.file(QStringLiteral("bad.tpk"));
    home.write(QStringLiteral("bad.tpk"), "nonsense");
    const QString h = home.path();
    const struct
    {
        QStringList args;
        QString err;
    } cases[] = {
        { { QStringLiteral("package") },
            QStringLiteral("package: expects export, list or import") },
        { { QStringLiteral("package"), QStringLiteral("list") },
            QStringLiteral("package: list needs one FILE.tpk") },
        { { QStringLiteral("package"), QStringLiteral("list"), bad },
            QStringLiteral("票据包 %1 无法导入：不是票据包（不是 SQLite 数据库文件）").arg(bad) },
        { { QStringLiteral("package"), QStringLiteral("export"), QStringLiteral("--home"), h,
              home.file(QStringLiteral("x.tpk")) },
            QStringLiteral("package: --templates ID[,ID...] is required") },
        { { QStringLiteral("package"), QStringLiteral("export"), QStringLiteral("--home"), h,
              QStringLiteral("--templates"), QStringLiteral("1,abc"),
              home.file(QStringLiteral("x.tpk")) },
            QStringLiteral("package: not a template identity: abc") },
        { { QStringLiteral("package"), QStringLiteral("export"), QStringLiteral("--home"), h,
              QStringLiteral("--templates"), QStringLiteral("999"),
              home.file(QStringLiteral("x.tpk")) },
            QStringLiteral("package: no template 999") },
        { { QStringLiteral("package"), QStringLiteral("export"), QStringLiteral("--home"), h,
              QStringLiteral("--templates"), QStringLiteral("1"),
              home.file(QStringLiteral("x.zip")) },
            QStringLiteral("package: not a package name (.tpk): %1")
                .arg(home.file(QStringLiteral("x.zip"))) },
        { { QStringLiteral("package"), QStringLiteral("import"), QStringLiteral("--home"), h,
              home.file(QStringLiteral("x.zip")) },
            QStringLiteral("package: not a package name (.tpk or .pnk): %1")
                .arg(home.file(QStringLiteral("x.zip"))) },
        { { QStringLiteral("package"), QStringLiteral("import"), QStringLiteral("--home"), h, bad },
            QStringLiteral("票据包 %1 无法导入：不是票据包（不是 SQLite 数据库文件）").arg(bad) },
        { { QStringLiteral("package"), QStringLiteral("import"), QStringLiteral("--home"), h,
              sPackage },
            QStringLiteral("package: 已有同名模板：支票（工商银行2010版）（--replace 替换）") },
        { { QStringLiteral("package"), QStringLiteral("import"), QStringLiteral("--home"), h,
              sPackage, QStringLiteral("--templates"), QStringLiteral("没有（这个）") },
            QStringLiteral("票据包 %1 中没有模板：没有（这个）").arg(sPackage) },
        { { QStringLiteral("package"), QStringLiteral("import"), QStringLiteral("--home"),
              home.file(QStringLiteral("none")), sPackage },
            QStringLiteral("no installation in %1 (run init first)")
                .arg(home.file(QStringLiteral("none"))) },
    };
    Database db(folder.databasePath());
    const QByteArray before = fingerprint(db, folder);
    for (const auto& c : cases) {
        const auto run = runCliProcess(c.args);
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, QStringLiteral("pennock-cli: ") + c.err + QLatin1Char('\n'));
        EXPECT_EQ(run.out, QString());
    }
    EXPECT_EQ(fingerprint(db, folder), before);
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("x.tpk"))));
}
