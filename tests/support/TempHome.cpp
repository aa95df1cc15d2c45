#include "support/TempHome.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <gtest/gtest.h>

#include <utility>

namespace pennock::test {

namespace {

// Runs one statement on the server's administration database.
void onServer(const QUrl& admin, const QString& sql)
{
    const QString name = QStringLiteral("pennock-test-admin");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(admin.host());
        db.setPort(admin.port(5432));
        db.setUserName(admin.userName());
        db.setPassword(admin.password());
        db.setDatabaseName(admin.path().mid(1));
        if (!db.open()) {
            ADD_FAILURE() << "test server: " << db.lastError().text().toStdString();
        } else {
            QSqlQuery q(db);
            if (!q.exec(sql))
                ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
        }
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

TempHome::TempHome()
{
    EXPECT_TRUE(mDir.isValid());
    mDatabaseUrl = makeServerDatabase();
    if (!mDatabaseUrl.isEmpty())
        qputenv("PENNOCK_DATABASE", mDatabaseUrl.toUtf8());
}

TempHome::~TempHome()
{
    if (!mDatabaseUrl.isEmpty())
        qunsetenv("PENNOCK_DATABASE");
    const QUrl admin(qEnvironmentVariable("PENNOCK_TEST_DATABASE"));
    // FORCE: a connection a failed test left open must not keep the database alive.
    for (const QString& name : std::as_const(mServerDatabases))
        onServer(admin, QStringLiteral("drop database if exists %1 with (force)").arg(name));
}

QString TempHome::makeServerDatabase()
{
    const QString adminUrl = qEnvironmentVariable("PENNOCK_TEST_DATABASE");
    if (adminUrl.isEmpty())
        return {};
    static int counter = 0;
    const QString name = QStringLiteral("pennock_t%1_%2_%3")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QDateTime::currentMSecsSinceEpoch() % 100000000)
                             .arg(++counter);
    QUrl url(adminUrl);
    onServer(url, QStringLiteral("create database %1").arg(name));
    mServerDatabases << name;
    url.setPath(QLatin1Char('/') + name);
    return url.toString();
}

void TempHome::write(const QString& relative, const QByteArray& bytes) const
{
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

} // namespace pennock::test
