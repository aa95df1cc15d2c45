#include "store/RepeatedStatement.h"

#include "store/Database.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QStringEncoder>

#include <sqlite3.h>

namespace pennock::core {

RepeatedStatement::RepeatedStatement(Database& db, QString sql)
    : mSql(std::move(sql))
{
    QSqlDatabase& connection = db.connection();
    const QVariant handle = connection.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        sqlite3* sqlite = *static_cast<sqlite3* const*>(handle.data());
        const QByteArray text = mSql.toUtf8();
        if (sqlite3_prepare_v2(sqlite, text.constData(), int(text.size()), &mStatement, nullptr)
            != SQLITE_OK) {
            const QString message = QString::fromUtf8(sqlite3_errmsg(sqlite));
            sqlite3_finalize(mStatement);
            throw DbError(message, mSql);
        }
        return;
    }
    mQuery.emplace(connection);
    if (!mQuery->prepare(db.dialect().statement(mSql)))
        throw DbError(mQuery->lastError().text(), mSql);
}

RepeatedStatement::~RepeatedStatement() { sqlite3_finalize(mStatement); }

void RepeatedStatement::bind(int index, const QVariant& value)
{
    if (!mStatement) {
        mQuery->bindValue(index, value);
        return;
    }
    const int at = index + 1;
    int rc = SQLITE_OK;
    // A null string is NULL, as the driver binds it.
    if (value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isNull())
        || (value.typeId() == QMetaType::QByteArray && value.toByteArray().isNull())) {
        rc = sqlite3_bind_null(mStatement, at);
    } else {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(mStatement, at, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(mStatement, at, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(
                mStatement, at, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            bind(index, value.toString());
            return;
        }
    }
    if (rc != SQLITE_OK)
        fail();
}

void RepeatedStatement::bind(int index, const QString& text)
{
    if (!mStatement || text.isNull()) {
        bind(index, text.isNull() ? QVariant() : QVariant(text));
        return;
    }
    // Kept until the next bind at this place: SQLite reads it in place, no copy.
    if (mTexts.size() <= index)
        mTexts.resize(index + 1);
    // Encoded into the place's own buffer, which keeps its room from row to row.
    QByteArray& utf8 = mTexts[index];
    utf8.resize(text.size() * 3);
    QStringEncoder encoder(QStringEncoder::Utf8);
    char* const end = encoder.appendToBuffer(utf8.data(), text);
    utf8.truncate(end - utf8.constData());
    if (sqlite3_bind_text(mStatement, index + 1, mTexts[index].constData(),
            int(mTexts[index].size()), SQLITE_STATIC)
        != SQLITE_OK)
        fail();
}

bool RepeatedStatement::run()
{
    if (!mStatement) {
        if (!mQuery->exec())
            throw DbError(mQuery->lastError().text(), mSql);
        const bool row = mQuery->isSelect() && mQuery->next();
        mQuery->finish();
        return row;
    }
    const int rc = sqlite3_step(mStatement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(mStatement)));
        sqlite3_reset(mStatement);
        throw DbError(message, mSql);
    }
    sqlite3_reset(mStatement);
    return rc == SQLITE_ROW;
}

void RepeatedStatement::fail() const
{
    throw DbError(QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(mStatement))), mSql);
}

} // namespace pennock::core
