#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

namespace pennock::core {

class ProgramFolder;
class Database;

/// An installation folder that cannot be used; the message says which file and why.
class InstallError : public std::runtime_error
{
public:
    explicit InstallError(const QString& message)
        : std::runtime_error(message.toStdString())
        , mMessage(message)
    {
    }
    const QString& message() const noexcept { return mMessage; }

private:
    QString mMessage;
};

/// Seeds a database that was just created (catalogue, templates, reference data).
using Seeder = std::function<void(Database& db, const ProgramFolder& folder)>;

/// Creates or completes an installation: folders, the main database with every table and
/// column, the blank package. An existing file that is not a database, or that cannot be
/// written, is reported and left untouched. `seed` runs only on a new main database.
void ensureInstallation(const ProgramFolder& folder, const Seeder& seed = {});

struct DatabaseUrl;
/// Creates the tables and helper functions on an office server database, and seeds it when it
/// had none; an existing one is completed and keeps its data. `folder` is the installation
/// whose files the seed reads.
void installServerDatabase(
    const DatabaseUrl& server, const ProgramFolder& folder, const Seeder& seed = {});

} // namespace pennock::core
