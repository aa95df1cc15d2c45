#include "store/Installation.h"

#include "store/Database.h"
#include "store/ProgramFolder.h"
#include "store/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace pennock::core {

namespace {

void makeFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        throw InstallError(QStringLiteral("无法创建文件夹：%1").arg(path));
}

void checkWritable(const QString &folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/.write-probe-XXXXXX"));
    if (!probe.open())
        throw InstallError(QStringLiteral("程序文件夹不可写：%1").arg(folder));
}

void ensureBlankPackage(const QString &path)
{
    const bool isNew = !QFileInfo::exists(path);
    Database package(path, Database::Kind::Package);
    isNew ? package.create() : package.connection();
    ensureSchema(package, packageTables());
    if (package.scalar(QStringLiteral("select count(*) from _Config where DMName='version'")).toInt()
        == 0)
        package.execute(QStringLiteral("insert into _Config (DMName, DMValue, CheckTypeId) "
                                       "values ('version', ?, 0)"),
                        {schemaVersionText()});
}

} // namespace

void ensureInstallation(const ProgramFolder &folder, const Seeder &seed)
{
    makeFolder(folder.root());
    checkWritable(folder.root());
    makeFolder(folder.path(QStringLiteral("Data")));
    makeFolder(folder.imageFolder());
    makeFolder(folder.checkIniFolder());
    try {
        const QString dbPath = folder.databasePath();
        const bool isNew = !QFileInfo::exists(dbPath);
        {
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
    } catch (const InstallError &) {
        throw;
    } catch (const DbError &e) {
        throw InstallError(e.message());
    } catch (const std::exception &e) {
        throw InstallError(QString::fromStdString(e.what()));
    }
}

} // namespace pennock::core
