#include "online/Site.h"

#include "platform/Http.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace pennock::core {

QString siteHost() { return QStringLiteral("www.pennock.example"); }

QString siteAddress(const QString& pathAndQuery)
{
    QString path = pathAndQuery;
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    return QStringLiteral("http://") + siteHost() + QLatin1Char('/') + path;
}

QString getProductInfoUrlParam()
{
    const QStringList parts = QStringLiteral(PENNOCK_VERSION).split(QLatin1Char('.'));
    return QStringLiteral("pname=PNKSUITE&ptype=H1&ver=") + parts.value(0) + QLatin1Char('.')
        + parts.value(1, QStringLiteral("0"));
}

QString fullVersion()
{
    QStringList parts = QStringLiteral(PENNOCK_VERSION).split(QLatin1Char('.'));
    while (parts.size() < 4)
        parts << QStringLiteral("0");
    return parts.mid(0, 4).join(QLatin1Char('.'));
}

QString vendorPageAddress(VendorPage page, const QString& host)
{
    const QString base = QStringLiteral("http://") + host;
    const QString params = getProductInfoUrlParam();
    switch (page) {
    case VendorPage::Probe:
        return base + QStringLiteral("/webapp.css");
    case VendorPage::Service:
        return base + QStringLiteral("/agent/ServicePNK.asp?") + params;
    case VendorPage::Help:
        return base + QStringLiteral("/help.asp?rail=kdd&") + params;
    case VendorPage::Upgrade:
        return base + QStringLiteral("/update/up.asp?a=1&") + params;
    case VendorPage::Postcode:
        return base + QStringLiteral("/help/postcode.asp?") + params;
    case VendorPage::PaperSize:
        return base + QStringLiteral("/kdd/help/paperset.htm?") + params;
    case VendorPage::Home:
        return base + QLatin1Char('?') + params;
    }
    return base;
}

void BrowseURL(Shell& shell, const QString& address)
{
    QString cleaned = address;
    cleaned.remove(QLatin1Char('\''));
    shell.openUrl(cleaned);
}

bool getWebAppInfo(Http& http, const QString& address, const QString& file)
{
    const HttpReply reply = http.get(address, kSiteReadTimeoutMs);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    const bool saved = out.open(QIODevice::WriteOnly) && out.write(reply.body) >= 0 && out.commit();
    return reply.ok && saved;
}

} // namespace pennock::core
