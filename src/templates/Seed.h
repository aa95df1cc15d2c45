#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace pennock::core {

class Database;
class ProgramFolder;

/// Rows of a tab-separated seed table, each a map from the header's column names.
/// Throws std::runtime_error for a row whose field count differs from the header's.
QList<QMap<QString, QString>> readTsv(const QByteArray& text, const QString& sourceName);

/// Rows of a reference table the program carries (`data/reference/FILE`, e.g. "regions.tsv").
QList<QMap<QString, QString>> referenceRows(const QString& file);

/// Fills a new database: item catalogue, templates with their layouts, currencies, regions,
/// dictionaries, import rules and configuration defaults; writes every picture into Image/.
void seedDatabase(Database& db, const ProgramFolder& folder);

/// Writes the system pictures ("sys_…" and the default picture) that are missing.
void restoreSystemPictures(const ProgramFolder& folder);

/// Creates or completes an installation and seeds a new database; throws InstallError.
void ensureSeededInstallation(const ProgramFolder& folder);

/// Names of the pictures the program carries.
QStringList bundledPictures();

} // namespace pennock::core
