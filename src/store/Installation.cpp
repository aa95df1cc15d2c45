#include "store/Installation.h"

#include "store/Database.h"
#include "store/DatabaseUrl.h"
#include "store/ProgramFolder.h"
#include "store/Schema.h"
#include "store/TemplatePictures.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace pennock::core {

namespace {

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        throw InstallError(QStringLiteral("无法创建文件夹：%1").arg(path));
}

void checkWritable(const QString& folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/.write-probe-XXXXXX"));
    if (!probe.open())
        throw InstallError(QStringLiteral("程序文件夹不可写：%1").arg(folder));
}

void ensureBlankPackage(const QString& path)
{
    const bool isNew = !QFileInfo::exists(path);
    Database package(path, Database::Kind::Package);
    isNew ? package.create() : package.connection();
    ensureSchema(package, packageTables());
    if (package.scalar(QStringLiteral("select count(*) from _Config where DMName='version'"))
            .toInt()
        == 0)
        package.execute(QStringLiteral("insert into _Config (DMName, DMValue, CheckTypeId) "
                                       "values ('version', ?, 0)"),
            { schemaVersionText() });
}

// The shared database of an office: its helpers and tables are made by the first clerk's
// installation, and seeded only when it had no tables yet.
void ensureServerDatabase(Database& db, const ProgramFolder& folder, const Seeder& seed)
{
    db.connection();
    const bool isNew = !db.tableExists(QStringLiteral("CKTypeTable"));
    {
        Transaction tx(db);
        for (const QString& sql : db.dialect().serverSetup())
            db.execute(sql);
        tx.commit();
    }
    ensureSchema(db, mainTables());
    if (!isNew || !seed)
        return;
    try {
        seed(db, folder);
    } catch (...) {
        // A half-seeded database would never be seeded again.
        for (const TableDef& table : mainTables())
            db.execute(QStringLiteral("DROP TABLE IF EXISTS %1")
                           .arg(Database::quoted(db.dialect().createdName(table.name))));
        throw;
    }
}

} // namespace

void installServerDatabase(
    const DatabaseUrl& server, const ProgramFolder& folder, const Seeder& seed)
{
    try {
        Database db(server);
        ensureServerDatabase(db, folder, seed);
    } catch (const DbError& e) {
        throw InstallError(e.message());
    }
}

void ensureInstallation(const ProgramFolder& folder, const Seeder& seed)
{
    makeFolder(folder.root());
    checkWritable(folder.root());
    makeFolder(folder.path(QStringLiteral("Data")));
    makeFolder(folder.imageFolder());
    makeFolder(folder.checkIniFolder());
    try {
        const QString dbPath = folder.databasePath();
        const bool isNew = !QFileInfo::exists(dbPath);
        if (!configuredDatabaseUrl(folder).isEmpty()) {
            const std::unique_ptr<Database> db = openMainDatabase(folder);
            ensureServerDatabase(*db, folder, seed);
            // Templates imported on another clerk's machine show their pictures here too.
            TemplatePictures::sync(*db, folder);
        } else {
            Database db(dbPath);
            isNew ? db.create() : db.connection();
            ensureSchema(db, mainTables());
            if (isNew && seed) {
                try {
                    seed(db, folder);
                } catch (...) {
                    // A half-seeded database would never be seeded again.
                    db.close();
                    QFile::remove(dbPath);
                    QFile::remove(dbPath + QStringLiteral("-wal"));
                    QFile::remove(dbPath + QStringLiteral("-shm"));
                    throw;
                }
            }
        }
        ensureBlankPackage(folder.blankPackagePath());
    } catch (const InstallError&) {
        throw;
    } catch (const DbError& e) {
        throw InstallError(e.message());
    } catch (const std::exception& e) {
        throw InstallError(QString::fromStdString(e.what()));
    }
}

} // namespace pennock::core
