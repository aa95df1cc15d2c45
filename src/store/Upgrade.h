#pragma once

#include "store/Schema.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace pennock::core {

class Database;
class ProgramFolder;

/// An upgrade that could not be completed; the files are as they were before it.
class UpgradeError : public std::runtime_error
{
public:
    explicit UpgradeError(const QString& message)
        : std::runtime_error(message.toStdString())
        , mMessage(message)
    {
    }
    const QString& message() const noexcept { return mMessage; }

private:
    QString mMessage;
};

/// The routines of the schema upgrade (`TfrmUp2NewVersion`) on one database file. Columns and
/// tables get the declared types of the current layout, so an upgraded file equals a new one.
/// Every routine that changes something records a step; database errors reach the caller.
class Up2NewVersion
{
public:
    /// `tables`: the current layout of that file (mainTables() or packageTables()).
    Up2NewVersion(Database& db, const QList<TableDef>& tables);

    bool aIFExistsColumn(const QString& table, const QString& column);
    /// Adds a column of the layout when it is missing; true when it was added.
    bool aAddColumn(const QString& table, const QString& column);
    /// Creates a table of the layout when it is missing; true when it was created.
    bool CreateTableIFNotExists(const QString& table);
    /// The spreadsheet import rules: the table when missing, and its default rows when it has
    /// none (rules a user kept are never replaced).
    void CreateMatchColumnTableIFNotExists();
    /// The package's version row carries `version`.
    void CreateTemplateConfigTable(const QString& version);
    /// A catalogue item of the kind unless one of that name is there; true when inserted.
    bool aInsertNameDictItemIFLost(const QString& kind, const QString& label,
        const QString& itemType, int showOrd, int printFlag, const QString& name);
    /// Fills an empty `TypeFirstName` from a full name with a parenthesis; rows filled.
    int initTypeFirstNameValue();

    /// What changed, one line per step.
    const QStringList& steps() const noexcept { return mSteps; }

private:
    void step(const QString& text) { mSteps << text; }

    Database& mDb;
    const QList<TableDef>& mTables;
    QStringList mSteps;
};

/// What the start-up upgrade did.
struct UpgradeReport
{
    QStringList steps; ///< "EPData.ini: …" / "Template.a01: …", in the order done
    QString backupPath; ///< the copy of the main database taken first; empty when none changed
};

/// Brings an existing installation's main database and blank package to the current layout:
/// the columns, tables and catalogue items of earlier releases, the import rules' default rows,
/// upper-case item names and known item types. When the main database is to change, it is first
/// copied to "Data/backup/EPData-<date-time>.ini". Each file changes in one transaction.
/// A folder without a database is left alone. Throws UpgradeError.
UpgradeReport upgradeInstallation(
    const ProgramFolder& folder, const QDateTime& now = QDateTime::currentDateTime());

/// How a database file differs from a layout: missing tables, columns and indexes, and columns
/// of another type, default or collation. Empty when it matches.
QStringList schemaDifferences(Database& db, const QList<TableDef>& tables);

} // namespace pennock::core
