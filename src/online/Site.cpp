#include "online/Site.h"

namespace pennock::core {

QString siteHost()
{
    return QStringLiteral("www.pennock.example");
}

QString siteAddress(const QString &pathAndQuery)
{
    QString path = pathAndQuery;
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    return QStringLiteral("http://") + siteHost() + QLatin1Char('/') + path;
}

} // namespace pennock::core
