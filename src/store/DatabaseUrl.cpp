#include "store/DatabaseUrl.h"

#include "store/ProgramFolder.h"

#include <QFile>
#include <QUrl>
#include <QUrlQuery>

// The Debian library is built with the ICU converter; the header must agree.
#define SI_CONVERT_ICU
#include <SimpleIni.h>

namespace pennock::core {

std::optional<DatabaseUrl> DatabaseUrl::parse(const QString& text, QString* error)
{
    const auto fail = [&](const QString& why) -> std::optional<DatabaseUrl> {
        if (error)
            *error = QStringLiteral("数据库地址无效：%1（%2）").arg(text, why);
        return std::nullopt;
    };
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return fail(url.errorString());
    const QString scheme = url.scheme().toLower();
    if (scheme != u"postgresql" && scheme != u"postgres")
        return fail(QStringLiteral("应为 postgresql://用户:密码@主机:端口/数据库"));
    DatabaseUrl out;
    out.user = url.userName(QUrl::FullyDecoded);
    out.password = url.password(QUrl::FullyDecoded);
    out.host = url.host(QUrl::FullyDecoded);
    out.port = url.port(5432);
    out.databaseName = url.path(QUrl::FullyDecoded).mid(1);
    // libpq's own form for a unix socket: ?host=/run/postgresql
    const QString socketFolder
        = QUrlQuery(url).queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    if (!socketFolder.isEmpty())
        out.host = socketFolder;
    if (out.host.isEmpty())
        return fail(QStringLiteral("缺少主机"));
    if (out.databaseName.isEmpty() || out.databaseName.contains(QLatin1Char('/')))
        return fail(QStringLiteral("缺少数据库名"));
    return out;
}

QString DatabaseUrl::display() const
{
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(user, host).arg(port).arg(databaseName);
}

QString configuredDatabaseUrl(const ProgramFolder& folder)
{
    const QString fromEnv = qEnvironmentVariable("PENNOCK_DATABASE").trimmed();
    if (!fromEnv.isEmpty())
        return fromEnv;
    QFile file(folder.configIniPath());
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    CSimpleIniA ini { true, false, false };
    if (ini.LoadData(data.constData(), size_t(data.size())) < 0)
        return {};
    return QString::fromUtf8(ini.GetValue("Database", "Url", "")).trimmed();
}

bool hasMainDatabase(const ProgramFolder& folder)
{
    return !configuredDatabaseUrl(folder).isEmpty() || QFile::exists(folder.databasePath());
}

} // namespace pennock::core
