#pragma once

#include <QByteArray>
#include <QString>

namespace pennock::core {

/// What one GET gave.
struct HttpReply
{
    bool ok = false; ///< the request succeeded (a reply with status 2xx)
    QByteArray body; ///< what arrived, also after a failure
    QString error; ///< why it failed
};

/// One GET of a web page with a read time-out; tests script it or serve it themselves.
class Http
{
public:
    virtual ~Http() = default;
    /// Waits at most `readTimeoutMs` for each piece of the reply.
    virtual HttpReply get(const QString& address, int readTimeoutMs) = 0;
};

} // namespace pennock::core
