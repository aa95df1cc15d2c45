#include "store/Maintenance.h"

#include "platform/Prompter.h"
#include "store/Database.h"
#include "store/ProgramFolder.h"

#include <QDir>
#include <QFile>

namespace pennock::core {

int CountTableAllRows(Database& db, Prompter& prompter, const QString& table)
{
    try {
        return db.scalar(QStringLiteral("select count(*) from ") + Database::quoted(table)).toInt();
    } catch (const DbError& e) {
        prompter.warn(QStringLiteral("计算表格总数失败:") + table + QLatin1Char('-') + e.message());
        return 0;
    }
}

QStringList ListFiles(const QString& folder, const QString& mask)
{
    if (folder.isEmpty() || !QDir(folder).exists())
        return {};
    QDir dir(folder);
    dir.setNameFilters({ mask });
    dir.setFilter(QDir::Files | QDir::NoDotAndDotDot);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

bool clearCaches(Database& db, const ProgramFolder& folder, Prompter& prompter, bool billFormOpen)
{
    static const char* const statements[] = {
        "update CKTypeTable set IniFile=''",
        "delete from CKTypeTable where TypeFirstName<>'' and TypeFirstName is not null and "
        "TypeFirstName not in (select CheckTypeName from NameDict)",
        "delete from CKControl where CheckTypeID not in (select CheckTypeID from CKTypeTable)",
        "delete from CKControl where CtlName not in (select CtlName from NameDict)",
        "delete from DMTable where CheckTypeID not in (select CheckTypeID from CKTypeTable) and "
        "CheckTypeID<>0",
    };
    // All or nothing: half-cleaned tables would leave layouts without their templates.
    bool cleaned = false;
    try {
        Transaction tx(db);
        for (const char* sql : statements)
            db.execute(QString::fromLatin1(sql));
        tx.commit();
        cleaned = true;
    } catch (const DbError& e) {
        prompter.warn(QStringLiteral("清除软件缓存失败！") + e.message());
    }

    try {
        const QString images = folder.imageFolder();
        QStringList used;
        QSqlQuery q = db.exec(QStringLiteral("select ImgFile from CKTypeTable"));
        while (q.next())
            used << q.value(0).toString().toUpper();
        for (const QString& file : ListFiles(images, QStringLiteral("*.jpg"))) {
            const QString upper = file.toUpper();
            if (upper.contains(QStringLiteral("SYS_")))
                continue;
            const bool inUse = std::any_of(
                used.begin(), used.end(), [&](const QString& img) { return img.contains(upper); });
            if (!inUse)
                QFile::remove(images + QLatin1Char('/') + file);
        }
    } catch (const DbError&) {
        // Pictures stay when the templates cannot be read: better a stale file than a lost one.
    }

    // A failure was said already; it is never followed by a report of success.
    if (!cleaned)
        return false;
    if (!billFormOpen) {
        prompter.inform(QStringLiteral("缓存清除成功！"));
        return false;
    }
    prompter.inform(QStringLiteral("缓存清除需要关闭开单界面重新打开！"));
    return true;
}

} // namespace pennock::core
