#include "store/Migrate.h"

#include "store/CliArgs.h"
#include "store/Database.h"
#include "store/DatabaseUrl.h"
#include "store/ProgramFolder.h"
#include "store/Schema.h"
#include "store/TemplatePictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace pennock::core {

namespace {

qint64 rowCount(Database& db, const QString& table)
{
    return db.scalar(QStringLiteral("select count(*) from %1").arg(Database::quoted(table)))
        .toLongLong();
}

// The file is loosely typed: an empty text in a date or number column is no value there.
QVariant forServer(const ColumnDef& column, const QVariant& value)
{
    const bool typed
        = column.sqlType.startsWith(QStringLiteral("INTEGER")) || column.sqlType == u"DATETIME";
    if (typed && value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
        return QVariant(value.metaType());
    return value;
}

qint64 copyTable(Database& from, Database& to, const TableDef& table)
{
    QList<ColumnDef> columns;
    QStringList names;
    for (const ColumnDef& c : table.columns)
        if (from.columnExists(table.name, c.name)) {
            columns << c;
            names << Database::quoted(c.name);
        }
    if (columns.isEmpty())
        return 0;
    const QString list = names.join(QLatin1Char(','));
    const QString marks = QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(','));
    const QString insert = QStringLiteral("insert into %1 (%2) values (%3)")
                               .arg(Database::quoted(table.name), list, marks);
    QSqlQuery rows
        = from.exec(QStringLiteral("select %1 from %2").arg(list, Database::quoted(table.name)));
    qint64 copied = 0;
    while (rows.next()) {
        QVariantList values;
        values.reserve(columns.size());
        for (qsizetype i = 0; i < columns.size(); ++i)
            values << forServer(columns[i], rows.value(int(i)));
        to.execute(insert, values);
        ++copied;
    }
    // Keys were copied as they were: the server numbers the next row after the highest.
    for (const ColumnDef& c : std::as_const(columns))
        if (c.sqlType.contains(QStringLiteral("PRIMARY KEY")))
            to.scalar(QStringLiteral("select setval(pg_get_serial_sequence(?, ?), "
                                     "(select coalesce(max(%1), 0) + 1 from %2), false)")
                          .arg(Database::quoted(c.name), Database::quoted(table.name)),
                { Database::quoted(to.dialect().createdName(table.name)),
                    to.dialect().createdName(c.name) });
    return copied;
}

} // namespace

QList<MigratedTable> migrateToServer(const ProgramFolder& folder, const DatabaseUrl& target)
{
    Database from(folder.databasePath());
    from.connection();
    Database to(target);
    to.connection();
    for (const TableDef& table : mainTables())
        if (to.tableExists(table.name))
            if (const qint64 n = rowCount(to, table.name); n > 0)
                throw DbError(
                    QStringLiteral("目标数据库不是空的（%1 已有 %2 行），只能迁移到空的数据库：%3")
                        .arg(table.name)
                        .arg(n)
                        .arg(target.display()),
                    {});

    Transaction tx(to);
    for (const QString& sql : to.dialect().serverSetup())
        to.execute(sql);
    ensureSchemaWithin(to, mainTables());
    QList<MigratedTable> out;
    for (const TableDef& table : mainTables()) {
        const bool present = from.tableExists(table.name);
        const qint64 copied = present ? copyTable(from, to, table) : 0;
        const qint64 expected = present ? rowCount(from, table.name) : 0;
        if (copied != expected)
            throw DbError(QStringLiteral("迁移 %1 时读到 %2 行，应有 %3 行")
                              .arg(table.name)
                              .arg(copied)
                              .arg(expected),
                {});
        out << MigratedTable { table.name, expected };
    }
    // The file keeps its pictures in Image/ only; on the server they travel in the database.
    qint64 pictures = 0;
    const QFileInfoList files
        = QDir(folder.imageFolder()).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& info : files) {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            throw DbError(QStringLiteral("无法读取图片 %1").arg(info.filePath()), {});
        TemplatePictures::store(to, info.fileName(), file.readAll());
        ++pictures;
    }
    for (MigratedTable& t : out) {
        if (t.table == u"TemplatePicture")
            t.rows += pictures;
        const qint64 there = rowCount(to, t.table);
        if (there != t.rows)
            throw DbError(QStringLiteral("迁移后 %1 有 %2 行，应有 %3 行，没有写入任何数据")
                              .arg(t.table)
                              .arg(there)
                              .arg(t.rows),
                {});
    }
    tx.commit();
    return out;
}

QString runMigrate(const QStringList& args)
{
    const QString home = cliHome(args);
    const QString to = cliOption(args, QStringLiteral("--to"));
    if (to.isEmpty())
        throw CliError { QStringLiteral("migrate: --to URL is required") };
    QString error;
    const std::optional<DatabaseUrl> url = DatabaseUrl::parse(to, &error);
    if (!url)
        throw CliError { QStringLiteral("migrate: ") + error };
    const ProgramFolder folder(home);
    if (!QFileInfo::exists(folder.databasePath()))
        throw CliError { QStringLiteral("migrate: no embedded database in %1").arg(home) };
    QList<MigratedTable> tables;
    try {
        tables = migrateToServer(folder, *url);
    } catch (const DbError& e) {
        throw CliError { QStringLiteral("migrate: ") + e.message() };
    }
    QString out;
    for (const MigratedTable& t : std::as_const(tables))
        out += QStringLiteral("%1\t%2\n").arg(t.table).arg(t.rows);
    return out
        + QStringLiteral("migrated %1 tables to %2\n").arg(tables.size()).arg(url->display());
}

} // namespace pennock::core
