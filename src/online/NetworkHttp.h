#pragma once

#include "platform/Http.h"

namespace pennock::ui {

/// GET through QNetworkAccessManager with the headers the vendor's site expects. Waits in a
/// local event loop, so the caller's window stays as it is until the reply or the time-out.
class NetworkHttp final : public core::Http
{
public:
    core::HttpReply get(const QString& address, int readTimeoutMs) override;

    static const QByteArray kUserAgent; ///< "Mozilla/3.0 (compatible; Indy Library)"
};

} // namespace pennock::ui
