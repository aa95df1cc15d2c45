#pragma once

#include <QString>
#include <QStringList>

namespace pennock::core {

class Database;
class ProgramFolder;
class Prompter;

/// Rows of a table (a name from the code's own tables); 0 and a message on failure.
int CountTableAllRows(Database& db, Prompter& prompter, const QString& table);

/// Names of the plain files in `folder` matching `mask` (letter case ignored); empty for a
/// missing folder.
QStringList ListFiles(const QString& folder, const QString& mask);

/// Forgets every layout cache, removes rows that lost their template or catalogue item and
/// deletes pictures no template uses. The table clean-up is one transaction. Returns true when
/// the open bill forms must be closed.
bool clearCaches(Database& db, const ProgramFolder& folder, Prompter& prompter, bool billFormOpen);

} // namespace pennock::core
