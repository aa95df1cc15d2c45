#pragma once

#include <QByteArray>
#include <QFile>

namespace pennock::bench {

/// Resident memory of this process in MB, from /proc/self/status; -1 when it cannot be read.
inline double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

} // namespace pennock::bench
