#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pennock::core {

class Database;

struct ColumnDef
{
    QString name;
    QString sqlType; ///< declaration after the name, e.g. "TEXT COLLATE NOCASE"
};

struct TableDef
{
    QString name;
    QList<ColumnDef> columns;
    QStringList indexSql; ///< CREATE INDEX IF NOT EXISTS statements
};

/// Every table of the main database "Data/EPData.ini".
const QList<TableDef>& mainTables();
/// The tables of a template package and of the blank package "Data/Template.a01".
const QList<TableDef>& packageTables();
const TableDef* findTable(const QList<TableDef>& tables, const QString& name);

/// Creates missing tables and adds missing columns; existing data stays. Throws DbError.
void ensureSchema(Database& db, const QList<TableDef>& tables);
/// The same inside the caller's transaction.
void ensureSchemaWithin(Database& db, const QList<TableDef>& tables);

/// The version text written into new packages' "_Config".
QString schemaVersionText();

} // namespace pennock::core
