#include "store/Database.h"

#include "store/ProgramFolder.h"
#include "store/SqlFunctions.h"

#include <QAtomicInteger>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QUrl>

namespace pennock::core {

namespace {
QAtomicInteger<quint64> gConnectionCounter;

QString errorText(const QSqlError& error)
{
    const QString driver = error.driverText().trimmed();
    const QString db = error.databaseText().trimmed();
    if (db.isEmpty())
        return driver;
    if (driver.isEmpty() || driver == db)
        return db;
    return driver + QStringLiteral(": ") + db;
}

QVariant bindable(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return Database::dateTimeText(value.toDateTime());
    case QMetaType::QDate:
        return Database::dateTimeText(value.toDate().startOfDay());
    default:
        return value;
    }
}
} // namespace

DbError::DbError(const QString& message, const QString& sql)
    : std::runtime_error(message.toStdString())
    , mMessage(message)
    , mSql(sql)
{
}

Database::Database(QString filePath, Kind kind)
    : mFilePath(std::move(filePath))
    , mConnectionName(QStringLiteral("pennock-%1").arg(++gConnectionCounter))
    , mKind(kind)
{
}

Database::Database(const DatabaseUrl& server)
    : mDialect(Engine::Postgres)
    , mServer(server)
    , mConnectionName(QStringLiteral("pennock-%1").arg(++gConnectionCounter))
    , mKind(Kind::Main)
{
}

QString Database::location() const { return mServer ? mServer->display() : mFilePath; }

Database::~Database()
{
    close();
    mDb = QSqlDatabase();
    if (QSqlDatabase::contains(mConnectionName))
        QSqlDatabase::removeDatabase(mConnectionName);
}

QSqlDatabase& Database::connection() { return mServer ? openServer() : open(false); }

QSqlDatabase& Database::create() { return mServer ? openServer() : open(true); }

QSqlDatabase& Database::openServer()
{
    if (isOpen())
        return mDb;
    const QString driver = QStringLiteral("QPSQL");
    if (!QSqlDatabase::isDriverAvailable(driver))
        throw DbError(QStringLiteral("缺少 PostgreSQL 数据库驱动（libqt6sql6-psql），无法连接 %1")
                          .arg(location()),
            {});
    if (!mDb.isValid())
        mDb = QSqlDatabase::addDatabase(driver, mConnectionName);
    mDb.setHostName(mServer->host);
    mDb.setPort(mServer->port);
    mDb.setUserName(mServer->user);
    mDb.setPassword(mServer->password);
    mDb.setDatabaseName(mServer->databaseName);
    // A server that does not answer is reported soon instead of freezing the window.
    mDb.setConnectOptions(QStringLiteral("connect_timeout=5"));
    if (!mDb.open()) {
        const QString reason = errorText(mDb.lastError());
        const bool refused = reason.contains(QStringLiteral("authentication"))
            || reason.contains(QStringLiteral("password"))
            || reason.contains(QStringLiteral("role \""))
            || reason.contains(QStringLiteral("does not exist"))
            || reason.contains(QStringLiteral("no pg_hba.conf entry"));
        mDb.close();
        throw DbError(QStringLiteral("%1 %2：%3")
                          .arg(refused ? QStringLiteral("数据库服务器拒绝登录")
                                       : QStringLiteral("无法连接数据库服务器"),
                              location(), reason),
            {});
    }
    return mDb;
}

bool Database::isOpen() const { return mDb.isValid() && mDb.isOpen(); }

void Database::close()
{
    if (mDb.isValid() && mDb.isOpen())
        mDb.close();
}

QSqlDatabase& Database::open(bool createMissing)
{
    if (isOpen())
        return mDb;
    const QFileInfo info(mFilePath);
    if (!info.exists()) {
        if (!createMissing)
            throw DbError(QStringLiteral("数据库文件不存在：%1").arg(mFilePath), {});
        if (!QDir().mkpath(info.absolutePath()))
            throw DbError(QStringLiteral("无法创建数据文件夹：%1").arg(info.absolutePath()), {});
    } else if (!info.isFile()) {
        throw DbError(QStringLiteral("数据库路径不是文件：%1").arg(mFilePath), {});
    }
    if (!mDb.isValid())
        mDb = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), mConnectionName);
    // A URI with an explicit mode keeps SQLite from creating an empty file where one was expected.
    QString uri = QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded);
    uri += createMissing ? QStringLiteral("?mode=rwc") : QStringLiteral("?mode=rw");
    mDb.setDatabaseName(uri);
    mDb.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!mDb.open())
        throw DbError(
            QStringLiteral("无法打开数据库 %1：%2").arg(mFilePath, errorText(mDb.lastError())), {});
    try {
        QSqlQuery probe(mDb);
        // Reading the schema fails at once on a file that is not a database.
        if (!probe.exec(QStringLiteral("select count(*) from sqlite_master")))
            throw DbError(QStringLiteral("文件不是有效的数据库：%1（%2）")
                              .arg(mFilePath, errorText(probe.lastError())),
                probe.lastQuery());
        if (isReadOnly(mDb))
            throw DbError(QStringLiteral("数据库文件不可写：%1").arg(mFilePath), {});
        if (mKind == Kind::Main) {
            probe.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            probe.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        }
        registerSqlFunctions(mDb);
    } catch (...) {
        mDb.close();
        throw;
    }
    return mDb;
}

QSqlQuery Database::exec(const QString& sql, const QVariantList& values)
{
    return run(sql, values, true);
}

QSqlQuery Database::run(const QString& sql, const QVariantList& values, bool forwardOnly)
{
    QSqlQuery query(connection());
    query.setForwardOnly(forwardOnly);
    // The server cannot prepare a statement that defines tables or functions; one without
    // values needs no preparing.
    if (engine() == Engine::Postgres && values.isEmpty()) {
        if (!query.exec(mDialect.statement(sql)))
            throw DbError(errorText(query.lastError()), sql);
        return query;
    }
    if (!query.prepare(mDialect.statement(sql)))
        throw DbError(errorText(query.lastError()), sql);
    for (const QVariant& value : values)
        query.addBindValue(bindable(value));
    if (!query.exec())
        throw DbError(errorText(query.lastError()), sql);
    return query;
}

int Database::execute(const QString& sql, const QVariantList& values)
{
    return exec(sql, values).numRowsAffected();
}

QVariant Database::scalar(const QString& sql, const QVariantList& values)
{
    QSqlQuery query = exec(sql, values);
    return query.next() ? query.value(0) : QVariant();
}

QVariant Database::insert(const QString& sql, const QVariantList& values, const QString& keyColumn)
{
    QSqlQuery query = exec(mDialect.insertReturning(sql, keyColumn), values);
    if (engine() == Engine::Sqlite)
        return query.lastInsertId();
    return query.next() ? query.value(0) : QVariant();
}

bool Database::tableExists(const QString& table)
{
    return scalar(mDialect.tableCount(), { table }).toInt() > 0;
}

bool Database::columnExists(const QString& table, const QString& column)
{
    return connection().record(mDialect.createdName(table)).indexOf(mDialect.createdName(column))
        >= 0;
}

QString Database::quoted(const QString& identifier)
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString Database::dateTimeText(const QDateTime& dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

Transaction::Transaction(Database& db)
    : mDb(db)
{
    run(mDb.mTransactions == 0 ? mDb.dialect().begin()
                               : QStringLiteral("SAVEPOINT pennock_%1").arg(mDb.mTransactions + 1));
    mLevel = ++mDb.mTransactions;
}

Transaction::~Transaction()
{
    if (mDone)
        return;
    if (mLevel == 1) {
        mDb.connection().rollback();
    } else {
        try {
            run(QStringLiteral("ROLLBACK TO SAVEPOINT pennock_%1").arg(mLevel));
            run(QStringLiteral("RELEASE SAVEPOINT pennock_%1").arg(mLevel));
        } catch (const DbError&) {
            // The outer transaction still rolls back everything.
        }
    }
    --mDb.mTransactions;
}

void Transaction::commit()
{
    if (mLevel == 1) {
        if (!mDb.connection().commit())
            throw DbError(errorText(mDb.connection().lastError()), QStringLiteral("COMMIT"));
    } else {
        run(QStringLiteral("RELEASE SAVEPOINT pennock_%1").arg(mLevel));
    }
    mDone = true;
    --mDb.mTransactions;
}

void Transaction::run(const QString& sql)
{
    QSqlQuery query(mDb.connection());
    if (!query.exec(sql))
        throw DbError(errorText(query.lastError()), sql);
}

QString Database::containsPattern(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

// The escape clause costs time on every row; text without those characters needs none.
QString Database::likeContains(const QString& text)
{
    const bool plain = !text.contains(QLatin1Char('\\')) && !text.contains(QLatin1Char('%'))
        && !text.contains(QLatin1Char('_'));
    return plain ? QStringLiteral(" like ?") : QStringLiteral(" like ? escape '\\'");
}

void Database::showIn(QSqlQueryModel& model, const QString& sql, const QVariantList& values)
{
    // The grid scrolls both ways, so its query may not be forward-only.
    model.setQuery(run(sql, values, false));
    if (model.lastError().isValid())
        throw DbError(model.lastError().text(), sql);
}

std::unique_ptr<Database> openMainDatabase(const ProgramFolder& folder)
{
    const QString url = configuredDatabaseUrl(folder);
    if (url.isEmpty())
        return std::make_unique<Database>(folder.databasePath());
    QString error;
    const auto server = DatabaseUrl::parse(url, &error);
    if (!server)
        throw DbError(error, {});
    return std::make_unique<Database>(*server);
}

} // namespace pennock::core
