#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <stdexcept>

namespace pennock::core {

class Database;
class ProgramFolder;

/// A package that cannot be used, or an import or export refused as a whole; the message names
/// the file and what is wrong. Nothing was written.
class PackageError : public std::runtime_error
{
public:
    explicit PackageError(const QString& message)
        : std::runtime_error(message.toStdString())
        , mMessage(message)
    {
    }
    const QString& message() const noexcept { return mMessage; }

private:
    QString mMessage;
};

/// One template as a package lists it.
struct PackageEntry
{
    int packageId = 0;
    QString fullName;
    QString kind;
    int paperWidth = 0; ///< 0.1 mm; 0 when the package does not say
    int paperHeight = 0;
};

/// A template package (SQLite: `_CKTypeTable`, `_ckControl`, `_Config`) opened read-only and
/// checked as a whole when opened: a file of another program, a damaged file or one without the
/// tables and columns of a package is refused.
class PackageFile
{
public:
    /// Throws PackageError.
    explicit PackageFile(const QString& path);
    ~PackageFile();
    PackageFile(const PackageFile&) = delete;
    PackageFile& operator=(const PackageFile&) = delete;

    const QString& path() const noexcept { return mPath; }
    /// The templates in the order the package holds them.
    const QList<PackageEntry>& entries() const noexcept { return mEntries; }
    /// The exporting system's version text; empty when the package has none.
    const QString& version() const noexcept { return mVersion; }

    /// The template row of that full name (column name -> value); empty when there is none.
    QVariantMap templateRow(const QString& fullName);
    /// Its items and its settings (`_Config` rows), by package identity.
    QList<QVariantMap> items(int packageId);
    QList<QVariantMap> settings(int packageId);

private:
    void open();
    void close();
    QList<QVariantMap> rows(const QString& sql, const QVariantList& values);
    [[noreturn]] void refuse(const QString& what) const;

    QString mPath;
    QString mConnectionName;
    QSqlDatabase mDb;
    QList<PackageEntry> mEntries;
    QString mVersion;
};

/// What happened to one template of an import.
struct ImportOutcome
{
    QString fullName;
    int templateId = 0; ///< the identity it got in the database; 0 when it failed
    bool replaced = false;
    QString failure; ///< why it was not imported; empty when it was
};

/// The kind of a template named kind + "（" + variant + "）" (or with "("); empty for none.
QString kindOfFullName(const QString& fullName);

/// A package name the import accepts: ".tpk" or the older ".pnk" anywhere in it.
bool isPackageName(const QString& path);

/// Imports the templates of `fullNames` (all of the package when empty) in that order, in one
/// transaction: a template that fails leaves nothing behind and the others go on. A same-named
/// template is replaced and its identity kept when `replace`; otherwise the whole import is
/// refused. Pictures go into Image/ under names no other template uses. Throws PackageError.
QList<ImportOutcome> importPackage(Database& db, const ProgramFolder& folder,
    const QString& packagePath, const QStringList& fullNames, bool replace);

/// The message after an import: "导入结束，成功导入单据" + i + "个!" and its variants.
QString importSummary(const QList<ImportOutcome>& outcomes);

/// Writes the templates into a new package at `target`, started from a copy of the blank package
/// and replacing a file there only once it is complete: every column of each template and its
/// items, the picture's bytes and the template's `DMTable` rows. Returns the messages about
/// pictures that could not be read (the template goes without). Throws PackageError.
QStringList exportPackage(Database& db, const ProgramFolder& folder, const QList<int>& templateIds,
    const QString& target);

} // namespace pennock::core
