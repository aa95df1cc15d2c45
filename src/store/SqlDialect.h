#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

/// The engines a main database can live on: the embedded file, or a shared office server.
enum class Engine { Sqlite, Postgres };

/// The statements that differ between the two engines, in one place. Everything else the
/// program writes runs unchanged on both.
class SqlDialect
{
public:
    explicit SqlDialect(Engine engine)
        : mEngine(engine)
    {
    }
    Engine engine() const noexcept { return mEngine; }

    /// Starts a write transaction.
    QString begin() const;
    /// One row with a count when the table (one bound value, its name) exists.
    QString tableCount() const;
    /// The column declaration on this engine for a declaration written for SQLite.
    QString columnType(const QString& sqliteType) const;
    /// The name a table or column is created with.
    QString createdName(const QString& identifier) const;
    /// A statement of the program as this engine must read it.
    QString statement(const QString& sql) const;
    /// An insert statement that yields the new row's key as its one result, where the engine
    /// does not report it on its own.
    QString insertReturning(const QString& insertSql, const QString& keyColumn) const;
    /// What a server database needs before the first table: the text type that compares
    /// without regard to letter case and the helper functions the queries call.
    QStringList serverSetup() const;

private:
    Engine mEngine;
};

} // namespace pennock::core
