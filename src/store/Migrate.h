#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pennock::core {

class ProgramFolder;
struct DatabaseUrl;

/// The rows one table holds after a move, the same on both sides.
struct MigratedTable
{
    QString table;
    qint64 rows = 0;
};

/// Copies an installation's embedded database into an empty server database: every table with
/// its keys, and the pictures of Image/ into the server's picture table, in one transaction
/// that commits only when every table counts the same rows on both sides. A target that holds
/// any row is refused. Throws DbError; on failure the server is left as it was.
QList<MigratedTable> migrateToServer(const ProgramFolder& folder, const DatabaseUrl& target);

/// `migrate --home DIR --to URL`: one line per table, then a summary. Throws CliError.
QString runMigrate(const QStringList& args);

} // namespace pennock::core
