#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace pennock::fuzz {

/// The fuzzer's bytes as a file with that extension in a folder of this process.
inline QString writeInput(const uint8_t* data, size_t size, const QString& extension)
{
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/input") + extension;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

/// Qt's text codecs and plugins want an application object.
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = { name, nullptr };
    static QCoreApplication* app
        = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

} // namespace pennock::fuzz
