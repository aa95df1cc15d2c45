#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <optional>

struct sqlite3_stmt;

namespace pennock::core {

class Database;

/// One statement prepared once and run for thousands of rows, as an import does. On the embedded
/// file it runs on SQLite's own statement: the driver's generic binding costs more than the
/// insert itself. On a server it goes through the driver.
class RepeatedStatement
{
public:
    /// Throws DbError when the statement cannot be prepared.
    RepeatedStatement(Database& db, QString sql);
    ~RepeatedStatement();
    RepeatedStatement(const RepeatedStatement&) = delete;
    RepeatedStatement& operator=(const RepeatedStatement&) = delete;

    /// Binds the value at a 0-based position; a null or invalid value binds NULL.
    void bind(int index, const QVariant& value);
    /// The same for text, the import's every value: a null string binds NULL.
    void bind(int index, const QString& text);
    /// Runs with the values bound, which stay for the next run; true when a row came back.
    /// Throws DbError.
    bool run();

private:
    [[noreturn]] void fail() const;

    QString mSql;
    sqlite3_stmt* mStatement = nullptr;
    std::optional<QSqlQuery> mQuery;
    QList<QByteArray> mTexts;
};

} // namespace pennock::core
