#include "online/NetworkHttp.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace pennock::ui {

const QByteArray NetworkHttp::kUserAgent
    = QByteArrayLiteral("Mozilla/3.0 (compatible; Indy Library)");

core::HttpReply NetworkHttp::get(const QString& address, int readTimeoutMs)
{
    QNetworkAccessManager manager;
    manager.setCookieJar(new QNetworkCookieJar(&manager));
    // Parameters always go out encoded.
    QNetworkRequest request(QUrl::fromUserInput(address));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("text/html"));
    request.setRawHeader("Accept", "text/html, */*");
    request.setHeader(QNetworkRequest::UserAgentHeader, kUserAgent);
    // The time-out restarts whenever data arrives, as a read time-out does.
    request.setTransferTimeout(readTimeoutMs);
    request.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);

    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    core::HttpReply out;
    out.body = reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    out.ok = reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
    if (!out.ok)
        out.error = reply->error() != QNetworkReply::NoError
            ? reply->errorString()
            : QStringLiteral("HTTP %1").arg(status);
    reply->deleteLater();
    return out;
}

} // namespace pennock::ui
