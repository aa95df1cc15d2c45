#pragma once

#include <QByteArray>
#include <QString>

namespace pennock::core {

class Database;
class ProgramFolder;

/// Template pictures shared through an office server. On the embedded file the Image/ folder
/// is the only copy and these do nothing.
namespace TemplatePictures {

/// Keeps one picture in the database under its file name, replacing an older one. Throws
/// DbError.
void store(Database& db, const QString& fileName, const QByteArray& bytes);
/// Two-way by name: pictures of the templates that only this folder has go into the database,
/// pictures that only the database has (or of another size) are written into Image/. Returns
/// how many files were written. Throws DbError; a file that cannot be written is skipped.
int sync(Database& db, const ProgramFolder& folder);

} // namespace TemplatePictures
} // namespace pennock::core
