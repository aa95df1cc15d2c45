#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include "store/DatabaseUrl.h"
#include "store/SqlDialect.h"

#include <memory>
#include <stdexcept>

class QSqlQueryModel;

namespace pennock::core {

/// A failed statement: the SQL text and the driver's message travel together.
class DbError : public std::runtime_error
{
public:
    DbError(const QString& message, const QString& sql);
    const QString& message() const noexcept { return mMessage; }
    const QString& sql() const noexcept { return mSql; }

private:
    QString mMessage;
    QString mSql;
};

class ProgramFolder;

/// One SQLite file, or a shared PostgreSQL database, behind one named connection opened on
/// first use. Every value is bound; date-times are stored as "yyyy-MM-dd HH:mm:ss" so they
/// compare as text.
class Database
{
public:
    enum class Kind { Main, Package };

    explicit Database(QString filePath, Kind kind = Kind::Main);
    /// The main database on an office server.
    explicit Database(const DatabaseUrl& server);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    /// Empty for a server database.
    const QString& filePath() const noexcept { return mFilePath; }
    Engine engine() const noexcept { return mDialect.engine(); }
    const SqlDialect& dialect() const noexcept { return mDialect; }
    /// The file, or the server address without its password, for messages.
    QString location() const;

    /// Opens the existing file (never creates one). Throws DbError with a readable reason:
    /// missing file, not a database, read-only.
    QSqlDatabase& connection();
    /// Creates the file when missing, then opens it.
    QSqlDatabase& create();
    bool isOpen() const;
    void close();

    /// Runs one statement with bound values; the query is positioned before its first row.
    QSqlQuery exec(const QString& sql, const QVariantList& values = {});
    /// Runs one statement and returns the number of rows it changed.
    int execute(const QString& sql, const QVariantList& values = {});
    /// First column of the first row, or an invalid QVariant when there is no row.
    QVariant scalar(const QString& sql, const QVariantList& values = {});
    /// Runs an insert and returns the key the database gave the new row.
    QVariant insert(const QString& sql, const QVariantList& values, const QString& keyColumn);

    bool tableExists(const QString& table);
    bool columnExists(const QString& table, const QString& column);

    /// Quotes a table or column name taken from the code's own tables.
    static QString quoted(const QString& identifier);
    /// Gives a grid's model the rows of a statement, read as the grid shows them (the query
    /// scrolls both ways). Throws DbError.
    void showIn(QSqlQueryModel& model, const QString& sql, const QVariantList& values = {});
    /// The LIKE pattern that finds a typed text inside a value, its own % and _ taken literally.
    static QString containsPattern(const QString& text);
    /// " like ?" for that pattern, with the escape clause only when the text needs it.
    static QString likeContains(const QString& text);
    /// Date-time text as stored.
    static QString dateTimeText(const QDateTime& dt);

private:
    /// A statement prepared with its bound values and run; DbError when either fails.
    QSqlQuery run(const QString& sql, const QVariantList& values, bool forwardOnly);
    QSqlDatabase& open(bool createMissing);
    QSqlDatabase& openServer();

    friend class Transaction;

    SqlDialect mDialect { Engine::Sqlite };
    int mTransactions = 0; ///< open Transaction objects, the outer one first
    std::optional<DatabaseUrl> mServer;
    QString mFilePath;
    QString mConnectionName;
    Kind mKind;
    QSqlDatabase mDb;
};

/// Rolls back unless committed: a save is all or nothing. Inside another one it is a savepoint,
/// so a save can be part of a larger whole that is kept or dropped at once.
class Transaction
{
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    void run(const QString& sql);

    Database& mDb;
    int mLevel = 0; ///< 1 for the outer transaction
    bool mDone = false;
};

/// The main database of an installation: the configured server when one is set, else the
/// embedded file. A bad address is reported at once, never replaced by the file. Throws DbError.
std::unique_ptr<Database> openMainDatabase(const ProgramFolder& folder);

} // namespace pennock::core
